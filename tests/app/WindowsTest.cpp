#include "Station.h"

#include "intake/ui/ShowImageUnit.h"
#include "logs/ui/ErrorLogUnit.h"
#include "logs/ui/LogFileUnit.h"
#include "logs/ui/LogWarningUnit.h"
#include "store/ChartDatabase.h"
#include "store/ui/DBUnit.h"
#include "util/CaruteDate.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/ui/TimeSettingUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::OnNextModal;
using test::Station;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

TEST(SaveLogCommands, ClearAsksFirstAndCancelKeepsLinesAndFlag) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    m.Logs.AddSaveLog("7,/charts/a.pdf");
    OnNextModal([](QWidget* w) {
        auto* warning = dynamic_cast<TLogWarningForm*>(w);
        ASSERT_NE(warning, nullptr);
        warning->CancelButton->click();
    });
    m.LogClearMenu->trigger();
    EXPECT_EQ(m.Logs.Save.Lines().size(), 1u);
    EXPECT_TRUE(m.Logs.Save.HasUnsavedLines());

    OnNextModal([](QWidget* w) { dynamic_cast<TLogWarningForm*>(w)->OkButton->click(); });
    m.LogClearMenu->trigger();
    EXPECT_TRUE(m.Logs.Save.Lines().empty());
    EXPECT_FALSE(m.Logs.Save.HasUnsavedLines());

    // The error log is cleared at once, without a question.
    m.Logs.AddErrorLog("*** DataBase Connect Error");
    m.ErrorLogMemu->trigger();
    EXPECT_TRUE(m.Logs.Error.Lines().empty());
    EXPECT_TRUE(st.UI.Messages.empty());
}

TEST(SaveLogWindow, AppendsTwiceToTheChosenFileAndFollowsItsFolder) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    TLog& log = *st.Windows->Log;
    std::filesystem::create_directories(st.Dir.Path() / "out");
    const std::string file = st.Dir.Sjis("out/log.txt");

    m.Logs.AddSaveLog("7,/charts/a.pdf");
    st.UI.FileAnswers = {std::nullopt};
    log.FileAddClick(); // cancelled: nothing changes
    EXPECT_TRUE(m.Logs.Save.HasUnsavedLines());
    EXPECT_EQ(m.Registory->LogOutFolder, HomeFolder());

    st.UI.FileAnswers = {file};
    log.FileAddClick();
    EXPECT_EQ(st.UI.FileDialogs.back().InitialDir, HomeFolder());
    EXPECT_EQ(SjisToUtf8(st.UI.FileDialogs.back().Filter), "テキスト|*.txt");
    EXPECT_EQ(st.UI.FileDialogs.back().DefaultExt, ".txt");
    EXPECT_FALSE(m.Logs.Save.HasUnsavedLines());
    EXPECT_EQ(m.Registory->LogOutFolder, st.Dir.Sjis("out") + "/");
    EXPECT_EQ(Utf8(log.LogMemo->toPlainText()), "");

    m.Logs.AddSaveLog(SjisOf("/charts/b.pdf を消去しました。"));
    st.UI.FileAnswers = {file};
    log.FileAddClick();
    EXPECT_EQ(test::ReadFile(st.Dir.Path() / "out" / "log.txt"),
              "7,/charts/a.pdf\r\n" + SjisOf("/charts/b.pdf を消去しました。") + "\r\n");

    // A file that cannot be written keeps the lines and says so in the window.
    m.Logs.AddSaveLog("7,/charts/c.pdf");
    st.UI.FileAnswers = {st.Dir.Sjis("no/such/folder/log.txt")};
    log.FileAddClick();
    EXPECT_TRUE(m.Logs.Save.HasUnsavedLines());
    EXPECT_EQ(Utf8(log.StatusBar1->currentMessage()), "*** ファイル追加エラーが発生しました。");
    EXPECT_EQ(Utf8(log.LogMemo->toPlainText()), "7,/charts/c.pdf");
}

