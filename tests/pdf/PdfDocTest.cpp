#include "pdf/PdfDoc.h"

#include "PdfTestSupport.h"
#include "TempDir.h"
#include "pdf/PdfImages.h"
#include "util/Sjis.h"

#include <functional>

namespace pendlar {
namespace {

using test::Content;
using test::ExpectedFile;
using test::ExpectFailure;
using test::ExpectQpdfClean;
using test::SaveToString;
using test::WriteObject;

class PdfDocTest : public test::FixedClock {};

// Bodies shared by the one-page documents without outlines.
const std::string kCatalog = "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n>>";
const std::string kInfo = "<<\r\n/Producer (Quilmo PDF Writer 0.9)\r\n/CreationDate "
                          "(D:20061117142506)\r\n/ModDate (D:20061117142506)\r\n>>";
const std::string kPages = "<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>";
const std::string kHelvetica = "<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding "
                               "/WinAnsiEncoding\r\n/FirstChar 32\r\n/LastChar 255\r\n/BaseFont "
                               "/Helvetica\r\n/Name /F0\r\n>>";
const std::string kTrailer = "<<\r\n/Size 7\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>";

std::string Page(const std::string& fonts, const std::string& xobjects, int contents,
                 const std::string& tail = "") {
    return "<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 596 842 ]\r\n/Resources "
           "<<\r\n/Font <<\r\n" +
           fonts + ">>\r\n/XObject <<\r\n" + xobjects +
           ">>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents " + std::to_string(contents) +
           " 0 R\r\n" + tail + ">>";
}

std::string ContentStream(const std::string& bytes) {
    return "<<\r\n/Length " + std::to_string(bytes.size()) + "\r\n/Filter []\r\n>>\r\nstream\r\n" +
           bytes + "\nendstream";
}

TEST_F(PdfDocTest, EmptyPageDocumentByteForByte) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    // Written out in full once, so that the frame itself (offsets, xref, trailer) is checked
    // independently of the helper that assembles the other expectations.
    const std::string expected =
        "%PDF-1.2 \r\n"
        "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n>>\r\nendobj\r\n"
        "2 0 obj\r\n<<\r\n/Producer (Quilmo PDF Writer 0.9)\r\n/CreationDate "
        "(D:20061117142506)\r\n/ModDate (D:20061117142506)\r\n>>\r\nendobj\r\n"
        "3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>\r\nendobj\r\n"
        "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 596 842 ]\r\n"
        "/Resources <<\r\n/Font <<\r\n/F0 6 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n"
        "/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents 5 0 R\r\n>>\r\nendobj\r\n"
        "5 0 obj\r\n<<\r\n/Length 10\r\n/Filter []\r\n>>\r\nstream\r\n/F0 10 Tf\n\nendstream"
        "\r\nendobj\r\n"
        "6 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding /WinAnsiEncoding\r\n"
        "/FirstChar 32\r\n/LastChar 255\r\n/BaseFont /Helvetica\r\n/Name /F0\r\n>>\r\n"
        "endobj\r\n"
        "xref\r\n0 7\r\n"
        "0000000000 65535 f\r\n"
        "0000000011 00000 n\r\n"
        "0000000066 00000 n\r\n"
        "0000000189 00000 n\r\n"
        "0000000254 00000 n\r\n"
        "0000000443 00000 n\r\n"
        "0000000522 00000 n\r\n"
        "trailer\r\n<<\r\n/Size 7\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\n"
        "startxref\r\n668\r\n%%EOF\r\n";
    const std::string file = SaveToString(doc);
    ExpectQpdfClean(file);
    EXPECT_EQ(file, expected);
    EXPECT_EQ(expected, ExpectedFile({kCatalog, kInfo, kPages, Page("/F0 6 0 R\r\n", "", 5),
                                      ContentStream("/F0 10 Tf\n"), kHelvetica},
                                     kTrailer));
}

TEST_F(PdfDocTest, LineRectangleAndLatinText) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas* canvas = doc.GetCanvas();
    canvas->SetLineWidth(1.5);
    canvas->MoveTo(10, 20);
    canvas->LineTo(586, 20);
    canvas->StrokePath();
    canvas->SetStrokeRGB(0x0000FF);
    canvas->AppendRect(100, 200, 50.25, 30);
    canvas->StrokePath();
    canvas->SetFont("Arial", 12);
    canvas->SetFillRGB(0x00FFFF);
    // Helvetica 12: A 667, B 667, space 278, ( 333, x 500, ) 333 = 33.336 points; right
    // aligned in 200 points the text starts 200 - 33 to the right of the left edge.
    canvas->TextInRect({100, 700, 300, 680}, "AB (x)", TextAlignment::Right, false);
    const std::string content = "/F0 10 Tf\n1.5 w\n10 20 m\n586 20 l\nS\n1 0 0 RG\n"
                                "100 200 50.25 30 re\nS\n/F0 12 Tf\n1 1 0 rg\n"
                                "BT\n267 689.8 Td\n(AB \\(x\\)) Tj\nET\n";
    const std::string file = SaveToString(doc);
    ExpectQpdfClean(file);
    EXPECT_EQ(file, ExpectedFile({kCatalog, kInfo, kPages, Page("/F0 6 0 R\r\n", "", 5),
                                  ContentStream(content), kHelvetica},
                                 kTrailer));
}

