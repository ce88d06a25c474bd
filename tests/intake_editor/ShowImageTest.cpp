// The page editor window, driven by synthetic mouse events: strokes land in the saved page
// where they were drawn, undo, the refusals to save, a page that cannot be loaded, and the
// values handed back to the page list.
#include "intake/ImageControl.h"
#include "intake/ImageFile.h"
#include "intake/ui/ShowImageUnit.h"
#include "util/FileSystem.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include "TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace pendlar {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "intake_editor_ui_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

std::string Utf8(const QString& s) {
    return s.toStdString();
}

bool Dark(const Bitmap& b, int x, int y) {
    // Black ink; the red dot of the test page is not.
    const Rgb c = b.Pixel(x, y);
    return c.R < 128 && c.G < 128 && c.B < 128;
}

// Any dark pixel in the rectangle [x0, x1) × [y0, y1).
bool AnyDark(const Bitmap& b, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (Dark(b, x, y))
                return true;
    return false;
}

struct Editor : ::testing::Test {
    Editor() {
        App();
        window = std::make_unique<TImageShow>(ui);
    }

    // A white page with a red dot at (50, 25), written as `name`.
    std::string MakePage(const std::string& name, int w = 200, int h = 150) {
        Bitmap page(w, h);
        std::fill(page.Data().begin(), page.Data().end(), std::uint8_t{255});
        if (w > 50 && h > 25)
            page.SetPixel(50, 25, Rgb{220, 0, 0});
        const std::string path = dir.Sjis(name);
        EXPECT_TRUE(SaveImageFile(page, path));
        return path;
    }

    void Open(const std::string& path, int zoomStep = 5) {
        window->Open(path, "", {}, zoomStep);
        window->show();
    }

    void Drag(QPoint from, std::initializer_list<QPoint> via, QPoint to) {
        QTest::mousePress(window->Image1, Qt::LeftButton, {}, from);
        for (QPoint p : via)
            QTest::mouseMove(window->Image1, p);
        QTest::mouseMove(window->Image1, to);
        QTest::mouseRelease(window->Image1, Qt::LeftButton, {}, to);
    }

    Bitmap Saved(const std::string& path) {
        std::optional<Bitmap> b = LoadImageFile(path);
        EXPECT_TRUE(b.has_value());
        return b ? b->ToRgb24() : Bitmap();
    }

    std::string Status() const { return Utf8(window->StatusMessage->text()); }

    ScriptedUserInterface ui;
    test::TempDir dir;
    std::unique_ptr<TImageShow> window;
};

