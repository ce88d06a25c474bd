// Cover sheets through the printer: pendlar-tool cover-sheets makes the PDF, pdftoppm
// renders it as a scanner would see it, and our decoder and zbarimg read the numbers back.
#include "QtTestSupport.h"
#include "TempDir.h"
#include "qrcode/CoverSheetGeometry.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/Sjis.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pendlar {
namespace {

const long kPatients[] = {1, 23, 456, 7890, 12345, 99999999, 42, 100, 8, 31415926};

// A ten-line list: number, name, sex, birth date and address in Shift-JIS, CR LF lines.
std::string TenPatientList() {
    std::string list;
    int i = 0;
    for (long n : kPatients) {
        ++i;
        list += SjisOf(std::to_string(n) + ",患者 " + std::to_string(i) + ",男性,1950.1." +
                       std::to_string(i) + ",\"東京都, " + std::to_string(i) + "丁目\"") +
                "\r\n";
    }
    return list;
}

struct ToolRun {
    int Status = -1;
    std::string Out;
};

ToolRun CoverSheets(const test::TempDir& dir, const std::string& args) {
    ToolRun run;
    run.Status = test::RunCommand(std::string(PENDLAR_TOOL) + " cover-sheets --profile '" +
                                      dir.Path().string() + "' " + args + " 2>&1",
                                  &run.Out);
    return run;
}

int PageCount(const std::filesystem::path& pdf) {
    std::string out;
    test::RunCommand("pdfinfo '" + pdf.string() + "' | sed -n 's/^Pages: *//p'", &out);
    return out.empty() ? -1 : std::stoi(out);
}

// The symbol's area of a rendered page, with a margin of quiet paper around it.
QImage SymbolCrop(const std::filesystem::path& png, int dpi) {
    const QImage page(QString::fromStdString(png.string()));
    const TRegistory defaults;
    const double perDot = dpi / defaults.PanelDensity;
    const int margin = dpi / 10;
    const int x = static_cast<int>(defaults.QRCodeImage.Left * perDot) - margin;
    const int y = static_cast<int>(defaults.QRCodeImage.Top * perDot) - margin;
    const int side = static_cast<int>(kCoverSymbolArea * perDot) + 2 * margin;
    return page.copy(x, y, side, side);
}

// The number our decoder reads on one page rendered at `dpi` ("(no read)" when none).
std::string OurRead(const std::filesystem::path& png, int dpi) {
    TQRDecode decoder;
    return decoder.Decode(test::BitmapOf(SymbolCrop(png, dpi))) ? decoder.Text() : "(no read)";
}

// pdftoppm numbers its pages with as many digits as the last page number has.
std::filesystem::path RenderedPage(const std::filesystem::path& prefix, int page) {
    for (const char* form : {"-%d.png", "-%02d.png"}) {
        char name[32];
        std::snprintf(name, sizeof name, form, page);
        const std::filesystem::path path(prefix.string() + name);
        if (std::filesystem::exists(path))
            return path;
    }
    return {};
}

TEST(CoverSheetPrint, TenSheetsReadBackAt200And300Dpi) {
    for (const char* tool : {"pdftoppm", "pdfinfo", "zbarimg"})
        if (!test::HaveProgram(tool))
            GTEST_SKIP() << tool << " is not installed";
    test::TempDir dir;
    const auto list = test::WriteFile(dir.Path() / "patients.txt", TenPatientList());
    const auto pdf = dir.Path() / "sheets.pdf";
    const ToolRun run = CoverSheets(dir, "'" + list.string() + "' '" + pdf.string() + "'");
    ASSERT_EQ(run.Status, 0) << run.Out;
    ASSERT_EQ(PageCount(pdf), 10);

    // The symbol is kept as pixels: a lossless picture of 121 x 7 printer dots.
    std::string images;
    test::RunCommand("pdfimages -list -f 1 -l 1 '" + pdf.string() + "'", &images);
    EXPECT_NE(images.find(" 847   847 "), std::string::npos) << images;
    EXPECT_EQ(images.find("jpeg"), std::string::npos) << images;

    for (int dpi : {200, 300}) {
        const auto prefix = dir.Path() / ("page" + std::to_string(dpi));
        ASSERT_EQ(test::RunCommand("pdftoppm -r " + std::to_string(dpi) + " -png '" + pdf.string() +
                                   "' '" + prefix.string() + "'"),
                  0);
        for (int page = 1; page <= 10; ++page) {
            const std::string expected = std::to_string(kPatients[page - 1]);
            const auto png = RenderedPage(prefix, page);
            const QImage crop = SymbolCrop(png, dpi);
            ASSERT_FALSE(crop.isNull()) << png;
            EXPECT_EQ(OurRead(png, dpi), expected) << dpi << " dpi, page " << page;

            const auto cropPng = dir.Path() / "crop.png";
            ASSERT_TRUE(crop.save(QString::fromStdString(cropPng.string())));
            std::string zbar;
            test::RunCommand("zbarimg -q --raw '" + cropPng.string() + "' 2>/dev/null", &zbar);
            EXPECT_EQ(zbar, expected + "\n") << dpi << " dpi, page " << page;
        }
    }
}

TEST(CoverSheetPrint, ChosenLinesAndRefusedLists) {
    for (const char* tool : {"pdftoppm", "pdfinfo"})
        if (!test::HaveProgram(tool))
            GTEST_SKIP() << tool << " is not installed";
    test::TempDir dir;
    const auto list = test::WriteFile(dir.Path() / "patients.txt", TenPatientList());
    const auto pdf = dir.Path() / "out.pdf";
    const std::string files = "'" + list.string() + "' '" + pdf.string() + "'";
    ASSERT_EQ(CoverSheets(dir, files + " --lines 3-5").Status, 0);
    ASSERT_EQ(PageCount(pdf), 3);
    const auto prefix = dir.Path() / "range";
    ASSERT_EQ(
        test::RunCommand("pdftoppm -r 200 -png '" + pdf.string() + "' '" + prefix.string() + "'"),
        0);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(OurRead(RenderedPage(prefix, page), 200), std::to_string(kPatients[page + 1]));
    ASSERT_EQ(CoverSheets(dir, files + " --line 10").Status, 0);
    EXPECT_EQ(PageCount(pdf), 1);
    std::filesystem::remove(pdf);

    std::string faulty = TenPatientList();
    faulty.insert(faulty.find("7890,"), "\r\n"); // line 4 is empty
    const auto bad = test::WriteFile(dir.Path() / "bad.txt", faulty);
    struct Case {
        std::string Args;
        int Status;
        std::string Message;
    } cases[] = {
        {"'" + bad.string() + "' '" + pdf.string() + "'", 1,
         "pendlar-tool: " + bad.string() + ":4: データ行が空です。\n"},
        {files + " --lines 5-3", 1, "pendlar-tool: 範囲指定に誤りがあります。\n"},
        {"'" + (dir.Path() / "none.txt").string() + "' '" + pdf.string() + "'", 1,
         "pendlar-tool: ファイル読み込みでエラーが発生しました。\n"},
        {files + " --lines 3-11", 2, ""},
        {files + " --line 0", 2, ""},
    };
    for (const Case& c : cases) {
        const ToolRun run = CoverSheets(dir, c.Args);
        EXPECT_EQ(run.Status, c.Status) << c.Args << ": " << run.Out;
        if (!c.Message.empty()) {
            EXPECT_NE(run.Out.find(c.Message), std::string::npos) << run.Out;
        }
        EXPECT_FALSE(std::filesystem::exists(pdf)) << c.Args;
    }
}

} // namespace
} // namespace pendlar