TEST_F(PdfDocTest, JapaneseTextInGothic) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas* canvas = doc.GetCanvas();
    canvas->SetFont("Gothic", 12);
    canvas->BeginText();
    canvas->MoveTextOrigin(72, 700);
    canvas->ShowString("\x93\xfa\x96\x7b"
                       "A"); // 日本A
    canvas->EndText();
    const std::string content = "/F0 10 Tf\n/F1 12 Tf\nBT\n72 700 Td\n<93FA967B41> Tj\nET\n";
    const std::string font =
        "<<\r\n/BaseFont /Gothic\r\n/DescendantFonts [8 0 R ]\r\n/Type "
        "/Font\r\n/Subtype /Type0\r\n/Encoding /90ms-RKSJ-H\r\n/Name /F1\r\n>>";
    const std::string cidFont =
        "<<\r\n/Type /Font\r\n/Subtype /CIDFontType2\r\n/WinCharSet /128\r\n/BaseFont "
        "/Gothic\r\n/CIDSystemInfo <<\r\n/Registry (Adobe)\r\n/Ordering (Japan1)\r\n/Supplement "
        "2\r\n>>\r\n/DW 1000\r\n/W [231 631 500 ]\r\n/FontDescriptor 9 0 R\r\n>>";
    const std::string descriptor =
        "<<\r\n/Type /FontDescriptor\r\n/FontName /Gothic\r\n/Ascent 859\r\n/CapHeight "
        "859\r\n/Descent -141\r\n/MissingWidth 500\r\n/Flags 5\r\n/ItalicAngle 0\r\n/StemV "
        "78\r\n/FontBBox [0 -141 1000 859 ]\r\n>>";
    const std::string file = SaveToString(doc);
    ExpectQpdfClean(file);
    EXPECT_EQ(file,
              ExpectedFile({kCatalog, kInfo, kPages, Page("/F0 6 0 R\r\n/F1 7 0 R\r\n", "", 5),
                            ContentStream(content), kHelvetica, font, cidFont, descriptor},
                           "<<\r\n/Size 10\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>"));
}

TEST_F(PdfDocTest, OutlineEntriesAndXyzDestination) {
    TPdfDoc doc;
    doc.SetUseOutlines(true);
    doc.NewDoc();
    doc.AddPage();
    TPdfDestination* dest = doc.CreateDestination();
    dest->SetTop(842);
    doc.GetRoot()->SetOpenAction(dest);
    TPdfOutlineEntry* first = doc.GetOutlineRoot()->AddChild();
    first->SetTitle("Page (1)");
    first->SetDest(dest);
    first->SetOpened(true);
    TPdfOutlineEntry* second = doc.GetOutlineRoot()->AddChild();
    second->SetTitle(*Utf8ToSjis("表紙"));
    second->SetDest(dest);
    TPdfOutlineEntry* child = first->AddChild();
    child->SetTitle("Sub");

    const std::string xyz = "[5 0 R /XYZ 0 842 1 ]";
    const std::string file = SaveToString(doc);
    ExpectQpdfClean(file);
    EXPECT_EQ(file,
              ExpectedFile(
                  {"<<\r\n/Type /Catalog\r\n/Outlines 2 0 R\r\n/Pages 4 0 R\r\n/OpenAction " + xyz +
                       "\r\n>>",
                   "<<\r\n/Type /Outlines\r\n/Count 3\r\n/First 8 0 R\r\n/Last 9 0 R\r\n>>", kInfo,
                   "<<\r\n/Type /Pages\r\n/Kids [5 0 R ]\r\n/Count 1\r\n>>",
                   "<<\r\n/Type /Page\r\n/Parent 4 0 R\r\n/MediaBox [0 0 596 842 ]\r\n/Resources "
                   "<<\r\n/Font <<\r\n/F0 7 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n/ProcSet [/PDF /Text "
                   "/ImageC ]\r\n>>\r\n/Contents 6 0 R\r\n>>",
                   ContentStream("/F0 10 Tf\n"), kHelvetica,
                   "<<\r\n/Count 1\r\n/Title (Page \\(1\\))\r\n/Dest " + xyz +
                       "\r\n/First 10 0 R\r\n/Last 10 0 R\r\n/Next 9 0 R\r\n>>",
                   "<<\r\n/Count 0\r\n/Title <FEFF001B656E001B88687D19>\r\n/Dest " + xyz +
                       "\r\n/Prev 8 0 R\r\n>>",
                   "<<\r\n/Count 0\r\n/Title (Sub)\r\n>>"},
                  "<<\r\n/Size 11\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n>>"));
}

