// Renders the real main window at work to PNG files for a person to look at (run under Xvfb:
// xvfb-run -a mainwindow_screens OUTDIR PENDLAR_TOOL): the page check list with 20 pages at
// thumbnail sizes 0 and 4, the patient-check tab with a printed and scanned cover sheet, the
// QR-frame tab with the frame drawn, and the page editor at zoom 0.5 with a comment stamp
// and a rectangle.
#include "ScreenGrab.h"

#include "app/AppWindows.h"
#include "app/ApplicationSetup.h"
#include "app/MainUnit.h"
#include "intake/ui/PageCheckView.h"
#include "intake/ui/QRFrameImage.h"
#include "intake/ui/ShowImageUnit.h"
#include "settings/Registory.h"
#include "store/NewChartDatabase.h"
#include "util/Profile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using pendlar::test::SaveWidget;
using pendlar::test::Settle;

using namespace pendlar;
namespace fs = std::filesystem;

int Run(const std::string& command) {
    return std::system(command.c_str());
}

// A chart page at 150 dpi (A4): a title, ruled lines, its number and some handwriting-like
// strokes, on slightly grey paper.
QImage ScannedChartPage(int number) {
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.fill(QColor(246, 245, 240));
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    QFont title;
    title.setPixelSize(56);
    p.setFont(title);
    p.setPen(QColor(30, 30, 30));
    p.drawText(100, 170, QString::fromUtf8("診療録　第%1頁").arg(number));
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.drawRect(80, 80, 1080, 1594);
    p.setPen(QPen(QColor(120, 120, 140), 2));
    for (int y = 300; y < 1620; y += 60)
        p.drawLine(110, y, 1130, y);
    p.setPen(QPen(QColor(20, 30, 110), 4));
    for (int line = 0; line < 6 + number % 7; ++line) {
        const int y = 350 + line * 60;
        QPainterPath path(QPointF(130, y));
        for (int x = 130; x < 700 + (number * 37 + line * 91) % 400; x += 40)
            path.quadTo(x + 10, y - 22 + (x * number) % 17, x + 20, y - 4);
        p.drawPath(path);
    }
    QFont big;
    big.setPixelSize(220);
    p.setFont(big);
    p.setPen(QColor(200, 200, 210));
    p.drawText(QRect(0, 1100, 1240, 400), Qt::AlignCenter, QString::number(number));
    return page;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mainwindow_screens OUTDIR PENDLAR_TOOL\n");
        return 2;
    }
    const fs::path out = fs::absolute(argv[1]);
    const std::string tool = argv[2];
    const fs::path work = out / "mainwindow-work";
    fs::remove_all(work);
    const fs::path profile = work / "profile";
    const fs::path scan = work / "scan";
    fs::create_directories(profile);
    fs::create_directories(scan);
    SetProfileDir(profile.string());
    NewDatabaseResult db = CreateChartDatabase(FileNameToSjisPath(profile.string()));
    if (!db.Ok)
        return 1;
    {
        TRegistory settings;
        settings.DatabasePath = db.Path;
        settings.ScannerDir = FileNameToSjisPath(scan.string());
        settings.IdNoGet = 0;
        settings.SaveSettings();
    }

    QApplication app(argc, argv);
    SetUpApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);

    // The first page is a cover sheet printed by the program and scanned at 300 dpi; the
    // other 19 are chart pages.
    const fs::path list = work / "patients.txt";
    {
        std::FILE* f = std::fopen(list.c_str(), "wb");
        const std::string line =
            SjisOf("00123,患者　花子,女性,1961.2.3,東京都新宿区西新宿2-8-1\r\n");
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
    const fs::path pdf = work / "sheet.pdf";
    bool ok = Run("'" + tool + "' cover-sheets --profile '" + (work / "printer").string() + "' '" +
                  list.string() + "' '" + pdf.string() + "'") == 0;
    ok = ok && Run("pdftoppm -r 300 -singlefile -png '" + pdf.string() + "' '" +
                   (work / "sheet").string() + "'") == 0;
    ok = ok && Run("convert '" + (work / "sheet.png").string() +
                   "' -colorspace Gray +level 7%,91% -attenuate 0.6 +noise Gaussian -quality 88 '" +
                   (scan / "page01.jpg").string() + "'") == 0;
    if (!ok) {
        std::fprintf(stderr, "mainwindow_screens: the cover sheet could not be made\n");
        return 1;
    }
    for (int i = 2; i <= 20; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "page%02d.jpg", i);
        ScannedChartPage(i).save(QString::fromStdString((scan / name).string()), nullptr, 85);
    }

    ScriptedUserInterface ui;
    std::unique_ptr<ApplicationWindows> w = CreateApplicationWindows(&ui);
    TMainForm& main = *w->MainForm;
    main.show();
    while (!main.StartupDone())
        Settle(50);
    auto* view = main.findChild<PageCheckView*>("ListView1");
    auto* image3 = main.QRwaku->findChild<QRFrameImage*>();

    for (int size : {0, 4}) {
        main.Registory->ImSize = size;
        main.ScannerOpenNew->click();
        // Captions as a clerk types them.
        view->item(0)->setText(QString::fromUtf8("表紙"));
        view->item(2)->setText(QString::fromUtf8("検査結果　２０２４年"));
        view->item(5)->setText(QString::fromUtf8("紹介状"));
        main.IdEdit->clear();
        ok &= SaveWidget(main, out / ("main-pages-" + std::to_string(size) + ".png"));
    }

    // The frame around the symbol, as on the real sheet at 300 dpi.
    main.PageControl->setCurrentWidget(main.QRwaku);
    Settle();
    const TRegistory layout;
    const double perDot = 300 / layout.PanelDensity;
    const int margin = 15;
    const QPoint topLeft(static_cast<int>(layout.QRCodeImage.Left * perDot) - margin,
                         static_cast<int>(layout.QRCodeImage.Top * perDot) - margin);
    const int side = static_cast<int>((21 + 8) * layout.QRCodeImage.Pxmag * perDot) + 2 * margin;
    QTest::mousePress(image3, Qt::LeftButton, {}, topLeft);
    QTest::mouseRelease(image3, Qt::LeftButton, {}, topLeft + QPoint(side, side));
    if (auto* scroll = main.QRwaku->findChild<QScrollArea*>()) {
        scroll->horizontalScrollBar()->setValue(topLeft.x() - 300);
        scroll->verticalScrollBar()->setValue(topLeft.y() - 150);
    }
    ok &= SaveWidget(main, out / "main-qrframe.png");

    main.PageControl->setCurrentWidget(main.Kanjakakunin);
    ok &= SaveWidget(main, out / "main-patient.png");
    std::printf("IdEdit: %s, status: %s\n", main.IdEdit->text().toUtf8().constData(),
                main.StatusPanel1->text().toUtf8().constData());

    // The editor on the scanned chart page 2 at zoom 0.5, a rectangle and a stamp drawn.
    TImageShow& editor = *w->ImageShow;
    editor.CommentList = {SjisOf("要再検"), SjisOf("済")};
    editor.Open(FileNameToSjisPath((scan / "page02.jpg").string()), SjisOf("検査結果"), {}, 3);
    editor.resize(1000, 760);
    editor.show();
    Settle();
    editor.SquareBtn->click();
    QTest::mousePress(editor.Image1, Qt::LeftButton, {}, QPoint(60, 160));
    QTest::mouseMove(editor.Image1, QPoint(200, 240));
    QTest::mouseRelease(editor.Image1, Qt::LeftButton, {}, QPoint(380, 300));
    editor.StrBox->setCurrentIndex(0);
    editor.StrSetBtn->click();
    QTest::mousePress(editor.Image1, Qt::LeftButton, {}, QPoint(420, 120));
    QTest::mouseRelease(editor.Image1, Qt::LeftButton, {}, QPoint(420, 120));
    ok &= SaveWidget(editor, out / "editor-zoom05.png");
    editor.close();

    main.Logs.Save.Clear();
    main.SaveButton->setEnabled(false);
    main.close();
    w.reset();
    fs::remove_all(work);
    return ok ? 0 : 1;
}
