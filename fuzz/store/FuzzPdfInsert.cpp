// Any bytes as the add file: opened, inserted into a small chart with a bookmark, and
// saved. A damaged or hostile file must end in a refusal, never in a crash, a hang or a
// half-written chart.
#include "store/AcroPDDoc.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

// A two-page chart with one outline entry, written once per run.
std::string BasePdf() {
    const char* objects[] = {
        "<< /Type /Catalog /Pages 2 0 R /Outlines 5 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /MediaBox [0 0 595 842] >>",
        "<< /Type /Page /Parent 2 0 R >>",
        "<< /Type /Page /Parent 2 0 R >>",
        "<< /Type /Outlines /First 6 0 R /Last 6 0 R /Count 1 >>",
        "<< /Title (B1) /Parent 5 0 R /Dest [3 0 R /Fit] >>",
    };
    std::string out = "%PDF-1.4\n";
    std::string xref = "xref\n0 7\n0000000000 65535 f \n";
    int number = 1;
    for (const char* object : objects) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", out.size());
        xref += line;
        out += std::to_string(number++) + " 0 obj\n" + object + "\nendobj\n";
    }
    const std::size_t start = out.size();
    out += xref + "trailer\n<< /Size 7 /Root 1 0 R >>\nstartxref\n" + std::to_string(start) +
           "\n%%EOF\n";
    return out;
}

const std::string& WorkFolder() {
    static const std::string folder = [] {
        char name[] = "/tmp/pdf_insert_fuzzXXXXXX";
        if (!mkdtemp(name))
            std::abort();
        return std::string(name);
    }();
    return folder;
}

void Write(const std::string& path, const char* data, std::size_t size) {
    std::ofstream(path, std::ios::binary).write(data, static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    static const std::string base = BasePdf();
    const std::string addPath = WorkFolder() + "/add.pdf";
    const std::string basePath = WorkFolder() + "/base.pdf";
    Write(addPath, reinterpret_cast<const char*>(data), size);
    Write(basePath, base.data(), base.size());
    try {
        CAcroPDDoc chart, add;
        if (!chart.Open(basePath) || !add.Open(addPath))
            return 0;
        const int pages = add.GetNumPages();
        if (pages <= 0 || pages > 50)
            return 0;
        const int after = (size & 1) ? -1 : chart.GetNumPages() - 1;
        if (chart.InsertPages(after, add, 0, pages, true))
            chart.Save(CAcroPDDoc::PDSaveFull | CAcroPDDoc::PDSaveCollectGarbage, basePath);
    } catch (const EAcrobatError&) {
    }
    return 0;
}