TEST_F(PdfDocTest, BitmapAndJpegImages) {
    const std::string jpeg = test::ReadFile(PENDLAR_TEST_DATA "/pdf/data/blue-8x8.jpg");
    ASSERT_FALSE(jpeg.empty());
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    Bitmap bitmap(2, 1);
    bitmap.SetPixel(0, 0, {255, 0, 0});
    bitmap.SetPixel(1, 0, {0, 0, 255});
    doc.AddImage("Bmp", CreateImageFrom(&bitmap, "Pdf-Bitmap"));
    JpegPicture picture{8, 8, jpeg};
    doc.AddImage("Jpg", CreateImageFrom(&picture, "Pdf-Jpeg"));
    TPdfCanvas* canvas = doc.GetCanvas();
    canvas->DrawXObject(10, 20, 200, 100, "Bmp");
    canvas->DrawXObjectEx(0, 0, 100, 50, 5, 5, 90, 40, "Jpg");

    const std::string content = "/F0 10 Tf\nq\n200 0 0 100 10 20 cm\n/Bmp Do\nQ\n"
                                "q\n5 5 90 40 re\nW\nn\n100 0 0 50 0 0 cm\n/Jpg Do\nQ\n";
    const std::string image = "\r\n/Type /XObject\r\n/Subtype /Image\r\n/ColorSpace "
                              "/DeviceRGB\r\n/Width %W\r\n/Height %H\r\n/BitsPerComponent 8\r\n";
    auto imageDict = [&](int w, int h) {
        std::string s = image;
        s.replace(s.find("%W"), 2, std::to_string(w));
        s.replace(s.find("%H"), 2, std::to_string(h));
        return s;
    };
    const std::string file = SaveToString(doc);
    ExpectQpdfClean(file);
    EXPECT_EQ(
        file,
        ExpectedFile(
            {kCatalog, kInfo, kPages, Page("/F0 6 0 R\r\n", "/Bmp 7 0 R\r\n/Jpg 8 0 R\r\n", 5),
             ContentStream(content), kHelvetica,
             "<<\r\n/Length 6\r\n/Filter []" + imageDict(2, 1) + "/Name /Bmp\r\n>>\r\nstream\r\n" +
                 std::string("\xff\0\0\0\0\xff", 6) + "\nendstream",
             "<<\r\n/Length " + std::to_string(jpeg.size()) + "\r\n/Filter [/DCTDecode ]" +
                 imageDict(8, 8) + "/Name /Jpg\r\n>>\r\nstream\r\n" + jpeg + "\nendstream"},
            "<<\r\n/Size 9\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>"));
}

TEST_F(PdfDocTest, RegistrationOrderWithAndWithoutOutlines) {
    for (bool outlines : {true, false}) {
        TPdfDoc doc;
        doc.SetUseOutlines(outlines);
        doc.NewDoc();
        doc.AddPage();
        std::vector<std::string> types;
        TPdfXref* xref = doc.ObjectMgr();
        for (std::size_t i = 1; i < xref->ItemCount(); ++i) {
            auto* d = dynamic_cast<TPdfDictionary*>(xref->ObjectAt(static_cast<int>(i)));
            types.push_back(d ? d->TypeOf() : "stream");
        }
        const std::vector<std::string> expected =
            outlines ? std::vector<std::string>{"Catalog", "Outlines", "",    "Pages",
                                                "Page",    "stream",   "Font"}
                     : std::vector<std::string>{"Catalog", "", "Pages", "Page", "stream", "Font"};
        EXPECT_EQ(types, expected);
        std::string file = SaveToString(doc);
        if (outlines) {
            EXPECT_NE(file.find("2 0 obj\r\n<<\r\n/Type /Outlines\r\n/Count 0\r\n>>"),
                      std::string::npos);
        }
    }
}

