// Intake of 50 A4 pages scanned at 300 dpi (JPEG) into thumbnails at the smallest and the
// largest size, as the clerk runs it and with every thumbnail on the calling thread, next to
// ImageMagick's `convert -thumbnail` (one process per page, as a script would run it) and
// Pillow's draft + thumbnail in one process, on the same pages in the same run. Every result
// is reported as seconds per page.
#include "intake/DicomImage.h"
#include "intake/ImageFile.h"
#include "intake/PageIntake.h"
#include "logs/Logs.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace pendlar {
namespace {

constexpr int kPages = 50;
constexpr int kWidth = 2480, kHeight = 3508; // A4 at 300 dpi

// A page that compresses like a scanned chart: paper, lines of "text", a coloured stamp.
Bitmap ChartPage(int seed) {
    Bitmap page(kWidth, kHeight, PixelFormat::Rgb24);
    std::mt19937 rng(static_cast<unsigned>(seed));
    auto& d = page.Data();
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = static_cast<std::uint8_t>(236 + (rng() & 15));
    for (int line = 0; line < 60; ++line) {
        const int y0 = 200 + line * 52;
        for (int x = 200; x < kWidth - 200;) {
            const int w = 10 + static_cast<int>(rng() % 40);
            for (int y = y0; y < y0 + 28; ++y)
                for (int xx = x; xx < x + w && xx < kWidth - 200; ++xx)
                    if ((rng() & 3) != 0)
                        page.SetPixel(xx, y, {30, 30, 40});
            x += w + 12;
        }
    }
    for (int y = 3000; y < 3300; ++y)
        for (int x = 1900; x < 2200; ++x)
            page.SetPixel(x, y, {200, 40, 40});
    return page;
}

const std::filesystem::path& PageFolder() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / "pendlar-intake-bench";
        std::filesystem::create_directories(d / "pages");
        for (int i = 0; i < kPages; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "page%02d.jpg", i);
            const auto path = d / "pages" / name;
            if (!std::filesystem::exists(path)) {
                ImageSaveOptions options;
                options.JpegQuality = 85;
                if (!SaveImageFile(ChartPage(i), path.string(), options))
                    std::abort();
            }
        }
        return d;
    }();
    return dir;
}

int Side(int imSize) {
    return 32 * imSize + 64;
}

void RunIntake(benchmark::State& state, int threads) {
    const auto& dir = PageFolder();
    TRegistory reg;
    reg.ScannerDir = (dir / "pages").string();
    reg.ImSize = static_cast<int>(state.range(0));
    TLogs logs;
    ScriptedUserInterface ui;
    TDicomImage dicom(ui);
    TQRDecode qr;
    IntakeHost host;
    PageIntake intake(reg, logs, ui, dicom, qr, host);
    intake.SetThumbnailThreads(threads);
    for (auto _ : state) {
        intake.ScannerReadClick(false);
        if (intake.Pages().size() != kPages)
            state.SkipWithError("intake did not take every page");
    }
    state.counters["s_per_page"] = benchmark::Counter(
        static_cast<double>(kPages),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// As the clerk's intake runs: thumbnails made ahead on one thread per processor.
void BM_PendlarIntake(benchmark::State& state) {
    RunIntake(state, 0);
}

// Every thumbnail on the calling thread: what the worker threads add.
void BM_PendlarIntakeOneThread(benchmark::State& state) {
    RunIntake(state, 1);
}

double TimeCommand(const std::string& command) {
    const auto t0 = std::chrono::steady_clock::now();
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_ConvertThumbnail(benchmark::State& state) {
    const auto& dir = PageFolder();
    const int t = Side(static_cast<int>(state.range(0)));
    std::filesystem::create_directories(dir / "convert");
    for (auto _ : state) {
        double total = 0;
        for (int i = 0; i < kPages; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "page%02d", i);
            const double s =
                TimeCommand("convert '" + (dir / "pages" / name).string() + ".jpg' -thumbnail " +
                            std::to_string(t) + "x" + std::to_string(t) + " '" +
                            (dir / "convert" / name).string() + ".png'");
            if (s < 0) {
                state.SkipWithError("convert failed");
                return;
            }
            total += s;
        }
        state.SetIterationTime(total);
    }
    state.counters["s_per_page"] = benchmark::Counter(
        static_cast<double>(kPages),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Pillow times its own loop, so the interpreter's start-up is not counted.
void BM_PillowDraftThumbnail(benchmark::State& state) {
    const auto& dir = PageFolder();
    const int t = Side(static_cast<int>(state.range(0)));
    const std::string script =
        "import glob,sys,time\nfrom PIL import "
        "Image\nfiles=sorted(glob.glob(sys.argv[1]+'/*.jpg'))\n"
        "t0=time.perf_counter()\nfor f in files:\n im=Image.open(f)\n im.draft('RGB',(" +
        std::to_string(t) + "," + std::to_string(t) + "))\n im.thumbnail((" + std::to_string(t) +
        "," + std::to_string(t) + "))\nprint(time.perf_counter()-t0)\n";
    const auto scriptPath = dir / "pillow_thumbs.py";
    if (FILE* f = std::fopen(scriptPath.c_str(), "w")) {
        std::fputs(script.c_str(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        const std::string command =
            "/usr/bin/python3 '" + scriptPath.string() + "' '" + (dir / "pages").string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        double seconds = -1;
        if (pipe) {
            if (std::fscanf(pipe, "%lf", &seconds) != 1)
                seconds = -1;
            pclose(pipe);
        }
        if (seconds < 0) {
            state.SkipWithError("python3 with Pillow failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["s_per_page"] = benchmark::Counter(
        static_cast<double>(kPages),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_PendlarIntake)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_PendlarIntakeOneThread)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ConvertThumbnail)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_PillowDraftThumbnail)
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace
} // namespace pendlar

BENCHMARK_MAIN();