TEST(ErrorLogWindow, ShowsTheLinesAndSavesThemWithEdits) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    m.Logs.AddErrorLog("*** DataBase Connect Error");
    m.Logs.AddErrorLog(SjisOf("*** DataBase 続柄 Table Error"));
    TErrorLogForm& form = *st.Windows->ErrorLogForm;
    const std::string file = st.Dir.Sjis("errors.txt");
    OnNextModal([&](QWidget* w) {
        EXPECT_EQ(w, &form);
        EXPECT_EQ(Utf8(form.ErrorLogMemo->toPlainText()),
                  "*** DataBase Connect Error\n*** DataBase 続柄 Table Error");
        st.UI.FileAnswers = {file};
        form.NSave->trigger();
        form.ErrorLogMemo->appendPlainText(QString::fromUtf8("調査済み"));
        form.NClose->trigger();
    });
    m.ErrorLogDisp->trigger();
    EXPECT_EQ(test::ReadFile(st.Dir.Path() / "errors.txt"),
              "*** DataBase Connect Error\r\n" + SjisOf("*** DataBase 続柄 Table Error") + "\r\n");
    EXPECT_EQ(SjisToUtf8(st.UI.FileDialogs.back().Filter), "テキスト|*.txt|全て|*.*");
    // The edit made in the window is part of the log now; saving never cleared it.
    ASSERT_EQ(m.Logs.Error.Lines().size(), 3u);
    EXPECT_EQ(m.Logs.Error.Lines()[2], SjisOf("調査済み"));
}

TEST(CalendarDialog, PresetsFromTheSettingsAndTakesWhatIsSelectedOnClose) {
    Station st;
    st.MakeDatabase();
    st.StoreSettings([](TRegistory& s) {
        s.Koyomi = true;
        s.SKugiri = 2;
        s.WKugiri = 0;
    });
    TMainForm& m = st.Start();
    EXPECT_TRUE(m.CaruteDate->Western);
    EXPECT_EQ(m.CaruteDate->Style, 2);
    TTimeSet& dialog = *st.Windows->TimeSet;
    OnNextModal([&](QWidget*) {
        EXPECT_EQ(dialog.KoyomiSet->ItemIndex(), 0);
        EXPECT_EQ(dialog.SeirekiGroup->ItemIndex(), 2);
        EXPECT_TRUE(dialog.SeirekiGroup->isEnabled());
        EXPECT_FALSE(dialog.warekiGroup->isEnabled());
        dialog.KoyomiSet->findChildren<QRadioButton*>()[1]->click(); // 和暦
        EXPECT_FALSE(dialog.SeirekiGroup->isEnabled());
        EXPECT_TRUE(dialog.warekiGroup->isEnabled());
        dialog.warekiGroup->findChildren<QRadioButton*>()[1]->click(); // 全表示
        dialog.close();
    });
    m.DateSetMenu->trigger();
    EXPECT_FALSE(m.Registory->Koyomi);
    EXPECT_EQ(m.Registory->SKugiri, 2);
    EXPECT_EQ(m.Registory->WKugiri, 1);
    EXPECT_FALSE(m.CaruteDate->Western);
    EXPECT_EQ(m.CaruteDate->Style, 1);
    m.CaruteDate->SetDate(EncodeDate(2010, 1, 15));
    EXPECT_EQ(SjisToUtf8(m.CaruteDate->FormatDate()), "平成22年01月15日");
}

