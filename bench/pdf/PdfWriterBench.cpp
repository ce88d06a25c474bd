// Writing a chart-sized document: 200 pages, each a 634 x 934 JPEG and one line of text.
// The model-only run, the run into memory and the run into a file separate the cost of the
// object model from the cost of producing and writing bytes; the plain write of the same
// number of bytes and qpdf rewriting the finished file put the numbers into proportion.
// Pages per second are counted in wall-clock time.
#include "pdf/PdfDoc.h"
#include "pdf/PdfImages.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <jpeglib.h>
#include <string>
#include <unistd.h>

namespace pendlar {
namespace {

constexpr int kPages = 200;
constexpr int kWidth = 634;
constexpr int kHeight = 934;

// A page-like picture (light paper, dark text rows, some noise) encoded at the default
// quality of the chart writer, so the JPEG has a realistic size.
std::string MakeJpeg() {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    unsigned seed = 12345;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1103515245 + 12345;
            bool ink = (y / 14) % 3 == 0 && (x / 9) % 5 != 0 && x > 40 && x < 600;
            auto v = static_cast<unsigned char>((ink ? 40 : 235) + (seed >> 28));
            unsigned char* p = &rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3];
            p[0] = v;
            p[1] = v;
            p[2] = static_cast<unsigned char>(v - 8);
        }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 80, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[static_cast<std::size_t>(cinfo.next_scanline) * kWidth * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string jpeg(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return jpeg;
}

const JpegPicture& Picture() {
    static const JpegPicture picture{kWidth, kHeight, MakeJpeg()};
    return picture;
}

void BuildChart(TPdfDoc& doc) {
    doc.SetUseOutlines(true);
    doc.NewDoc();
    for (int page = 0; page < kPages; ++page) {
        doc.AddPage();
        TPdfCanvas* canvas = doc.GetCanvas();
        canvas->SetPageWidth(700);
        canvas->SetPageHeight(1000);
        TPdfDestination* dest = doc.CreateDestination();
        dest->SetTop(1000);
        doc.GetRoot()->SetOpenAction(dest);
        std::string name = "PRJpegImage1" + std::to_string(page);
        doc.AddImage(name, CreateImageFrom(&Picture(), "Pdf-Jpeg"));
        canvas->DrawXObject(33, 33, kWidth, kHeight, name);
        canvas->SetFont("Gothic", 12);
        canvas->TextInRect({33, 20, 667, 5}, "\x83\x79\x81\x5b\x83\x57 " + std::to_string(page + 1),
                           TextAlignment::Left, false);
        TPdfOutlineEntry* entry = doc.GetOutlineRoot()->AddChild();
        entry->SetTitle("Page " + std::to_string(page + 1));
        entry->SetDest(dest);
    }
}

std::filesystem::path BenchFile(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

void BM_BuildModel(benchmark::State& state) {
    Picture();
    for (auto _ : state) {
        TPdfDoc doc;
        BuildChart(doc);
        benchmark::DoNotOptimize(doc.ObjectMgr()->ItemCount());
    }
    state.SetItemsProcessed(state.iterations() * kPages);
}

void BM_SaveToMemory(benchmark::State& state) {
    Picture();
    std::size_t bytes = 0;
    for (auto _ : state) {
        TPdfDoc doc;
        BuildChart(doc);
        PdfStringOutStream out;
        doc.SaveToStream(out);
        bytes = out.Data().size();
        benchmark::DoNotOptimize(out.Data().data());
    }
    state.SetItemsProcessed(state.iterations() * kPages);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_SaveToFile(benchmark::State& state) {
    Picture();
    const std::string path = BenchFile("pendlar-bench-chart.pdf").string();
    for (auto _ : state) {
        TPdfDoc doc;
        BuildChart(doc);
        doc.SaveToFile(path);
    }
    state.SetItemsProcessed(state.iterations() * kPages);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}

// The floor: the same number of bytes written and flushed with plain system calls.
void BM_PlainWriteOfTheSameBytes(benchmark::State& state) {
    TPdfDoc doc;
    BuildChart(doc);
    PdfStringOutStream out;
    doc.SaveToStream(out);
    const std::string& bytes = out.Data();
    const std::string path = BenchFile("pendlar-bench-plain.bin").string();
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::fsync(fd);
        ::close(fd);
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kPages);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// Another PDF writer over the same content: qpdf reading and rewriting the finished file.
void BM_QpdfRewrite(benchmark::State& state) {
    const std::filesystem::path input = BenchFile("pendlar-bench-qpdf-in.pdf");
    const std::filesystem::path output = BenchFile("pendlar-bench-qpdf-out.pdf");
    {
        TPdfDoc doc;
        BuildChart(doc);
        doc.SaveToFile(input.string());
    }
    if (std::system("command -v qpdf >/dev/null 2>&1") != 0) {
        state.SkipWithError("qpdf is not installed");
        return;
    }
    const std::string command = "qpdf '" + input.string() + "' '" + output.string() + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("qpdf failed");
    std::filesystem::remove(input);
    std::filesystem::remove(output);
    state.SetItemsProcessed(state.iterations() * kPages);
}

BENCHMARK(BM_BuildModel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWriteOfTheSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QpdfRewrite)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace pendlar

BENCHMARK_MAIN();
