// Any byte string a chart can carry (cut by bytes, or plainly not Shift-JIS) goes through the
// text forms of the writer and through the measuring and wrapping of the canvas with a fixed
// and a proportional Japanese font, without a crash and with well-formed results.
#include "pdf/PdfDoc.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

pendlar::TPdfDoc& Document() {
    static pendlar::TPdfDoc* doc = [] {
        auto* d = new pendlar::TPdfDoc();
        d->NewDoc();
        d->AddPage();
        return d;
    }();
    return *doc;
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string written = PdfTextString(text);
    if (HasMultiByteString(text)) {
        Require(written.rfind("<FEFF001B656E001B", 0) == 0 && written.back() == '>');
        Require((written.size() - 18) % 4 == 0);
    } else {
        Require(written.front() == '(' && written.back() == ')');
    }
    std::string name = PdfNameString(text);
    for (char c : name)
        Require(c > 0x20 && c < 0x7F);
    Require(CharCount(text) <= static_cast<int>(text.size()));

    TPdfDoc& doc = Document();
    TPdfCanvas* canvas = doc.GetCanvas();
    auto* contents = dynamic_cast<TPdfStream*>(canvas->GetPage()->Lookup("Contents"));
    for (const char* font : {"Gothic", "PMincyo,Bold"}) {
        canvas->SetFont(font, 10);
        canvas->SetLeading(12);
        double width = canvas->TextWidth(text);
        Require(width >= 0);
        int fit = canvas->FitLength(text, 100);
        Require(fit >= 0 && fit <= static_cast<int>(text.size()));
        canvas->TextInRect({0, 100, 100, 80}, text, TextAlignment::Center, true);
        canvas->TextInRectWrapped({0, 800, 200, 0}, text, true);
        contents->Stream().clear();
    }
    return 0;
}
