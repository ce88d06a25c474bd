// Spreading the data over several symbols, and the check that the result is sound.
#pragma once

#include "qrcode/QRTypes.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace pendlar {

constexpr int kQRMaxCount = 1024;
constexpr int kQRMaxConnect = 16;

struct QRSplit {
    int Count = 1; // parts actually made
    TQRMode Mode = qrSingle;
    // Start of each part, followed by the end of the data (Count + 1 entries).
    std::vector<std::size_t> Offsets{0, 0};
    int Parity = 0;
    bool ParitySet = false; // Parity was computed (linked symbols of a sensible size)
};

// Splits the data into at most `count` parts of about equal size. A part never starts on
// the second byte of a double-byte character: the start moves one byte back, or forward
// when back would not lie after the previous start. The mode follows the number of parts:
// one part is a single symbol, more than 16 independent symbols, and a single symbol
// asked to hold several parts becomes linked symbols.
QRSplit SplitQRData(std::string_view data, int count, TQRMode mode);

// Throws std::runtime_error "Illegal <item> : <value>" when the split is not sound: a
// negative length, a count or column outside 1 to 1024, a mode outside the three, a count
// that does not suit the mode or exceeds the length, or offsets that do not start at 0,
// do not increase, or do not end at the length. Empty data make one empty part.
void CheckQRSplit(long len, int count, int mode, int column,
                  const std::vector<std::size_t>& offsets);

} // namespace pendlar
