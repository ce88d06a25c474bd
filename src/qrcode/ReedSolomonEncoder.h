// Reed-Solomon error correction codewords over GF(256) with the primitive polynomial
// x^8 + x^4 + x^3 + x^2 + 1 (285), as QR symbols use them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pendlar {

class ReedSolomonEncoder {
public:
    // An encoder that adds `ecCount` codewords (1 to 68) to each block.
    explicit ReedSolomonEncoder(int ecCount);

    // The error correction codewords of one block of data codewords: the remainder of
    // data(x) * x^ecCount divided by the generator polynomial.
    std::vector<std::uint8_t> Remainder(std::span<const std::uint8_t> data) const;

    // Product of two field elements.
    static std::uint8_t Multiply(std::uint8_t a, std::uint8_t b);

private:
    // Generator coefficients without the leading 1, highest degree first.
    std::vector<std::uint8_t> generator_;
};

} // namespace pendlar
