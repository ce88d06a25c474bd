#include "pdf/PdfJpFonts.h"

#include "pdf/PdfJpWidths.h"
#include "util/Sjis.h"

namespace pendlar {
namespace {

struct JpKind {
    const char* Name;
    std::unique_ptr<TPdfFont> (*Make)(TPdfXref*, std::string_view);
};

template <class T> std::unique_ptr<TPdfFont> Make(TPdfXref* xref, std::string_view name) {
    return std::make_unique<T>(xref, name);
}

constexpr JpKind kJpKinds[] = {
    {"Gothic", Make<TPdfGothic>},
    {"Gothic,Bold", Make<TPdfGothicBold>},
    {"Gothic,Italic", Make<TPdfGothicItalic>},
    {"Gothic,BoldItalic", Make<TPdfGothicBoldItalic>},
    {"Mincyo", Make<TPdfMincyo>},
    {"Mincyo,Bold", Make<TPdfMincyoBold>},
    {"Mincyo,Italic", Make<TPdfMincyoItalic>},
    {"Mincyo,BoldItalic", Make<TPdfMincyoBoldItalic>},
    {"PGothic", Make<TPdfPGothic>},
    {"PGothic,Bold", Make<TPdfPGothicBold>},
    {"PGothic,Italic", Make<TPdfPGothicItalic>},
    {"PGothic,BoldItalic", Make<TPdfPGothicBoldItalic>},
    {"PMincyo", Make<TPdfPMincyo>},
    {"PMincyo,Bold", Make<TPdfPMincyoBold>},
    {"PMincyo,Italic", Make<TPdfPMincyoItalic>},
    {"PMincyo,BoldItalic", Make<TPdfPMincyoBoldItalic>},
};

bool IsLead(std::string_view text, std::size_t index) {
    return IsLeadByte(static_cast<unsigned char>(text[index]));
}

} // namespace

std::unique_ptr<TPdfFont> CreateJpFontKind(std::string_view name, TPdfXref* xref) {
    for (const auto& kind : kJpKinds)
        if (name == kind.Name)
            return kind.Make(xref, name);
    return nullptr;
}

// ---- TPdfType0Font ----

int TPdfType0Font::CharToCid(std::string_view text, int position) const {
    if (position < 1 || static_cast<std::size_t>(position) > text.size())
        return -1;
    const auto at = static_cast<std::size_t>(position) - 1;
    // Walk from the start: only the walk knows whether a byte is a trail byte.
    std::size_t i = 0;
    while (i < at)
        i += IsLead(text, i) ? 2 : 1;
    if (i != at)
        return -1;
    unsigned code = static_cast<unsigned char>(text[at]);
    if (IsLead(text, at))
        code = code * 256 + (at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0);
    for (const CidRange& range : ranges_)
        if (code >= range.First && code <= range.Last)
            return range.Cid + static_cast<int>(code - range.First);
    return 0;
}

int TPdfType0Font::CharWidth(std::string_view text, int position) const {
    int cid = CharToCid(text, position);
    if (cid < 0)
        return 0;
    int width = 0;
    for (const auto& item : widths_) {
        if (item.LastCID >= cid) {
            if (item.FirstCID <= cid)
                width = item.Width;
            break;
        }
    }
    if (width == 0)
        width = IsLead(text, static_cast<std::size_t>(position) - 1) ? dw_ : missingWidth_;
    return width;
}

void TPdfType0Font::SetData(TPdfDictionary* data) {
    TPdfFont::SetData(data);
    widths_.clear();
    TPdfArray* descendants = data->LookupArray("DescendantFonts");
    auto* cidFont = descendants ? dynamic_cast<TPdfDictionary*>(descendants->ItemAt(0)) : nullptr;
    if (cidFont == nullptr)
        return;
    TPdfNumber* dw = cidFont->LookupNumber("DW");
    dw_ = dw ? dw->Value() : 1000;
    TPdfDictionary* descriptor = cidFont->LookupDictionary("FontDescriptor");
    TPdfNumber* missing = descriptor ? descriptor->LookupNumber("MissingWidth") : nullptr;
    missingWidth_ = missing ? missing->Value() : 0;

    TPdfArray* w = cidFont->LookupArray("W");
    if (w == nullptr)
        return;
    std::size_t i = 0;
    while (i < w->ItemCount()) {
        auto* start = dynamic_cast<TPdfNumber*>(w->ItemAt(i));
        if (start == nullptr)
            throw EPdfInvalidValue("invalid W array start pos..");
        TPdfObject* next = w->ItemAt(i + 1);
        if (auto* list = dynamic_cast<TPdfArray*>(next)) {
            int cid = start->Value();
            for (std::size_t j = 0; j < list->ItemCount(); ++j, ++cid) {
                auto* width = dynamic_cast<TPdfNumber*>(list->ItemAt(j));
                if (width == nullptr)
                    throw EPdfInvalidValue("invalid W array value..");
                widths_.push_back({cid, cid, width->Value()});
            }
            i += 2;
        } else if (auto* last = dynamic_cast<TPdfNumber*>(next)) {
            auto* width = dynamic_cast<TPdfNumber*>(w->ItemAt(i + 2));
            if (width == nullptr)
                throw EPdfInvalidValue("invalid W array end pos..");
            widths_.push_back({start->Value(), last->Value(), width->Value()});
            i += 3;
        } else {
            throw EPdfInvalidValue("invalid W array value..");
        }
    }
}

// ---- TPdfJpFont ----

void TPdfJpFont::Build() {
    TPdfDictionary* font = xref_->AddObject(std::make_unique<TPdfDictionary>(xref_));
    font->PutName("BaseFont", BaseFontName());
    TPdfDictionary* cidFont = xref_->AddObject(std::make_unique<TPdfDictionary>(xref_));
    auto* descendants = new TPdfArray(xref_);
    descendants->Append(cidFont);
    font->Put("DescendantFonts", descendants);
    font->PutName("Type", "Font");
    font->PutName("Subtype", "Type0");
    font->PutName("Encoding", EncodingName());

    TPdfDictionary* descriptor = xref_->AddObject(std::make_unique<TPdfDictionary>(xref_));
    descriptor->PutName("Type", "FontDescriptor");
    descriptor->PutName("FontName", BaseFontName());
    descriptor->PutNumber("Ascent", 859);
    descriptor->PutNumber("CapHeight", 859);
    descriptor->PutNumber("Descent", -141);
    descriptor->PutNumber("MissingWidth", 500);
    AddDescriptorItems(descriptor);
    descriptor->Put("FontBBox", new TPdfArray(xref_, {0, -141, 1000, 859}));

    cidFont->PutName("Type", "Font");
    cidFont->PutName("Subtype", "CIDFontType2");
    cidFont->PutName("WinCharSet", "128");
    cidFont->PutName("BaseFont", BaseFontName());
    auto* systemInfo = new TPdfDictionary(xref_);
    systemInfo->Put("Registry", new TPdfText("Adobe"));
    systemInfo->Put("Ordering", new TPdfText("Japan1"));
    systemInfo->PutNumber("Supplement", 2);
    cidFont->Put("CIDSystemInfo", systemInfo);
    cidFont->PutNumber("DW", 1000);
    AddDescendantItems(cidFont);
    cidFont->Put("FontDescriptor", descriptor);

    SetData(font);
}

void TPdfJpFont::AddDescriptorItems(TPdfDictionary* descriptor) {
    descriptor->PutNumber("Flags", style_.Flags);
    descriptor->PutNumber("ItalicAngle", style_.ItalicAngle);
    descriptor->PutNumber("StemV", style_.StemV);
}

void TPdfJpFixedFont::AddDescendantItems(TPdfDictionary* cidFont) {
    // The half-width Latin and katakana CIDs; everything else is DW wide.
    cidFont->Put("W", new TPdfArray(xref_, {231, 631, 500}));
}

void TPdfJpProportionalFont::AddDescendantItems(TPdfDictionary* cidFont) {
    auto* w = new TPdfArray(xref_);
    cidFont->Put("W", w);
    for (const auto& group : kProportionalWidthGroups) {
        w->Append(new TPdfNumber(group.FirstCid));
        auto* widths = new TPdfArray(xref_);
        for (std::uint16_t width : group.Widths)
            widths->Append(new TPdfNumber(width));
        w->Append(widths);
    }
}

} // namespace pendlar
