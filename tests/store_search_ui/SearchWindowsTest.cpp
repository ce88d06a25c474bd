// The search window, the search settings window and the folder warning, driven as the
// clerk drives them (off screen, the message boxes scripted).
#include "../store_search/SearchTestSupport.h"

#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/IjiItemList.h"
#include "store/ui/DBSearchUnit.h"
#include "store/ui/FileSetUnit.h"
#include "store/ui/NotMakeFolderUnit.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include "TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
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
char arg0[] = "store_search_ui_tests";
char* argv[] = {arg0, nullptr};

std::string U8(const QString& s) {
    return s.toStdString();
}

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            new QApplication(argc, argv);
        }
    }
};

class SearchWindow : public WindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "db");
        db.CaruteDatabase.SetFileName(test::MakeSampleDatabase(dir.Sjis("db")));
        settings.KeyWordUse = true;
        settings.UseKeyLabel = {true, true, false, false, true, false, false, true};
        settings.KeyLabel = {SjisOf("病名"), SjisOf("メモ"), "", "", SjisOf("数値"), "", "",
                             SjisOf("八番")};
        test::WriteFile(dir.Path() / "words" / "Key1.txt", SjisOf("胃癌\r\n肺炎\r\n"));
        form = std::make_unique<TDBSearchForm>(nullptr, settings, db, ui, dir.Sjis("words"));
        form->show();
    }
    std::string Status(int panel) {
        return U8((panel == 0 ? form->StatusPanel0 : form->StatusPanel1)->text());
    }
    std::string Cell(int row, int column) { return U8(form->DBGrid1->item(row, column)->text()); }
    void SearchPatient(const char* text) {
        form->IdNoEdit->setText(Utf8Text(text));
        QTest::mouseClick(form->IdNoSrButton, Qt::LeftButton);
    }

    test::TempDir dir;
    ChartDatabase db;
    TRegistory settings;
    ScriptedUserInterface ui;
    std::unique_ptr<TDBSearchForm> form;
};

TEST_F(SearchWindow, OpeningShowsTheUsedKeysAndTheirTitles) {
    EXPECT_TRUE(form->KeyPanel->isVisible());
    QTableWidget& grid = *form->DBGrid1;
    std::vector<std::string> shownTitles;
    for (int c = 0; c < grid.columnCount(); ++c)
        if (!grid.isColumnHidden(c))
            shownTitles.push_back(U8(grid.horizontalHeaderItem(c)->text()));
    EXPECT_EQ(shownTitles, (std::vector<std::string>{"作成日", "患者番号", "連番", "病名", "メモ",
                                                     "数値", "八番"}));
    EXPECT_GE(grid.columnWidth(0), 110);
    EXPECT_EQ(grid.columnWidth(3), 100);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(form->ComboBox[i]->isVisible(), settings.UseKeyLabel[i]) << i;
        EXPECT_EQ(form->KeyLabel[i]->isVisible(), settings.UseKeyLabel[i]) << i;
    }
    EXPECT_EQ(U8(form->KeyLabel[4]->text()), "数値");
    ASSERT_EQ(form->ComboBox[0]->count(), 2) << "the choices come from Key1.txt";
    EXPECT_EQ(U8(form->ComboBox[0]->itemText(1)), "肺炎");
    EXPECT_EQ(form->ComboBox[1]->count(), 0) << "a missing Key2.txt gives an empty list";

    // Without keywords only the number search and the first three columns remain.
    form->hide();
    settings.KeyWordUse = false;
    form->show();
    EXPECT_FALSE(form->KeyPanel->isVisible());
    for (int c = 3; c < grid.columnCount(); ++c)
        EXPECT_TRUE(grid.isColumnHidden(c)) << c;
    EXPECT_TRUE(form->IdNoSrButton->isVisible());
}

