#include "qrcode/CodewordBuffer.h"

namespace pendlar {

CodewordBuffer::CodewordBuffer(int capacityCodewords)
    : bytes_(static_cast<std::size_t>(capacityCodewords > 0 ? capacityCodewords : 0), 0) {}

bool CodewordBuffer::Append(std::uint32_t value, int bits) {
    if (bits < 0 || bits > 32 || bits > RemainingBits())
        return false;
    for (int i = bits - 1; i >= 0; --i) {
        if ((value >> i) & 1)
            bytes_[static_cast<std::size_t>(used_ / 8)] |=
                static_cast<std::uint8_t>(0x80 >> (used_ % 8));
        ++used_;
    }
    return true;
}

void CodewordBuffer::Finish() {
    // The buffer starts all zero, so the terminator and the filling bits are already there.
    long terminator = RemainingBits() < 4 ? RemainingBits() : 4;
    used_ += terminator;
    used_ = (used_ + 7) / 8 * 8;
    for (bool first = true; used_ < CapacityBits(); first = !first) {
        bytes_[static_cast<std::size_t>(used_ / 8)] = first ? 236 : 17;
        used_ += 8;
    }
}

} // namespace pendlar
