// Test symbols: encoded by the Debian qrencode tool (an encoder independent of ours),
// read back from its text output, and drawn into a bitmap at any module size, quiet zone
// and rotation, with damage where a test wants it.
#pragma once

#include "util/Bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pendlar::test {

struct QrMatrix {
    int Size = 0;
    std::vector<std::uint8_t> Dark; // [row * Size + column]

    bool At(int column, int row) const {
        return Dark[static_cast<std::size_t>(row * Size + column)];
    }
    void Set(int column, int row, bool dark) {
        Dark[static_cast<std::size_t>(row * Size + column)] = dark;
    }
    void Flip(int column, int row) { Set(column, row, !At(column, row)); }
};

enum class QrMode { Auto, Byte, Kanji };

// qrencode at this version (the smallest it accepts) and level ('L', 'M', 'Q', 'H').
// Auto lets qrencode choose numeric, alphanumeric or byte segments; Kanji reads the data
// as Shift-JIS and uses kanji segments. Empty on failure.
std::optional<QrMatrix> Encode(const std::string& data, int version, char level,
                               QrMode mode = QrMode::Auto);

struct RenderOptions {
    double ModuleSize = 4; // pixels per module
    int QuietZone = 4;     // modules of light margin
    double Angle = 0;      // degrees, clockwise on the screen
    Rgb Dark{0, 0, 0};
    Rgb Light{255, 255, 255};
};

// The symbol drawn into an Rgb24 bitmap. Each pixel is the average of 4 × 4 samples, so a
// turned or fractional-size symbol has the soft edges of a scan.
Bitmap Render(const QrMatrix& symbol, const RenderOptions& options = {});

// The (column, row) positions of the eight modules of data codeword `index`, in the
// standard placement order of the version (n = 4v + 17).
std::vector<std::pair<int, int>> CodewordModules(int version, int index);

// Inverts every module of the given codewords.
void DamageCodewords(QrMatrix& symbol, const std::vector<int>& codewords);

// Writes 15 raw bits into one copy (1 beside the top-left finder, 2 split between the
// others) of the format information.
void WriteFormatBits(QrMatrix& symbol, int copy, std::uint16_t rawBits);

} // namespace pendlar::test
