// Decoding a 300 × 300 QR crop of a version 1 cover-sheet symbol, in process, and the
// same crops read by zbarimg and by `pendlar-tool qr-read` (each a whole process: start,
// PNG load, decode) for comparison. Two large symbols (versions 25 and 40, read as their
// known version) show the cost of a crop full of finder-like data.
#include "intake/ImageFile.h"
#include "qrdecode/QRDecode.h"
#include "util/Bitmap.h"
#include "util/Sjis.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace pendlar {
namespace {

constexpr const char* kPatientNumber = "00012345";

// The module rows of the symbol qrencode makes for `text` at this version, level L, byte
// mode; empty when it fails.
std::vector<std::vector<bool>> Encode(const std::string& text, int version) {
    const std::string command =
        "qrencode -t ASCII -m 0 -o - -l L -8 -v " + std::to_string(version) + " '" + text + "'";
    std::vector<std::vector<bool>> rows;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return rows;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    pclose(pipe);
    const std::size_t size = static_cast<std::size_t>(4 * version + 17);
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<bool> row;
        for (std::size_t c = 0; c < size; ++c)
            row.push_back(2 * c < line.size() && line[2 * c] == '#');
        rows.push_back(row);
    }
    if (rows.size() != size)
        rows.clear();
    return rows;
}

// The symbol in the middle of a square crop of `side` pixels, turned by `angle` degrees,
// with grey ink on grey paper and 4 × 4 samples per pixel, as a scan gives it.
Bitmap Crop(const std::vector<std::vector<bool>>& symbol, int side, double moduleSize, double angle,
            int ink, int paper) {
    Bitmap image(side, side);
    const int n = static_cast<int>(symbol.size());
    const double a = angle * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
    const double half = n * moduleSize / 2;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            int dark = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = x + (sx + 0.5) / 4 - side / 2.0;
                    const double dy = y + (sy + 0.5) / 4 - side / 2.0;
                    const int col =
                        static_cast<int>(std::floor((dx * c + dy * s + half) / moduleSize));
                    const int row =
                        static_cast<int>(std::floor((-dx * s + dy * c + half) / moduleSize));
                    if (col >= 0 && row >= 0 && col < n && row < n &&
                        symbol[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)])
                        ++dark;
                }
            const auto v = static_cast<std::uint8_t>((ink * dark + paper * (16 - dark)) / 16);
            image.SetPixel(x, y, {v, v, v});
        }
    return image;
}

struct Variant {
    const char* Name;
    int Version; // also the version the decoder is told for 15 and above
    int Side;
    double ModuleSize;
    double Angle;
    int Ink, Paper;
};

const Variant kVariants[] = {{"clean", 1, 300, 10, 0, 0, 255},
                             {"scanned", 1, 300, 9.3, 2, 40, 215},
                             {"v25", 25, 500, 4, 0, 0, 255},
                             {"v40", 40, 740, 4, 0, 0, 255}};

// The text of a variant: the patient number, padded to fill the large symbols' data.
std::string VariantText(int index) {
    const int version = kVariants[index].Version;
    if (version == 1)
        return kPatientNumber;
    std::string text = kPatientNumber;
    const std::size_t length = version == 25 ? 1200 : 2900; // byte capacity at L: 1273, 2953
    for (std::size_t i = text.size(); i < length; ++i)
        text += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    return text;
}

int ForcedVersion(int index) {
    return kVariants[index].Version >= 15 ? kVariants[index].Version : 0;
}

const Bitmap& VariantCrop(int index) {
    static std::vector<Bitmap> crops = [] {
        std::vector<Bitmap> out;
        for (std::size_t i = 0; i < std::size(kVariants); ++i) {
            const Variant& v = kVariants[i];
            const auto symbol = Encode(VariantText(static_cast<int>(i)), v.Version);
            out.push_back(symbol.empty()
                              ? Bitmap()
                              : Crop(symbol, v.Side, v.ModuleSize, v.Angle, v.Ink, v.Paper));
        }
        return out;
    }();
    return crops[static_cast<std::size_t>(index)];
}

// The crops as PNG files for the outside readers, written once per run.
std::string VariantFile(int index) {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / "pendlar-qr-bench";
        std::filesystem::create_directories(d);
        return d;
    }();
    const auto path = dir / (std::string(kVariants[index].Name) + ".png");
    if (!std::filesystem::exists(path))
        SaveImageFile(VariantCrop(index), FileNameToSjisPath(path.string()));
    return path.string();
}

void BM_Decode(benchmark::State& state) {
    const int index = static_cast<int>(state.range(0));
    const Bitmap& crop = VariantCrop(index);
    TQRDecode decoder;
    decoder.SetForceVersion(ForcedVersion(index));
    if (!decoder.Decode(crop) || decoder.Text() != VariantText(index)) {
        state.SkipWithError("the crop does not decode");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.Decode(crop));
    state.SetLabel(kVariants[index].Name);
}

void RunProcess(benchmark::State& state, const std::string& command) {
    const int index = static_cast<int>(state.range(0));
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        pclose(pipe);
    }
    if (out.find(VariantText(index)) == std::string::npos) {
        state.SkipWithError(("not the symbol's text from: " + command).c_str());
        return;
    }
    for (auto _ : state)
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
            state.SkipWithError("the reader failed");
    state.SetLabel(kVariants[index].Name);
}

void BM_ZbarimgProcess(benchmark::State& state) {
    RunProcess(state, "zbarimg -q --raw '" + VariantFile(static_cast<int>(state.range(0))) + "'");
}

void BM_PendlarToolProcess(benchmark::State& state) {
    const int index = static_cast<int>(state.range(0));
    RunProcess(state, std::string(PENDLAR_TOOL) + " qr-read '" + VariantFile(index) +
                          "' --force-version " + std::to_string(ForcedVersion(index)));
}

BENCHMARK(BM_Decode)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ZbarimgProcess)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PendlarToolProcess)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace pendlar

BENCHMARK_MAIN();
