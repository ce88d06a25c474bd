#include "QRTestSupport.h"

#include "TempDir.h"
#include "qrcode/QRTables.h"

#include <sstream>

namespace pendlar::test {

std::string SampleBytes(std::size_t n) {
    static const std::string kText = "Quilmo Pendlar cover sheet, chart 0042/7: ok? ";
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += kText[(i * 7 + i / kText.size()) % kText.size()];
    return s;
}

std::string SampleDigits(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>('0' + (i * 7 + i / 10) % 10);
    return s;
}

std::string SampleKanji(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t t = (i * 37) % 188;        // trail bytes 0x40-0x7E, 0x80-0xFC
        s += static_cast<char>(0x89 + (i / 7) % 15); // rows 0x89-0x97 are fully assigned
        s += static_cast<char>(t < 63 ? 0x40 + t : 0x80 + (t - 63));
    }
    return s;
}

ModuleGrid GridOf(const QRMatrix& matrix) {
    ModuleGrid grid(static_cast<std::size_t>(matrix.Side()),
                    std::vector<bool>(static_cast<std::size_t>(matrix.Side())));
    for (int r = 0; r < matrix.Side(); ++r)
        for (int c = 0; c < matrix.Side(); ++c)
            grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = matrix.Dark(r, c);
    return grid;
}

std::optional<ModuleGrid> QrencodeGrid(const std::string& data, int version, int level,
                                       const std::string& flags) {
    TempDir dir;
    const auto input = WriteFile(dir.Path() / "in.bin", data);
    const char levels[] = "LMQH";
    std::string out;
    const std::string cmd = "qrencode -t ASCII -m 0 -v " + std::to_string(version) + " -l " +
                            levels[level] + " " + flags + " -r '" + input.string() + "'";
    if (RunCommand(cmd, &out) != 0)
        return std::nullopt;
    ModuleGrid grid;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<bool> row;
        for (std::size_t i = 0; i + 1 < line.size(); i += 2)
            row.push_back(line[i] == '#');
        grid.push_back(std::move(row));
    }
    if (grid.size() != static_cast<std::size_t>(QRSide(version)))
        return std::nullopt;
    return grid;
}

int MaskOfGrid(const ModuleGrid& grid) {
    // The copy beside the upper-left finder; bit 0 is the least significant.
    auto at = [&](int r, int c) {
        return grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] ? 1u : 0u;
    };
    unsigned bits = 0;
    for (int i = 0; i <= 5; ++i)
        bits |= at(i, 8) << i;
    bits |= at(7, 8) << 6;
    bits |= at(8, 8) << 7;
    bits |= at(8, 7) << 8;
    for (int i = 9; i < 15; ++i)
        bits |= at(8, 14 - i) << i;
    return static_cast<int>(((bits ^ 0x5412) >> 10) & 7);
}

} // namespace pendlar::test
