// Independent readers (qpdf, poppler, mupdf) open what the writer produces: the file is
// sound, the Japanese text is drawn and extracted as Unicode, the fonts and information
// texts are what was written. Each check is skipped where its tool is missing.
#include "pdf/PdfDoc.h"
#include "pdf/PdfImages.h"

#include "PdfTestSupport.h"
#include "TempDir.h"
#include "util/Sjis.h"

#include <regex>

namespace pendlar {
namespace {

using test::HaveProgram;
using test::RunCommand;

class PdfOracleTest : public test::FixedClock {
protected:
    void SetUp() override {
        FixedClock::SetUp();
        path_ = dir_.Path() / "chart.pdf";
        TPdfDoc doc;
        doc.SetUseOutlines(true);
        doc.NewDoc();
        TPdfInfo* info = doc.GetInfo();
        info->SetTitle(Sjis("外来カルテ"));
        info->SetAuthor(Sjis("受付 花子"));
        info->SetSubject("Chart 12345678");
        doc.AddPage();
        TPdfCanvas* canvas = doc.GetCanvas();
        canvas->SetFont("Gothic", 24);
        canvas->TextInRect({40, 800, 556, 770}, Sjis("患者氏名 山田太郎"), TextAlignment::Left,
                           false);
        canvas->SetFont("Gothic,Bold", 14);
        canvas->TextInRect({40, 740, 556, 720}, Sjis("保険者番号 ｶﾀｶﾅ 06123456"),
                           TextAlignment::Left, false);
        canvas->SetFont("PMincyo", 14);
        canvas->TextInRect({40, 700, 556, 680}, Sjis("既往歴 なし"), TextAlignment::Left, false);
        canvas->SetFont("Times-Roman", 12);
        canvas->TextInRect({40, 660, 556, 640}, "Latin (text)", TextAlignment::Left, false);
        canvas->SetLineWidth(1);
        canvas->AppendRect(36, 630, 524, 180);
        canvas->StrokePath();
        Bitmap bitmap(4, 4, PixelFormat::Bits1);
        doc.AddImage("Bmp", CreateImageFrom(&bitmap, "Pdf-Bitmap"));
        canvas->DrawXObject(40, 400, 100, 100, "Bmp");
        TPdfDestination* dest = doc.CreateDestination();
        dest->SetTop(842);
        TPdfOutlineEntry* entry = doc.GetOutlineRoot()->AddChild();
        entry->SetTitle(Sjis("表紙"));
        entry->SetDest(dest);
        TPdfDictionary* note = doc.AddAnotation(TPdfAnnotationSubtype::Text, {40, 300, 60, 320});
        note->Put("Contents", new TPdfText(Sjis("メモ")));
        doc.SaveToFile(FileNameToSjisPath(path_.string()));
    }

    static std::string Sjis(const char* utf8) { return *Utf8ToSjis(utf8); }

    // Runs `tool` on the document; `after` follows the file name.
    std::string Run(const std::string& tool, const std::string& after = "") {
        std::string out;
        EXPECT_EQ(RunCommand(tool + " '" + path_.string() + "' " + after + " 2>&1", &out), 0)
            << out;
        return out;
    }

    test::TempDir dir_;
    std::filesystem::path path_;
};

TEST_F(PdfOracleTest, QpdfFindsNoError) {
    if (!HaveProgram("qpdf"))
        GTEST_SKIP() << "qpdf is not installed";
    EXPECT_NE(Run("qpdf --check").find("No syntax or stream encoding errors"), std::string::npos);
}

TEST_F(PdfOracleTest, PopplerExtractsTheJapaneseText) {
    if (!HaveProgram("pdftotext"))
        GTEST_SKIP() << "poppler-utils is not installed";
    std::string text = Run("pdftotext -enc UTF-8 -layout -q", "-");
    for (const char* line :
         {"患者氏名 山田太郎", "保険者番号 ｶﾀｶﾅ 06123456", "既往歴 なし", "Latin (text)"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(PdfOracleTest, PopplerDrawsTheGlyphs) {
    if (!HaveProgram("pdftoppm"))
        GTEST_SKIP() << "poppler-utils is not installed";
    std::string out;
    ASSERT_EQ(RunCommand("pdftoppm -gray -r 36 '" + path_.string() + "' '" +
                             (dir_.Path() / "page").string() + "' 2>&1",
                         &out),
              0)
        << out;
    // A binary PGM of the page at half a pixel per point: 298 x 421.
    std::string pgm = test::ReadFile(dir_.Path() / "page-1.pgm");
    ASSERT_EQ(pgm.rfind("P5\n298 421\n255\n", 0), 0u);
    const std::size_t header = std::string("P5\n298 421\n255\n").size();
    auto darkIn = [&](int top, int bottom) { // rows in pixels from the top
        int dark = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 22; x < 276; ++x)
                if (static_cast<unsigned char>(pgm[header + 298 * y + x]) < 128)
                    ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(23, 35), 100);  // the 24-point name line
    EXPECT_GT(darkIn(53, 60), 30);   // the bold 14-point line
    EXPECT_LT(darkIn(110, 165), 10); // nothing between the frame and the image
}

TEST_F(PdfOracleTest, PopplerListsTheFonts) {
    if (!HaveProgram("pdffonts"))
        GTEST_SKIP() << "poppler-utils is not installed";
    std::string fonts = Run("pdffonts");
    for (const char* row : {"Helvetica +Type 1 +WinAnsi", "Gothic +CID TrueType +90ms-RKSJ-H",
                            "Gothic,Bold +CID TrueType +90ms-RKSJ-H",
                            "PMincyo +CID TrueType +90msp-RKSJ-H", "Times-Roman +Type 1 +WinAnsi"})
        EXPECT_TRUE(std::regex_search(fonts, std::regex(row))) << row << "\n" << fonts;
}

TEST_F(PdfOracleTest, InformationAndOutlineTexts) {
    if (!HaveProgram("pdfinfo"))
        GTEST_SKIP() << "poppler-utils is not installed";
    std::string info = Run("pdfinfo");
    // poppler does not know the language escape in front of the UTF-16 texts: it drops the
    // two escape characters but shows the language code "en" as one CJK character (U+656E)
    // before the text. The text itself comes through.
    EXPECT_NE(info.find("外来カルテ"), std::string::npos) << info;
    EXPECT_NE(info.find("受付 花子"), std::string::npos) << info;
    EXPECT_NE(info.find("Subject:         Chart 12345678"), std::string::npos) << info;
    EXPECT_NE(info.find("Producer:        Quilmo PDF Writer 0.9"), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    if (HaveProgram("mutool")) {
        std::string outline = Run("mutool show", "outline");
        EXPECT_NE(outline.find("\"表紙\""), std::string::npos) << outline;
    }
}

} // namespace
} // namespace pendlar
