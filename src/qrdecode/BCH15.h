// The format information word: 15 bits of BCH(15,5), read back to the nearest of the 32
// valid codes. Within three bit errors the code is taken; farther the word is unreadable.
#pragma once

#include <cstdint>

namespace pendlar {

class TBCH15_5 {
public:
    // `word` is the unmasked 15-bit word (the 0x5412 mask already removed).
    explicit TBCH15_5(std::uint16_t word);

    std::uint16_t Word() const { return word_; }
    // The first valid code within three bits, or the word itself when there is none.
    std::uint16_t Corrected() const { return corrected_; }
    bool Error() const { return error_; }
    // Level (0 = L, 1 = M, 2 = Q, 3 = H) and mask pattern of the corrected word.
    int Level() const;
    int MaskPattern() const { return (corrected_ >> 10) & 7; }

private:
    std::uint16_t word_;
    std::uint16_t corrected_;
    bool error_;
};

} // namespace pendlar
