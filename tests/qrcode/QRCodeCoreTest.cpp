#include "qrcode/QRCodeCore.h"
#include "QRTestSupport.h"
#include "TempDir.h"
#include "qrcode/QRTables.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

// The modules of the symbol drawn at (x0, y0) of a picture, one sample per module.
test::ModuleGrid SampledGrid(const Bitmap& picture, int x0, int y0, int side, int pxmag) {
    test::ModuleGrid grid(static_cast<std::size_t>(side),
                          std::vector<bool>(static_cast<std::size_t>(side)));
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                picture.Pixel(x0 + c * pxmag + pxmag / 2, y0 + r * pxmag + pxmag / 2) == kBlack;
    return grid;
}

// A core set up for the cover sheet: version 1, level L, byte mode, mask 0.
void CoverSheetSettings(QRCodeCore& qr, int pxmag) {
    qr.SetVersion(1);
    qr.SetEclevel(0);
    qr.SetEmode(2);
    qr.SetMasktype(0);
    qr.SetPxmag(pxmag);
}

TEST(QRCodeCore, PatientNumberSymbolFillsItsArea) {
    QRCodeCore qr;
    CoverSheetSettings(qr, 3);
    qr.SetMatch(true);
    qr.SetCode("99999999");
    ASSERT_TRUE(qr.SymbolDisped());
    EXPECT_EQ(qr.SymbolWidth(), 87);
    EXPECT_EQ(qr.SymbolHeightA(), 87);
    EXPECT_EQ(qr.QuietZone(), 12);
    EXPECT_EQ(qr.Picture().Width(), 87);
    EXPECT_EQ(qr.Picture().Height(), 87);
    EXPECT_EQ(qr.MasktypeR(), 0);
    const QRSymbol symbol = qr.EncodeSymbol(1);
    EXPECT_EQ(SampledGrid(qr.Picture(), 12, 12, 21, 3), test::GridOf(symbol.Matrix));
    for (int i = 0; i < 87; ++i) // the quiet zone stays light
        EXPECT_TRUE(qr.Picture().Pixel(i, 5) == kWhite && qr.Picture().Pixel(80, i) == kWhite);
}

TEST(QRCodeCore, DataBeyondTheVersionShowNothing) {
    for (bool clearOption : {false, true}) {
        QRCodeCore qr;
        CoverSheetSettings(qr, 2);
        qr.SetMatch(true);
        qr.SetClearOption(clearOption);
        qr.SetCode(std::string(17, '7'));
        ASSERT_TRUE(qr.SymbolDisped());
        qr.SetCode(std::string(18, '7'));
        EXPECT_FALSE(qr.SymbolDisped());
        EXPECT_EQ(qr.Version(), 1);                   // never raised
        EXPECT_EQ(qr.Picture().Empty(), clearOption); // the old picture stays unless cleared
    }
}

TEST(QRCodeCore, SettersIgnoreValuesOutOfRange) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    qr.SetVersion(5);
    qr.SetPxmag(4);
    qr.SetEclevel(2);
    qr.SetEmode(1);
    qr.SetMasktype(6);
    qr.SetAngle(90);
    qr.SetCount(7);
    qr.SetColumn(3);
    qr.SetNumbering(nbrHead);
    for (int v : {0, 41})
        qr.SetVersion(v);
    for (int v : {0, 11})
        qr.SetPxmag(v);
    for (int v : {-1, 4})
        qr.SetEclevel(v);
    for (int v : {-2, 4})
        qr.SetEmode(v);
    for (int v : {-2, 8})
        qr.SetMasktype(v);
    for (int v : {45, 360, -90})
        qr.SetAngle(v);
    for (int v : {0, 1025}) {
        qr.SetCount(v);
        qr.SetColumn(v);
    }
    qr.SetNumbering(static_cast<TNumbering>(4));
    EXPECT_EQ(qr.Version(), 5);
    EXPECT_EQ(qr.Pxmag(), 4);
    EXPECT_EQ(qr.Eclevel(), 2);
    EXPECT_EQ(qr.Emode(), 1);
    EXPECT_EQ(qr.EmodeR(), 1);
    EXPECT_EQ(qr.Masktype(), 6);
    EXPECT_EQ(qr.MasktypeR(), 6);
    EXPECT_EQ(qr.Angle(), 90);
    EXPECT_EQ(qr.Count(), 7);
    EXPECT_EQ(qr.Column(), 3);
    EXPECT_EQ(qr.Numbering(), nbrHead);
}