TEST_F(PdfDocTest, EveryPageStartsWithTheDefaultFont) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas* canvas = doc.GetCanvas();
    canvas->SetFont("Times-Bold", 20);
    canvas->SetCharSpace(3);
    TPdfDictionary* first = canvas->GetPage();
    doc.AddPage();
    EXPECT_EQ(Content(doc), "/F0 10 Tf\n");
    EXPECT_EQ(canvas->Attribute().CharSpace(), 0);
    // The first page keeps its text state in hidden elements that are never written.
    ASSERT_NE(first->LookupName("_Font"), nullptr);
    EXPECT_EQ(first->LookupName("_Font")->Value(), "Times-Bold");
    EXPECT_EQ(test::BodyOf(*first).find("_Font"), std::string::npos);
    // Selecting the current font and size again writes nothing.
    canvas->SetFont("Arial", 10);
    EXPECT_EQ(Content(doc), "/F0 10 Tf\n");
}

TEST_F(PdfDocTest, CanvasOperators) {
    struct Case {
        const char* what;
        std::function<void(TPdfCanvas&)> draw;
        std::string written;
    } cases[] = {
        {"state",
         [](TPdfCanvas& c) {
             c.SaveState();
             c.RestoreState();
         },
         "q\nQ\n"},
        {"matrix", [](TPdfCanvas& c) { c.ConcatMatrix(1, 0, 0, 1, 12.345f, -3.14159f); },
         "1 0 0 1 12.35 -3.13 cm\n"},
        {"solid dash", [](TPdfCanvas& c) { c.SetDash({0}, 0); }, "[] 0 d\n"},
        {"dash",
         [](TPdfCanvas& c) {
             c.SetDash({16, 8}, 0);
         },
         "[16 8 ] 0 d\n"},
        {"empty dash", [](TPdfCanvas& c) { c.SetDash({}, 2); }, "[] 2 d\n"},
        {"paths",
         [](TPdfCanvas& c) {
             c.ClosePath();
             c.EndPathNoPaint();
             c.CloseAndStroke();
             c.FillPath();
             c.CloseFillAndStroke();
             c.ClipPath();
         },
         "h\nn\ns\nf\nb\nW\n"},
        {"colours",
         [](TPdfCanvas& c) {
             c.SetFillRGB(0x00FFFF);
             c.SetStrokeRGB(0x80FF00);
             c.SetFillRGB(-5);
         },
         "1 1 0 rg\n0 1 0.5 RG\n0 0 0 rg\n"},
        {"text state",
         [](TPdfCanvas& c) {
             c.SetCharSpace(2);
             c.SetCharSpace(2);
             c.SetWordSpace(1.5);
             c.SetLeading(14);
             c.SetHorizontalScaling(50);
         },
         "2 Tc\n1.5 Tw\n14 TL\n"},
        {"text",
         [](TPdfCanvas& c) {
             c.BeginText();
             c.MoveTextOrigin(1, 2);
             c.NextLine();
             c.ShowString("a(b)\\");
             c.ShowString("\x82\xa0\xb1");
             c.ShowString("");
             c.EndText();
         },
         "BT\n1 2 Td\nT*\n(a\\(b\\)\\\\) Tj\n<82A0B1> Tj\n() Tj\nET\n"},
        {"font", [](TPdfCanvas& c) { c.SetFont("Gothic,Bold", 9.5); }, "/F1 9.5 Tf\n"},
    };
    for (const auto& c : cases) {
        TPdfDoc doc;
        doc.NewDoc();
        doc.AddPage();
        c.draw(*doc.GetCanvas());
        EXPECT_EQ(Content(doc), "/F0 10 Tf\n" + c.written) << c.what;
    }
}