TEST_F(SearchWindow, SearchesFillTheGridAndTheCount) {
    SearchPatient("1234567");
    ASSERT_EQ(form->DBGrid1->rowCount(), 2);
    EXPECT_EQ(Status(0), "2");
    EXPECT_EQ(Status(1), "");
    EXPECT_EQ(Cell(0, 1), "1234567");
    EXPECT_EQ(form->DBGrid1->currentRow(), 0);
    int withSub0 = Cell(0, 2) == "0" ? 0 : 1;
    EXPECT_EQ(Cell(withSub0, 0), "2024/05/03 9:05:07");
    EXPECT_EQ(Cell(withSub0, 3), "胃癌");
    EXPECT_EQ(Cell(withSub0, 4), "O'Brien");
    EXPECT_EQ(Cell(withSub0, 10), "八");

    // A keyword with a double quote simply searches for it.
    form->ComboBox[1]->setEditText(Utf8Text("\"hi"));
    QTest::mouseClick(form->KeyButton, Qt::LeftButton);
    EXPECT_TRUE(ui.Messages.empty());
    ASSERT_EQ(form->DBGrid1->rowCount(), 1);
    EXPECT_EQ(Cell(0, 4), "say \"hi\"");
    EXPECT_EQ(Status(0), "1");

    // Two boxes: both must match; clearing empties every box.
    form->ComboBox[1]->setEditText(QString());
    form->ComboBox[0]->setEditText(Utf8Text("胃"));
    form->ComboBox[4]->setEditText(Utf8Text("100"));
    QTest::mouseClick(form->KeyButton, Qt::LeftButton);
    ASSERT_EQ(form->DBGrid1->rowCount(), 1);
    EXPECT_EQ(Cell(0, 1), "99999999");
    QTest::mouseClick(form->ClearButton, Qt::LeftButton);
    for (QComboBox* box : form->ComboBox)
        EXPECT_TRUE(box->currentText().isEmpty());

    // A box the settings hide takes no part, whatever it still holds.
    form->ComboBox[2]->setEditText(Utf8Text("nothing-has-this"));
    form->ComboBox[0]->setEditText(Utf8Text("胃"));
    QTest::mouseClick(form->KeyButton, Qt::LeftButton);
    EXPECT_EQ(form->DBGrid1->rowCount(), 2);

    // Closing closes the search: the grid is empty and "表示" asks for a search.
    form->hide();
    form->show();
    EXPECT_EQ(form->DBGrid1->rowCount(), 0);
    EXPECT_EQ(Status(0), "");
    QTest::mouseClick(form->DisplayButton, Qt::LeftButton);
    EXPECT_EQ(Status(1), "検索してください。");
}

