// The page intake on the real main window, driven as the clerk drives it: the buttons and
// menu entries, the file dialogs and the warning window, the QR frame dragged with the mouse
// on the QR-frame tab, the patient number arriving in IdEdit, captions typed in place and
// the settings dialog changing the thumbnail size.
#include "MainWindowStation.h"

#include "app/MainUnit.h"
#include "intake/ui/DeleteWarningUnit.h"
#include "intake/ui/ReadSettingUnit.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/ui/RadioGroup.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

// Fontconfig keeps its caches until the process ends without freeing them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace pendlar {
namespace {

using test::AnswerFileDialog;
using test::MainWindowStation;
using test::OnNextModal;
using Names = std::vector<std::string>;

const QColor kRed(200, 60, 60), kGreen(60, 170, 60), kBlue(60, 80, 200), kYellow(220, 200, 40),
    kGrey(128, 128, 128);

std::vector<std::string> MessageTexts(const ScriptedUserInterface& ui) {
    std::vector<std::string> out;
    for (const auto& m : ui.Messages)
        out.push_back(SjisToUtf8(m.Text));
    return out;
}

TEST(MainWindowIntake, ScannerFolderNewAndAddFromTheButtons) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    st.Page("p1.jpg", kRed);
    st.Page("p2.jpg", kGreen);
    st.Page("P10.jpg", kBlue); // upper case: the name order ignores case
    EXPECT_TRUE(m.PageControl->isHidden());

    m.SaveButton->setEnabled(true);
    m.ScannerOpenNew->click();
    EXPECT_FALSE(m.PageControl->isHidden()) << "the intake puts the tabs in place";
    EXPECT_EQ(m.PageControl->currentWidget(), m.Pagekakunin);
    EXPECT_EQ(st.Order(), (Names{"p1.jpg", "P10.jpg", "p2.jpg"}));
    EXPECT_EQ(st.Status0(), "3");
    EXPECT_EQ(st.Status1(), "患者番号を入力してください。");
    EXPECT_FALSE(m.SaveButton->isEnabled());
    EXPECT_TRUE(m.ScannerOpenNew->isEnabled()) << "the busy lock is released";
    EXPECT_EQ(st.View().iconSize(), QSize(64, 64));

    m.Registory->Sequence = 1;
    m.ScannerOpenNew->click();
    EXPECT_EQ(st.Order(), (Names{"p2.jpg", "P10.jpg", "p1.jpg"}));

    // Adding takes only the new file, at the end, whatever its place in the name order.
    m.Registory->Sequence = 0;
    m.ScannerOpenAdd->click();
    EXPECT_EQ(st.Order(), (Names{"p2.jpg", "P10.jpg", "p1.jpg"}));
    st.Page("p0.jpg", kYellow);
    m.ScannerOpenAdd->click();
    EXPECT_EQ(st.Order(), (Names{"p2.jpg", "P10.jpg", "p1.jpg", "p0.jpg"}));
    EXPECT_EQ(st.Status0(), "4");
    EXPECT_TRUE(st.UI.Messages.empty());
    EXPECT_TRUE(st.ErrorLog().empty());

