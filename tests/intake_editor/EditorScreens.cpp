// Renders the page editor on a scanned-looking page at zoom 0.5, with a rectangle and a
// comment stamp drawn on it, to OUTDIR/editor.png for a person to look at.
#include "intake/ImageFile.h"
#include "intake/ui/ShowImageUnit.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QToolButton>

#include <cstdio>

using namespace pendlar;

namespace {

// A 150 dpi A4 chart page: a header, ruled lines and handwriting-like strokes.
QImage ChartPage() {
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.fill(QColor(250, 249, 244));
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    QFont title;
    title.setPixelSize(48);
    p.setFont(title);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 80, 1240, 70), Qt::AlignCenter, Utf8Text("診 療 録"));
    QFont body;
    body.setPixelSize(26);
    p.setFont(body);
    p.drawText(120, 220, Utf8Text("患者番号 00123456   氏名 山田 太郎   生年月日 昭和45年3月2日"));
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(100, 260, 1040, 1380);
    p.drawLine(400, 260, 400, 1640);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int y = 320; y < 1640; y += 60)
        p.drawLine(100, y, 1140, y);
    p.setPen(QPen(QColor(20, 30, 90), 3));
    for (int line = 0; line < 12; ++line) {
        const int y = 350 + line * 60;
        QPainterPath path(QPointF(430, y));
        for (int x = 430; x < 1050 - (line % 4) * 90; x += 18)
            path.quadTo(x + 6, y - 14 + (x * 7 + line * 13) % 20, x + 18, y + ((x + line) % 9) - 4);
        p.drawPath(path);
    }
    p.setFont(body);
    p.setPen(Qt::black);
    p.drawText(130, 360, Utf8Text("R6.4.12"));
    p.drawText(130, 600, Utf8Text("R6.5.08"));
    return page;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const std::string pagePath = Utf8ToSjisLossy((out + "/scan0001.jpg").toStdString());
    ChartPage().save(QString::fromStdString(SjisPathToFileName(pagePath)), "JPG", 90);

    ScriptedUserInterface ui;
    TImageShow editor(ui);
    editor.CommentList = {SjisOf("確認済"), SjisOf("要再検査")};
    editor.ShioriList = {SjisOf("紹介状"), SjisOf("検査結果")};
    editor.Open(pagePath, SjisOf("初診記録"), {SjisOf("血圧 132/84"), SjisOf("次回 2週間後")}, 3);
    editor.resize(1180, 860);
    editor.show();
    app.processEvents();

    editor.SquareBtn->click();
    editor.Image1MouseDown(Qt::LeftButton, QPoint(210, 170));
    editor.Image1MouseMove(QPoint(380, 260));
    editor.Image1MouseMove(QPoint(470, 300));
    editor.Image1MouseUp(Qt::LeftButton, QPoint(470, 300));

    editor.StrBox->setEditText(Utf8Text("確認済"));
    QFont stamp = editor.StrBox->font();
    stamp.setPixelSize(56);
    stamp.setBold(true);
    editor.SetTextFont(stamp);
    editor.SetCurrentColor(QColor(200, 20, 20));
    editor.StrSetBtn->click();
    editor.Image1MouseDown(Qt::LeftButton, QPoint(300, 60));
    editor.Image1MouseMove(QPoint(320, 70));
    editor.Image1MouseUp(Qt::LeftButton, QPoint(320, 70));

    // A rubber band in progress, to see the inverted outline as well.
    editor.LineBtn->click();
    editor.Image1MouseDown(Qt::LeftButton, QPoint(120, 420));
    editor.Image1MouseMove(QPoint(480, 380));
    app.processEvents();

    const QString file = out + "/editor.png";
    if (!editor.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", file.toLocal8Bit().constData());
        return 1;
    }
    editor.Image1MouseUp(Qt::LeftButton, QPoint(480, 380));
    std::printf("%s\n", file.toLocal8Bit().constData());

    // The seven tool cursors on paper and on ink, with their hot spots marked in red.
    QImage cursors(7 * 48, 96, QImage::Format_RGB32);
    cursors.fill(QColor(250, 249, 244));
    QPainter p(&cursors);
    p.fillRect(0, 48, cursors.width(), 48, Qt::black);
    for (int i = 0; i < 7; ++i) {
        const QCursor c = editor.ToolCursor(100 + i);
        for (int row = 0; row < 2; ++row) {
            p.drawPixmap(i * 48 + 8, row * 48 + 8, c.pixmap());
            p.fillRect(i * 48 + 8 + c.hotSpot().x(), row * 48 + 8 + c.hotSpot().y(), 1, 1, Qt::red);
        }
    }
    p.end();
    cursors.save(out + "/cursors.png");
    return 0;
}
