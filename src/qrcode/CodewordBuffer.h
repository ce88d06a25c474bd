// The data codewords of one symbol, filled bit by bit from the most significant bit.
#pragma once

#include <cstdint>
#include <vector>

namespace pendlar {

class CodewordBuffer {
public:
    // A buffer for `capacityCodewords` data codewords.
    explicit CodewordBuffer(int capacityCodewords);

    long CapacityBits() const { return 8L * static_cast<long>(bytes_.size()); }
    long UsedBits() const { return used_; }
    long RemainingBits() const { return CapacityBits() - used_; }

    // Appends the low `bits` bits of `value`, highest first. Returns false, writing
    // nothing, when they do not fit.
    bool Append(std::uint32_t value, int bits);

    // Terminator (up to four zero bits), zero bits to the byte boundary, then the pad
    // codewords 236 and 17 alternately up to the capacity.
    void Finish();

    const std::vector<std::uint8_t>& Codewords() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    long used_ = 0;
};

} // namespace pendlar
