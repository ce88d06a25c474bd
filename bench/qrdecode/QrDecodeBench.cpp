// Decoding a 300 × 300 QR crop of a version 1 cover-sheet symbol, in process, and the
// same crops read by zbarimg and by `pendlar-tool qr-read` (each a whole process: start,
// PNG load, decode) for comparison.
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

std::vector<std::vector<bool>> EncodeVersion1(const std::string& text) {
    const std::string command = "qrencode -t ASCII -m 0 -o - -v 1 -l L -8 '" + text + "'";
    std::vector<std::vector<bool>> rows;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return rows;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    pclose(pipe);
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<bool> row;
        for (std::size_t c = 0; c < 21; ++c)
            row.push_back(2 * c < line.size() && line[2 * c] == '#');
        rows.push_back(row);
    }
    return rows;
}

// The symbol in the middle of a 300 × 300 crop, turned by `angle` degrees, with grey ink
// on grey paper and 4 × 4 samples per pixel, as a scan gives it.
Bitmap Crop(const std::vector<std::vector<bool>>& symbol, double moduleSize, double angle, int ink,
            int paper) {
    constexpr int kSide = 300;
    Bitmap image(kSide, kSide);
    const double a = angle * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
    const double half = 21 * moduleSize / 2;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            int dark = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = x + (sx + 0.5) / 4 - kSide / 2.0;
                    const double dy = y + (sy + 0.5) / 4 - kSide / 2.0;
                    const int col =
                        static_cast<int>(std::floor((dx * c + dy * s + half) / moduleSize));
                    const int row =
                        static_cast<int>(std::floor((-dx * s + dy * c + half) / moduleSize));
                    if (col >= 0 && row >= 0 && col < 21 && row < 21 &&
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
    double ModuleSize;
    double Angle;
    int Ink, Paper;
};

const Variant kVariants[] = {{"clean", 10, 0, 0, 255}, {"scanned", 9.3, 2, 40, 215}};

const Bitmap& VariantCrop(int index) {
    static std::vector<Bitmap> crops = [] {
        const auto symbol = EncodeVersion1(kPatientNumber);
        std::vector<Bitmap> out;
        for (const Variant& v : kVariants)
            out.push_back(symbol.size() == 21 ? Crop(symbol, v.ModuleSize, v.Angle, v.Ink, v.Paper)
                                              : Bitmap());
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
    const Bitmap& crop = VariantCrop(static_cast<int>(state.range(0)));
    TQRDecode decoder;
    if (!decoder.Decode(crop) || decoder.Text() != kPatientNumber) {
        state.SkipWithError("the crop does not decode");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.Decode(crop));
    state.SetLabel(kVariants[state.range(0)].Name);
}

void RunProcess(benchmark::State& state, const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        pclose(pipe);
    }
    if (out.find(kPatientNumber) == std::string::npos) {
        state.SkipWithError(("no patient number from: " + command).c_str());
        return;
    }
    for (auto _ : state)
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
            state.SkipWithError("the reader failed");
    state.SetLabel(kVariants[state.range(0)].Name);
}

void BM_ZbarimgProcess(benchmark::State& state) {
    RunProcess(state, "zbarimg -q --raw '" + VariantFile(static_cast<int>(state.range(0))) + "'");
}

void BM_PendlarToolProcess(benchmark::State& state) {
    RunProcess(state, std::string(PENDLAR_TOOL) + " qr-read '" +
                          VariantFile(static_cast<int>(state.range(0))) + "'");
}

BENCHMARK(BM_Decode)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ZbarimgProcess)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PendlarToolProcess)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace pendlar

BENCHMARK_MAIN();
