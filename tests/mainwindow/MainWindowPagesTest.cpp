// Pages that came the long way to the real main window: a cover sheet printed by the
// cover-sheet printing, rendered as a scanner delivers it and read back into IdEdit; and a
// page touched up in the page editor opened from the page check list, whose thumbnail is
// redrawn after the save.
#include "MainWindowStation.h"

#include "app/AppWindows.h"
#include "app/MainUnit.h"
#include "intake/ui/ShowImageUnit.h"
#include "util/Sjis.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::MainWindowStation;
using test::OnNextModal;

// The sheet of patient 00042 (the second line), printed through the cover-sheet drawing into
// a PDF with the default layout of a fresh profile.
std::filesystem::path PrintCoverSheet(const test::TempDir& dir) {
    const auto list = test::WriteFile(
        dir.Path() / "patients.txt",
        SjisOf("7,患者 一郎,男性,1950.1.1,東京都\r\n00042,\"患者, 花子\",女性,1961.2.3,"
               "大阪府北区1-2\r\n"));
    const auto pdf = dir.Path() / "sheet.pdf";
    std::string out;
    const int status =
        test::RunCommand(std::string(PENDLAR_TOOL) + " cover-sheets --profile '" +
                             (dir.Path() / "printer").string() + "' '" + list.string() + "' '" +
                             pdf.string() + "' --line 2 2>&1",
                         &out);
    EXPECT_EQ(status, 0) << out;
    return pdf;
}

// The sheet as a scanner at `dpi` drops it into the folder: greyish paper, a less than black
// print and some noise, saved as JPEG.
void ScanSheet(const std::filesystem::path& pdf, int dpi, const std::filesystem::path& jpeg) {
    const auto prefix = pdf.parent_path() / ("render" + std::to_string(dpi));
    ASSERT_EQ(test::RunCommand("pdftoppm -r " + std::to_string(dpi) + " -singlefile -png '" +
                               pdf.string() + "' '" + prefix.string() + "'"),
              0);
    ASSERT_EQ(test::RunCommand("convert '" + prefix.string() +
                               ".png' -colorspace Gray +level 7%,91% -attenuate 0.6 "
                               "+noise Gaussian -quality 88 '" +
                               jpeg.string() + "'"),
              0);
}

TEST(MainWindowCoverSheet, PrintedAndScannedSheetFillsIdEdit) {
    for (const char* tool : {"pdftoppm", "convert"})
        if (!test::HaveProgram(tool))
            GTEST_SKIP() << tool << " is not installed";
    MainWindowStation st([](TRegistory& s) { s.IdNoGet = 0; });
    TMainForm& m = st.Main();
    const auto pdf = PrintCoverSheet(st.Dir);
    ASSERT_TRUE(std::filesystem::exists(pdf));

    const TRegistory layout;
    // The first read runs with the decoder's start values, the second with the settings.
    for (int dpi : {300, 200}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        for (const auto& entry : std::filesystem::directory_iterator(st.Scan))
            std::filesystem::remove(entry.path());
        ScanSheet(pdf, dpi, st.Scan / "0001.jpg");
        st.Page("0002.jpg", QColor(240, 240, 235));
        m.IdEdit->clear();
        m.ScannerOpenNew->click();
        ASSERT_EQ(st.View().count(), 2);

        // The frame snug around the printed symbol (21 modules and its quiet zone of 4), as
        // the clerk drags it: the threshold comes from the crop's middle row, which must
        // cross the symbol.
        const double perDot = dpi / layout.PanelDensity;
        const int margin = dpi / 20;
        const QPoint topLeft(static_cast<int>(layout.QRCodeImage.Left * perDot) - margin,
                             static_cast<int>(layout.QRCodeImage.Top * perDot) - margin);
        const int side =
            static_cast<int>((21 + 8) * layout.QRCodeImage.Pxmag * perDot) + 2 * margin;
        st.ShowTab(m.QRwaku);
        ASSERT_GT(st.Image3().Page().width(), topLeft.x() + side);
        st.DragFrame(topLeft, topLeft + QPoint(side, side));
        st.ShowTab(m.Kanjakakunin);
        EXPECT_EQ(m.IdEdit->text().toStdString(), "42") << st.Status1();
        st.ShowTab(m.Pagekakunin);
    }
}