TEST(DatabaseDialog, CreatesANewDatabaseInTheFolderOfThePath) {
    Station st;
    st.Create();
    TDBForm& form = *st.Windows->DBForm;
    std::filesystem::create_directories(st.Dir.Path() / "新規");
    const std::string folder = st.Dir.Sjis("新規");
    for (const std::string& typed : {folder, folder + "/", folder + "/whatever.sqb"}) {
        SCOPED_TRACE(SjisToUtf8(typed));
        std::filesystem::remove(st.Dir.Path() / "新規" / "QuilmoCaruteDb.sqb");
        form.PathEdit->setText(QString::fromStdString(SjisToUtf8(typed)));
        form.CreateButton->click();
        EXPECT_EQ(Utf8(form.PathEdit->text()), SjisToUtf8(folder + "/QuilmoCaruteDb.sqb"));
        EXPECT_TRUE(FileExists(folder + "/QuilmoCaruteDb.sqb"));
        EXPECT_TRUE(st.UI.Messages.empty());
    }
    // A second time the existing database is kept and the clerk is told why.
    const std::string before = test::ReadFile(st.Dir.Path() / "新規" / "QuilmoCaruteDb.sqb");
    form.CreateButton->click();
    ASSERT_EQ(st.UI.Messages.size(), 1u);
    EXPECT_NE(SjisToUtf8(st.UI.Messages[0].Text).find("既にあります"), std::string::npos);
    EXPECT_EQ(test::ReadFile(st.Dir.Path() / "新規" / "QuilmoCaruteDb.sqb"), before);
    EXPECT_FALSE(form.ErrLabel->text().isEmpty());
}

TEST(DatabaseDialog, NewInstallationCreatesItsDatabaseAndStartsWithIt) {
    Station st;
    std::filesystem::create_directories(st.Dir.Path() / "db");
    const std::string folder = st.Dir.Sjis("db");
    // The clerk types the folder, presses 新規作成, then Ok; the dialog comes twice (the path
    // is too short, then names no file) and the second time already holds the new file.
    int shown = 0;
    std::function<void(QWidget*)> answer = [&](QWidget* w) {
        auto* form = dynamic_cast<TDBForm*>(w);
        ASSERT_NE(form, nullptr);
        if (++shown == 1) {
            form->PathEdit->setText(QString::fromStdString(SjisToUtf8(folder)));
            form->CreateButton->click();
        }
        form->OkButton->click();
    };
    st.StoreSettings([](TRegistory& s) { s.DatabasePath = ""; });
    OnNextModal(answer);
    TMainForm& m = st.Start();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.Registory->DatabasePath, folder + "/QuilmoCaruteDb.sqb");
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected());
    EXPECT_TRUE(st.UI.Messages.empty());
    m.close();
    EXPECT_EQ(st.StoredSettings().DatabasePath, folder + "/QuilmoCaruteDb.sqb");
}

TEST(DatabaseDialog, PathCommandCancelLogsAndOkTakesEffectNextStart) {
    Station st;
    const std::string db = st.MakeDatabase();
    TMainForm& m = st.Start();
    TDBForm& form = *st.Windows->DBForm;
    OnNextModal([&](QWidget*) {
        EXPECT_EQ(Utf8(form.PathEdit->text()), SjisToUtf8(db));
        form.CancelButton->click();
    });
    m.DBSetMenu->trigger();
    EXPECT_EQ(m.Registory->DatabasePath, db);
    std::vector<std::string> log = st.ErrorLog();
    EXPECT_EQ(log, std::vector<std::string>{"* DataBase Setting is Cancel"});

    st.UI.FileAnswers = {std::string("/srv/other/QuilmoCaruteDb.sqb")};
    OnNextModal([&](QWidget*) {
        form.PathButton->click();
        form.OkButton->click();
    });
    m.DBSetMenu->trigger();
    EXPECT_EQ(SjisToUtf8(st.UI.FileDialogs.back().Filter), "データベース|*.sqb");
    EXPECT_EQ(m.Registory->DatabasePath, "/srv/other/QuilmoCaruteDb.sqb");
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected());
    EXPECT_EQ(m.Database->CaruteDatabase.FileName(), db);
    EXPECT_EQ(SjisToUtf8(st.UI.Messages.back().Text),
              "データベースの設定は、次回起動時に有効になります。");
}

} // namespace
} // namespace pendlar
