// The sixteen Japanese fonts: Gothic and Mincyo, fixed-pitch and proportional, plain, bold,
// italic and bold italic. They are written as non-embedded CID-keyed fonts over
// Adobe-Japan1 with the Shift-JIS CMaps, so a reader draws them with a Japanese face of its
// own, and text goes into the content stream as its raw Shift-JIS bytes.
#pragma once

#include "pdf/PdfDoc.h"
#include "pdf/PdfJpCMap.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

// The Japanese font kind registered under `name`, or null.
std::unique_ptr<TPdfFont> CreateJpFontKind(std::string_view name, TPdfXref* xref);

struct TPdfCIDWidthItem {
    int FirstCID;
    int LastCID;
    int Width;
};

class TPdfType0Font : public TPdfFont {
public:
    // 0 for a trail byte; the W width of the character's CID, else DW for a double-byte
    // character and the missing width for a single byte.
    int CharWidth(std::string_view text, int position) const override;
    // Reads DW, the descriptor's MissingWidth and the W array back from the dictionaries.
    void SetData(TPdfDictionary* data) override;

    // The CID of the character at a 1-based byte position; -1 for a trail byte, 0 when no
    // range holds the code.
    int CharToCid(std::string_view text, int position) const;

    const std::vector<TPdfCIDWidthItem>& Widths() const { return widths_; }
    int DW() const { return dw_; }
    int MissingWidth() const { return missingWidth_; }

protected:
    using TPdfFont::TPdfFont;
    virtual void SetCIDFunction(std::span<const CidRange> ranges) { ranges_ = ranges; }

private:
    std::vector<TPdfCIDWidthItem> widths_;
    int dw_ = 1000;
    int missingWidth_ = 0;
    std::span<const CidRange> ranges_;
};

// Flags, italic angle and stem width of the descriptor.
struct JpFontStyle {
    int Flags;
    int ItalicAngle;
    int StemV;
};

class TPdfJpFont : public TPdfType0Font {
public:
    // Registers three objects in this order: the font, its CID font, its descriptor.
    void Build() override;

protected:
    TPdfJpFont(TPdfXref* xref, std::string_view name, const JpFontStyle& style)
        : TPdfType0Font(xref, name), style_(style) {}

    virtual void AddDescriptorItems(TPdfDictionary* descriptor);
    virtual void AddDescendantItems(TPdfDictionary* cidFont) = 0;
    virtual std::string BaseFontName() const { return name_; }
    virtual const char* EncodingName() const = 0;

private:
    JpFontStyle style_;
};

class TPdfJpFixedFont : public TPdfJpFont {
protected:
    TPdfJpFixedFont(TPdfXref* xref, std::string_view name, const JpFontStyle& style)
        : TPdfJpFont(xref, name, style) {
        SetCIDFunction(k90msRksjH);
    }
    void AddDescendantItems(TPdfDictionary* cidFont) override;
    const char* EncodingName() const override { return "90ms-RKSJ-H"; }
};

class TPdfJpProportionalFont : public TPdfJpFont {
protected:
    TPdfJpProportionalFont(TPdfXref* xref, std::string_view name, const JpFontStyle& style)
        : TPdfJpFont(xref, name, style) {
        SetCIDFunction(k90mspRksjH);
    }
    void AddDescendantItems(TPdfDictionary* cidFont) override;
    const char* EncodingName() const override { return "90msp-RKSJ-H"; }
};

#define PENDLAR_JP_FONT(Class, Base, Flags, ItalicAngle, StemV)                                    \
    class Class : public Base {                                                                    \
    public:                                                                                        \
        Class(TPdfXref* xref, std::string_view name)                                               \
            : Base(xref, name, JpFontStyle{Flags, ItalicAngle, StemV}) {}                          \
                                                                                                   \
    protected:                                                                                     \
        using Base::Base;                                                                          \
    };

PENDLAR_JP_FONT(TPdfGothic, TPdfJpFixedFont, 5, 0, 78)
PENDLAR_JP_FONT(TPdfGothicBold, TPdfJpFixedFont, 262149, 0, 156)
PENDLAR_JP_FONT(TPdfGothicItalic, TPdfJpFixedFont, 5, -11, 78)
PENDLAR_JP_FONT(TPdfGothicBoldItalic, TPdfJpFixedFont, 262149, -11, 156)
PENDLAR_JP_FONT(TPdfMincyo, TPdfJpFixedFont, 7, 0, 78)
PENDLAR_JP_FONT(TPdfMincyoBold, TPdfJpFixedFont, 262151, 0, 156)
PENDLAR_JP_FONT(TPdfMincyoItalic, TPdfJpFixedFont, 7, -11, 78)
PENDLAR_JP_FONT(TPdfMincyoBoldItalic, TPdfJpFixedFont, 262151, -11, 156)
PENDLAR_JP_FONT(TPdfPGothic, TPdfJpProportionalFont, 4, 0, 78)
PENDLAR_JP_FONT(TPdfPGothicBold, TPdfPGothic, 262148, 0, 156)
PENDLAR_JP_FONT(TPdfPGothicItalic, TPdfPGothic, 4, -11, 78)
PENDLAR_JP_FONT(TPdfPGothicBoldItalic, TPdfPGothic, 262148, -11, 156)
PENDLAR_JP_FONT(TPdfPMincyo, TPdfJpProportionalFont, 6, 0, 78)
PENDLAR_JP_FONT(TPdfPMincyoBold, TPdfPMincyo, 262150, 0, 156)
PENDLAR_JP_FONT(TPdfPMincyoItalic, TPdfPMincyo, 6, -11, 78)
PENDLAR_JP_FONT(TPdfPMincyoBoldItalic, TPdfPMincyo, 262150, -11, 156)

#undef PENDLAR_JP_FONT

} // namespace pendlar
