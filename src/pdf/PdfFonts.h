// The twelve standard Latin fonts (not embedded, WinAnsiEncoding) and the registry that
// creates any of the 28 font kinds by name.
#pragma once

#include "pdf/PdfDoc.h"
#include "pdf/PdfLatinWidths.h"

#include <array>
#include <memory>
#include <string_view>

namespace pendlar {

// The font kind registered under `name` (FixedWidth, Arial, Times-Roman, Gothic, PMincyo,Bold
// ...), its dictionaries built in `xref`; null when no kind has that name.
std::unique_ptr<TPdfFont> CreatePdfFontKind(std::string_view name, TPdfXref* xref);

class TPdfType1Font : public TPdfFont {
public:
    int CharWidth(std::string_view text, int position) const override;
    void SetData(TPdfDictionary* data) override;
    void Build() override;

    int FirstChar() const { return firstChar_; }
    int LastChar() const { return lastChar_; }

protected:
    TPdfType1Font(TPdfXref* xref, std::string_view name, const char* baseFont,
                  const LatinWidthTable& widths)
        : TPdfFont(xref, name), baseFont_(baseFont), widths_(widths) {}

private:
    const char* baseFont_;
    const LatinWidthTable& widths_;
    std::uint8_t firstChar_ = 0;
    std::uint8_t lastChar_ = 0;
    std::array<std::uint16_t, 256> table_{};
};

#define PENDLAR_LATIN_FONT(Class, BaseFont, Widths)                                                \
    class Class : public TPdfType1Font {                                                           \
    public:                                                                                        \
        Class(TPdfXref* xref, std::string_view name)                                               \
            : TPdfType1Font(xref, name, BaseFont, Widths) {}                                       \
    };

PENDLAR_LATIN_FONT(TPdfFixedWidth, "Courier", kCourierWidths)
PENDLAR_LATIN_FONT(TPdfFixedWidthBold, "Courier-Bold", kCourierBoldWidths)
PENDLAR_LATIN_FONT(TPdfFixedWidthItalic, "Courier-Oblique", kCourierObliqueWidths)
PENDLAR_LATIN_FONT(TPdfFixedWidthBoldItalic, "Courier-BoldOblique", kCourierBoldObliqueWidths)
PENDLAR_LATIN_FONT(TPdfArial, "Helvetica", kHelveticaWidths)
PENDLAR_LATIN_FONT(TPdfArialBold, "Helvetica-Bold", kHelveticaBoldWidths)
PENDLAR_LATIN_FONT(TPdfArialItalic, "Helvetica-Oblique", kHelveticaObliqueWidths)
PENDLAR_LATIN_FONT(TPdfArialBoldItalic, "Helvetica-BoldOblique", kHelveticaBoldObliqueWidths)
PENDLAR_LATIN_FONT(TPdfTimesRoman, "Times-Roman", kTimesRomanWidths)
PENDLAR_LATIN_FONT(TPdfTimesBold, "Times-Bold", kTimesBoldWidths)
PENDLAR_LATIN_FONT(TPdfTimesItalic, "Times-Italic", kTimesItalicWidths)
PENDLAR_LATIN_FONT(TPdfTimesBoldItalic, "Times-BoldItalic", kTimesBoldItalicWidths)

#undef PENDLAR_LATIN_FONT

} // namespace pendlar
