#include "SymbolMaker.h"

#include "TempDir.h"
#include "qrdecode/Arrangement.h"
#include "qrdecode/Module.h"

#include <cmath>
#include <numbers>
#include <sstream>

namespace pendlar::test {

std::optional<QrMatrix> Encode(const std::string& data, int version, char level, QrMode mode) {
    TempDir dir;
    const auto input = WriteFile(dir.Path() / "data", data);
    std::string command = "qrencode -t ASCII -m 0 -o - -v " + std::to_string(version) + " -l " +
                          std::string(1, level);
    if (mode == QrMode::Byte)
        command += " -8";
    if (mode == QrMode::Kanji)
        command += " -k";
    command += " -r '" + input.string() + "' 2>/dev/null";
    std::string out;
    if (RunCommand(command, &out) != 0)
        return std::nullopt;

    std::vector<std::string> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    QrMatrix m;
    m.Size = static_cast<int>(lines.size());
    m.Dark.assign(static_cast<std::size_t>(m.Size * m.Size), 0);
    for (int row = 0; row < m.Size; ++row)
        for (int column = 0; column < m.Size; ++column) {
            const std::size_t at = static_cast<std::size_t>(2 * column);
            m.Set(column, row,
                  at < lines[static_cast<std::size_t>(row)].size() &&
                      lines[static_cast<std::size_t>(row)][at] == '#');
        }
    return m;
}

Bitmap Render(const QrMatrix& symbol, const RenderOptions& o) {
    const double side = (symbol.Size + 2 * o.QuietZone) * o.ModuleSize;
    const double a = o.Angle * std::numbers::pi / 180;
    const double c = std::cos(a), s = std::sin(a);
    const int extent = static_cast<int>(std::ceil(side * (std::abs(c) + std::abs(s)) - 1e-9));
    Bitmap image(extent, extent);
    const double centre = extent / 2.0;
    for (int y = 0; y < extent; ++y)
        for (int x = 0; x < extent; ++x) {
            int dark = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = x + (sx + 0.5) / 4 - centre;
                    const double dy = y + (sy + 0.5) / 4 - centre;
                    // Back into the upright symbol: undo the clockwise turn.
                    const double u = (dx * c + dy * s + side / 2) / o.ModuleSize - o.QuietZone;
                    const double v = (-dx * s + dy * c + side / 2) / o.ModuleSize - o.QuietZone;
                    const int column = static_cast<int>(std::floor(u));
                    const int row = static_cast<int>(std::floor(v));
                    if (column >= 0 && row >= 0 && column < symbol.Size && row < symbol.Size &&
                        symbol.At(column, row))
                        ++dark;
                }
            auto mix = [&](std::uint8_t d, std::uint8_t l) {
                return static_cast<std::uint8_t>((d * dark + l * (16 - dark) + 8) / 16);
            };
            image.SetPixel(
                x, y,
                {mix(o.Dark.R, o.Light.R), mix(o.Dark.G, o.Light.G), mix(o.Dark.B, o.Light.B)});
        }
    return image;
}

std::vector<std::pair<int, int>> CodewordModules(int version, int index) {
    const TArrangement layout(version);
    const int n = layout.Size();
    std::vector<std::pair<int, int>> modules;
    int bit = 0;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < n; ++step) {
            const int row = upward ? n - 1 - step : step;
            for (int column = right; column >= right - 1; --column) {
                if (layout.Kind(column, row) != TModule::kData)
                    continue;
                if (bit / 8 == index)
                    modules.emplace_back(column, row);
                ++bit;
            }
        }
    }
    return modules;
}

void DamageCodewords(QrMatrix& symbol, const std::vector<int>& codewords) {
    const int version = (symbol.Size - 17) / 4;
    for (int index : codewords)
        for (auto [column, row] : CodewordModules(version, index))
            symbol.Flip(column, row);
}

void WriteFormatBits(QrMatrix& symbol, int copy, std::uint16_t rawBits) {
    const int n = symbol.Size;
    for (int bit = 0; bit < 15; ++bit) {
        int column, row;
        if (copy == 1) {
            static constexpr int kFirst[15][2] = {{8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4},
                                                  {8, 5}, {8, 7}, {8, 8}, {7, 8}, {5, 8},
                                                  {4, 8}, {3, 8}, {2, 8}, {1, 8}, {0, 8}};
            column = kFirst[bit][0];
            row = kFirst[bit][1];
        } else if (bit < 8) {
            column = n - 1 - bit;
            row = 8;
        } else {
            column = 8;
            row = n - 15 + bit;
        }
        symbol.Set(column, row, (rawBits >> bit) & 1);
    }
}

} // namespace pendlar::test