TEST(QRCodeCore, ModeAndPictureInterlocks) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    qr.SetMode(qrConnect);
    EXPECT_EQ(qr.Count(), 2);
    qr.SetCount(40);
    qr.SetMode(qrConnect);
    EXPECT_EQ(qr.Count(), 16);
    qr.SetCount(1000);
    qr.SetMode(qrPlus);
    EXPECT_EQ(qr.Count(), 1000);
    qr.SetMode(qrSingle);
    EXPECT_EQ(qr.Count(), 1);

    qr.SetSymbolPicture(picEMF); // only while Match is on
    EXPECT_EQ(qr.SymbolPicture(), picBMP);
    qr.SetTransparent(true);
    qr.SetMatch(true);
    EXPECT_FALSE(qr.Transparent());
    qr.SetSymbolPicture(picWMF);
    EXPECT_EQ(qr.SymbolPicture(), picWMF);
    qr.SetTransparent(true);
    EXPECT_FALSE(qr.Match());
    EXPECT_EQ(qr.SymbolPicture(), picBMP);
    qr.SetMatch(true);
    qr.SetSymbolPicture(picEMF);
    qr.SetMatch(false);
    EXPECT_EQ(qr.SymbolPicture(), picBMP);
}

TEST(QRCodeCore, LinkedSymbolsBecomeIndependentPastSixteen) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    qr.SetCode(std::string(40, 'A'));
    qr.SetMode(qrConnect);
    qr.SetCount(20);
    EXPECT_EQ(qr.Mode(), qrConnect);
    qr.SetSymbolEnabled(true);
    EXPECT_EQ(qr.Mode(), qrPlus);
    EXPECT_EQ(qr.Count(), 20);
    EXPECT_TRUE(qr.SymbolDisped());
}

TEST(QRCodeCore, EscapesAndBinary) {
    QRCodeCore qr;
    qr.SetBinaryOperation(true);
    qr.SetCode("A~41~B");
    EXPECT_EQ(qr.Data(), "AAB");
    EXPECT_EQ(qr.Len(), 3);
    EXPECT_FALSE(qr.Binary());
    EXPECT_TRUE(qr.BinaryOperation());
    qr.SetCode("A~01~");
    EXPECT_TRUE(qr.Binary());
    // One hexadecimal digit: the escapes are switched off and the text is the data.
    qr.SetCode("A~4~B");
    EXPECT_FALSE(qr.BinaryOperation());
    EXPECT_EQ(qr.Data(), "A~4~B");
    EXPECT_EQ(qr.Len(), 5);
}

TEST(QRCodeCore, AutomaticModeReportsTheLastSegmentAndCapacity) {
    QRCodeCore qr;
    qr.SetCode("12345678A");
    EXPECT_TRUE(qr.SymbolDisped());
    EXPECT_EQ(qr.EmodeR(), qrAlphanumeric);
    EXPECT_EQ(qr.Capacity(), 25);
    qr.SetCode("abc");
    EXPECT_EQ(qr.EmodeR(), qrByte);
    EXPECT_EQ(qr.Capacity(), 17);
    qr.SetEmode(0);
    EXPECT_EQ(qr.Capacity(), 41);
    EXPECT_EQ(QRCodeCore().Capacity(), 25); // alphanumeric while nothing was encoded
}

TEST(QRCodeCore, EventsInOrderWithWatch) {
    QRCodeCore qr;
    std::vector<std::string> log;
    auto record = [&log](const char* name) {
        return [&log, name](bool watch) { log.push_back(std::string(name) + (watch ? "+" : "")); };
    };
    qr.OnChangeCode = record("change");
    qr.OnChangedCode = record("changed");
    qr.OnPaintSymbol = record("paint");
    qr.OnPaintedSymbol = record("painted");
    qr.SetCode("1");
    qr.SetCodeFromClipboard("2");
    qr.SetSymbolEnabled(false);
    qr.SetCode("3"); // no events, no drawing while switched off
    EXPECT_EQ(log, (std::vector<std::string>{"change", "paint", "painted", "changed", "change+",
                                             "paint+", "painted+", "changed+"}));
    EXPECT_EQ(qr.Code(), "3");
}

TEST(QRCodeCore, ASetOnlyShowsWhenEverySymbolDoes) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    qr.SetMatch(true);
    qr.SetEmode(0); // numeric: the second part holds a letter
    qr.SetCode("1234A678");
    qr.SetMode(qrPlus);
    qr.SetCount(2);
    qr.SetSymbolEnabled(true);
    EXPECT_FALSE(qr.SymbolDisped());
    EXPECT_FALSE(qr.Picture().Empty()); // the first symbol stays drawn
    qr.SetClearOption(true);
    EXPECT_TRUE(qr.Picture().Empty());
}