TEST_F(PdfDocTest, TextWidthAndFitLength) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas* canvas = doc.GetCanvas();
    EXPECT_NEAR(canvas->TextWidth("AB"), 13.34, 1e-9);
    canvas->SetCharSpace(2);
    EXPECT_NEAR(canvas->TextWidth(""), -2, 1e-9);
    EXPECT_NEAR(canvas->TextWidth("AB"), 13.34 + 2, 1e-9);
    canvas->SetCharSpace(0);
    canvas->SetWordSpace(3);
    // Word spacing counts for spaces inside the text, not for a last one.
    EXPECT_NEAR(canvas->TextWidth("A A"), 6.67 + 2.78 + 3 + 6.67, 1e-9);
    EXPECT_NEAR(canvas->TextWidth("A "), 6.67 + 2.78, 1e-9);
    canvas->SetWordSpace(0);
    canvas->SetHorizontalScaling(50);
    EXPECT_NEAR(canvas->TextWidth("AB"), 6.67, 1e-9);
    canvas->SetHorizontalScaling(100);

    canvas->SetFont("Gothic", 10);
    const std::string nihonA = "\x93\xfa\x96\x7b"
                               "A";
    EXPECT_NEAR(canvas->TextWidth(nihonA), 25, 1e-9);
    EXPECT_EQ(canvas->FitLength(nihonA, 15), 2); // never inside a double-byte character
    EXPECT_EQ(canvas->FitLength(nihonA, 20), 4);
    EXPECT_EQ(canvas->FitLength(nihonA, 25), 5);
    EXPECT_EQ(canvas->FitLength(nihonA, 0), 0);
    EXPECT_EQ(canvas->FitLength("", 10), 0);
    // A byte cut that leaves a lone lead byte still measures and fits.
    EXPECT_NEAR(canvas->TextWidth("A\x93"), 15, 1e-9);
}

TEST_F(PdfDocTest, TextInRectAlignmentAndClipping) {
    struct Case {
        float right;
        TextAlignment alignment;
        bool clipping;
        std::string written;
    } cases[] = {
        // Courier 10: "A" is 6 points. Centring a half point rounds to the even integer.
        {13, TextAlignment::Center, false, "BT\n4 91.5 Td\n(A) Tj\nET\n"},
        {11, TextAlignment::Center, false, "BT\n2 91.5 Td\n(A) Tj\nET\n"},
        {20, TextAlignment::Right, false, "BT\n14 91.5 Td\n(A) Tj\nET\n"},
        {20, TextAlignment::Left, true,
         "q\n0 100 m\n0 80 l\n20 80 l\n20 100 l\nh\nW\nn\nBT\n0 91.5 Td\n(A) Tj\nET\nQ\n"},
    };
    for (const auto& c : cases) {
        TPdfDoc doc;
        doc.NewDoc();
        doc.AddPage();
        doc.GetCanvas()->SetFont("FixedWidth", 10);
        doc.GetCanvas()->TextInRect({0, 100, c.right, 80}, "A", c.alignment, c.clipping);
        EXPECT_EQ(Content(doc), "/F0 10 Tf\n/F1 10 Tf\n" + c.written) << c.right;
    }
}

TEST_F(PdfDocTest, TextInRectWrapped) {
    struct Case {
        const char* what;
        TPdfRect rect;
        std::string text;
        bool wrap;
        std::string written;
    } cases[] = {
        {"an empty line between two", {0, 100, 200, 0}, "A\r\nB", false, "(A) Tj\nT*\n(B) Tj\n"},
        {"the empty line advances",
         {0, 100, 200, 0},
         "A\r\n\r\nB",
         false,
         "(A) Tj\nT*\nT*\n(B) Tj\n"},
        // Courier 10 with leading 12: a rectangle 20 high holds one line only.
        {"lines below the rectangle are dropped",
         {0, 100, 200, 80},
         "A\r\nB\r\nC",
         false,
         "(A) Tj\nT*\n"},
        {"a single line whatever the height", {0, 100, 200, 99}, "ABC", false, "(ABC) Tj\n"},
        {"wrapping at spaces",
         {0, 100, 40, 0},
         "aaa bbb ccc",
         true,
         "(aaa ) Tj\nT*\n(bbb ) Tj\nT*\n(ccc) Tj\n"},
        {"no wrapping cuts at the edge", {0, 100, 40, 0}, "aaa bbb ccc", false, "(aaa bb) Tj\n"},
        {"a long word is cut", {0, 100, 30, 0}, "abcdefgh", true, "(abcde) Tj\n"},
    };
    for (const auto& c : cases) {
        TPdfDoc doc;
        doc.NewDoc();
        doc.AddPage();
        TPdfCanvas* canvas = doc.GetCanvas();
        canvas->SetFont("FixedWidth", 10);
        canvas->SetLeading(12);
        canvas->TextInRectWrapped(c.rect, c.text, c.wrap);
        EXPECT_EQ(Content(doc), "/F0 10 Tf\n/F1 10 Tf\n12 TL\nBT\n0 91.5 Td\n" + c.written + "ET\n")
            << c.what;
    }
}