TEST_F(SearchWindow, EveryMessageOfTheSearches) {
    struct Case {
        const char* Why;
        std::function<void()> Do;
        const char* Panel1;
        const char* Panel0; // nullptr: not checked
    } cases[] = {
        {"no number", [&] { SearchPatient(""); }, "患者番号がありません。", nullptr},
        {"not a number", [&] { SearchPatient("12a"); }, "患者番号に誤りがあります。", nullptr},
        {"too large", [&] { SearchPatient("100000000"); }, "患者番号の範囲を越えています。",
         nullptr},
        {"negative", [&] { SearchPatient("-1"); }, "患者番号の範囲を越えています。", nullptr},
        {"no rows by number", [&] { SearchPatient("5"); }, "", "0"},
        {"no key typed", [&] { QTest::mouseClick(form->KeyButton, Qt::LeftButton); },
         "検索のキーを設定してください。", nullptr},
        {"no rows by keyword",
         [&] {
             form->ComboBox[0]->setEditText(Utf8Text("ア"));
             QTest::mouseClick(form->KeyButton, Qt::LeftButton);
         },
         "該当なし。", "0"},
        {"display without rows", [&] { QTest::mouseClick(form->DisplayButton, Qt::LeftButton); },
         "該当する検索データがありません。", nullptr},
    };
    for (const Case& c : cases) {
        c.Do();
        EXPECT_EQ(Status(1), c.Panel1) << c.Why;
        if (c.Panel0) {
            EXPECT_EQ(Status(0), c.Panel0) << c.Why;
        }
    }
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(SearchWindow, DisplayOpensTheChosenChartWithTheShell) {
    SearchPatient("7");
    QTest::mouseClick(form->DisplayButton, Qt::LeftButton);
    ASSERT_EQ(ui.Messages.size(), 1u) << "the stored file is not there";
    EXPECT_EQ(ui.Messages[0].Text, SjisOf("ファイルが見つかりません。"));
    EXPECT_EQ(ui.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(ui.Messages[0].Buttons, MsgButtons::Abort);
    EXPECT_TRUE(ui.ShellOpened.empty());

    // Two charts on disk; the second row is chosen in the grid.
    Database& conn = db.CaruteDatabase;
    const std::string a = dir.Sjis("a.pdf"), b = dir.Sjis("b.pdf");
    test::WriteFile(dir.Path() / "a.pdf", "%PDF-1.2\n");
    test::WriteFile(dir.Path() / "b.pdf", "%PDF-1.2\n");
    ASSERT_TRUE(test::InsertChart(conn, {555, 0, "2025/04/01", "", {}}));
    ASSERT_TRUE(test::InsertChart(conn, {555, 1, "2025/04/02", "", {}}));
    Query fix(conn);
    fix.SQL = "UPDATE PDF_PATH SET FILEPATH = ? WHERE CARUTENO = 555 AND CARUTESUBNO = ?;";
    fix.Params = {a, std::int64_t{0}};
    ASSERT_TRUE(fix.ExecSQL());
    fix.Params = {b, std::int64_t{1}};
    ASSERT_TRUE(fix.ExecSQL());

    SearchPatient("555");
    ASSERT_EQ(form->DBGrid1->rowCount(), 2);
    const int rowOfB = Cell(0, 2) == "1" ? 0 : 1;
    form->DBGrid1->setCurrentCell(rowOfB, 0);
    ui.ShellResult = 42;
    QTest::mouseClick(form->DisplayButton, Qt::LeftButton);
    ASSERT_EQ(ui.ShellOpened, std::vector<std::string>{b});
    EXPECT_EQ(Status(1), "") << "success leaves no text";

    ui.ShellResult = 31; // no program for PDF files
    QTest::mouseClick(form->DisplayButton, Qt::LeftButton);
    EXPECT_EQ(ui.ShellOpened.size(), 2u);
    EXPECT_FALSE(Status(1).empty());
    EXPECT_NE(Status(1), "Readerを起動中です。");
}

TEST_F(SearchWindow, ADatabaseFaultShowsTheSearchErrorBoxes) {
    form->hide();
    db.CaruteDatabase.Disconnect();
    test::WriteFile(dir.Path() / "empty" / "QuilmoCaruteDb.sqb", "");
    db.CaruteDatabase.SetFileName(dir.Sjis("empty/QuilmoCaruteDb.sqb"));
    form->show();
    SearchPatient("7");
    form->ComboBox[0]->setEditText(Utf8Text("胃"));
    QTest::mouseClick(form->KeyButton, Qt::LeftButton);
    ASSERT_EQ(ui.Messages.size(), 2u);
    EXPECT_EQ(ui.Messages[0].Text, SjisOf("DB System エラー(カルテ)"));
    EXPECT_EQ(ui.Messages[1].Text,
              SjisOf("検索でエラーが発生しました。\nデータベースを確認してください。"));
    for (const auto& m : ui.Messages) {
        EXPECT_EQ(m.Icon, MsgIcon::Error);
        EXPECT_EQ(m.Buttons, MsgButtons::Abort);
    }
    EXPECT_EQ(form->DBGrid1->rowCount(), 0);
    QTest::mouseClick(form->DisplayButton, Qt::LeftButton);
    EXPECT_EQ(Status(1), "検索してください。") << "a failed search leaves nothing to open";
}

TEST(PatientSearchText, TheNumberRule) {
    struct Case {
        const char* Text;
        PatientSearchInput Input;
        std::int64_t Number;
    } cases[] = {
        {"", PatientSearchInput::Empty, 0},
        {"0", PatientSearchInput::Number, 0},
        {"99999999", PatientSearchInput::Number, 99999999},
        {" 42", PatientSearchInput::Number, 42},
        {"$10", PatientSearchInput::Number, 16},
        {"100000000", PatientSearchInput::OutOfRange, 0},
        {"-1", PatientSearchInput::OutOfRange, 0},
        {"12a", PatientSearchInput::NotNumber, 0},
        {"42 ", PatientSearchInput::NotNumber, 0},
        {"99999999999", PatientSearchInput::NotNumber, 0},
    };
    for (const Case& c : cases) {
        PatientSearchText r = ParsePatientSearchText(c.Text);
        EXPECT_EQ(r.Input, c.Input) << c.Text;
        if (c.Input == PatientSearchInput::Number) {
            EXPECT_EQ(r.Number, c.Number) << c.Text;
        }
    }
}

class FileSetWindow : public WindowTest {
protected:
    void SetUp() override {
        settings.KeyWordUse = true;
        settings.UseKeyLabel = {true, false, true, false, false, false, false, false};
        settings.KeyLabel = {SjisOf("病名"), SjisOf("残す"), SjisOf("部位"), "", "", "", "", ""};
        settings.IjiItem = {1, 2, 40, 0, 0, 0, 0, 0};
        settings.NoIdNo = true;
        form.LoadFrom(settings);
        form.FormShow();
    }
    TRegistory settings;
    TFileSetForm form;
};

TEST_F(FileSetWindow, ControlsMirrorTheSettingsAndTheEnabledRows) {
    ASSERT_EQ(form.NeedIji[0]->count(), kIjiItemCount);
    EXPECT_EQ(U8(form.NeedIji[0]->itemText(0)), "未指定");
    EXPECT_EQ(U8(form.NeedIji[0]->itemText(40)), "入院傷病名14");
    EXPECT_EQ(form.NeedIji[2]->currentIndex(), 40);
    EXPECT_TRUE(form.NoIdCheck->isChecked());
    EXPECT_FALSE(form.BaseCheck->isChecked());
    EXPECT_TRUE(form.LblEdit[0]->isEnabled());
    EXPECT_FALSE(form.LblEdit[1]->isEnabled()) << "an unticked row keeps its text, disabled";
    EXPECT_EQ(U8(form.LblEdit[1]->text()), "残す");

    form.LblCheck[1]->click();
    EXPECT_TRUE(form.LblEdit[1]->isEnabled());
    EXPECT_TRUE(form.NeedIji[1]->isEnabled());
    form.KeyWordCheck->click();
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(form.LblCheck[i]->isEnabled());
        EXPECT_FALSE(form.LblEdit[i]->isEnabled());
        EXPECT_FALSE(form.NeedIji[i]->isEnabled());
    }

    // Opened with keywords off: every row is unticked, emptied and set to "未指定".
    settings.KeyWordUse = false;
    form.LoadFrom(settings);
    form.FormShow();
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(form.LblCheck[i]->isChecked());
        EXPECT_TRUE(form.LblEdit[i]->text().isEmpty());
        EXPECT_EQ(form.NeedIji[i]->currentIndex(), 0);
    }
}