TEST(QRCodeCore, SetLayoutAndNumberedComments) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    CoverSheetSettings(qr, 1);
    qr.SetMatch(true);
    qr.SetSymbolSpaceUp(10);
    qr.SetSymbolSpaceDown(10);
    qr.SetSymbolSpaceLeft(2);
    qr.SetSymbolSpaceRight(3);
    qr.SetColumn(2);
    qr.SetCommentUp("No.");
    qr.SetCommentDownLoc(locRight);
    qr.SetNumbering(nbrTail);
    // Comments render as grey boxes 4 pixels wide per byte and 6 high.
    std::vector<std::string> texts;
    qr.CommentRenderer = [&texts](const std::string& sjis, Rgb) {
        texts.push_back(sjis);
        return BitmapCanvas::Filled(4 * static_cast<int>(sjis.size()), 6, Rgb{128, 128, 128});
    };
    qr.SetCode("ABCDEFGHI"); // three parts of three bytes
    qr.SetCount(3);
    qr.SetSymbolEnabled(true);
    ASSERT_TRUE(qr.SymbolDisped());
    EXPECT_EQ(qr.Mode(), qrConnect);
    const int ws = 29 + 5, hs = 29 + 20;
    EXPECT_EQ(qr.SymbolWidthS(), ws);
    EXPECT_EQ(qr.SymbolHeightS(), hs);
    EXPECT_EQ(qr.Picture().Width(), 2 * ws);
    EXPECT_EQ(qr.Picture().Height(), 2 * hs);
    // Each comment is measured and then drawn.
    EXPECT_EQ(texts, (std::vector<std::string>{"No. 1", "No. 1", "1", "1", "No. 2", "No. 2", "2",
                                               "2", "No. 3", "No. 3", "3", "3"}));
    const Rgb grey{128, 128, 128};
    const Bitmap& p = qr.Picture();
    // Symbol 2 sits in the second column: comment up at its cell top, left-aligned; comment
    // down right-aligned at the bottom of its cell.
    EXPECT_EQ(p.Pixel(ws + 0, 0), grey);
    EXPECT_EQ(p.Pixel(ws + 19, 5), grey);
    EXPECT_EQ(p.Pixel(ws + 20, 5), kWhite);
    EXPECT_EQ(p.Pixel(2 * ws - 1, hs - 1), grey);
    EXPECT_EQ(p.Pixel(2 * ws - 4, hs - 6), grey);
    EXPECT_EQ(p.Pixel(2 * ws - 5, hs - 6), kWhite);
    // Symbol 3 starts the second row; its modules begin after the spaces and quiet zone.
    const QRSymbol third = qr.EncodeSymbol(3);
    EXPECT_EQ(SampledGrid(p, 2 + 4, hs + 10 + 4, 21, 1), test::GridOf(third.Matrix));
    // The empty fourth cell stays background.
    EXPECT_EQ(p.Pixel(ws + 10, hs + 20), kWhite);
}

TEST(QRCodeCore, RotationKeepsThePositionOnThePicture) {
    for (int angle : {90, 180, 270}) {
        QRCodeCore qr;
        qr.SetSymbolEnabled(false);
        CoverSheetSettings(qr, 1);
        qr.SetControlSize(100, 60);
        qr.SetBackColor(Rgb{0, 0, 255});
        qr.SetSymbolLeft(10);
        qr.SetSymbolTop(20);
        qr.SetAngle(angle);
        qr.SetCode("12");
        qr.SetSymbolEnabled(true); // the picture starts out blue
        qr.SetBackColor(kWhite);   // the set's area is now painted white
        ASSERT_TRUE(qr.SymbolDisped());
        const Bitmap& p = qr.Picture();
        ASSERT_EQ(p.Width(), 100);
        ASSERT_EQ(p.Height(), 60);
        int minX = p.Width(), minY = p.Height(), maxX = -1, maxY = -1;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
                if (!(p.Pixel(x, y) == Rgb{0, 0, 255})) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        EXPECT_EQ(minX, 10) << angle;
        EXPECT_EQ(minY, 20) << angle;
        EXPECT_EQ(maxX - minX + 1, 29) << angle;
        EXPECT_EQ(maxY - minY + 1, 29) << angle;
        // The symbol itself reads turned: its upper-left finder moved with the angle.
        const QRSymbol s = qr.EncodeSymbol(1);
        test::ModuleGrid turned = SampledGrid(p, 14, 24, 21, 1);
        test::ModuleGrid expected = test::GridOf(s.Matrix);
        for (int k = 0; k < angle / 90; ++k) {
            test::ModuleGrid next = expected;
            for (std::size_t r = 0; r < 21; ++r)
                for (std::size_t c = 0; c < 21; ++c)
                    next[c][20 - r] = expected[r][c];
            expected = next;
        }
        EXPECT_EQ(turned, expected) << angle;
    }
}

