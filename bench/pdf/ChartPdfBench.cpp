// Composing a chart of 50 A4 pages scanned at 300 dpi (2480 x 3508 colour JPEGs, made here
// once) on the default 700 x 1000 page, with Stretch off (the top-left part is kept, and
// only that part is decoded) and on (each page is fitted to 634 x 896 by area averaging).
//
// Measured in the same run, for proportion:
// - decoding the 50 input pages alone (one thread, and one thread per core), the floor of
//   any composition that looks at every pixel;
// - ImageMagick doing the same resize-to-fit at quality 80 with its best decode hint
//   (convert -define jpeg:size=634x934 … -resize 634x934 -quality 80, one call per page,
//   as a script would) and img2pdf joining the results into one PDF (ImageMagick's policy
//   here forbids writing PDF itself).
// Every benchmark reports s_per_page, wall-clock seconds per page.
#include "pdf/chart/PdfWriteUnit.h"
#include "settings/Registory.h"
#include "util/CaruteDate.h"
#include "util/ScriptedUserInterface.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>
#include <string>
#include <thread>
#include <vector>

namespace pendlar {
namespace {

namespace fs = std::filesystem;

constexpr int kPages = 50;
constexpr int kWidth = 2480;
constexpr int kHeight = 3508;
constexpr int kDistinct = 5; // distinct page pictures, cycled over the 50 files

// A scanned page: paper with a little noise, rows of handwriting-like strokes, a stamp.
std::string MakeScan(int variant) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    unsigned seed = 977u * static_cast<unsigned>(variant + 1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int line = (y - 300) / 70, inLine = (y - 300) % 70;
            bool ink = y > 300 && y < 3300 && x > 200 && x < 2280 && inLine > 20 && inLine < 44 &&
                       ((x + line * 37 + variant * 11) / 23) % 5 != 0 && ((x * 3 + y) / 7) % 3 == 0;
            bool stamp = (x - 2000) * (x - 2000) + (y - 500) * (y - 500) < 150 * 150 &&
                         (x - 2000) * (x - 2000) + (y - 500) * (y - 500) > 130 * 130;
            int noise = static_cast<int>(seed >> 29);
            unsigned char* p = &rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3];
            if (stamp) {
                p[0] = static_cast<unsigned char>(200 + noise);
                p[1] = static_cast<unsigned char>(40 + noise);
                p[2] = static_cast<unsigned char>(40 + noise);
            } else {
                int v = ink ? 50 + noise * 4 : 242 + noise;
                p[0] = static_cast<unsigned char>(v);
                p[1] = static_cast<unsigned char>(v);
                p[2] = static_cast<unsigned char>(ink ? v + 30 : v - 6);
            }
        }
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &rgb[static_cast<std::size_t>(info.next_scanline) * kWidth * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string jpeg(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return jpeg;
}

// The scanner folder with the 50 pages, made once per process.
const fs::path& ScannerFolder() {
    static const fs::path folder = [] {
        fs::path dir = fs::temp_directory_path() / "pendlar-bench-chart";
        fs::create_directories(dir);
        std::vector<std::string> scans;
        for (int v = 0; v < kDistinct; ++v)
            scans.push_back(MakeScan(v));
        for (int i = 0; i < kPages; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "scan%03d.jpg", i + 1);
            std::ofstream(dir / name, std::ios::binary) << scans[i % kDistinct];
        }
        return dir;
    }();
    return folder;
}

std::vector<fs::path> PageFiles() {
    std::vector<fs::path> files;
    for (int i = 0; i < kPages; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "scan%03d.jpg", i + 1);
        files.push_back(ScannerFolder() / name);
    }
    return files;
}

void PerPage(benchmark::State& state) {
    state.counters["s_per_page"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kPages,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Chart(benchmark::State& state, bool stretch) {
    const fs::path& folder = ScannerFolder();
    ChartPdfData data;
    for (const fs::path& file : PageFiles())
        data.Pages.push_back({file.filename().string(), {}, {}});
    TRegistory settings;
    settings.ScannerDir = folder.string();
    settings.HeaderOut = 0;
    settings.FirstPage = true;
    settings.Stretch = stretch;
    TCaruteDate calendar;
    ScriptedUserInterface ui;
    const std::string out = (fs::temp_directory_path() / "pendlar-bench-chart.pdf").string();
    ChartPdfComposer composer(settings, calendar, ui);
    composer.Threads = static_cast<int>(state.range(0));
    for (auto _ : state)
        composer.WriteChartPdf(out, data);
    state.counters["bytes_per_page"] = static_cast<double>(fs::file_size(out)) / kPages;
    fs::remove(out);
    PerPage(state);
}

void BM_ChartStretchOff(benchmark::State& state) {
    BM_Chart(state, false);
}
void BM_ChartStretchOn(benchmark::State& state) {
    BM_Chart(state, true);
}

// Full decode of one file into memory, nothing else.
void DecodeOnly(const std::string& jpeg, std::vector<unsigned char>& pixels) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

void BM_DecodeInputOnly(benchmark::State& state) {
    const int threads = state.range(0) > 0 ? static_cast<int>(state.range(0))
                                           : static_cast<int>(std::thread::hardware_concurrency());
    const std::vector<fs::path> files = PageFiles();
    for (auto _ : state) {
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                std::vector<unsigned char> pixels;
                for (std::size_t i = static_cast<std::size_t>(t); i < files.size();
                     i += static_cast<std::size_t>(threads)) {
                    std::ifstream in(files[i], std::ios::binary);
                    std::string jpeg((std::istreambuf_iterator<char>(in)), {});
                    DecodeOnly(jpeg, pixels);
                    benchmark::DoNotOptimize(pixels.data());
                }
            });
        for (std::thread& w : workers)
            w.join();
    }
    PerPage(state);
}

void BM_ImageMagickConvertAndImg2pdf(benchmark::State& state) {
    const char* convert = fs::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
    if (std::system((std::string(convert) + " -version >/dev/null 2>&1").c_str()) != 0 ||
        std::system("img2pdf --version >/dev/null 2>&1") != 0) {
        state.SkipWithError("ImageMagick convert or img2pdf is not installed");
        return;
    }
    const fs::path work = fs::temp_directory_path() / "pendlar-bench-magick";
    fs::create_directories(work);
    const std::vector<fs::path> files = PageFiles();
    for (auto _ : state) {
        std::string list;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const fs::path out = work / files[i].filename();
            const std::string command = std::string(convert) + " -define jpeg:size=634x934 '" +
                                        files[i].string() + "' -resize 634x934 -quality 80 '" +
                                        out.string() + "'";
            if (std::system(command.c_str()) != 0) {
                state.SkipWithError("convert failed");
                return;
            }
            list += " '" + out.string() + "'";
        }
        const std::string join = "img2pdf" + list + " -o '" + (work / "chart.pdf").string() + "'";
        if (std::system(join.c_str()) != 0) {
            state.SkipWithError("img2pdf failed");
            return;
        }
    }
    fs::remove_all(work);
    PerPage(state);
}

// Arguments: worker threads (0: one per processor, 1: none).
BENCHMARK(BM_ChartStretchOff)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ChartStretchOn)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_DecodeInputOnly)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ImageMagickConvertAndImg2pdf)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
} // namespace pendlar

BENCHMARK_MAIN();
