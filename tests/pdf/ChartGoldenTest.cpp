// Golden charts: a fixed chart record with an outpatient and an inpatient header, three
// small page pictures (a JPEG with notes and a bookmark, a PNG with a bookmark only, a PNG
// without either), the default settings and a fixed clock give files whose bytes are
// compared with tests/pdf/golden/chart-outpatient.pdf and chart-inpatient.pdf.
//
// To regenerate both files after a deliberate change (render and look at them before
// committing: pdftoppm -r 60 -png FILE page):
//
//   PENDLAR_REGENERATE_GOLDEN=1 BUILD/tests/pdf/pdfchart_tests --gtest_filter='*ChartGolden*'
//
// Independent readers check the same files: qpdf finds them sound, pdftotext gives back
// the patient's name and the captions, mutool lists the bookmarks and the note.
#include "ChartTestSupport.h"
#include "PdfTestSupport.h"

#include <cstdlib>

namespace pendlar {
namespace {

using test::HaveProgram;
using test::RunCommand;
using test::S;
using test::TempDir;

std::filesystem::path GoldenPath(const char* name) {
    return std::filesystem::path(PENDLAR_TEST_DATA) / "pdf" / "golden" / name;
}

struct GoldenCase {
    const char* File;
    int HeaderOut;
    const char* Title; // the page title pdftotext must find
};

class ChartGoldenTest : public test::FixedClock, public ::testing::WithParamInterface<GoldenCase> {
protected:
    std::string ComposeGolden() {
        ChartPdfData data;
        data.Chart = test::SampleRecord();
        data.Lists = test::BuiltInLookups();
        test::WritePicture(scanner_, "0001.jpg", test::PagePicture(160, 120));
        test::WritePicture(scanner_, "0002.png", test::PagePicture(120, 150, {150, 20, 20}));
        test::WritePicture(scanner_, "0003.png", test::PagePicture(96, 64, {20, 110, 40}));
        data.Pages = {{"0001.jpg", {S("初診時の紹介状"), S("要確認")}, S("紹介状")},
                      {"0002.png", {}, S("検査結果")},
                      {"0003.png", {}, {}}};
        TRegistory settings = test::ChartSettings(scanner_, GetParam().HeaderOut);
        settings.FirstPage = true;
        return test::Compose(settings, data, out_);
    }

    TempDir scanner_, out_;
};

TEST_P(ChartGoldenTest, MatchesTheCommittedFile) {
    const std::string pdf = ComposeGolden();
    const std::filesystem::path golden = GoldenPath(GetParam().File);
    if (std::getenv("PENDLAR_REGENERATE_GOLDEN")) {
        test::WriteFile(golden, pdf);
        GTEST_SKIP() << "wrote " << golden;
    }
    const std::string expected = test::ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << "missing " << golden;
    if (pdf != expected) {
        const std::filesystem::path actual = out_.Path() / "actual.pdf";
        ADD_FAILURE() << "the chart differs from " << golden << " (" << pdf.size() << " bytes, "
                      << expected.size() << " expected)";
        // Kept where a reviewer can render it.
        std::filesystem::copy_file(out_.Path() / "chart.pdf",
                                   std::filesystem::temp_directory_path() /
                                       (std::string("actual-") + GetParam().File),
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

TEST_P(ChartGoldenTest, IndependentReadersFindTheChart) {
    const std::string pdf = ComposeGolden();
    test::ExpectQpdfClean(pdf);
    const std::string file = (out_.Path() / "chart.pdf").string();
    if (HaveProgram("pdftotext")) {
        std::string text;
        ASSERT_EQ(RunCommand("pdftotext -enc UTF-8 '" + file + "' -", &text), 0);
        for (const char* expected : {GetParam().Title, "山田 太郎", "患者氏名", "生年月日",
                                     "【既往歴】", "高血圧症", "血液型(A)", "1月"})
            EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    if (HaveProgram("mutool")) {
        std::string outline, annotation;
        ASSERT_EQ(RunCommand("mutool show '" + file + "' outline 2>/dev/null", &outline), 0);
        EXPECT_NE(outline.find("紹介状"), std::string::npos) << outline;
        EXPECT_NE(outline.find("検査結果"), std::string::npos) << outline;
        ASSERT_EQ(RunCommand("mutool show '" + file + "' trailer/Root/OpenAction 2>/dev/null",
                             &annotation),
                  0);
        EXPECT_NE(annotation.find("/XYZ 0 1000 1"), std::string::npos) << annotation;
    }
}

INSTANTIATE_TEST_SUITE_P(Charts, ChartGoldenTest,
                         ::testing::Values(GoldenCase{"chart-outpatient.pdf", 1, "外来カルテ"},
                                           GoldenCase{"chart-inpatient.pdf", 2, "入院カルテ"}),
                         [](const auto& info) {
                             return info.param.HeaderOut == 1 ? "Outpatient" : "Inpatient";
                         });

} // namespace
} // namespace pendlar
