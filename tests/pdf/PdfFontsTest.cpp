#include "pdf/PdfFonts.h"
#include "pdf/PdfJpFonts.h"

#include "PdfTestSupport.h"
#include <functional>

namespace pendlar {
namespace {

using test::ExpectFailure;
using test::WriteObject;

class PdfFontsTest : public test::FixedClock {
protected:
    void SetUp() override {
        FixedClock::SetUp();
        doc_.NewDoc();
        doc_.AddPage();
    }
    int Width(const std::string& font, const std::string& text, int position = 1) {
        return doc_.GetFont(font)->CharWidth(text, position);
    }
    TPdfType0Font* Type0(const std::string& font) {
        return dynamic_cast<TPdfType0Font*>(doc_.GetFont(font));
    }
    TPdfDictionary* CidFont(const std::string& font) {
        return dynamic_cast<TPdfDictionary*>(
            doc_.GetFont(font)->Data()->LookupArray("DescendantFonts")->ItemAt(0));
    }
    TPdfDoc doc_;
};

TEST_F(PdfFontsTest, LatinWidths) {
    struct Row {
        const char* font;
        unsigned char code;
        int width;
    } rows[] = {
        {"Arial", ' ', 278},
        {"Arial", 'A', 667},
        {"Arial", 0x80, 556},
        {"Arial-Bold", 'A', 722},
        {"Times-Roman", ' ', 250},
        {"Times-Roman", 'A', 722},
        {"Times-Italic", 'A', 611},
        {"FixedWidth", 'i', 600},
        {"FixedWidth-Bold", 0x7F, 600},
        {"Arial", 0x1F, 0},
        {"Times-BoldItalic", 'A', 667},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Width(r.font, std::string(1, static_cast<char>(r.code))), r.width)
            << r.font << " " << int(r.code);
    for (const char* font : {"Arial", "Arial-BoldItalic", "Times-Roman", "Times-Bold"})
        for (unsigned char code : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0, 0xAD})
            EXPECT_EQ(Width(font, std::string(1, static_cast<char>(code))), 0)
                << font << " " << int(code);
    for (int code = 32; code < 256; ++code) {
        std::string c(1, static_cast<char>(code));
        EXPECT_EQ(Width("Arial", c), Width("Arial-Italic", c)) << code;
        EXPECT_EQ(Width("Arial-Bold", c), Width("Arial-BoldItalic", c)) << code;
        for (const char* courier :
             {"FixedWidth", "FixedWidth-Bold", "FixedWidth-Italic", "FixedWidth-BoldItalic"})
            EXPECT_EQ(Width(courier, c), 600) << courier << " " << code;
    }
    // "AB" in Arial at 10 points.
    doc_.GetCanvas()->SetFont("Arial", 10);
    EXPECT_NEAR(doc_.GetCanvas()->TextWidth("AB"), 13.34, 1e-9);
}

TEST_F(PdfFontsTest, LatinDictionaryHidesItsWidths) {
    TPdfFont* font = doc_.GetFont("Times-BoldItalic");
    PdfStringOutStream out;
    font->Data()->WriteIndirect(out);
    EXPECT_EQ(out.Data(), "7 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding "
                          "/WinAnsiEncoding\r\n/FirstChar 32\r\n/LastChar 255\r\n/BaseFont "
                          "/Times-BoldItalic\r\n/Name /F1\r\n>>\r\nendobj\r\n");
    ASSERT_NE(font->Data()->LookupArray("Widths"), nullptr);
    EXPECT_EQ(font->Data()->LookupArray("Widths")->ItemCount(), 224u);
}

TEST_F(PdfFontsTest, JapaneseKinds) {
    struct Kind {
        const char* name;
        const char* encoding;
        int flags, italicAngle, stemV;
    } kinds[] = {
        {"Gothic", "90ms-RKSJ-H", 5, 0, 78},
        {"Gothic,Bold", "90ms-RKSJ-H", 262149, 0, 156},
        {"Gothic,Italic", "90ms-RKSJ-H", 5, -11, 78},
        {"Gothic,BoldItalic", "90ms-RKSJ-H", 262149, -11, 156},
        {"Mincyo", "90ms-RKSJ-H", 7, 0, 78},
        {"Mincyo,Bold", "90ms-RKSJ-H", 262151, 0, 156},
        {"Mincyo,Italic", "90ms-RKSJ-H", 7, -11, 78},
        {"Mincyo,BoldItalic", "90ms-RKSJ-H", 262151, -11, 156},
        {"PGothic", "90msp-RKSJ-H", 4, 0, 78},
        {"PGothic,Bold", "90msp-RKSJ-H", 262148, 0, 156},
        {"PGothic,Italic", "90msp-RKSJ-H", 4, -11, 78},
        {"PGothic,BoldItalic", "90msp-RKSJ-H", 262148, -11, 156},
        {"PMincyo", "90msp-RKSJ-H", 6, 0, 78},
        {"PMincyo,Bold", "90msp-RKSJ-H", 262150, 0, 156},
        {"PMincyo,Italic", "90msp-RKSJ-H", 6, -11, 78},
        {"PMincyo,BoldItalic", "90msp-RKSJ-H", 262150, -11, 156},
    };
    for (const auto& k : kinds) {
        TPdfFont* font = doc_.GetFont(k.name);
        ASSERT_NE(Type0(k.name), nullptr) << k.name;
        TPdfDictionary* d = font->Data();
        EXPECT_EQ(d->LookupName("BaseFont")->Value(), k.name);
        EXPECT_EQ(d->LookupName("Encoding")->Value(), k.encoding);
        TPdfDictionary* descriptor = CidFont(k.name)->LookupDictionary("FontDescriptor");
        EXPECT_EQ(descriptor->LookupName("FontName")->Value(), k.name);
        EXPECT_EQ(descriptor->LookupNumber("Flags")->Value(), k.flags) << k.name;
        EXPECT_EQ(descriptor->LookupNumber("ItalicAngle")->Value(), k.italicAngle) << k.name;
        EXPECT_EQ(descriptor->LookupNumber("StemV")->Value(), k.stemV) << k.name;
    }
}

TEST_F(PdfFontsTest, GothicObjectsFollowWhatWasRegisteredBefore) {
    // Catalog, information, page tree, page, content stream, Helvetica: 1 to 6.
    TPdfFont* gothic = doc_.GetFont("Gothic");
    EXPECT_EQ(doc_.GetFont("Gothic"), gothic);
    EXPECT_EQ(gothic->Data()->ObjectNumber(), 7);
    TPdfXref* xref = doc_.ObjectMgr();
    ASSERT_EQ(xref->ItemCount(), 10u);
    EXPECT_EQ(dynamic_cast<TPdfDictionary*>(xref->ObjectAt(8))->LookupName("Subtype")->Value(),
              "CIDFontType2");
    EXPECT_EQ(dynamic_cast<TPdfDictionary*>(xref->ObjectAt(9))->TypeOf(), "FontDescriptor");
}

TEST_F(PdfFontsTest, ProportionalWidthArray) {
    std::string w = WriteObject(*CidFont("PGothic")->Lookup("W"));
    EXPECT_EQ(w.rfind("[1 [305 219 500 500 500 500 594 203 305 305 500 500 ", 0), 0u) << w;
    EXPECT_NE(w.find("] 633 [664 664 664 664 664 "), std::string::npos);
    EXPECT_NE(w.find("] 780 [684 684 684 684 684 684 684 684 684 684 ] 790 ["), std::string::npos);
    for (const char* start : {" 326 [", " 771 [", " 816 [", " 842 [", " 925 [", " 988 ["})
        EXPECT_NE(w.find(start), std::string::npos) << start;
    // Ten groups of 95, 64, 63, 8, 10, 26, 26, 83, 63 and 23 widths, read back one per CID.
    const auto& ranges = Type0("PMincyo")->Widths();
    ASSERT_EQ(ranges.size(), 461u);
    EXPECT_EQ(ranges[94].FirstCID, 95);
    EXPECT_EQ(ranges[95].FirstCID, 326);
    EXPECT_EQ(ranges.back().FirstCID, 1010);
}

TEST_F(PdfFontsTest, CharacterToCid) {
    struct Row {
        const char* font;
        std::string text;
        int position;
        int cid;
    } rows[] = {
        {"Gothic", " ", 1, 231},          {"Gothic", "}", 1, 324},
        {"Gothic", "~", 1, 631},          {"Gothic", "\xa1", 1, 327},
        {"Gothic", "\x81\x40", 1, 633},   {"Gothic", "\x81\x40", 2, -1},
        {"Gothic", "\xfc\x4b", 1, 8717},  {"Gothic", "\x01", 1, 0},
        {"Gothic", "\x82\x20", 1, 0},     {"PGothic", " ", 1, 1},
        {"PGothic", "}", 1, 94},          {"PGothic", "\xdf", 1, 389},
        {"PGothic", "A\x81\x40", 2, 633}, {"PGothic", "A\x81\x40", 3, -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Type0(r.font)->CharToCid(r.text, r.position), r.cid)
            << r.font << " " << r.text << " @" << r.position;
}

TEST_F(PdfFontsTest, JapaneseWidths) {
    const std::string nihon = "\x93\xfa\x96\x7b";
    struct Row {
        const char* font;
        std::string text;
        int position;
        int width;
    } rows[] = {
        {"Gothic", "A", 1, 500},         {"Gothic", "\xb1", 1, 500},
        {"Gothic", nihon, 1, 1000},      {"Gothic", nihon, 2, 0},
        {"Gothic", "\x01", 1, 500},      {"Gothic", "\x93", 1, 1000},
        {"PGothic", " ", 1, 305},        {"PGothic", "!", 1, 219},
        {"PGothic", "&", 1, 594},        {"PGothic", "'", 1, 203},
        {"PGothic", "\x81\x40", 1, 664}, {"PGothic", "\x82\x4f", 1, 684},
        {"PGothic", "\x01", 1, 500},     {"PMincyo,Bold", nihon, 1, 1000},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Width(r.font, r.text, r.position), r.width)
            << r.font << " " << r.text << " @" << r.position;
    // Half-width katakana take the widths of the group from CID 326.
    const auto& ranges = Type0("PGothic")->Widths();
    for (int code = 0xA1; code <= 0xDF; ++code)
        EXPECT_EQ(Width("PGothic", std::string(1, static_cast<char>(code))),
                  ranges[95 + (code - 0xA0)].Width)
            << code;
    // Two double-byte characters and one ASCII character: 2.5 font sizes.
    doc_.GetCanvas()->SetFont("Gothic", 12);
    EXPECT_NEAR(doc_.GetCanvas()->TextWidth(nihon + "A"), 30, 1e-9);
}

TEST_F(PdfFontsTest, MalformedWidthArrays) {
    TPdfFont* font = doc_.GetFont("Gothic");
    TPdfDictionary* cidFont = CidFont("Gothic");
    struct Case {
        std::function<TPdfArray*()> make;
        const char* message;
    } cases[] = {
        {[] {
             auto* w = new TPdfArray();
             w->Append(new TPdfName("x"));
             return w;
         },
         "invalid W array start pos.."},
        {[] {
             auto* w = new TPdfArray(nullptr, {1, 2});
             w->Append(new TPdfName("x"));
             return w;
         },
         "invalid W array end pos.."},
        {[] {
             return new TPdfArray(nullptr, {1, 2});
         },
         "invalid W array end pos.."},
        {[] {
             auto* w = new TPdfArray(nullptr, {1});
             w->Append(new TPdfName("x"));
             return w;
         },
         "invalid W array value.."},
        {[] { return new TPdfArray(nullptr, {1}); }, "invalid W array value.."},
    };
    for (const auto& c : cases) {
        cidFont->Put("W", c.make());
        ExpectFailure<EPdfInvalidValue>([&] { font->SetData(font->Data()); }, c.message);
    }
}

} // namespace
} // namespace pendlar