TEST_F(PdfDocTest, VirtualCanvasMeasuresButWritesNothing) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCanvas* canvas = doc.GetCanvas();
    canvas->SetVirtual(true);
    canvas->SetFont("Gothic", 10);
    canvas->MoveTo(1, 1);
    canvas->TextInRect({0, 100, 50, 80}, "ABC", TextAlignment::Center, true);
    canvas->SetCharSpace(1);
    EXPECT_EQ(Content(doc), "/F0 10 Tf\n");
    EXPECT_NEAR(canvas->TextWidth("AB"), 11, 1e-9);
    EXPECT_EQ(canvas->FitLength("ABCD", 12), 2);
    EXPECT_EQ(doc.ObjectMgr()->ItemCount(), 10u); // the Gothic font's three objects exist
}

TEST_F(PdfDocTest, CatalogSettings) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfCatalog* root = doc.GetRoot();
    root->SetPageMode(pmUseOutlines);
    root->SetPageLayout(plOneColumn);
    root->SetPageMode(pmFullScreen); // replaced in place
    root->SetNonFullScreenPageMode(pmUseThumbs);
    root->SetViewerPreference({vpHideToolbar, vpCenterWindow});
    root->SetViewerPreference({vpFitWindow, vpCenterWindow});
    TPdfDictionary notPages;
    root->SetPages(&notPages); // not a page tree: ignored
    EXPECT_EQ(root->PageLayout(), plOneColumn);
    EXPECT_EQ(root->PageMode(), pmFullScreen);
    EXPECT_EQ(test::BodyOf(*root->Data()).substr(4),
              "/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /FullScreen\r\n/PageLayout "
              "/OneColumn\r\n/ViewerPreferences <<\r\n/NonFullScreenPageMode /UseThumbs\r\n"
              "/FitWindow true\r\n/CenterWindow true\r\n>>\r\n>>");
    root->SetNonFullScreenPageMode(pmFullScreen);
    EXPECT_EQ(root->Data()->LookupDictionary("ViewerPreferences")->Lookup("NonFullScreenPageMode"),
              nullptr);
}

TEST_F(PdfDocTest, DestinationsAndAnnotations) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfDestination* dest = doc.CreateDestination();
    struct Case {
        TPdfDestinationType type;
        const char* written;
    } cases[] = {
        {TPdfDestinationType::XYZ, "[4 0 R /XYZ -1 20 2.5 ]"},
        {TPdfDestinationType::Fit, "[4 0 R /Fit ]"},
        {TPdfDestinationType::FitH, "[4 0 R /FitH 20 ]"},
        {TPdfDestinationType::FitV, "[4 0 R /FitV -1 ]"},
        {TPdfDestinationType::FitR, "[4 0 R /FitR -1 30 40 20 ]"},
        {TPdfDestinationType::FitB, "[4 0 R /FitB ]"},
        {TPdfDestinationType::FitBH, "[4 0 R /FitBH 20 ]"},
        {TPdfDestinationType::FitBV, "[4 0 R /FitBV -1 ]"},
    };
    dest->SetLeft(-7);
    dest->SetTop(20);
    dest->SetRight(40);
    dest->SetBottom(30);
    dest->SetZoom(2.5);
    for (const auto& c : cases) {
        dest->SetDestinationType(c.type);
        EXPECT_EQ(WriteObject(*dest->GetValue()), c.written);
    }

    TPdfDictionary* note = doc.AddAnotation(TPdfAnnotationSubtype::Text, {10, 20, 30.5f, 40});
    doc.AddAnotation(TPdfAnnotationSubtype::Popup, {0, 0, 1, 1});
    EXPECT_EQ(test::BodyOf(*note).substr(4),
              "/Type /Annot\r\n/Subtype /Text\r\n/Rect [10 20 30.5 40 ]\r\n>>");
    EXPECT_EQ(WriteObject(*doc.GetCanvas()->GetPage()->Lookup("Annots")), "[7 0 R 8 0 R ]");
    TPdfDictionary* page = doc.GetCanvas()->GetPage();
    EXPECT_EQ(page->ItemAt(page->ItemCount() - 1).Key(), "Annots");
}