TEST_F(FileSetWindow, OkChecksTheRows) {
    struct Case {
        const char* Why;
        bool Keywords;
        std::array<bool, 8> Ticked;
        std::array<const char*, 8> Labels;
        const char* Error; // "" = closes with Ok
    } cases[] = {
        {"keywords off", false, {}, {}, ""},
        {"a ticked row with a label", true, {true}, {"病名"}, ""},
        {"no row ticked", true, {}, {"病名"}, "Key使用のチェックがありません。"},
        {"a ticked row without its label",
         true,
         {true, false, true},
         {"病名", "x", ""},
         "キーワードラベルがありません。"},
        {"an empty label of an unticked row is fine", true, {false, true}, {"", "メモ"}, ""},
    };
    for (const Case& c : cases) {
        form.setResult(QDialog::Rejected);
        form.KeyWordCheck->setChecked(c.Keywords);
        for (int i = 0; i < 8; ++i) {
            form.LblCheck[i]->setChecked(c.Ticked[i]);
            form.LblEdit[i]->setText(Utf8Text(c.Labels[i] ? c.Labels[i] : ""));
        }
        form.OkButton->click();
        EXPECT_EQ(U8(form.ErrorMes->text()), c.Error) << c.Why;
        EXPECT_EQ(form.result() == QDialog::Accepted, std::string(c.Error).empty()) << c.Why;
    }
}

