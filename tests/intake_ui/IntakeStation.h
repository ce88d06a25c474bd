// The intake panels in a tab control, as the main window holds them, on a scanner folder
// of generated pages.
#pragma once

#include "intake/DicomImage.h"
#include "intake/ImageFile.h"
#include "intake/ui/IntakePanels.h"
#include "logs/Logs.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTabWidget>

#include <filesystem>
#include <memory>
#include <string>

namespace pendlar {

struct IntakeStation {
    TRegistory Settings;
    TLogs Logs;
    ScriptedUserInterface Ui;
    TDicomImage Dicom{Ui};
    TQRDecode Decoder;
    QTabWidget Tabs;
    std::unique_ptr<IntakePanels> Panels;
    std::string PatientNumber;

    explicit IntakeStation(const std::string& scannerFolder) {
        Settings.ScannerDir = scannerFolder;
        Panels = std::make_unique<IntakePanels>(Settings, Logs, Ui, Dicom, Decoder, &Tabs);
        Tabs.addTab(Panels->Pagekakunin, QString::fromUtf8("ページ確認"));
        Tabs.addTab(Panels->Kanjakakunin, QString::fromUtf8("患者確認"));
        Tabs.addTab(Panels->QRwaku, QString::fromUtf8("QR枠"));
        Tabs.resize(900, 640);
        Panels->OnActiveTab = [this] {
            QWidget* w = Tabs.currentWidget();
            if (w == Panels->Kanjakakunin)
                return IntakeTab::PatientCheck;
            if (w == Panels->QRwaku)
                return IntakeTab::QRFrame;
            return IntakeTab::PageCheck;
        };
        Panels->OnActivatePageCheckTab = [this] { Tabs.setCurrentWidget(Panels->Pagekakunin); };
        Panels->OnPatientNumber = [this](const std::string& t) { PatientNumber = t; };
        QObject::connect(&Tabs, &QTabWidget::currentChanged,
                         [this](int) { Panels->Intake().ShowTabPages(); });
    }
    PageIntake& Intake() { return Panels->Intake(); }
};

// A chart page of 620 x 877 (A4 at 75 dpi) with a title, ruled lines and its number.
inline QImage ChartPage(int number) {
    QImage page(620, 877, QImage::Format_RGB32);
    page.fill(QColor(250, 249, 244));
    QPainter p(&page);
    QFont big;
    big.setPixelSize(120);
    p.setFont(big);
    p.setPen(QColor(20, 20, 90));
    p.drawText(QRect(0, 300, 620, 200), Qt::AlignCenter, QString::number(number));
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(40, 40, 540, 797);
    for (int y = 560; y < 820; y += 30)
        p.drawLine(60, y, 560, y);
    QFont small;
    small.setPixelSize(28);
    p.setFont(small);
    p.drawText(60, 100, QString::fromUtf8("診療録  第%1頁").arg(number));
    return page;
}

inline void SaveQImage(const QImage& image, const std::filesystem::path& path) {
    image.save(QString::fromStdString(path.string()));
}

} // namespace pendlar