    // A corrupt page ends the walk there; the pages before it stay.
    test::WriteFile(st.Scan / "p15.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + "not a picture");
    m.ScannerOpenNew->click();
    EXPECT_EQ(st.Order(), (Names{"p0.jpg", "p1.jpg", "P10.jpg"}));
    ASSERT_EQ(MessageTexts(st.UI), Names{"ファイル形式エラー"});
    EXPECT_EQ(st.UI.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(st.UI.Messages[0].Buttons, MsgButtons::Abort);
    EXPECT_EQ(st.ErrorLog(), Names{"** Scanner Read Error"});
    EXPECT_TRUE(m.ScannerOpenNew->isEnabled());
    EXPECT_TRUE(m.IdEdit->isEnabled());

    // A folder that is gone: its message stays, the page list is left as it was.
    m.Registory->ScannerDir = st.Dir.Sjis("gone");
    m.ScannerOpenNew->click();
    EXPECT_EQ(st.Status1(), "指定のフォルダーがありません。");
    EXPECT_EQ(st.View().count(), 3);
}

TEST(MainWindowIntake, ImageFilesComeFromTheDialogInTheScannerFolderOnly) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    st.Page("a.png", kRed);
    st.Page("b.png", kGreen);
    st.Page("c.png", kBlue);

    std::string shown;
    AnswerFileDialog({"a.png", "b.png"}, &shown);
    m.ImageRead->trigger();
    EXPECT_EQ(shown, st.Scan.string());
    // The dialog's files are walked from the last to the first.
    EXPECT_EQ(st.Order(), (Names{"b.png", "a.png"}));
    EXPECT_EQ(st.Status0(), "2");

    AnswerFileDialog({"a.png", "c.png"});
    m.ImageAdd->trigger();
    EXPECT_EQ(st.Order(), (Names{"b.png", "a.png", "c.png"}));

    // Refusals leave the page list alone.
    AnswerFileDialog({});
    m.ImageRead->trigger();
    EXPECT_EQ(st.Status1(), "読み込みファイルの指定はキャンセルされました。");
    std::filesystem::create_directories(st.Dir.Path() / "elsewhere");
    test::SaveImage(test::SolidPage(kGrey), st.Dir.Path() / "elsewhere" / "x.png");
    AnswerFileDialog({(st.Dir.Path() / "elsewhere" / "x.png").string()});
    m.ImageRead->trigger();
    EXPECT_EQ(st.Status1(), "読み込みフォルダーの指定はキャンセルされました。");
    EXPECT_EQ(st.Order(), (Names{"b.png", "a.png", "c.png"}));
    EXPECT_TRUE(st.UI.Messages.empty());
}

TEST(MainWindowIntake, ImportCopiesIntoTheScannerFolderForTheNextIntake) {
    const auto outside = std::filesystem::path("outside");
    MainWindowStation st;
    TMainForm& m = st.Main();
    std::filesystem::create_directories(st.Dir.Path() / outside);
    test::SaveImage(test::SolidPage(kRed), st.Dir.Path() / outside / "k1.png");
    test::SaveImage(test::SolidPage(kBlue), st.Dir.Path() / outside / "k2.png");
    m.Registory->FileOpenDir = st.Dir.Sjis("outside");

    std::string shown;
    AnswerFileDialog({"k1.png", "k2.png"}, &shown);
    m.ReadFiles->trigger();
    EXPECT_EQ(shown, (st.Dir.Path() / outside).string());
    EXPECT_EQ(st.Status1(), "インポート完了");
    EXPECT_EQ(st.View().count(), 0) << "the page list is not touched";
    EXPECT_EQ(test::ReadFile(st.Scan / "k1.png"),
              test::ReadFile(st.Dir.Path() / outside / "k1.png"));
    EXPECT_TRUE(std::filesystem::exists(st.Scan / "k2.png"));
    EXPECT_EQ(SjisToUtf8(m.Registory->FileOpenDir).rfind((st.Dir.Path() / outside).string(), 0),
              0u);

    AnswerFileDialog({});
    m.ReadFiles->trigger();
    EXPECT_EQ(st.Status1(), "読み込みファイルの指定はキャンセルされました。");

    m.ScannerOpenNew->click();
    EXPECT_EQ(st.View().count(), 2);
}

TEST(MainWindowIntake, FolderClearAsksInTheWarningWindowFirst) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    st.Page("a.jpg", kRed);
    st.Page("b.jpg", kGreen);
    test::WriteFile(st.Scan / "notes.txt", "not a page, still a plain file");
    m.ScannerOpenNew->click();
    ASSERT_EQ(st.View().count(), 2);
    m.IdEdit->setText("4711");