TEST_F(FileSetWindow, OkStoresEverySettingAndCancelNone) {
    // Cancel after ticking boxes leaves the settings as they were.
    const TRegistory before = settings;
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(form.LblCheck[7], Qt::LeftButton);
        form.LblEdit[7]->setText(Utf8Text("新しい"));
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    });
    EXPECT_FALSE(form.Execute(settings));
    EXPECT_EQ(settings.UseKeyLabel, before.UseKeyLabel);
    EXPECT_EQ(settings.KeyLabel, before.KeyLabel);

    QTimer::singleShot(0, [&] {
        QTest::mouseClick(form.LblCheck[1], Qt::LeftButton);
        // 14 bytes: stored as the first six whole characters.
        form.LblEdit[1]->setText(Utf8Text("あいうえおかき"));
        form.NeedIji[1]->setCurrentIndex(13);
        QTest::mouseClick(form.BaseCheck, Qt::LeftButton);
        QTest::mouseClick(form.Linuxcheck, Qt::LeftButton);
        QTest::mouseClick(form.OkButton, Qt::LeftButton);
    });
    ASSERT_TRUE(form.Execute(settings));
    EXPECT_TRUE(settings.UseKeyLabel[1]);
    EXPECT_EQ(settings.KeyLabel[1], SjisOf("あいうえおか"));
    EXPECT_EQ(settings.IjiItem[1], 13);
    EXPECT_EQ(settings.IjiItem[2], 40);
    EXPECT_TRUE(settings.NoUseBase);
    EXPECT_TRUE(settings.UseLinuxPath);
    EXPECT_TRUE(settings.NoIdNo);
    EXPECT_TRUE(settings.KeyWordUse);

    // A half-width label is cut at exactly 12 bytes.
    form.LoadFrom(settings);
    form.LblEdit[0]->setText("ABCDEFGHIJKLMN");
    form.StoreTo(settings);
    EXPECT_EQ(settings.KeyLabel[0], "ABCDEFGHIJKL");
}

TEST_F(WindowTest, NotMakeFolderShowsTheFolderAndAnswers) {
    TNotMakeFolder w;
    EXPECT_EQ(U8(w.windowTitle()), "警告");
    EXPECT_EQ(U8(w.Label2->text()), "ファイルまたはフォルダーを作成できません。　");
    EXPECT_EQ(U8(w.Label3->text()),
              "Diskの容量不足または書き込み不可のデバイスの可能性があります。");
    EXPECT_EQ(U8(w.Label4->text()), "又は、使用中の可能性があります。");
    EXPECT_EQ(U8(w.OkButton->text()), "了解");

    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.isModal());
        QTest::mouseClick(w.OkButton, Qt::LeftButton);
    });
    EXPECT_TRUE(w.ShowFolder(SjisOf("/srv/カルテ/01/23/45/67")));
    EXPECT_EQ(U8(w.Label1->text()), "/srv/カルテ/01/23/45/67");

    QTimer::singleShot(0, [&] { w.reject(); }); // closed with Escape or the title bar
    EXPECT_FALSE(w.ShowFolder("/x"));
}

} // namespace
} // namespace pendlar