// A vector picture that keeps what it is told in a bitmap of its own.
class MirrorCanvas : public SymbolCanvas {
public:
    Bitmap Picture;
    int Resets = 0;
    void Reset(int width, int height) override {
        ++Resets;
        inner_.Reset(width, height);
    }
    void FillRect(long long x, long long y, long long w, long long h, Rgb c) override {
        inner_.FillRect(x, y, w, h, c);
    }
    TextExtent MeasureText(const std::string& s) override { return inner_.MeasureText(s); }
    void DrawText(long long x, long long y, const std::string& s, Rgb back) override {
        inner_.DrawText(x, y, s, back);
    }

private:
    BitmapCanvas inner_{Picture};
};

TEST(QRCodeCore, PictureKinds) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    CoverSheetSettings(qr, 2);
    MirrorCanvas vector;
    qr.VectorPicture = &vector;
    qr.SetMatch(true);
    qr.SetSymbolPicture(picEMF);
    qr.SetSymbolLeft(3);
    qr.SetCode("ABCD");
    qr.SetCount(2);
    qr.SetSymbolEnabled(true);
    ASSERT_TRUE(qr.SymbolDisped());
    EXPECT_EQ(vector.Resets, 1);
    EXPECT_EQ(vector.Picture, qr.Picture()); // the same figure

    // Transparent: the set's area is not painted over; SymbolDebug: encoded, not drawn.
    QRCodeCore t;
    t.SetSymbolEnabled(false);
    t.SetControlSize(40, 40);
    t.SetBackColor(Rgb{0, 0, 255});
    t.SetCode("1");
    t.SetSymbolEnabled(true);
    t.SetTransparent(true);
    t.SetBackColor(kWhite);
    EXPECT_EQ(t.Picture().Pixel(1, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(t.Picture().Pixel(4, 4), kBlack); // the finder
    t.SetSymbolDebug(true);
    t.SetSymbolColor(Rgb{255, 0, 0});
    EXPECT_TRUE(t.SymbolDisped());
    EXPECT_EQ(t.Picture().Pixel(4, 4), kBlack);
}

TEST(QRCodeCore, PbmText) {
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    CoverSheetSettings(qr, 2);
    qr.SetCode("ABCDEF");
    qr.SetCount(2);
    qr.SetMode(qrPlus);
    const std::vector<std::string> pbm = qr.PBM();
    const std::size_t w = 58;
    ASSERT_EQ(pbm.size(), 3 + 2 * (2 + w));
    EXPECT_EQ(pbm[0], "P1");
    EXPECT_EQ(pbm[1], "# Plus Mode (Count = 2)");
    EXPECT_EQ(pbm[2], "58 58");
    EXPECT_EQ(pbm[3], "");
    EXPECT_EQ(pbm[4], "");
    const QRSymbol first = qr.EncodeSymbol(1);
    for (std::size_t row = 0; row < w; ++row) {
        const std::string& line = pbm[5 + row];
        ASSERT_EQ(line.size(), 2 * w);
        for (std::size_t x = 0; x < w; ++x) {
            const int r = static_cast<int>(row) / 2 - 4, c = static_cast<int>(x) / 2 - 4;
            const bool dark = r >= 0 && c >= 0 && r < 21 && c < 21 && first.Matrix.Dark(r, c);
            ASSERT_EQ(line.substr(2 * x, 2), dark ? " 1" : " 0") << row << "," << x;
        }
    }
    qr.SetCount(1);
    EXPECT_EQ(qr.PBM()[1], "# Single Mode (Count = 1)");
    qr.SetCode(std::string(18, 'x')); // nothing encodable: the header alone
    EXPECT_EQ(qr.PBM().size(), 3u);

    // A PBM reader takes the text: the comment line is skipped.
    if (!test::HaveProgram("identify"))
        GTEST_SKIP() << "ImageMagick is not installed";
    qr.SetCode("ABC");
    std::string text;
    for (const std::string& line : qr.PBM())
        text += line + "\n";
    test::TempDir dir;
    const auto file = test::WriteFile(dir.Path() / "s.pbm", text);
    std::string out;
    ASSERT_EQ(test::RunCommand("identify -format '%w %h' '" + file.string() + "'", &out), 0);
    EXPECT_EQ(out, "58 58");
}

} // namespace
} // namespace pendlar
