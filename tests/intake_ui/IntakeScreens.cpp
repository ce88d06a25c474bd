// Renders the page check list with 20 pages at the smallest and the largest thumbnail size,
// the patient-check tab and the QR-frame tab with a frame drawn, to OUTDIR/*.png.
#include "IntakeStation.h"

#include "intake/ui/QRFrameImage.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

using namespace pendlar;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: intake_screens OUTDIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    const std::filesystem::path out = argv[1];
    const std::filesystem::path scan = out / "scan";
    std::filesystem::create_directories(scan);
    for (int i = 1; i <= 20; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "page%02d.jpg", i);
        SaveQImage(ChartPage(i), scan / name);
    }
    // The cover sheet: page 1 with a QR symbol when qrencode is there.
    const std::string qr = (out / "qr.png").string();
    if (std::system(("qrencode -s 6 -m 2 -o '" + qr + "' 00123 2>/dev/null").c_str()) == 0) {
        QImage page = ChartPage(1);
        QPainter p(&page);
        p.drawImage(400, 60, QImage(QString::fromStdString(qr)));
        p.end();
        SaveQImage(page, scan / "page01.jpg");
    }

    IntakeStation station(scan.string());
    station.Tabs.show();
    for (int size : {0, 4}) {
        station.Settings.ImSize = size;
        station.Intake().ScannerReadClick(false);
        station.Intake().ListView1Edited(0, SjisOf("表紙"));
        station.Intake().ListView1Edited(2, SjisOf("検査結果　２０２４年"));
        QApplication::processEvents();
        station.Tabs.grab().save(
            QString::fromStdString((out / ("pages_" + std::to_string(size) + ".png")).string()));
    }
    station.Tabs.setCurrentWidget(station.Panels->QRwaku);
    QRFrameImage* image = station.Panels->Image3;
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(390, 50));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(560, 220));
    QApplication::processEvents();
    station.Tabs.grab().save(QString::fromStdString((out / "qrframe.png").string()));
    station.Tabs.setCurrentWidget(station.Panels->Kanjakakunin);
    QApplication::processEvents();
    station.Tabs.grab().save(QString::fromStdString((out / "patient.png").string()));
    std::printf("patient number: %s\n", station.PatientNumber.c_str());
    std::fflush(stdout);
    return 0;
}
