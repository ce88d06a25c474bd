// The intake panels as the person uses them: the thumbnail view under the mouse, captions
// typed in place, the QR frame dragged on the first page, and the intake dialogs.
#include "IntakeStation.h"

#include "intake/ui/BigImageUnit.h"
#include "intake/ui/DeleteWarningUnit.h"
#include "intake/ui/PageCheckView.h"
#include "intake/ui/QRFrameImage.h"
#include "intake/ui/ReadSettingUnit.h"
#include "intake/ui/ScannerChooser.h"
#include "util/ui/RadioGroup.h"

#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

// Fontconfig keeps its caches until the process ends without freeing them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace pendlar {
namespace {

int argc = 1;
char arg0[] = "intake_ui_tests";
char* argv[] = {arg0, nullptr};

class IntakeUi : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            // No display is needed: the windows render off screen.
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            new QApplication(argc, argv);
        }
    }
    test::TempDir dir;
    std::unique_ptr<IntakeStation> station;

    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "scan");
        station = std::make_unique<IntakeStation>(dir.Sjis("scan"));
        station->Tabs.show();
    }
    void Page(const std::string& name, int number) {
        SaveQImage(ChartPage(number), dir.Path() / "scan" / name);
    }
    QListWidget& View() { return *station->Panels->ListView1; }
    QStringList Captions() {
        QStringList out;
        for (int i = 0; i < View().count(); ++i)
            out << View().item(i)->text();
        return out;
    }
    void Click(int item, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
        const QPoint at = View().visualItemRect(View().item(item)).center();
        QTest::mouseClick(View().viewport(), button, keys, at);
    }
};

TEST_F(IntakeUi, FolderIntakeFillsTheViewInNameOrderOrReversed) {
    Page("p1.jpg", 1);
    Page("p2.jpg", 2);
    Page("p10.jpg", 10);
    for (int sequence : {0, 1}) {
        station->Settings.Sequence = sequence;
        station->Intake().ScannerReadClick(false);
        ASSERT_EQ(View().count(), 3);
        const auto& pages = station->Intake().Pages();
        EXPECT_EQ(pages[0].Path, sequence == 0 ? "p1.jpg" : "p2.jpg");
        EXPECT_EQ(pages[1].Path, "p10.jpg");
        EXPECT_EQ(View().iconSize(), QSize(64, 64));
    }
}

TEST_F(IntakeUi, CaptionsTypedInPlaceAreCutAndAltRightDeletesTheSelectedPage) {
    for (int i = 0; i < 4; ++i)
        Page(std::string(1, static_cast<char>('a' + i)) + ".png", i + 1);
    station->Intake().ScannerReadClick(false);
    ASSERT_EQ(View().count(), 4);
    const char* names[] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i)
        View().item(i)->setText(names[i]);
    View().item(0)->setText("ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(View().item(0)->text(), "ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(station->Intake().Pages()[0].Caption, "ABCDEFGHIJKLMNOPQR");
    View().item(0)->setText(QString::fromUtf8("一二三四五六七八九十"));
    EXPECT_EQ(View().item(0)->text(), QString::fromUtf8("一二三四五六七八九"));
    View().item(0)->setText("A");

    Click(1, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(station->Intake().SelectedPage(), 1);
    Click(3, Qt::RightButton, Qt::AltModifier);
    EXPECT_EQ(Captions(), (QStringList{"A", "C", "D"}));

    // The drop rules rewrite the view from the page list.
    station->Intake().ListView1StartDrag();
    station->Intake().ListView1DragOver(true, 0);
    station->Intake().ListView1DragDrop(-1);
    EXPECT_EQ(Captions(), (QStringList{"C", "D", "A"}));
}

TEST_F(IntakeUi, FrameDraggedWithTheMouseIsXoredOntoThePage) {
    Page("a.png", 1);
    station->Intake().ScannerReadClick(false);
    station->Tabs.setCurrentWidget(station->Panels->QRwaku);
    QRFrameImage& image = *station->Panels->Image3;
    ASSERT_EQ(image.Page().size(), QSize(620, 877));
    const QRgb before = image.Page().pixel(100, 10);

    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 60), image.mapToGlobal(QPointF(60, 60)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&image, &move);
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(station->Intake().Frame().Defined());
    EXPECT_EQ(image.Page().pixel(100, 10), before ^ 0x00FFFFFFu) << "top edge inverted";
    EXPECT_EQ(image.Page().pixel(60, 10) & 0xFFFFFF, ~before & 0xFFFFFF);
    EXPECT_EQ(image.Page().pixel(100, 60), ChartPage(1).pixel(100, 60)) << "old frame erased";

    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(station->Intake().Frame().Defined());
    EXPECT_EQ(station->Ui.Status[1], SjisOf("*** 左上から右下へドラッグして下さい。"));
    EXPECT_EQ(image.Page().pixel(100, 10), before) << "the previous frame is gone";
}

TEST_F(IntakeUi, PatientCheckShowsTwoPagesSideBySide) {
    Page("a.png", 1);
    Page("b.png", 2);
    station->Settings.IdNoGet = 2;
    station->Intake().ScannerReadClick(false);
    station->Tabs.setCurrentWidget(station->Panels->Kanjakakunin);
    QWidget* tab = station->Panels->Kanjakakunin;
    const int half = tab->width() / 2;
    EXPECT_EQ(station->Panels->Image1->geometry(), QRect(1, 1, half - 2, tab->height() - 2));
    EXPECT_EQ(station->Panels->Image2->geometry().left(), half + 1);
    EXPECT_TRUE(station->Panels->Image2->isVisible());
    EXPECT_FALSE(station->Panels->Image1->pixmap().isNull());
}

