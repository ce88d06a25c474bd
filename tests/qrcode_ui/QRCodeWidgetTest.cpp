// The QR picture control over its core: events, sizing, colours, rotation, comments, the
// clipboard and the clipboard watch.
#include "QtTestSupport.h"
#include "qrcode/ui/QRCode.h"
#include "qrdecode/QRDecode.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTransform>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pendlar {
namespace {

// The cover-sheet symbol settings, drawn to fit.
void PatientSymbol(TQRCode& qr, int pxmag) {
    qr.SetSymbolEnabled(false);
    qr.SetVersion(1);
    qr.SetEclevel(0);
    qr.SetEmode(2);
    qr.SetMasktype(0);
    qr.SetPxmag(pxmag);
    qr.SetMatch(true);
    qr.SetSymbolEnabled(true);
}

std::string Decoded(const QImage& image) {
    TQRDecode decoder;
    return decoder.Decode(test::BitmapOf(image)) ? decoder.Text() : "(no read)";
}

TEST(TQRCode, EventsCarryTheSenderInOrder) {
    TQRCode qr;
    std::vector<std::string> seen;
    auto record = [&](const char* name) {
        return [&seen, name, &qr](TQRCode& sender, bool watch) {
            EXPECT_EQ(&sender, &qr);
            seen.push_back(std::string(name) + (watch ? "+" : "-"));
        };
    };
    qr.OnChangeCode = record("change");
    qr.OnChangedCode = record("changed");
    qr.OnPaintSymbol = record("paint");
    qr.OnPaintedSymbol = record("painted");
    PatientSymbol(qr, 3);
    seen.clear();
    qr.SetCode("99999999");
    EXPECT_EQ(seen, (std::vector<std::string>{"change-", "paint-", "painted-", "changed-"}));
    // Match sizes the control to the symbol set: 29 modules of 3 pixels.
    EXPECT_TRUE(qr.SymbolDisped());
    EXPECT_EQ(qr.size(), QSize(87, 87));
    EXPECT_EQ(Decoded(qr.Picture()), "99999999");
    // Without drawing, the code changes silently.
    seen.clear();
    qr.SetSymbolEnabled(false);
    qr.SetCode("1");
    EXPECT_TRUE(seen.empty());
}

TEST(TQRCode, ColoursRotationAndComments) {
    TQRCode qr;
    PatientSymbol(qr, 2);
    qr.SetCode("12345");
    const QImage upright = qr.Picture();
    qr.SetAngle(90);
    EXPECT_EQ(qr.Picture(), upright.transformed(QTransform().rotate(90)));
    EXPECT_EQ(Decoded(qr.Picture()), "12345");
    qr.SetAngle(0);

    qr.SetSymbolColor(QColor(200, 0, 0));
    qr.SetBackColor(QColor(255, 255, 200));
    const QImage coloured = qr.Picture();
    EXPECT_EQ(coloured.pixelColor(0, 0), QColor(255, 255, 200));
    EXPECT_EQ(coloured.pixelColor(8 + 1, 8 + 1), QColor(200, 0, 0)); // finder corner
    EXPECT_EQ(qr.SymbolColor(), QColor(200, 0, 0));

    // A comment above the symbol lands in the space kept for it, in the comment font.
    qr.SetSymbolColor(Qt::black);
    qr.SetBackColor(Qt::white);
    qr.SetSymbolSpaceUp(30);
    qr.SetCommentUp("ID");
    const QImage withComment = qr.Picture();
    EXPECT_EQ(withComment.height(), 58 + 30);
    bool inked = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < withComment.width(); ++x)
            inked |= withComment.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(inked);
}

TEST(TQRCode, ShowsNothingWhenTheDataDoNotFit) {
    TQRCode qr;
    qr.resize(121, 121);
    PatientSymbol(qr, 2);
    qr.SetMatch(false);
    qr.SetClearOption(true);
    qr.SetCode(std::string(18, '9'));
    EXPECT_FALSE(qr.SymbolDisped());
    EXPECT_TRUE(qr.Picture().isNull());
    qr.SetCode(std::string(17, '9'));
    EXPECT_TRUE(qr.SymbolDisped());
    EXPECT_EQ(qr.Picture().size(), QSize(121, 121)); // the control's size, not the symbol's
    qr.Clear();
    EXPECT_FALSE(qr.SymbolDisped());
    EXPECT_TRUE(qr.Picture().isNull());
}

TEST(TQRCode, CopyToClipboard) {
    QClipboard* clipboard = QApplication::clipboard();
    TQRCode qr;
    PatientSymbol(qr, 2);
    qr.SetCode("4711");
    qr.CopyToClipboard();
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB888), qr.Picture());

    // The vector picture goes as the same figure.
    qr.SetSymbolPicture(picEMF);
    ASSERT_EQ(qr.SymbolPicture(), picEMF);
    qr.CopyToClipboard();
    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat("application/x-qt-picture"));
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB888), qr.Picture());
    EXPECT_EQ(qr.VectorPicture().boundingRect(), QRect(0, 0, 58, 58));
    // Without Match only bitmaps are drawn.
    qr.SetMatch(false);
    EXPECT_EQ(qr.SymbolPicture(), picBMP);
}

TEST(TQRCode, ClipWatchTakesLaterChanges) {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText("111");
    QApplication::processEvents();
    TQRCode qr;
    PatientSymbol(qr, 2);
    qr.SetCode("1");
    std::vector<bool> watches;
    qr.OnChangedCode = [&](TQRCode&, bool watch) { watches.push_back(watch); };

    qr.SetClipWatch(true);
    // A notification before the event loop runs again is the state at switching on.
    clipboard->setText("222");
    EXPECT_EQ(qr.Code(), "1");
    QApplication::processEvents();
    clipboard->setText("333");
    EXPECT_EQ(qr.Code(), "333");
    EXPECT_EQ(watches, std::vector<bool>{true});
    EXPECT_EQ(Decoded(qr.Picture()), "333");

    qr.SetCode("4");
    EXPECT_EQ(watches, (std::vector<bool>{true, false}));
    qr.SetClipWatch(false);
    clipboard->setText("555");
    EXPECT_EQ(qr.Code(), "4");
}

} // namespace
} // namespace pendlar
