#include "store/Blowfish.h"

#include <cstring>
#include <utility>

namespace pendlar {

TBlowfish::TBlowfish(std::string_view key) {
    std::memcpy(p_, kBlowfishInitialP, sizeof p_);
    std::memcpy(s_, kBlowfishInitialS, sizeof s_);
    if (key.empty())
        return;
    const std::size_t length = key.size() > 72 ? 72 : key.size();
    std::size_t k = 0;
    for (auto& p : p_) {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = (word << 8) | static_cast<std::uint8_t>(key[k]);
            k = (k + 1) % length;
        }
        p ^= word;
    }
    std::uint32_t l = 0, r = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(l, r);
        p_[i] = l;
        p_[i + 1] = r;
    }
    for (auto& box : s_) {
        for (int i = 0; i < 256; i += 2) {
            EncryptBlock(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
}

void TBlowfish::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left, r = right;
    for (int i = 0; i < 16; ++i) {
        l ^= p_[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[16];
    l ^= p_[17];
    left = l;
    right = r;
}

void TBlowfish::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left, r = right;
    for (int i = 17; i > 1; --i) {
        l ^= p_[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[1];
    l ^= p_[0];
    left = l;
    right = r;
}

void TBlowfish::EncryptBytes(std::uint8_t block[8]) const {
    std::uint32_t l = (std::uint32_t{block[0]} << 24) | (std::uint32_t{block[1]} << 16) |
                      (std::uint32_t{block[2]} << 8) | block[3];
    std::uint32_t r = (std::uint32_t{block[4]} << 24) | (std::uint32_t{block[5]} << 16) |
                      (std::uint32_t{block[6]} << 8) | block[7];
    EncryptBlock(l, r);
    for (int i = 0; i < 4; ++i) {
        block[i] = static_cast<std::uint8_t>(l >> (24 - 8 * i));
        block[4 + i] = static_cast<std::uint8_t>(r >> (24 - 8 * i));
    }
}

} // namespace pendlar