    std::string folderShown;
    QStringList labels;
    OnNextModal([&](QWidget* w) {
        auto* form = dynamic_cast<TDeleteWarningForm*>(w);
        ASSERT_NE(form, nullptr);
        folderShown = form->FileDirLabel->text().toStdString();
        EXPECT_TRUE(form->FileDirLabel->isReadOnly());
        for (QLabel* l : form->findChildren<QLabel*>())
            labels << l->text();
        form->CancelBtn->click();
    });
    m.ScanFolderClear->trigger();
    EXPECT_EQ(folderShown, st.Scan.string());
    EXPECT_TRUE(
        labels.contains(QString::fromUtf8("以下のフォルダーにあるファイルは、全て削除されます。")));
    EXPECT_TRUE(labels.contains(QString::fromUtf8("削除してよいですか？")));
    EXPECT_EQ(st.View().count(), 2);
    EXPECT_TRUE(std::filesystem::exists(st.Scan / "a.jpg"));

    OnNextModal([](QWidget* w) {
        auto* form = dynamic_cast<TDeleteWarningForm*>(w);
        ASSERT_NE(form, nullptr);
        form->OkBtn->click();
    });
    m.ScanFolderClear->trigger();
    EXPECT_EQ(st.View().count(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(st.Scan));
    EXPECT_EQ(m.IdEdit->text().toStdString(), "4711") << "the patient number stays";
}

// A cover sheet: white paper with a QR symbol made by qrencode at (40, 40), 5 pixels a module.
bool CoverSheet(const std::filesystem::path& png, const std::string& text) {
    const std::string symbol = png.string() + ".qr.png";
    if (test::RunCommand("qrencode -l L -s 5 -m 0 -o '" + symbol + "' '" + text + "'") != 0)
        return false;
    QImage page(400, 500, QImage::Format_RGB32);
    page.fill(QColor(250, 250, 250));
    QPainter p(&page);
    p.drawImage(40, 40, QImage(QString::fromStdString(symbol)));
    p.end();
    std::filesystem::remove(symbol);
    return test::SaveImage(page, png);
}

TEST(MainWindowIntake, QRFrameDrawnWithTheMouseGivesThePatientNumber) {
    if (!test::HaveProgram("qrencode"))
        GTEST_SKIP() << "qrencode is not installed";
    MainWindowStation st([](TRegistory& s) { s.IdNoGet = 0; });
    TMainForm& m = st.Main();
    ASSERT_TRUE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.QRwaku)));
    ASSERT_TRUE(CoverSheet(st.Scan / "s1.png", "00123"));
    st.Page("s2.png", kGreen);

    // Before any page was shown there is nothing to draw on.
    st.DragFrame({10, 10}, {50, 50});
    EXPECT_EQ(st.Status1(), "*** 画像を開いて下さい。");

    m.ScannerOpenNew->click();
    st.ShowTab(m.QRwaku);
    ASSERT_EQ(st.Image3().Page().size(), QSize(400, 500));

    // Up and to the left is refused; the patient check then says there is no frame.
    st.DragFrame({300, 300}, {20, 20});
    EXPECT_EQ(st.Status1(), "*** 左上から右下へドラッグして下さい。");
    st.ShowTab(m.Kanjakakunin);
    EXPECT_EQ(st.Status1(), "QR枠が作成されていません。");
    EXPECT_EQ(m.IdEdit->text(), "");

    st.ShowTab(m.QRwaku);
    st.DragFrame({20, 20}, {250, 250});
    const QRgb paper = QColor(250, 250, 250).rgb();
    EXPECT_EQ(st.Image3().Page().pixel(100, 250) & 0xFFFFFF, ~paper & 0xFFFFFF)
        << "the frame is XORed onto the page";
    st.ShowTab(m.Kanjakakunin);
    EXPECT_EQ(m.IdEdit->text(), "00123");
    // Both pages are shown whole, each stretched over its half of the tab.
    const int half = m.Kanjakakunin->width() / 2;
    EXPECT_EQ(m.Image2->geometry(), QRect(half + 1, 1, half - 2, m.Kanjakakunin->height() - 2));
    ASSERT_TRUE(m.Image2->isVisible());
    const QImage second = m.Image2->grab().toImage();
    for (QPoint p : {QPoint(4, 4), QPoint(second.width() - 5, second.height() - 5),
                     QPoint(second.width() / 2, second.height() / 2)}) {
        const QColor c = second.pixelColor(p);
        EXPECT_LT(std::abs(c.green() - kGreen.green()) + std::abs(c.red() - kGreen.red()), 40)
            << "page paper at " << p.x() << "," << p.y();
    }

    // Letters are no patient number: IdEdit keeps what it had.
    ASSERT_TRUE(CoverSheet(st.Scan / "s1.png", "ABC"));
    m.ScannerOpenNew->click();
    st.ShowTab(m.Kanjakakunin);
    EXPECT_EQ(st.Status1(), "QRCode数値エラー");
    EXPECT_EQ(m.IdEdit->text(), "00123");

    // The frame survives the next chart; one that reaches the page's edge is refused.
    st.ShowTab(m.QRwaku);
    st.DragFrame({20, 20}, {400, 250});
    st.ShowTab(m.Kanjakakunin);
    EXPECT_EQ(st.Status1(), "QR枠が画像範囲を越えています。");
}

