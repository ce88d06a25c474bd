#include "pdf/PdfFonts.h"

#include "pdf/PdfJpFonts.h"

namespace pendlar {
namespace {

struct LatinKind {
    const char* Name;
    std::unique_ptr<TPdfFont> (*Make)(TPdfXref*, std::string_view);
};

template <class T> std::unique_ptr<TPdfFont> Make(TPdfXref* xref, std::string_view name) {
    return std::make_unique<T>(xref, name);
}

constexpr LatinKind kLatinKinds[] = {
    {"FixedWidth", Make<TPdfFixedWidth>},
    {"FixedWidth-Bold", Make<TPdfFixedWidthBold>},
    {"FixedWidth-Italic", Make<TPdfFixedWidthItalic>},
    {"FixedWidth-BoldItalic", Make<TPdfFixedWidthBoldItalic>},
    {"Arial", Make<TPdfArial>},
    {"Arial-Bold", Make<TPdfArialBold>},
    {"Arial-Italic", Make<TPdfArialItalic>},
    {"Arial-BoldItalic", Make<TPdfArialBoldItalic>},
    {"Times-Roman", Make<TPdfTimesRoman>},
    {"Times-Bold", Make<TPdfTimesBold>},
    {"Times-Italic", Make<TPdfTimesItalic>},
    {"Times-BoldItalic", Make<TPdfTimesBoldItalic>},
};

} // namespace

std::unique_ptr<TPdfFont> CreatePdfFontKind(std::string_view name, TPdfXref* xref) {
    std::unique_ptr<TPdfFont> font;
    for (const auto& kind : kLatinKinds)
        if (name == kind.Name)
            font = kind.Make(xref, name);
    if (font == nullptr)
        font = CreateJpFontKind(name, xref);
    if (font != nullptr)
        font->Build();
    return font;
}

void TPdfType1Font::Build() {
    TPdfDictionary* font = xref_->AddObject(std::make_unique<TPdfDictionary>(xref_));
    font->PutName("Type", "Font");
    font->PutName("Subtype", "Type1");
    font->PutName("Encoding", "WinAnsiEncoding");
    font->PutNumber("FirstChar", 32);
    font->PutNumber("LastChar", 255);
    font->PutName("BaseFont", baseFont_);
    // The widths serve measuring only: readers know the standard fonts' metrics.
    auto* widths = new TPdfArray(xref_);
    for (std::uint16_t w : widths_)
        widths->Append(new TPdfNumber(w));
    font->PutHidden("Widths", widths);
    SetData(font);
}

void TPdfType1Font::SetData(TPdfDictionary* data) {
    TPdfFont::SetData(data);
    // These dictionaries carry no missing width, so unlisted codes measure 0.
    table_.fill(0);
    TPdfNumber* first = data->LookupNumber("FirstChar");
    TPdfNumber* last = data->LookupNumber("LastChar");
    firstChar_ = static_cast<std::uint8_t>(first ? first->Value() : 0);
    lastChar_ = static_cast<std::uint8_t>(last ? last->Value() : 0);
    if (TPdfArray* widths = data->LookupArray("Widths"))
        for (std::size_t i = 0; i < widths->ItemCount() && firstChar_ + i < table_.size(); ++i)
            if (auto* w = dynamic_cast<TPdfNumber*>(widths->ItemAt(i)))
                table_[firstChar_ + i] = static_cast<std::uint16_t>(w->Value());
}

int TPdfType1Font::CharWidth(std::string_view text, int position) const {
    if (position < 1 || static_cast<std::size_t>(position) > text.size())
        return 0;
    return table_[static_cast<unsigned char>(text[static_cast<std::size_t>(position) - 1])];
}

} // namespace pendlar