TEST_F(PdfDocTest, FontsAndPageSize) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    TPdfFont* gothic = doc.GetFont("Gothic");
    EXPECT_EQ(doc.GetFont("Gothic"), gothic);
    EXPECT_EQ(gothic->Data()->LookupName("Name")->Value(), "F1");
    EXPECT_EQ(doc.GetFont("Arial")->Data()->LookupName("Name")->Value(), "F0");
    TPdfCanvas* canvas = doc.GetCanvas();
    EXPECT_EQ(canvas->PageHeight(), 842);
    canvas->SetPageHeight(1000);
    canvas->SetPageWidth(700);
    EXPECT_EQ(canvas->PageHeight(), 1000);
    EXPECT_EQ(WriteObject(*canvas->GetPage()->Lookup("MediaBox")), "[0 0 700 1000 ]");
}

TEST_F(PdfDocTest, DocumentIsReusable) {
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    doc.GetCanvas()->SetFont("Gothic", 12);
    doc.GetInfo()->SetTitle("first");
    doc.NewDoc();
    doc.AddPage();
    TPdfDoc fresh;
    fresh.NewDoc();
    fresh.AddPage();
    EXPECT_EQ(SaveToString(doc), SaveToString(fresh));
    doc.FreeDoc();
    EXPECT_FALSE(doc.HasDoc());
    doc.FreeDoc();
}

// A test object whose writing fails, as a full disk or a broken graph would.
class FailingObject : public TPdfObject {
protected:
    void WriteValue(PdfOutStream&) const override { throw std::runtime_error("disk full"); }
};

TEST_F(PdfDocTest, SaveToFileReplacesTheTargetOnlyWhenComplete) {
    test::TempDir dir;
    const std::string target = dir.Sjis("chart.pdf");
    TPdfDoc doc;
    doc.NewDoc();
    ExpectFailure<EPdfInvalidOperation>([&] { doc.SaveToFile(target); },
                                        "GetPage --the Page is nil");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

    doc.AddPage();
    doc.SaveToFile(target);
    const std::string written = test::ReadFile(dir.Path() / "chart.pdf");
    EXPECT_EQ(written, SaveToString(doc));

    // A save that fails half-way leaves the earlier file as it was and no temporary file.
    doc.GetCanvas()->MoveTo(1, 1);
    doc.ObjectMgr()->AddObject(new FailingObject());
    ExpectFailure<std::runtime_error>([&] { doc.SaveToFile(target); }, "disk full");
    EXPECT_EQ(test::ReadFile(dir.Path() / "chart.pdf"), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    try {
        doc.SaveToFile(dir.Sjis("missing/chart.pdf"));
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"", 0), 0u) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "missing"));
}

