// Length-prefixed Shift-JIS texts of a fixed capacity: one length byte, then the bytes.
//
// This is how the chart record holds its texts. Assigning keeps the first `Capacity`
// bytes, so a cut may split a double-byte character exactly as the stored layout does;
// callers that must not split cut before assigning.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pendlar {

// A handle on one text of a record, whatever its capacity.
struct TextSlot {
    std::uint8_t* Length;
    char* Bytes;
    std::size_t Capacity;

    void Assign(std::string_view text) const {
        std::size_t n = std::min(text.size(), Capacity);
        std::copy_n(text.data(), n, Bytes);
        std::fill(Bytes + n, Bytes + Capacity, '\0');
        *Length = static_cast<std::uint8_t>(n);
    }
    std::string Text() const {
        return std::string(Bytes, std::min<std::size_t>(*Length, Capacity));
    }
};

template <std::size_t N> struct ShortString {
    static_assert(N >= 1 && N <= 255, "one length byte holds at most 255");
    static constexpr std::size_t Capacity = N;

    std::uint8_t Length = 0;
    std::array<char, N> Bytes{};

    TextSlot Slot() { return {&Length, Bytes.data(), N}; }
    void Assign(std::string_view text) { Slot().Assign(text); }
    std::string Text() const { return std::string(Bytes.data(), std::min<std::size_t>(Length, N)); }
    bool Empty() const { return Length == 0; }
};

} // namespace pendlar