TEST(MainWindowIntake, PatientNumberFromTheFileName) {
    struct Case {
        const char* File;
        const char* IdEdit;
        const char* Status;
    } cases[] = {
        {"A-00123_1.jpg", "00123", ""},
        {"A-X123.jpg", "", "ファイル名にあるIDNoの数値エラー"},
        {"A-123456789.jpg", "12345678", ""},
    };
    MainWindowStation st([](TRegistory& s) {
        s.IdNoGet = 1;
        s.IdNoPosition = 3;
    });
    TMainForm& m = st.Main();
    EXPECT_FALSE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.QRwaku)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        for (const auto& entry : std::filesystem::directory_iterator(st.Scan))
            std::filesystem::remove(entry.path());
        st.Page(c.File, kRed);
        m.IdEdit->clear();
        st.ShowTab(m.Pagekakunin);
        m.ScannerOpenNew->click();
        st.ShowTab(m.Kanjakakunin);
        EXPECT_EQ(m.IdEdit->text().toStdString(), c.IdEdit);
        EXPECT_EQ(st.Status1(), c.Status);
        EXPECT_FALSE(m.Image2->isVisible()) << "one page: the second image is hidden";
    }
}

TEST(MainWindowIntake, CaptionsTypedInPlaceAndTheMouseButtonsOnThePages) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    st.Page("a.jpg", kRed);
    st.Page("b.jpg", kGreen);
    st.Page("c.jpg", kBlue);
    st.Page("d.jpg", kYellow);
    m.ScannerOpenNew->click();
    ASSERT_EQ(st.Order(), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));

    // Typed into the item's own editor and committed with Return.
    auto type = [&](int item, const QString& text) {
        PageCheckView& view = st.View();
        view.setCurrentRow(item);
        view.editItem(view.item(item));
        auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(view.model()->index(item, 0)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    };
    type(0, "ABCDEFGHIJKLMNOPQRST");
    type(1, QString::fromUtf8("一二三四五六七八九十"));
    type(2, QString::fromUtf8("検査a結果一二三四五六")); // the 18th byte would split 五
    EXPECT_EQ(st.Captions(),
              (Names{"ABCDEFGHIJKLMNOPQR", "一二三四五六七八九", "検査a結果一二三四", ""}));

    // Left selects; Alt with the right button deletes the selected page wherever it points.
    st.ClickItem(1, Qt::LeftButton);
    st.ClickItem(3, Qt::RightButton, Qt::AltModifier);
    EXPECT_EQ(st.Order(), (Names{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(st.Captions(), (Names{"ABCDEFGHIJKLMNOPQR", "検査a結果一二三四", ""}));
    // Right with no key or with two keys does nothing.
    st.ClickItem(0, Qt::RightButton);
    st.ClickItem(0, Qt::RightButton, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(st.View().count(), 3);

    // The last page selected and deleted leaves the selection past the end; a second delete
    // does nothing. The page file stays in the folder.
    st.ClickItem(2, Qt::LeftButton);
    st.ClickItem(0, Qt::RightButton, Qt::AltModifier);
    EXPECT_EQ(st.Order(), (Names{"a.jpg", "c.jpg"}));
    st.ClickItem(0, Qt::RightButton, Qt::AltModifier);
    EXPECT_EQ(st.View().count(), 2);
    EXPECT_TRUE(std::filesystem::exists(st.Scan / "d.jpg"));

    // Rebuilding the view from the menu keeps order and captions.
    m.PageRedispMenu->trigger();
    EXPECT_EQ(st.Order(), (Names{"a.jpg", "c.jpg"}));
    EXPECT_EQ(st.Captions(), (Names{"ABCDEFGHIJKLMNOPQR", "検査a結果一二三四"}));
    EXPECT_EQ(st.Status1(), "");
}

// The edit menu's "ページの削除" is offered while a page is selected on the page-check tab.
// Disabled: the main window's edit menu still looks at a selection of its own that no click
// ever sets, so the entry never becomes enabled (reported to the main window's owner).
TEST(MainWindowIntake, EditMenuDeletesTheClickedPage) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    st.Page("a.jpg", kRed);
    st.Page("b.jpg", kGreen);
    m.ScannerOpenNew->click();
    m.EditMenuClick();
    EXPECT_TRUE(m.PageDeleteMenu->isEnabled()) << "an intake selects the first page";
    st.ClickItem(1, Qt::LeftButton);
    m.EditMenuClick();
    ASSERT_TRUE(m.PageDeleteMenu->isEnabled());
    m.PageDeleteMenu->trigger();
    EXPECT_EQ(st.Order(), Names{"a.jpg"});
}

TEST(MainWindowIntake, SettingsDialogRebuildsThumbnailsOnlyWhenTheirSizeChanges) {
    MainWindowStation st;
    TMainForm& m = st.Main();
    st.Page("a.jpg", kRed);
    st.Page("b.jpg", kGreen);
    m.ScannerOpenNew->click();
    ASSERT_EQ(st.View().count(), 2);
    // A tall page leaves white margins left and right of its thumbnail.
    EXPECT_EQ(st.ItemImage(0).pixelColor(1, 32), QColor(Qt::white));

    auto answer = [&](const std::function<void(TReadSet&)>& change) {
        OnNextModal([change](QWidget* w) {
            auto* dialog = dynamic_cast<TReadSet*>(w);
            ASSERT_NE(dialog, nullptr);
            change(*dialog);
            dialog->findChild<QPushButton*>("OKBtn")->click();
        });
        m.ReadImage->trigger();
    };

    answer([](TReadSet& d) { d.ImSizeRadio->SetItemIndex(4); });
    EXPECT_EQ(m.Registory->ImSize, 4);
    EXPECT_EQ(st.View().iconSize(), QSize(192, 192));
    EXPECT_EQ(st.ItemImage(1).size(), QSize(192, 192));
    EXPECT_EQ(st.Order(), (Names{"a.jpg", "b.jpg"}));

    answer([](TReadSet& d) { d.ThumbCheck->setChecked(true); });
    EXPECT_TRUE(m.Registory->ThumbStrech);
    const QColor corner = st.ItemImage(0).pixelColor(1, 96);
    EXPECT_LT(std::abs(corner.red() - kRed.red()) + std::abs(corner.green() - kRed.green()), 30)
        << "stretched over the whole square";

    // Another scanner folder only: the page list and its thumbnails stay.
    std::filesystem::create_directories(st.Dir.Path() / "other");
    const QImage before = st.ItemImage(0);
    answer([&](TReadSet& d) {
        d.ShellTreeView1->setCurrentIndex(
            d.FolderModel->index(QString::fromStdString((st.Dir.Path() / "other").string())));
    });
    EXPECT_EQ(SjisToUtf8(m.Registory->ScannerDir), (st.Dir.Path() / "other").string());
    EXPECT_EQ(st.View().count(), 2);
    EXPECT_EQ(st.ItemImage(0), before);

    // The patient number from the file name hides the QR-frame tab.
    answer([](TReadSet& d) { d.IdGetRadio->SetItemIndex(1); });
    EXPECT_EQ(m.Registory->IdNoGet, 1);
    EXPECT_FALSE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.QRwaku)));
}

} // namespace
} // namespace pendlar