TEST_F(PdfDocTest, Failures) {
    TPdfDoc none;
    ExpectFailure<EPdfInvalidOperation>([&] { none.GetCanvas(); }, "GetCanvas --Document is null");
    ExpectFailure<EPdfInvalidOperation>([&] { none.GetInfo(); },
                                        "GetInfo --this method can not use this state..");
    ExpectFailure<EPdfInvalidOperation>([&] { none.GetRoot(); },
                                        "GetRoot --this method can not use this state..");
    ExpectFailure<EPdfInvalidOperation>([&] { none.GetOutlineRoot(); },
                                        "GetOutlineRoot --document is null..");
    ExpectFailure<EPdfInvalidOperation>([&] { none.GetFont("Arial"); },
                                        "GetFont --document is null.");
    ExpectFailure<EPdfInvalidOperation>([&] { none.AddAnotation(TPdfAnnotationSubtype::Text, {}); },
                                        "AddAnotation --document is null.");
    ExpectFailure<EPdfInvalidOperation>([&] { none.AddPage(); }, "AddPage --current pages null.");
    ExpectFailure<EPdfInvalidOperation>([&] { none.CreateDestination(); },
                                        "TPdfDestination --cannot destination object.");
    PdfStringOutStream out;
    ExpectFailure<EPdfInvalidOperation>([&] { none.SaveToStream(out); },
                                        "SaveToStream --there is no document to save.");
    ExpectFailure<EPdfInvalidOperation>([] { TPdfCanvas(nullptr).GetDoc(); },
                                        "ERROR: GetDoc documant is nil.");
    ExpectFailure<std::runtime_error>([] { TPdfOutlineEntry::CreateEntry(nullptr); },
                                      "CreateEntry --invalid parent.");

    TPdfDoc doc;
    doc.NewDoc();
    ExpectFailure<EPdfInvalidOperation>([&] { doc.GetOutlineRoot(); },
                                        "GetOutlineRoot --not use outline mode..");
    ExpectFailure<EPdfInvalidOperation>([&] { doc.SaveToStream(out); },
                                        "GetPage --the Page is nil");
    ExpectFailure<EPdfInvalidOperation>([&] { doc.GetCanvas()->MoveTo(0, 0); },
                                        "GetPage --the Page is nil");
    EXPECT_EQ(out.Data(), "");
    doc.AddPage();
    ExpectFailure<std::runtime_error>([&] { doc.CreateFont("Wingdings"); },
                                      "CreateFont --InvalidFontName:Wingdings");
    ExpectFailure<EPdfInvalidValue>([&] { doc.RegisterXObject(nullptr, "X"); },
                                    "RegisterXObject --AObject is null");
    TPdfStream plain;
    ExpectFailure<EPdfInvalidValue>([&] { doc.RegisterXObject(&plain, "X"); },
                                    "RegisterXObject --not XObject");
    auto form = new TPdfXObject(doc.ObjectMgr());
    form->Attributes()->PutName("Type", "XObject");
    doc.RegisterXObject(form, "Form");
    auto again = new TPdfXObject(doc.ObjectMgr());
    again->Attributes()->PutName("Type", "XObject");
    ExpectFailure<EPdfInvalidValue>([&] { doc.RegisterXObject(again, "Form"); },
                                    "RegisterXObject --dupulicate name: Form");
    Bitmap bitmap(1, 1);
    ExpectFailure<std::runtime_error>(
        [&] { doc.AddImage("Form", CreateImageFrom(&bitmap, "Pdf-Bitmap")); },
        "AddImage --the image named Form is already exists..");
    ExpectFailure<std::runtime_error>([&] { doc.AddImage("S", std::make_unique<TPdfStream>()); },
                                      "AddImage --the image is not valid TPdfImage..");
    doc.AddImage("Img", CreateImageFrom(&bitmap, "Pdf-Bitmap"));
    ExpectFailure<std::runtime_error>(
        [&] { doc.AddImage("Img", CreateImageFrom(&bitmap, "Pdf-Bitmap")); },
        "AddImage --the image named Img is already exists..");

    TPdfCanvas* canvas = doc.GetCanvas();
    ExpectFailure<EPdfInvalidValue>([&] { canvas->DrawXObject(0, 0, 1, 1, "Nope"); },
                                    "DrawXObject --XObject not found: Nope");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->DrawXObjectEx(0, 0, 1, 1, 0, 0, 1, 1, "Nope"); },
                                    "DrawXObjectEx --XObject not found: Nope");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->SetWordSpace(-1); },
                                    "SetWordSpace --invalid word space");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->SetCharSpace(-31); },
                                    "SetCharSpace --invalid char space");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->SetCharSpace(301); },
                                    "SetCharSpace --invalid char space");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->SetFont("Arial", 301); },
                                    "SetFontSize --invalid font size");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->SetLeading(-1); },
                                    "SetLeading --invalid leading");
    ExpectFailure<EPdfInvalidValue>([&] { canvas->SetHorizontalScaling(9); },
                                    "SetHorizontalScaling --invalid horizontal scaling");
    TPdfDestination* dest = doc.CreateDestination();
    dest->SetZoom(1); // the current value: nothing happens
    ExpectFailure<EPdfInvalidValue>([&] { dest->SetZoom(-0.5); },
                                    "Zoom property cannot set to under 0.");
    ExpectFailure<EPdfInvalidValue>([&] { dest->SetZoom(10.5); },
                                    "Zoom property cannot set to over 10.");
    canvas->GetPage()->Remove("MediaBox");
    EXPECT_EQ(canvas->PageHeight(), 842);
    ExpectFailure<EPdfInvalidOperation>([&] { canvas->SetPageWidth(10); },
                                        "Can not chenge width of this page..");
    ExpectFailure<EPdfInvalidOperation>([&] { canvas->SetPageHeight(10); },
                                        "Can not chenge height of this page..");
}

} // namespace
} // namespace pendlar