struct OneDeviceScanner : ScannerSource {
    std::vector<ScannerDevice> ListDevices(std::string*) override {
        return {{"fake:0", "Acme", "Flatbed", "flatbed scanner"}};
    }
    AcquireResult Acquire(const std::string&, Bitmap& image, const std::function<void()>&,
                          std::string*) override {
        image = Bitmap(30, 20, PixelFormat::Bits8);
        return AcquireResult::Acquired;
    }
};

TEST_F(IntakeUi, MainWindowControlsRunTheCommands) {
    QWidget pagekakunin, qrwaku;
    QLabel image1, image2;
    QPushButton openNew, openAdd;
    QAction twainSource(nullptr), twainRead(nullptr), clear(nullptr), redisp(nullptr);
    IntakePanels& p = *station->Panels;
    p.AttachTo(&pagekakunin, &qrwaku, &image1, &image2);
    EXPECT_EQ(p.ListView1->parentWidget(), &pagekakunin);
    IntakeCommands c;
    c.ScannerOpenNew = &openNew;
    c.ScannerOpenAdd = &openAdd;
    c.TwainSourceMenu = &twainSource;
    c.TwainReadMenu = &twainRead;
    c.ScanFolderClear = &clear;
    c.PageRedispMenu = &redisp;
    p.ConnectCommands(c);
    OneDeviceScanner scanner;
    p.SetScanner(&scanner);
    p.DeviceChooser = [](const std::vector<ScannerDevice>& d) -> std::optional<int> {
        return d.empty() ? std::nullopt : std::optional<int>(0);
    };
    p.SaveChooser = [this](const FileDialogSpec&) -> std::optional<ImageSaveChoice> {
        return ImageSaveChoice{dir.Sjis("scan/scan1"), 4};
    };
    p.ClearConfirmer = [](const std::string&) { return true; };

    EXPECT_FALSE(twainRead.isEnabled());
    twainSource.trigger();
    EXPECT_TRUE(twainRead.isEnabled());
    twainRead.trigger();
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "scan" / "scan1.png"));
    openNew.click();
    EXPECT_EQ(View().count(), 1);
    openAdd.click();
    EXPECT_EQ(View().count(), 1);
    redisp.trigger();
    EXPECT_EQ(View().count(), 1);
    clear.trigger();
    EXPECT_EQ(View().count(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "scan" / "scan1.png"));
}

TEST_F(IntakeUi, FullSizeViewerShowsNoPictureOfAnotherPage) {
    Page("p1.jpg", 1);
    test::WriteFile(dir.Path() / "scan" / "p2.dcm", "not for the imaging library");
    TBigImageForm viewer;
    ASSERT_TRUE(viewer.LoadPage(dir.Sjis("scan/p1.jpg")));
    EXPECT_FALSE(viewer.Image1->pixmap().isNull());
    EXPECT_FALSE(viewer.LoadPage(dir.Sjis("scan/p2.dcm")));
    EXPECT_TRUE(viewer.Image1->pixmap().isNull());
    EXPECT_EQ(viewer.StatusBar1->currentMessage(),
              QString::fromUtf8("ファイルを開くことができません。"));
}

TEST_F(IntakeUi, ReadSetRoundTripAndEnablingRules) {
    TReadSet dialog;
    ReadSettings v;
    v.ScannerDir = dir.Sjis("scan");
    v.IdNoGet = 1;
    v.DicomType = false;
    v.ImSize = 3;
    v.IdNoPosition = 5;
    dialog.Load(v);
    EXPECT_EQ(dialog.ScanPathDisp->text().toStdString(), (dir.Path() / "scan").string());
    EXPECT_TRUE(dialog.PosSpin->isEnabled());
    EXPECT_TRUE(dialog.QRSpin->isReadOnly());
    EXPECT_FALSE(dialog.DicomTextBox->isEnabled());
    ReadSettings back;
    dialog.Store(back);
    EXPECT_EQ(back.ScannerDir, v.ScannerDir);
    EXPECT_EQ(back.IdNoGet, 1);
    EXPECT_EQ(back.ImSize, 3);
    EXPECT_EQ(back.IdNoPosition, 5);
    EXPECT_FALSE(back.DicomType);

    v.IdNoGet = 0;
    dialog.Load(v);
    EXPECT_FALSE(dialog.PosSpin->isEnabled());
    EXPECT_FALSE(dialog.QRSpin->isReadOnly());
    dialog.DicomBox->click();
    EXPECT_TRUE(dialog.DicomTextBox->isEnabled());

    TDeleteWarningForm warning;
    QTimer::singleShot(0, &warning, [&] { warning.CancelBtn->click(); });
    EXPECT_FALSE(warning.Execute(dir.Sjis("scan")));
    EXPECT_EQ(warning.FileDirLabel->text().toStdString(), (dir.Path() / "scan").string());

    ScannerChooser chooser;
    chooser.Fill({{"test:0", "Noname", "frontend-tester", "virtual device"}});
    EXPECT_EQ(chooser.DeviceList->count(), 1);
}

} // namespace
} // namespace pendlar
