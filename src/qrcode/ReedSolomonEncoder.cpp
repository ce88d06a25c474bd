#include "qrcode/ReedSolomonEncoder.h"

#include <array>

namespace pendlar {
namespace {

struct FieldTables {
    std::array<std::uint8_t, 512> Exp{};
    std::array<int, 256> Log{};
    FieldTables() {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            Exp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x);
            Log[static_cast<std::size_t>(x)] = i;
            x <<= 1;
            if (x & 0x100)
                x ^= 0x11D;
        }
        // A second period saves the modulo in Multiply.
        for (int i = 255; i < 512; ++i)
            Exp[static_cast<std::size_t>(i)] = Exp[static_cast<std::size_t>(i - 255)];
    }
};

const FieldTables& Tables() {
    static const FieldTables tables;
    return tables;
}

} // namespace

std::uint8_t ReedSolomonEncoder::Multiply(std::uint8_t a, std::uint8_t b) {
    if (a == 0 || b == 0)
        return 0;
    const FieldTables& t = Tables();
    return t.Exp[static_cast<std::size_t>(t.Log[a] + t.Log[b])];
}

ReedSolomonEncoder::ReedSolomonEncoder(int ecCount) {
    if (ecCount < 1)
        ecCount = 1;
    // g(x) = (x - a^0)(x - a^1)...(x - a^(n-1)), kept with its leading 1 while building.
    std::vector<std::uint8_t> g{1};
    for (int i = 0; i < ecCount; ++i) {
        const std::uint8_t root = Tables().Exp[static_cast<std::size_t>(i)];
        std::vector<std::uint8_t> next(g.size() + 1, 0);
        for (std::size_t j = 0; j < g.size(); ++j) {
            next[j] ^= g[j];
            next[j + 1] ^= Multiply(g[j], root);
        }
        g = std::move(next);
    }
    generator_.assign(g.begin() + 1, g.end());
}

std::vector<std::uint8_t> ReedSolomonEncoder::Remainder(std::span<const std::uint8_t> data) const {
    std::vector<std::uint8_t> rem(generator_.size(), 0);
    for (std::uint8_t d : data) {
        const std::uint8_t factor = static_cast<std::uint8_t>(d ^ rem[0]);
        for (std::size_t j = 0; j + 1 < rem.size(); ++j)
            rem[j] = static_cast<std::uint8_t>(rem[j + 1] ^ Multiply(generator_[j], factor));
        rem.back() = Multiply(generator_.back(), factor);
    }
    return rem;
}

} // namespace pendlar