TEST_F(Editor, StrokesChangeTheSavedFileWhereTheyWereDrawn) {
    struct Case {
        const char* name;
        std::function<void(TImageShow&)> choose;
        QPoint from;
        std::vector<QPoint> via;
        QPoint to;
        std::vector<QPoint> inked; // must be dark in the saved page
        std::vector<QPoint> paper; // must stay white
    };
    const std::vector<Case> cases = {
        {"pen",
         [](TImageShow& w) { w.PenBtn->click(); },
         {20, 20},
         {{40, 22}},
         {60, 20},
         {{30, 21}, {50, 21}},
         {{20, 60}, {100, 100}}},
        // The rubber line first goes down to (50, 120); only the final line may be left.
        {"line",
         [](TImageShow& w) { w.LineBtn->click(); },
         {20, 100},
         {{50, 120}, {100, 70}},
         {150, 60},
         {{85, 80}, {140, 64}},
         {{35, 110}, {75, 95}}},
        {"rectangle",
         [](TImageShow& w) { w.SquareBtn->click(); },
         {30, 30},
         {{60, 80}},
         {120, 90},
         {{75, 30}, {30, 60}, {120, 60}, {75, 90}},
         {{75, 60}, {45, 55}}},
        {"ellipse",
         [](TImageShow& w) { w.CurcleBtn->click(); },
         {30, 30},
         {{60, 50}},
         {130, 90},
         {{80, 30}, {30, 60}, {130, 60}},
         {{80, 60}, {32, 32}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = MakePage(std::string(c.name) + ".png");
        Open(path);
        c.choose(*window);
        QTest::mousePress(window->Image1, Qt::LeftButton, {}, c.from);
        for (QPoint p : c.via)
            QTest::mouseMove(window->Image1, p);
        QTest::mouseMove(window->Image1, c.to);
        if (c.via.size() > 0 && std::string(c.name) != "pen") {
            // While dragging only the display shows the figure.
            EXPECT_NE(window->DisplayImage(), window->WorkingImage());
        }
        QTest::mouseRelease(window->Image1, Qt::LeftButton, {}, c.to);
        EXPECT_TRUE(window->UndoBtn->isEnabled());
        EXPECT_EQ(window->DisplayImage(), window->WorkingImage());

        window->ImageSaveBtn->click();
        EXPECT_EQ(Status(), "");
        EXPECT_TRUE(window->Result().Rewritten);
        const Bitmap saved = Saved(path);
        for (QPoint p : c.inked)
            EXPECT_TRUE(AnyDark(saved, p.x() - 1, p.y() - 1, p.x() + 2, p.y() + 2))
                << p.x() << "," << p.y();
        for (QPoint p : c.paper)
            EXPECT_FALSE(Dark(saved, p.x(), p.y())) << p.x() << "," << p.y();
    }
}

TEST_F(Editor, RubberLineFollowsThePointerAndLeavesOneLineInColourAndWidth) {
    const std::string path = MakePage("rubber.png");
    Open(path);
    const QImage original = window->WorkingImage();
    window->LineBtn->click();
    window->DotSizeBox->setCurrentIndex(4); // 極太
    EXPECT_EQ(window->LineWidth(), 5);
    window->SetCurrentColor(QColor(0, 0, 255));

    QTest::mousePress(window->Image1, Qt::LeftButton, {}, QPoint(20, 100));
    QTest::mouseMove(window->Image1, QPoint(50, 120));
    EXPECT_EQ(window->DisplayImage().pixelColor(35, 110), QColor(Qt::black)); // inverted paper
    QTest::mouseMove(window->Image1, QPoint(150, 60));
    // The first rubber line is gone, the second one shows; the page itself is untouched.
    EXPECT_EQ(window->DisplayImage().pixelColor(35, 110), QColor(Qt::white));
    EXPECT_EQ(window->DisplayImage().pixelColor(85, 80), QColor(Qt::black));
    EXPECT_EQ(window->WorkingImage(), original);
    QTest::mouseRelease(window->Image1, Qt::LeftButton, {}, QPoint(150, 60));

    const QImage& drawn = window->WorkingImage();
    EXPECT_EQ(drawn.pixelColor(85, 80), QColor(0, 0, 255));
    // Five pixels across where the line is almost level, the rest of the column paper.
    int blue = 0, white = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        blue += drawn.pixelColor(85, y) == QColor(0, 0, 255);
        white += drawn.pixelColor(85, y) == QColor(Qt::white);
    }
    EXPECT_EQ(blue, 5);
    EXPECT_EQ(white, drawn.height() - 5);
    EXPECT_EQ(drawn.pixelColor(35, 110), QColor(Qt::white));

    window->UndoBtn->click();
    EXPECT_EQ(window->WorkingImage(), original);
}

TEST_F(Editor, TextStampIsWrittenAtThePointOfRelease) {
    const std::string path = MakePage("stamp.png");
    Open(path, 7); // zoom 2.0: window point (100, 60) is image pixel (50, 30)
    window->StrBox->setEditText(Utf8Text("確認済"));
    QFont font = window->StrBox->font();
    font.setPixelSize(20);
    window->SetTextFont(font);
    window->StrSetBtn->click();
    EXPECT_EQ(window->CurrentTool(), TImageShow::Text);

    QTest::mousePress(window->Image1, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_TRUE(window->TextDisplay->isVisible());
    EXPECT_EQ(window->TextDisplay->text(), Utf8Text("確認済"));
    EXPECT_EQ(window->TextDisplay->font().pixelSize(), 40); // preview at the zoom
    QTest::mouseMove(window->Image1, QPoint(100, 60));
    EXPECT_EQ(window->TextDisplay->pos(), QPoint(100, 60));
    QTest::mouseRelease(window->Image1, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_FALSE(window->TextDisplay->isVisible());
    window->SaveMenu->trigger();

    const Bitmap saved = Saved(path);
    EXPECT_TRUE(AnyDark(saved, 50, 30, 115, 52));
    EXPECT_FALSE(AnyDark(saved, 0, 0, 200, 29));  // nothing above the stamp
    EXPECT_FALSE(AnyDark(saved, 0, 30, 49, 150)); // nor left of it
}

TEST_F(Editor, MousePointsMapThroughTheZoomAndThePickerTakesTheColour) {
    Open(MakePage("pick.png"), 7);
    window->SpoitBtn->click();
    QTest::mouseClick(window->Image1, Qt::LeftButton, {}, QPoint(101, 51)); // pixel (50, 25)
    EXPECT_EQ(window->CurrentColor(), QColor(220, 0, 0));
    EXPECT_FALSE(window->UndoBtn->isEnabled());
    QTest::mouseClick(window->Image1, Qt::LeftButton, {}, QPoint(99, 51)); // pixel (49, 25)
    EXPECT_EQ(window->CurrentColor(), QColor(255, 255, 255));
}

TEST_F(Editor, UndoRestoresTheImageBeforeTheLastStep) {
    const std::string path = MakePage("undo.png", 30, 20);
    Open(path);
    const QImage original = window->WorkingImage();

    window->LineBtn->click();
    Drag({2, 2}, {{10, 10}}, {25, 15});
    EXPECT_NE(window->WorkingImage(), original);
    window->UndoBtn->click();
    EXPECT_EQ(window->WorkingImage(), original);
    EXPECT_FALSE(window->UndoBtn->isEnabled());

    // Two turns left and one undo leave the page turned once.
    window->RotLeftBtn->click();
    window->RotLeftBtn->click();
    window->UndoBtn->click();
    TImageUnit unit;
    unit.RotateLeft(Saved(path));
    EXPECT_EQ(window->WorkingImage().size(), QSize(20, 30));
    EXPECT_EQ(window->Image1->size(), QSize(20, 30));
    window->ImageSaveBtn->click();
    EXPECT_EQ(Saved(path), unit.Image());
}

TEST_F(Editor, SavingIsRefusedForReadOnlyAndDicomPages) {
    const std::string path = MakePage("locked.png");
    const std::string before = test::ReadFile(FsPath(path));
    std::filesystem::permissions(FsPath(path), std::filesystem::perms::owner_read);
    Open(path);
    window->PenBtn->click();
    Drag({10, 10}, {}, {100, 100});
    window->ImageSaveBtn->click();
    EXPECT_EQ(Status(), "書き込み禁止です。");
    EXPECT_EQ(test::ReadFile(FsPath(path)), before);
    EXPECT_FALSE(window->Result().Rewritten);

    if (!test::HaveProgram("img2dcm"))
        GTEST_SKIP() << "img2dcm (dcmtk) is not installed";
    const std::string bmp = MakePage("scan.bmp", 64, 48);
    const std::string dcm = dir.Sjis("scan.dcm");
    ASSERT_EQ(test::RunCommand("img2dcm -i BMP '" + SjisPathToFileName(bmp) + "' '" +
                               SjisPathToFileName(dcm) + "' >/dev/null 2>&1"),
              0);
    const std::string dicomBytes = test::ReadFile(FsPath(dcm));
    Open(dcm);
    ASSERT_TRUE(window->PageLoaded());
    window->PenBtn->click();
    Drag({5, 5}, {}, {40, 30});
    window->SaveMenu->trigger();
    EXPECT_EQ(Status(), "DicomFileへの変更書き込みはできません。");
    EXPECT_EQ(test::ReadFile(FsPath(dcm)), dicomBytes);
    EXPECT_FALSE(window->Result().Rewritten);
}

TEST_F(Editor, AnUnreadablePageOffersNothingToSaveAndKeepsTheEarlierImageAway) {
    Open(MakePage("good.png"));
    window->PenBtn->click();
    Drag({10, 10}, {}, {100, 100});

    const std::string broken = dir.Sjis("broken.png");
    test::WriteFile(FsPath(broken), "\x89PNG\r\n\x1a\n not really");
    const std::string before = test::ReadFile(FsPath(broken));
    Open(broken);
    EXPECT_FALSE(window->PageLoaded());
    EXPECT_EQ(Status(), "ファイルを開くことができません。");
    EXPECT_FALSE(window->ImageSaveBtn->isEnabled());
    EXPECT_FALSE(window->SaveMenu->isEnabled());
    EXPECT_FALSE(window->PenBtn->isEnabled());
    window->SaveClick();
    QTest::mousePress(window->Image1, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(window->Image1, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(test::ReadFile(FsPath(broken)), before);
    EXPECT_FALSE(window->Result().Rewritten);
}

TEST_F(Editor, JpegPageStaysJpegAndClosingWithoutSavingLeavesItUntouched) {
    const std::string path = MakePage("page.jpg");
    const std::string before = test::ReadFile(FsPath(path));
    Open(path);
    window->PenBtn->click();
    Drag({10, 10}, {{50, 50}}, {100, 100});
    window->close();
    EXPECT_FALSE(window->Result().Rewritten);
    EXPECT_EQ(test::ReadFile(FsPath(path)), before);

    Open(path);
    EXPECT_FALSE(window->UndoBtn->isEnabled());
    window->PenBtn->click();
    Drag({10, 10}, {{50, 50}}, {100, 100});
    window->ImageSaveBtn->click();
    EXPECT_TRUE(window->Result().Rewritten);
    EXPECT_EQ(DetectImageFormat(test::ReadFile(FsPath(path))), ImageFormat::Jpeg);
    EXPECT_TRUE(Dark(Saved(path), 50, 50));

    // Each opening starts afresh.
    Open(path);
    EXPECT_FALSE(window->Result().Rewritten);
}

TEST_F(Editor, ZoomStepsStopAtBothEnds) {
    Open(MakePage("zoom.png"), 5);
    EXPECT_EQ(Utf8(window->StatusZoom->text()), "1.00");
    for (int i = 0; i < 10; ++i)
        window->ZoomInBtn->click();
    EXPECT_EQ(window->ZoomStep(), 10);
    EXPECT_EQ(Utf8(window->StatusZoom->text()), "5.64");
    EXPECT_EQ(window->Image1->size(), QSize(1128, 846));
    for (int i = 0; i < 12; ++i)
        window->ZoomOutBtn->click();
    EXPECT_EQ(Utf8(window->StatusZoom->text()), "0.17");
    EXPECT_EQ(window->Image1->size(), QSize(34, 25));
    EXPECT_EQ(window->Result().ZoomStep, 0);

    window->Open(dir.Sjis("zoom.png"), "", {}, 42);
    EXPECT_EQ(window->ZoomStep(), 10);
    window->Open(dir.Sjis("zoom.png"), "", {}, -3);
    EXPECT_EQ(window->ZoomStep(), 0);
}

TEST_F(Editor, BookmarkComesBackCutTo16BytesAtACharacterBoundary) {
    const std::string path = MakePage("mark.png");
    struct Case {
        std::string typed, expected;
    };
    const std::vector<Case> cases = {
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP"},
        {"検査結果報告書添付資料", "検査結果報告書添"}, // 22 bytes: 8 whole characters
        {"abc検査結果報告書", "abc検査結果報告"},       // 17 bytes: the split one goes
        {"紹介状", "紹介状"},
    };
    for (const Case& c : cases) {
        Open(path);
        window->ShioriBox->setEditText(QString::fromStdString(c.typed));
        window->close();
        EXPECT_EQ(window->Result().Bookmark, SjisOf(c.expected)) << c.typed;
    }
    // The caption given is what the box shows.
    window->Open(path, SjisOf("同意書"), {}, 5);
    EXPECT_EQ(Utf8(window->ShioriBox->currentText()), "同意書");
}

TEST_F(Editor, NoteLinesComeBackAndAnEmptyAreaGivesNone) {
    const std::string path = MakePage("notes.png");
    window->Open(path, "", {SjisOf("初診"), SjisOf("再来")}, 5);
    EXPECT_EQ(Utf8(window->NoteMemo->toPlainText()), "初診\n再来");
    EXPECT_EQ(window->Result().Notes, (std::vector<std::string>{SjisOf("初診"), SjisOf("再来")}));

    window->NoteMemo->setPlainText(Utf8Text("一行\n"));
    EXPECT_EQ(window->Result().Notes, std::vector<std::string>{SjisOf("一行")});

    window->NoteClearMenu->trigger();
    EXPECT_TRUE(window->Result().Notes.empty());
}

TEST_F(Editor, RegisteredCommentsAndBookmarksJoinTheirLists) {
    window->CommentList = {SjisOf("要再検")};
    Open(MakePage("lists.png"));
    EXPECT_EQ(window->StrBox->count(), 1);
    window->StrBox->setEditText(Utf8Text("済"));
    window->CommentAddMenu->trigger();
    window->ShioriBox->setEditText(Utf8Text("検査"));
    window->ShioriAddMenu->trigger();
    window->ShioriAddMenu->trigger(); // duplicates are allowed
    EXPECT_EQ(window->CommentList, (std::vector<std::string>{SjisOf("要再検"), SjisOf("済")}));
    EXPECT_EQ(window->ShioriList, (std::vector<std::string>{SjisOf("検査"), SjisOf("検査")}));
    EXPECT_EQ(window->StrBox->count(), 2);
}

} // namespace
} // namespace pendlar
