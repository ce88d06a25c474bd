// The report layout components: page layout and alignment, the operators each item writes,
// images, annotations, destinations and outlines, the document frame and the failure texts.
#include "pdf/PReport.h"
#include "pdf/PRAnnotation.h"
#include "pdf/PRJpegImage.h"

#include "PdfTestSupport.h"
#include "TempDir.h"
#include "util/Sjis.h"

#include <cctype>
#include <functional>
#include <set>

namespace pendlar {
namespace {

using test::ExpectFailure;
using test::ReadFile;
using test::TempDir;

// A report with one page of the given size holding one panel at the page origin.
struct OnePage {
    TPReport report;
    TPRPage page;
    TPRPanel* panel;
    TempDir dir;

    explicit OnePage(int width = 596, int height = 842) {
        page.SetBounds(0, 0, width, height);
        panel = page.Add<TPRPanel>("Panel1");
        panel->SetBounds(0, 0, width, height);
        report.FileName = dir.Sjis("out.pdf");
    }
    // Prints the page into a new document and returns its content stream.
    std::string Print() {
        report.BeginDoc();
        report.PrintPage(page);
        return Content();
    }
    std::string Content() {
        auto* contents =
            dynamic_cast<TPdfStream*>(report.Canvas().PdfCanvas()->GetPage()->Lookup("Contents"));
        return contents->Stream();
    }
    std::string Save() {
        report.EndDoc();
        return ReadFile(dir.Path() / "out.pdf");
    }
};

constexpr const char* kFirstLine = "/F0 10 Tf\n";

class PReportTest : public test::FixedClock {};

TEST_F(PReportTest, DocumentFrameHoldsThePageSizeAndTheInformationInOrder) {
    OnePage p(633, 887);
    p.Print();
    std::string file = p.Save();
    EXPECT_NE(file.find("/MediaBox [0 0 633 887 ]"), std::string::npos);
    EXPECT_NE(file.find("<<\r\n/Producer (Quilmo PDF Writer 0.9)\r\n/Author ()\r\n"
                        "/CreationDate (D:20061117142506)\r\n/Creator ()\r\n/Keywords ()\r\n"
                        "/Subject ()\r\n/Title ()\r\n/ModDate (D:20061117142506)\r\n>>"),
              std::string::npos);
    EXPECT_FALSE(p.report.IsOpen());
    test::ExpectQpdfClean(file);
}

TEST_F(PReportTest, PageAlignsItsPanelsInsideMarginsAndBevel) {
    TPRPage page;
    page.SetBounds(0, 0, 633, 887);
    auto* layout = page.Add<TPRLayoutPanel>("Layout");
    layout->SetAlign(TAlign::alClient);
    EXPECT_EQ(layout->BoundsRect(), (TRect{33, 33, 600, 854}));

    page.SetMarginLeft(-1);  // ignored
    page.SetMarginLeft(316); // half of 633 is 316: ignored
    page.SetMarginLeft(10);
    EXPECT_EQ(page.MarginLeft(), 10);
    EXPECT_EQ(layout->BoundsRect(), (TRect{11, 33, 600, 854}));
    page.SetBounds(0, 0, 700, 1000);
    EXPECT_EQ(layout->BoundsRect(), (TRect{11, 33, 667, 967}));

    ExpectFailure<std::runtime_error>([&] { page.Add<TPRLabel>("OnPage"); },
                                      "this component must set on TPRPanel");
}

TEST_F(PReportTest, ItemSettersRejectOrIgnoreBadValues) {
    TPRLabel label;
    ExpectFailure<EPdfInvalidValue>([&] { label.SetFontColor(0x10000000); },
                                    "the color you selected is not allowed.");
    label.SetFontColor(0xFFFFFFF);
    label.SetFontSize(0);
    label.SetWordSpace(-1);
    EXPECT_EQ(label.FontSize(), 12);
    EXPECT_EQ(label.WordSpace(), 0);
    TPRText text;
    text.SetLeading(-2);
    EXPECT_EQ(text.Leading(), 14);

    TPRImage image;
    TPRJpegImage jpeg;
    ExpectFailure<std::runtime_error>(
        [&] {
            image.SetPicture(JpegPicture{1, 1, "x"});
        },
        "only bitmap image is allowed.");
    ExpectFailure<std::runtime_error>([&] { jpeg.SetPicture(Bitmap(1, 1)); },
                                      "only jpeg image is allowed.");
}

// What one item writes after the page's first font line.
struct ItemCase {
    const char* What;
    std::function<void(TPRPanel&)> Place;
    std::string Expected;
};

class ItemOutputTest : public PReportTest, public ::testing::WithParamInterface<ItemCase> {};

TEST_P(ItemOutputTest, WritesExactlyTheseOperators) {
    OnePage p(596, 887);
    GetParam().Place(*p.panel);
    EXPECT_EQ(p.Print(), kFirstLine + GetParam().Expected);
}

TPRLabel* AddLabel(TPRPanel& panel, const char* caption, int left, int top, int width) {
    auto* label = panel.Add<TPRLabel>("Label");
    label->SetBounds(left, top, width, 17);
    label->Caption = caption;
    return label;
}

TPRRect* AddRect(TPRPanel& panel, int width, int height) {
    auto* rect = panel.Add<TPRRect>("Shape");
    rect->SetBounds(16, 5, width, height);
    return rect;
}

INSTANTIATE_TEST_SUITE_P(
    Items, ItemOutputTest,
    ::testing::Values(
        ItemCase{"label baseline 0.85 font sizes below the top",
                 [](TPRPanel& p) { AddLabel(p, "Abc", 16, 53, 49); },
                 "/F1 12 Tf\n0 0 0 rg\nBT\n16 823.8 Td\n(Abc) Tj\nET\n"},
        ItemCase{"empty label writes nothing", [](TPRPanel& p) { AddLabel(p, "", 16, 53, 49); },
                 ""},
        ItemCase{"justified single character keeps spacing 0",
                 [](TPRPanel& p) { AddLabel(p, "A", 16, 53, 200)->AlignJustified = true; },
                 "/F1 12 Tf\n0 0 0 rg\nBT\n16 823.8 Td\n(A) Tj\nET\n"},
        ItemCase{"justified caption spans the width",
                 // Gothic 12: four characters of 6 points; (100 - 24) / 3 between them.
                 [](TPRPanel& p) { AddLabel(p, "ABCD", 16, 53, 100)->AlignJustified = true; },
                 "/F1 12 Tf\n0 0 0 rg\n25.33 Tc\nBT\n16 823.8 Td\n(ABCD) Tj\nET\n"},
        ItemCase{"text without wrap cuts a long line and breaks at CR LF",
                 [](TPRPanel& p) {
                     auto* t = p.Add<TPRText>("Text");
                     t->SetBounds(10, 10, 30, 60);
                     t->SetText("ABCDEFGHIJ\r\nXY");
                 },
                 "/F1 12 Tf\n0 0 0 rg\n14 TL\nBT\n10 866.8 Td\n(ABCDE) Tj\nT*\n(XY) Tj\nET\n"},
        ItemCase{"dotted one-pixel line",
                 [](TPRPanel& p) { AddRect(p, 50, 1)->LineStyle = TPenStyle::psDot; },
                 "[3 ] 0 d\n16 882 m\n65 882 l\n0 0 0 RG\n0 w\nS\nn\n"},
        ItemCase{"yellow fill without a visible line",
                 [](TPRPanel& p) {
                     TPRRect* r = AddRect(p, 50, 20);
                     r->LineStyle = TPenStyle::psClear;
                     r->FillColor = clYellow;
                 },
                 "16 882 m\n65 882 l\n65 863 l\n16 863 l\n1 1 0 rg\n0 0 0 RG\n0 w\nh\nf\n"},
        ItemCase{"solid outline", [](TPRPanel& p) { AddRect(p, 50, 20)->SetLineWidth(1); },
                 "[] 0 d\n16 882 m\n65 882 l\n65 863 l\n16 863 l\n0 0 0 RG\n1 w\ns\n"},
        ItemCase{"fill and outline", [](TPRPanel& p) { AddRect(p, 50, 20)->FillColor = 0x0000FF; },
                 "[] 0 d\n16 882 m\n65 882 l\n65 863 l\n16 863 l\n1 0 0 rg\n0 0 0 RG\n0 w\nb\n"},
        ItemCase{"vertical line", [](TPRPanel& p) { AddRect(p, 1, 20); },
                 "[] 0 d\n16 882 m\n16 863 l\n0 0 0 RG\n0 w\nS\nn\n"},
        ItemCase{"neither fill nor line writes nothing",
                 [](TPRPanel& p) { AddRect(p, 50, 20)->LineColor = clNone; }, ""},
        ItemCase{"item not printable writes nothing",
                 [](TPRPanel& p) { AddLabel(p, "Abc", 16, 53, 49)->SetPrintable(false); }, ""}),
    [](const auto& info) {
        std::string name;
        for (const char* c = info.param.What; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST_F(PReportTest, UnsharedJpegItemGivesEveryPageAnImageOfItsOwn) {
    OnePage p;
    auto* jpeg = p.panel->Add<TPRJpegImage>("PRJpegImage1");
    jpeg->SetBounds(0, 24, 8, 8);
    jpeg->Stretch = false;
    jpeg->SharedImage = false;
    std::string bytes = ReadFile(std::string(PENDLAR_TEST_DATA) + "/pdf/data/blue-8x8.jpg");
    jpeg->SetPicture(JpegPicture{8, 8, bytes});
    p.report.BeginDoc();
    for (int i = 0; i < 3; ++i)
        p.report.PrintPage(p.page);
    std::string file = p.Save();
    std::set<std::string> names;
    for (std::size_t at = 0; (at = file.find("/Name /PRJpegImage1", at)) != std::string::npos;) {
        std::size_t end = file.find("\r\n", at);
        names.insert(file.substr(at, end - at));
        at = end;
    }
    EXPECT_EQ(names.size(), 3u);
    EXPECT_NE(file.find("q\n0 810 8 8 re\nW\nn\n8 0 0 8 0 810 cm\n"), std::string::npos);
    test::ExpectQpdfClean(file);
}

TEST_F(PReportTest, SharedBitmapItemIsOneImageForAllPages) {
    OnePage p;
    auto* image = p.panel->Add<TPRImage>("Logo");
    image->SetBounds(10, 20, 40, 30);
    image->SetPicture(Bitmap(4, 4, PixelFormat::Bits1));
    p.report.BeginDoc();
    p.report.PrintPage(p.page);
    EXPECT_EQ(p.Content(), std::string(kFirstLine) + "q\n40 0 0 30 10 792 cm\n/Logo Do\nQ\n");
    p.report.PrintPage(p.page);
    std::string file = p.Save();
    std::size_t count = 0;
    for (std::size_t at = 0; (at = file.find("/Subtype /Image", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 1u);
}

TEST_F(PReportTest, AnnotationCarriesItsLinesTitleAndOpenState) {
    OnePage p;
    auto* note = p.panel->Add<TPRAnnotation>("Note");
    note->SetBounds(640, 64, 100, 30);
    note->Lines = {"a", "b"};
    note->Caption = "Title";
    note->Opened = true;
    EXPECT_EQ(note->ContentsText(), "a\rb");
    p.Print();
    std::string file = p.Save();
    EXPECT_NE(file.find("/Subtype /Text\r\n/Rect [640 748 740 778 ]\r\n/Contents (a\\rb)\r\n"
                        "/T (Title)\r\n/Open true\r\n"),
              std::string::npos);
}

TEST_F(PReportTest, DestinationsCountFromThePageTopAndOutlinesStayInTheirDocument) {
    OnePage p(633, 887);
    p.report.SetUseOutlines(true);
    p.report.BeginDoc();
    p.report.PrintPage(p.page);
    TPRDestination* dest = p.report.CreateDestination();
    EXPECT_EQ(dest->PdfDestination()->Top(), 897);
    EXPECT_EQ(dest->Top(), -10);
    EXPECT_EQ(dest->Zoom(), 1);
    dest->SetTop(0);
    EXPECT_EQ(dest->PdfDestination()->Top(), 887);
    TPROutlineEntry* entry = p.report.GetOutlineRoot()->AddChild();
    entry->SetTitle("Page 1");
    entry->SetDest(dest);
    EXPECT_EQ(entry->Dest(), dest);

    TPReport other;
    other.SetUseOutlines(true);
    other.BeginDoc();
    TPRPage page;
    other.PrintPage(page);
    ExpectFailure<EPdfInvalidOperation>([&] { entry->SetDest(other.CreateDestination()); },
                                        "SetDest --internal docs are not equal.");
    p.report.SetOpenAction(dest);
    std::string file = p.Save();
    EXPECT_NE(file.find("/OpenAction [5 0 R /XYZ 0 887 1 ]"), std::string::npos);
    EXPECT_NE(file.find("/Title (Page 1)\r\n/Dest [5 0 R /XYZ 0 887 1 ]"), std::string::npos);
}

TEST_F(PReportTest, MetadataSettersFailWhileOpenAndLeaveTheDocumentIntact) {
    OnePage p;
    p.report.SetNonFullScreenPageMode(pmFullScreen);
    EXPECT_EQ(p.report.NonFullScreenPageMode(), pmUseNone);
    p.report.BeginDoc();
    const std::vector<std::pair<std::function<void()>, const char*>> setters = {
        {[&] { p.report.SetAuthor("a"); }, "SetAuthor --invalid operation."},
        {[&] { p.report.SetCreationDate(1); }, "SetCreationDate --invalid operation."},
        {[&] { p.report.SetCreator("c"); }, "SetCreator --invalid operation."},
        {[&] { p.report.SetKeywords("k"); }, "SetKeyWords --invalid operation."},
        {[&] { p.report.SetModDate(1); }, "SetModDate --invalid operation."},
        {[&] { p.report.SetSubject("s"); }, "SetSubject --invalid operation."},
        {[&] { p.report.SetTitle("t"); }, "SetTitle --invalid operation."},
        {[&] { p.report.SetPageLayout(plOneColumn); }, "SetPageLayout --invalid operation."},
        {[&] { p.report.SetPageMode(pmUseThumbs); }, "SetPageMode --invalid operation."},
        {[&] { p.report.SetNonFullScreenPageMode(pmUseThumbs); },
         "SetNonFullScreenPageMode --invalid operation."},
        {[&] { p.report.SetUseOutlines(true); }, "SetUseOutlines --invalid operation."},
        {[&] { p.report.SetViewerPreference({vpFitWindow}); },
         "SetViewerPreference --invalid operation."},
        {[&] { p.report.GetOutlineRoot(); }, "GetOutlineRoot --invalid operation."},
    };
    for (const auto& [call, message] : setters)
        ExpectFailure<EPdfInvalidOperation>(call, message);
    EXPECT_EQ(p.report.Author(), "");
    p.report.PrintPage(p.page);
    EXPECT_NE(p.Save().find("/Author ()"), std::string::npos);
}

TEST_F(PReportTest, ClosedReportRefusesDocumentCallsAndAFailedEndLeavesNoFile) {
    OnePage p;
    ExpectFailure<EInvalidOperation>([&] { p.report.EndDoc(); }, "document is null..");
    ExpectFailure<EPdfInvalidOperation>([&] { p.report.PrintPage(p.page); },
                                        "PrintPage --invalid operation.");
    ExpectFailure<EPdfInvalidOperation>([&] { p.report.CreateDestination(); },
                                        "CreateDestination --invalid operation.");
    ExpectFailure<EPdfInvalidOperation>([&] { p.report.SetOpenAction(nullptr); },
                                        "SetOpenAction --invalid operation.");

    // No page printed: the writer's own error, and an existing file stays as it was.
    test::WriteFile(p.dir.Path() / "out.pdf", "old");
    p.report.BeginDoc();
    ExpectFailure<EPdfInvalidOperation>([&] { p.report.EndDoc(); }, "GetPage --the Page is nil");
    EXPECT_FALSE(p.report.IsOpen());
    EXPECT_EQ(ReadFile(p.dir.Path() / "out.pdf"), "old");
}

} // namespace
} // namespace pendlar