TEST(MainWindowPageEditor, SavingRedrawsThatPagesThumbnailAndTheResultsComeBack) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    // Small white pages, so that a drawn rectangle shows plainly in the thumbnail.
    for (const char* name : {"a.png", "b.png"})
        ASSERT_TRUE(test::SaveImage(test::SolidPage(Qt::white, 160, 120), st.Scan / name));
    m.ScannerOpenNew->click();
    ASSERT_EQ(st.View().count(), 2);
    m.Registory->ShowImage = 5;
    const QImage firstBefore = st.ItemImage(0);
    const QImage secondBefore = st.ItemImage(1);
    const std::string fileBefore = test::ReadFile(st.Scan / "b.png");

    TImageShow& editor = *st.Windows->ImageShow;
    int openedAtZoom = -1;
    OnNextModal([&](QWidget* w) {
        ASSERT_EQ(w, &editor);
        openedAtZoom = editor.ZoomStep();
        editor.SquareBtn->click();
        editor.DotSizeBox->setCurrentIndex(4);
        QTest::mousePress(editor.Image1, Qt::LeftButton, {}, QPoint(30, 30));
        QTest::mouseMove(editor.Image1, QPoint(80, 60));
        QTest::mouseRelease(editor.Image1, Qt::LeftButton, {}, QPoint(130, 95));
        editor.ShioriBox->setEditText("BOOKMARK-0123456789");
        editor.NoteMemo->setPlainText(QString::fromUtf8("要再検"));
        editor.ZoomInBtn->click();
        editor.ImageSaveBtn->click();
        editor.CloseMenu->trigger();
    });
    st.ClickItem(1, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(openedAtZoom, 5);
    EXPECT_EQ(m.Registory->ShowImage, 6);
    EXPECT_NE(test::ReadFile(st.Scan / "b.png"), fileBefore);
    const QImage secondAfter = st.ItemImage(1);
    EXPECT_NE(secondAfter, secondBefore) << "the edited page's thumbnail is redrawn";
    EXPECT_EQ(st.ItemImage(0), firstBefore) << "the other page keeps its thumbnail";
    // The page is drawn at 0.4 from thumbnail row 8: the rectangle's top edge (page row 30)
    // lies at row 20.
    EXPECT_GT(qGray(secondBefore.pixel(32, 20)), 240);
    EXPECT_LT(qGray(secondAfter.pixel(32, 20)), 200);
    EXPECT_EQ(st.Captions(), (std::vector<std::string>{"", "BOOKMARK-0123456"}));

    // Closing without saving leaves file and thumbnail; an emptied note area keeps the notes.
    const std::string fileSaved = test::ReadFile(st.Scan / "b.png");
    QString notesShown;
    OnNextModal([&](QWidget*) {
        notesShown = editor.NoteMemo->toPlainText();
        editor.NoteMemo->clear();
        editor.PenBtn->click();
        QTest::mousePress(editor.Image1, Qt::LeftButton, {}, QPoint(10, 100));
        QTest::mouseMove(editor.Image1, QPoint(150, 100));
        QTest::mouseRelease(editor.Image1, Qt::LeftButton, {}, QPoint(150, 100));
        editor.close();
    });
    st.ClickItem(1, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(notesShown, QString::fromUtf8("要再検"));
    EXPECT_EQ(test::ReadFile(st.Scan / "b.png"), fileSaved);
    EXPECT_EQ(st.ItemImage(1), secondAfter);

    OnNextModal([&](QWidget*) {
        notesShown = editor.NoteMemo->toPlainText();
        editor.close();
    });
    st.ClickItem(1, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(notesShown, QString::fromUtf8("要再検"));
    EXPECT_EQ(st.Captions(), (std::vector<std::string>{"", "BOOKMARK-0123456"}));
}

} // namespace
} // namespace pendlar
