// The Blowfish block cipher (64-bit blocks, keys of 1 to 72 bytes used cyclically).
#pragma once

#include <cstdint>
#include <string_view>

namespace pendlar {

extern const std::uint32_t kBlowfishInitialP[18];
extern const std::uint32_t kBlowfishInitialS[4][256];

class TBlowfish {
public:
    // An empty key leaves the initial state (not a usable key; callers check first).
    explicit TBlowfish(std::string_view key);

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

    // Encrypts 8 bytes in place, the two halves read big-endian.
    void EncryptBytes(std::uint8_t block[8]) const;

private:
    std::uint32_t F(std::uint32_t x) const {
        return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xff]) ^ s_[2][(x >> 8) & 0xff]) +
               s_[3][x & 0xff];
    }

    std::uint32_t p_[18];
    std::uint32_t s_[4][256];
};

} // namespace pendlar
