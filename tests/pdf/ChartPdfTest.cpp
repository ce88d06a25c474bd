// The chart composition end to end: which pages a chart gets, the image sizes on them,
// outlines, notes and the open action, the filing-mode selection, and the same bytes with
// and without worker threads.
#include "ChartTestSupport.h"
#include "PdfTestSupport.h"

#include <regex>

namespace pendlar {
namespace {

using test::CountOf;
using test::PageCountOf;
using test::S;
using test::TempDir;

class ChartPdfTest : public test::FixedClock {
protected:
    TempDir scanner, out;
    ChartPdfData data;

    void SetUp() override {
        FixedClock::SetUp();
        data.Chart = test::SampleRecord();
        data.Lists = test::BuiltInLookups();
    }
    // Adds a page whose file is written into the scanner folder.
    void AddPage(const std::string& name, const Bitmap& picture,
                 std::vector<std::string> notes = {}, std::string caption = {}) {
        test::WritePicture(scanner, name, picture);
        data.Pages.push_back({name, std::move(notes), std::move(caption)});
    }
};

TEST_F(ChartPdfTest, NoHeaderAndNoPagesIsADocumentWithoutPagesWhichIsNotWritten) {
    TRegistory settings = test::ChartSettings(scanner, 0);
    test::ExpectFailure<EPdfInvalidOperation>([&] { test::Compose(settings, data, out); },
                                              "GetPage --the Page is nil");
    EXPECT_FALSE(std::filesystem::exists(out.Path() / "chart.pdf"));
}

TEST_F(ChartPdfTest, TheCoverSheetIsLeftOutUnlessTheFirstPageIsWanted) {
    AddPage("cover.png", test::PagePicture(40, 30));
    struct Case {
        int HeaderOut;
        bool FirstPage;
        std::size_t Pages;
    };
    for (Case c : {Case{1, false, 2}, Case{1, true, 3}, Case{2, true, 3}, Case{0, true, 1}}) {
        TRegistory settings = test::ChartSettings(scanner, c.HeaderOut);
        settings.FirstPage = c.FirstPage;
        EXPECT_EQ(PageCountOf(test::Compose(settings, data, out)), c.Pages)
            << "HeaderOut " << c.HeaderOut << " FirstPage " << c.FirstPage;
    }
}

TEST_F(ChartPdfTest, ImagesAreCutOrFittedToThePageArea) {
    struct Case {
        int Width, Height;
        bool Stretch;
        int ExpectedWidth, ExpectedHeight;
    };
    for (Case c : {Case{2000, 3000, false, 634, 934}, Case{1268, 1000, true, 634, 500},
                   Case{317, 200, true, 634, 400}}) {
        data.Pages.clear();
        AddPage("page.jpg", test::PagePicture(c.Width, c.Height));
        TRegistory settings = test::ChartSettings(scanner, 0);
        settings.FirstPage = true;
        settings.Stretch = c.Stretch;
        std::string pdf = test::Compose(settings, data, out);
        EXPECT_NE(pdf.find("/Width " + std::to_string(c.ExpectedWidth) + "\r\n/Height " +
                           std::to_string(c.ExpectedHeight) + "\r\n"),
                  std::string::npos)
            << c.Width << "x" << c.Height;
        // The picture stands at the layout's top left plus 24, at its own size.
        EXPECT_NE(pdf.find(std::to_string(c.ExpectedWidth) + " 0 0 " +
                           std::to_string(c.ExpectedHeight) + " 33 " +
                           std::to_string(1000 - 57 - c.ExpectedHeight) + " cm"),
                  std::string::npos);
    }
}

TEST_F(ChartPdfTest, QualityOutsideFiftyToHundredIsClamped) {
    AddPage("page.png", test::PagePicture(60, 40));
    TRegistory settings = test::ChartSettings(scanner, 0);
    settings.FirstPage = true;
    auto at = [&](int quality) {
        settings.Quality = quality;
        return test::Compose(settings, data, out);
    };
    EXPECT_EQ(at(30), at(50));
    EXPECT_EQ(at(120), at(100));
    EXPECT_NE(at(50), at(100));
}

TEST_F(ChartPdfTest, BookmarksNotesAndOpenActionFollowThePages) {
    AddPage("p1.png", test::PagePicture(50, 40), {S("所見"), S("要再検")}, S("紹介状"));
    AddPage("p2.png", test::PagePicture(50, 40), {}, S("検査結果"));
    data.Pages.push_back({"missing.png", {S("失われた")}, S("無い頁")});
    test::WriteFile(scanner.Path() / "broken.png", "not a picture");
    data.Pages.push_back({"broken.png", {}, S("壊れた頁")});
    AddPage("p3.png", test::PagePicture(50, 40));
    TRegistory settings = test::ChartSettings(scanner, 0);
    settings.FirstPage = true;
    // Written with its trailing "/", as the default (home) folder is: the status still
    // names the page with one separator.
    settings.ScannerDir += "/";
    ScriptedUserInterface ui;
    std::string pdf = test::Compose(settings, data, out, 0, &ui);

    EXPECT_EQ(PageCountOf(pdf), 3u);
    // One note, on the first page; bookmarks only for printed pages with a title.
    EXPECT_EQ(CountOf(pdf, "/Subtype /Text"), 1u);
    EXPECT_NE(pdf.find("/Contents <FEFF001B656E001B6240898B000D8981518D691C>"), std::string::npos);
    EXPECT_EQ(CountOf(pdf, "/Title "), 3u); // the document title and two bookmarks
    std::size_t first = pdf.find("/Title " + PdfTextString(S("紹介状")));
    std::size_t second = pdf.find("/Title " + PdfTextString(S("検査結果")));
    EXPECT_LT(first, second);
    EXPECT_NE(second, std::string::npos);
    // The viewer opens the outline pane at the last image page.
    std::smatch last;
    ASSERT_TRUE(std::regex_search(pdf, last, std::regex(R"(/Kids \[(?:\d+ 0 R )*(\d+) 0 R \])")));
    EXPECT_NE(pdf.find("/OpenAction [" + last[1].str() + " 0 R /XYZ 0 1000 1 ]"),
              std::string::npos);
    EXPECT_NE(pdf.find("/PageMode /UseOutlines"), std::string::npos);
    EXPECT_EQ(ui.Status[1], scanner.Sjis() + "/p3.png");
    test::ExpectQpdfClean(pdf);
}

TEST_F(ChartPdfTest, AMemoWithoutBlanksIsBrokenIntoLinesNotCut) {
    if (!test::HaveProgram("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    // 120 characters in one run: three lines of the 537-point memo box.
    std::string memo;
    for (int i = 0; i < 12; ++i)
        memo += "既往歴の記入例です";
    memo += "以上の通り";
    data.Chart.kioureki.Assign(S(memo.c_str()));
    TRegistory settings = test::ChartSettings(scanner, 1);
    test::Compose(settings, data, out);
    std::string text;
    ASSERT_EQ(test::RunCommand("pdftotext -f 2 -l 2 -enc UTF-8 '" +
                                   (out.Path() / "chart.pdf").string() + "' -",
                               &text),
              0);
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\n'; }),
               text.end());
    EXPECT_NE(text.find(memo), std::string::npos) << text;
}

TEST_F(ChartPdfTest, AddModePrintsOnlyThePartsItsSettingsAsk) {
    AddPage("cover.png", test::PagePicture(40, 30));
    AddPage("p2.png", test::PagePicture(40, 30));
    data.Mode = ChartFilingMode::Add;
    struct Case {
        bool Header, Image;
        std::size_t Pages;
    };
    for (Case c : {Case{true, true, 3}, Case{false, true, 1}, Case{true, false, 2}}) {
        TRegistory settings = test::ChartSettings(scanner, 1);
        settings.PdfHeader = c.Header;
        settings.PdfImage = c.Image;
        EXPECT_EQ(PageCountOf(test::Compose(settings, data, out)), c.Pages);
    }
    data.Mode = ChartFilingMode::New;
    TRegistory settings = test::ChartSettings(scanner, 1);
    settings.PdfHeader = settings.PdfImage = false;
    EXPECT_EQ(PageCountOf(test::Compose(settings, data, out)), 3u);
}

TEST_F(ChartPdfTest, WorkerThreadsGiveTheSameBytesAsOneThread) {
    for (int i = 0; i < 7; ++i) {
        const std::string name = "page" + std::to_string(i) + (i % 2 ? ".png" : ".jpg");
        AddPage(name,
                test::PagePicture(300 + 37 * i, 420 - 23 * i,
                                  {static_cast<std::uint8_t>(30 * i), 20, 90}),
                {}, i % 3 ? S("頁") + std::to_string(i) : std::string());
    }
    if (test::HaveProgram("img2dcm")) {
        test::WritePicture(scanner, "scan.bmp", test::PagePicture(64, 48));
        ASSERT_EQ(test::RunCommand("img2dcm -i BMP '" + (scanner.Path() / "scan.bmp").string() +
                                   "' '" + (scanner.Path() / "scan.dcm").string() + "'"),
                  0);
        data.Pages.push_back({"scan.dcm", {"0010,0010,PatientName: x"}, S("画像")});
    }
    TRegistory settings = test::ChartSettings(scanner, 2);
    settings.FirstPage = true;
    settings.Stretch = true;
    const std::string one = test::Compose(settings, data, out, 1);
    EXPECT_EQ(PageCountOf(one), data.Pages.size() + 2);
    EXPECT_TRUE(one == test::Compose(settings, data, out, 4));
    EXPECT_TRUE(one == test::Compose(settings, data, out, 2));
}

} // namespace
} // namespace pendlar
