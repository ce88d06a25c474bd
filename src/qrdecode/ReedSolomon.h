// Reed-Solomon error correction of one QR block over GF(256) (field polynomial 0x11D,
// α = 2). The block's generator has the roots α^0 … α^(E−1), E being the block's
// error-correction codewords, so all E syndromes take part: errors up to the capacity
// are corrected, and beyond it the block is reported as uncorrectable instead of being
// passed on as read.
#pragma once

#include <cstdint>
#include <vector>

namespace pendlar {

class TReedSolomon {
public:
    TReedSolomon();

    // Corrects `block` (first codeword the highest coefficient) in place. `eccCount` is the
    // number of error-correction codewords at its end, `capacity` the most codeword errors
    // to correct (half of those left after the misdecode-protection codewords). True when
    // the block is a valid codeword afterwards; on false the block is left as read.
    bool Correct(std::vector<std::uint8_t>& block, int eccCount, int capacity);

    // Indices (into the block) of the codewords the last correction changed.
    const std::vector<int>& ErrorPositions() const { return positions_; }

    std::uint8_t Multiply(std::uint8_t a, std::uint8_t b) const;
    std::uint8_t Divide(std::uint8_t a, std::uint8_t b) const; // b must not be 0
    std::uint8_t Power(int exponent) const;                    // α^exponent, any sign

private:
    bool ComputeSyndromes(const std::vector<std::uint8_t>& block, int count);
    std::uint8_t Evaluate(const std::vector<std::uint8_t>& lowFirst, std::uint8_t x) const;

    std::uint8_t exp_[510];
    int log_[256];
    std::vector<std::uint8_t> syndromes_;
    std::vector<std::uint8_t> locator_;   // σ, lowest coefficient first, σ_0 = 1
    std::vector<std::uint8_t> evaluator_; // Ω, lowest coefficient first
    std::vector<int> positions_;
};

} // namespace pendlar
