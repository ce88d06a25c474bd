#include "qrdecode/BCH15.h"

#include "qrdecode/SymbolTables.h"

#include <bit>

namespace pendlar {

TBCH15_5::TBCH15_5(std::uint16_t word)
    : word_(static_cast<std::uint16_t>(word & 0x7FFF)), corrected_(word_), error_(true) {
    for (int value = 0; value < 32; ++value) {
        const std::uint16_t code = FormatCode(value);
        if (std::popcount(static_cast<unsigned>(code ^ word_)) <= 3) {
            corrected_ = code;
            error_ = false;
            return;
        }
    }
}

int TBCH15_5::Level() const {
    // The two level bits are stored as L 01, M 00, Q 11, H 10.
    static constexpr int kLevels[4] = {1, 0, 3, 2};
    return kLevels[(corrected_ >> 13) & 3];
}

} // namespace pendlar
