#include "Station.h"

#include "intake/ui/ShowImageUnit.h"

#include "store/ChartDatabase.h"
#include "store/ui/DBUnit.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/ui/EventHook.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::OnNextModal;
using test::Station;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

std::vector<std::string> MessageTexts(const ScriptedUserInterface& ui) {
    std::vector<std::string> texts;
    for (const auto& m : ui.Messages)
        texts.push_back(SjisToUtf8(m.Text));
    return texts;
}

// Cancels the database dialog that comes next and remembers what it showed.
struct DialogCancel {
    bool Shown = false;
    std::string Path;
    DialogCancel() {
        OnNextModal([this](QWidget* w) {
            auto* form = dynamic_cast<TDBForm*>(w);
            Shown = form != nullptr;
            if (form) {
                Path = Utf8(form->PathEdit->text());
                form->CancelButton->click();
            } else {
                w->close();
            }
        });
    }
};

TEST(ProgramEntry, CreatesEveryWindowOnceInOrderWithItsCaption) {
    Station st;
    TMainForm& m = st.Create();
    const std::vector<std::pair<const char*, const char*>> windows = {
        {"MainForm", "Quilmo Pendlar 1.5"},
        {"ReadSet", "読込設定"},
        {"ImageShow", "ページ編集"},
        {"Log", "作成ログ"},
        {"info", "情報"},
        {"PdfWriteForm", ""},
        {"NotMakeFolder", "警告"},
        {"FaceForm", "表紙の作成"},
        {"PrintFormatForm", "表紙印刷"},
        {"TxtAtrForm", "文字のプロパティ"},
        {"QRimgAtrForm", "ＱＲコードプロパティ"},
        {"PrintSetForm", "プリンタ印字密度設定"},
        {"PrintPanelSetForm", "表示パネル設定"},
        {"PrintExecForm", "プリントの実行"},
        {"ErrorLogForm", "エラーログ"},
        {"FileSetForm", "検索設定"},
        {"TestDataForm", "テストデータの入力"},
        {"DeleteWarningForm", "警告"},
        {"LogWarningForm", "警告"},
        {"DBSearchForm", "検索"},
        {"TimeSet", "暦表示設定"},
        {"WriteSetForm", "PDF書込設定"},
        {"KeyMainteForm", "キーワード"},
        {"DBForm", "Database設定"},
        {"AppendSetForm", "追加設定"},
        {"BigImageForm", "イメージの表示"},
    };
    ASSERT_EQ(st.Windows->InCreationOrder.size(), windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        QWidget* w = st.Windows->InCreationOrder[i];
        EXPECT_EQ(Utf8(w->objectName()), windows[i].first) << i;
        EXPECT_EQ(Utf8(w->windowTitle()), windows[i].second) << i;
        EXPECT_FALSE(w->isVisible()) << i;
    }

    EXPECT_EQ(m.size(), QSize(947, 828));
    const std::vector<std::pair<const char*, const char*>> tabs = {
        {"Pagekakunin", "ページ確認"},
        {"Kanjakakunin", "患者確認"},
        {"QRwaku", "QR枠"},
        {"KanjaKihon", "患者基本情報"},
        {"Hoken", "保険情報"},
        {"KihonShinryo", "基本診療情報"},
        {"Rousai", "労災"},
        {"GairaiShinryo", "外来診療記録"},
        {"NyuinKiroku", "入院記録"},
        {"HokenKakunin", "保険確認"},
        {"Keyword", "キーワード"}};
    ASSERT_EQ(m.PageControl->count(), static_cast<int>(tabs.size()));
    for (int i = 0; i < m.PageControl->count(); ++i) {
        EXPECT_EQ(Utf8(m.PageControl->widget(i)->objectName()), tabs[i].first);
        EXPECT_EQ(Utf8(m.PageControl->tabText(i)), tabs[i].second);
    }
    const std::vector<std::pair<QPushButton*, const char*>> buttons = {
        {m.PidBtn, "確認"},      {m.SubNoBtn, "選択"},       {m.EraseBtn, "消去"},
        {m.PrintBtn, "印刷"},    {m.SearchBtn, "検索"},      {m.SaveButton, "保存"},
        {m.CloseButton, "終了"}, {m.ScannerOpenNew, "取込"}, {m.ScannerOpenAdd, "追加"},
        {m.LogBtn, "ログ"}};
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(Utf8(button->text()), caption);
        EXPECT_TRUE(m.Panel3->isAncestorOf(button));
    }
    EXPECT_FALSE(m.SaveButton->isEnabled());
    EXPECT_EQ(Utf8(m.MenuPanel->toolTip()), "メニュー");
    EXPECT_EQ(Utf8(m.LogBtn->toolTip()), "保存ログ");
    EXPECT_FALSE(m.IdEdit->testAttribute(Qt::WA_InputMethodEnabled));
    for (QLineEdit* e : {m.StatusMess1, m.StatusMess2, m.StatusMess3})
        EXPECT_TRUE(e->isReadOnly());
    EXPECT_EQ(m.StatusPanel0->width(), 100);
    // The start panel stands in place of the tabs.
    EXPECT_TRUE(m.PageControl->isHidden());
    EXPECT_FALSE(m.Commercial->isHidden());
    EXPECT_EQ(Utf8(m.ErasePoint->text()), "×");

    // Standard buttons read in Japanese, in the explicit Japanese font.
    QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QString::fromUtf8("はい")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QString::fromUtf8("いいえ")));
    EXPECT_EQ(Utf8(QApplication::font().family()), "Noto Sans CJK JP");
    EXPECT_EQ(Utf8(QFontInfo(m.IdEdit->font()).family()), "Noto Sans CJK JP");
}

TEST(StartUp, FirstStartAsksForTheDatabaseAndCancelClosesUntilAPathIsGiven) {
    Station st;
    DialogCancel first;
    TMainForm& m = st.Start();
    EXPECT_TRUE(first.Shown);
    // The default path names the home folder, not a file.
    EXPECT_EQ(first.Path, SjisToUtf8(HomeFolder()));
    EXPECT_TRUE(FolderExists(HomeFolder()));
    EXPECT_TRUE(m.isHidden());
    EXPECT_EQ(
        MessageTexts(st.UI),
        std::vector<std::string>{"データベース設定をキャンセルします。\nシステムを終了します。"});
    EXPECT_EQ(st.UI.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(st.UI.Messages[0].Buttons, MsgButtons::Yes);
    EXPECT_EQ(st.ErrorLog(), std::vector<std::string>{"*** DataBase not ExistError"});
    EXPECT_EQ(st.StoredSettings().DatabasePath, "");
    EXPECT_TRUE(FileExists(SettingsFilePath()));

    // The next start asks first thing, and its error log holds only its own line.
    st.Stop();
    st.UI.Messages.clear();
    DialogCancel second;
    st.Start();
    EXPECT_TRUE(second.Shown);
    EXPECT_EQ(second.Path, "");
    EXPECT_EQ(st.ErrorLog(), std::vector<std::string>{"*** DataBase Path Error"});
    EXPECT_EQ(
        MessageTexts(st.UI),
        std::vector<std::string>{"データベース設定をキャンセルします。\nシステムを終了します。"});
}

TEST(StartUp, ValidDatabaseOpensWithoutDialogAndFillsTheChoiceBoxes) {
    Station st;
    st.MakeDatabase("UPDATE PDF_RZOKUGARA SET ZOKUSTR = 'Self' WHERE ZOKUNO = 1;"
                    "DELETE FROM PDF_FUTAN;");
    TMainForm& m = st.Create();
    // Stand-ins for two choice boxes of the header tabs, with their built-in items.
    auto* hzokugara = new QComboBox(m.Hoken);
    hzokugara->setObjectName("Hzokugara");
    hzokugara->addItem("built-in");
    auto* futan = new QComboBox(m.HokenKakunin);
    futan->setObjectName("FFutanKubun");
    futan->addItems({QString::fromUtf8("保険"), QString::fromUtf8("自費")});
    bool dialog = false;
    OnNextModal([&](QWidget* w) {
        dialog = true;
        w->close();
    });

    st.Start();
    EXPECT_FALSE(dialog);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(st.UI.Messages.empty());
    EXPECT_TRUE(st.ErrorLog().empty());
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected());
    ASSERT_EQ(hzokugara->count(), 28);
    EXPECT_EQ(Utf8(hzokugara->itemText(0)), "Self");
    EXPECT_EQ(Utf8(hzokugara->itemText(27)), "配偶者の養父母");
    EXPECT_TRUE(m.Database->FutanList.empty());
    ASSERT_EQ(futan->count(), 2); // an empty table keeps the built-in choices
    EXPECT_EQ(Utf8(futan->itemText(0)), "保険");

    EXPECT_EQ(Utf8(m.StatusPanel1->text()), "スキャナーから読み込みしてください。");
    EXPECT_TRUE(FolderExists(DataFolder() + "/Temp"));
    for (QWidget* w : std::initializer_list<QWidget*>{m.SaveButton, m.PrintBtn, m.EraseBtn,
                                                      m.LogBtn, m.SubNoBtn, m.VolNoEdit})
        EXPECT_FALSE(w->isEnabled()) << Utf8(w->objectName());
    EXPECT_TRUE(m.SearchBtn->isEnabled());
    EXPECT_TRUE(m.CloseButton->isEnabled());
    EXPECT_FALSE(m.TwainReadMenu->isEnabled());
    EXPECT_EQ(m.PageControl->currentWidget(), m.Pagekakunin);

    m.close();
    EXPECT_TRUE(m.isHidden());
    EXPECT_FALSE(m.Database->CaruteDatabase.Connected());
}

TEST(StartUp, MissingTableGivesItsMessageAndCloses) {
    Station st;
    const std::string db = st.MakeDatabase("DROP TABLE PDF_FUTAN;");
    TMainForm& m = st.Start();
    EXPECT_TRUE(m.isHidden());
    EXPECT_EQ(MessageTexts(st.UI),
              std::vector<std::string>{"負担区分テーブルオープンエラー：システムを終了します。"});
    EXPECT_EQ(st.ErrorLog(), std::vector<std::string>{"*** DataBase 負担区分 Table Error"});
    EXPECT_EQ(st.StoredSettings().DatabasePath, "");
    EXPECT_TRUE(FileExists(db)); // the file itself is left alone
}

TEST(StartUp, TempFolderThatCannotBeMadeStopsBeforeTheDatabase) {
    Station st;
    st.MakeDatabase();
    test::WriteFile(st.Dir.Path() / "Temp", "a file where the folder belongs");
    TMainForm& m = st.Start();
    EXPECT_TRUE(m.isVisible());
    ASSERT_EQ(MessageTexts(st.UI), std::vector<std::string>{"File System Dir エラー"});
    EXPECT_EQ(st.UI.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(st.UI.Messages[0].Buttons, MsgButtons::Abort);
    EXPECT_EQ(st.ErrorLog(), std::vector<std::string>{"*** Temp Directory Create Error"});
    EXPECT_FALSE(m.Database->CaruteDatabase.Connected());
    EXPECT_EQ(Utf8(m.StatusPanel1->text()), "");

    m.Registory->HPCode = "kept";
    m.close();
    EXPECT_TRUE(m.isHidden());
    EXPECT_EQ(st.StoredSettings().HPCode, "kept");
}

TEST(StartPanel, TheCrossHidesItForGood) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    ASSERT_FALSE(m.Commercial->isHidden());
    const QPointF at(2, 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, m.ErasePoint->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(m.ErasePoint, &event);
    }
    EXPECT_TRUE(m.Commercial->isHidden());
    EXPECT_FALSE(m.PageControl->isHidden());
}

TEST(Shutdown, EachQuestionCancelsTheCloseOnNo) {
    Station st;
    st.MakeDatabase();
    const std::string comments = SjisOf("異常なし") + "\r\nsee p.2\r\n";
    test::WriteFile(st.Dir.Path() / "Comment.txt", comments);
    TMainForm& m = st.Start();
    ASSERT_TRUE(m.isVisible());
    EXPECT_EQ(st.Windows->ImageShow->CommentList,
              (std::vector<std::string>{SjisOf("異常なし"), "see p.2"}));
    m.SaveButton->setEnabled(true);
    m.Logs.AddSaveLog("7,/charts/a.pdf");
    m.Registory->HPCode = "1234567";
    m.KeywordLists[2] = {SjisOf("胃")};

    const std::string unsavedChart = "カルテが保存されていません。\n終了しますか？";
    const std::string unsavedLog = "ログファイルが追加保存されていません。\n終了しますか？";
    st.UI.MessageAnswers = {MsgResult::No};
    m.close();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(MessageTexts(st.UI), std::vector<std::string>{unsavedChart});
    EXPECT_EQ(st.UI.Messages[0].Icon, MsgIcon::Confirmation);
    EXPECT_EQ(st.UI.Messages[0].Buttons, MsgButtons::YesNo);

    st.UI.MessageAnswers = {MsgResult::Yes, MsgResult::No};
    m.close();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(MessageTexts(st.UI),
              (std::vector<std::string>{unsavedChart, unsavedChart, unsavedLog}));
    // Nothing was saved by the cancelled closes.
    EXPECT_EQ(st.StoredSettings().HPCode, "");
    EXPECT_FALSE(FileExists(DataFolder() + "/Key3.txt"));
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected());

    st.UI.MessageAnswers = {MsgResult::Yes, MsgResult::Yes};
    m.close();
    EXPECT_TRUE(m.isHidden());
    EXPECT_EQ(st.StoredSettings().HPCode, "1234567");
    EXPECT_EQ(test::ReadFile(st.Dir.Path() / "Key3.txt"), SjisOf("胃") + "\r\n");
    EXPECT_EQ(test::ReadFile(st.Dir.Path() / "Comment.txt"), comments);
    for (const char* name : {"Key1.txt", "Key8.txt", "Shiori.txt"})
        EXPECT_TRUE(std::filesystem::exists(st.Dir.Path() / name)) << name;
    EXPECT_FALSE(m.Database->CaruteDatabase.Connected());
}

TEST(Shutdown, CloseBeforeTheStartUpLeavesTheStoredSettings) {
    Station st;
    st.StoreSettings([](TRegistory& s) { s.HPCode = "kept"; });
    test::WriteFile(st.Dir.Path() / "Comment.txt", "ready-made\r\n");
    TMainForm& early = st.Create();
    early.close();
    EXPECT_EQ(st.StoredSettings().HPCode, "kept");
    EXPECT_EQ(test::ReadFile(st.Dir.Path() / "Comment.txt"), "ready-made\r\n");
    EXPECT_FALSE(std::filesystem::exists(st.Dir.Path() / "Key1.txt"));
}

// A snapshot of the enabled state of everything the busy lock covers.
std::vector<bool> LockedStates(TMainForm& m) {
    std::vector<bool> states;
    for (QWidget* w : std::initializer_list<QWidget*>{
             m.PageControl, m.SaveButton, m.ScannerOpenNew, m.ScannerOpenAdd, m.PidBtn, m.SubNoBtn,
             m.SearchBtn, m.PrintBtn, m.EraseBtn, m.LogBtn, m.IdEdit, m.VolNoEdit})
        states.push_back(w->isEnabled());
    for (QAction* a :
         {m.ImageRead, m.ImageAdd, m.FilePopMenu->menuAction(), m.EditMenu->menuAction(),
          m.displayMenu->menuAction(), m.SetMenu->menuAction(), m.KeyMainte, m.PolicyMenu,
          m.UtilNemu->menuAction()})
        states.push_back(a->isEnabled());
    return states;
}

TEST(BusyLock, RestoresEachControlToItsEarlierStateAndLeavesCloseAndMenuAlone) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    // A mix: some controls were already disabled before the lock.
    m.PidBtn->setEnabled(true);
    m.SaveButton->setEnabled(false);
    m.ImageAdd->setEnabled(false);
    m.EditMenu->menuAction()->setEnabled(false);
    m.VolNoEdit->setEnabled(false);
    m.IdEdit->setEnabled(true);
    const std::vector<bool> before = LockedStates(m);
    const int events = st.UI.EventsProcessed;

    for (bool closeEnabled : {true, false}) {
        m.CloseButton->setEnabled(closeEnabled);
        m.LockControls(true);
        for (bool enabled : LockedStates(m))
            EXPECT_FALSE(enabled);
        EXPECT_EQ(m.CloseButton->isEnabled(), closeEnabled);
        EXPECT_TRUE(m.MenuPanel->isEnabled());
        // A nested lock does not make the disabled states the ones to restore.
        m.LockControls(true);
        m.LockControls(false);
        for (bool enabled : LockedStates(m))
            EXPECT_FALSE(enabled);
        m.LockControls(false);
        EXPECT_EQ(LockedStates(m), before);
        EXPECT_EQ(m.CloseButton->isEnabled(), closeEnabled);
    }
    EXPECT_EQ(st.UI.EventsProcessed, events + 8); // pending events run after every call

    // An unlock without a lock changes nothing.
    m.LockControls(false);
    EXPECT_EQ(LockedStates(m), before);

    // Closing while locked still asks about the chart that the lock made look saved.
    m.SaveButton->setEnabled(true);
    m.LockControls(true);
    st.UI.MessageAnswers = {MsgResult::No};
    m.close();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(SjisToUtf8(st.UI.Messages.back().Text),
              "カルテが保存されていません。\n終了しますか？");
    m.LockControls(false);
    EXPECT_TRUE(m.SaveButton->isEnabled());
}

TEST(BusyLock, ACloseDuringACommandWaitsForItsEndAndAsksAboutTheLinesItAdded) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    const std::string unsavedChart = "カルテが保存されていません。\n終了しますか？";
    const std::string unsavedLog = "ログファイルが追加保存されていません。\n終了しますか？";
    m.SaveButton->setEnabled(true);
    m.Registory->HPCode = "9876";

    // 終了 pressed while a save holds the lock: the person is asked, but the database and
    // the settings stay with the save until it ends.
    m.LockControls(true);
    st.UI.MessageAnswers = {MsgResult::Yes};
    m.close();
    EXPECT_TRUE(m.CloseWaiting());
    test::WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected());
    EXPECT_EQ(st.StoredSettings().HPCode, "");

    // The save ends: its button goes off and its chart-saved line is new to the person.
    m.LockControls(false);
    m.SaveButton->setEnabled(false);
    m.Logs.AddSaveLog("7,/charts/a.pdf");
    st.UI.MessageAnswers = {MsgResult::No};
    ASSERT_TRUE(test::WaitUntil([&] { return !m.CloseWaiting(); }));
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected());

    st.UI.MessageAnswers = {MsgResult::Yes};
    m.close();
    EXPECT_TRUE(m.isHidden());
    EXPECT_EQ(MessageTexts(st.UI),
              (std::vector<std::string>{unsavedChart, unsavedLog, unsavedLog}));
    EXPECT_FALSE(m.Database->CaruteDatabase.Connected());
    EXPECT_EQ(st.StoredSettings().HPCode, "9876");
}

TEST(BusyLock, ACloseFromInsideAFlowsMessageWaitsUntilTheFlowHasReturned) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    // The person closes the window while a flow's message is up (after its lock ended,
    // before it has written its row).
    st.UI.OnMessage = [&](const ScriptedUserInterface::ShownMessage& shown) {
        if (SjisToUtf8(shown.Text) == "保存しました。")
            m.close();
    };
    m.UI().Message(SjisOf("保存しました。"), "", MsgIcon::Information, MsgButtons::Ok);
    EXPECT_TRUE(m.CloseWaiting());
    EXPECT_TRUE(m.Database->CaruteDatabase.Connected()); // the flow can still write its row
    st.UI.OnMessage = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return m.isHidden(); }));
    EXPECT_FALSE(m.Database->CaruteDatabase.Connected());
}

TEST(Keys, F1AndF2ActOnReleaseOnlyAndOtherKeysPassThrough) {
    Station st;
    st.MakeDatabase();
    TMainForm& m = st.Start();
    m.move(10, 10);
    int released = 0;
    EventHook counter(nullptr, [&](QObject*, QEvent* e) {
        released += e->type() == QEvent::KeyRelease;
        return false;
    });
    counter.Watch(m.IdEdit);
    auto send = [&](QEvent::Type type, int key) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QCoreApplication::sendEvent(m.IdEdit, &event);
    };

    send(QEvent::KeyPress, Qt::Key_F2);
    EXPECT_FALSE(m.PopMainMenu->isVisible());
    send(QEvent::KeyRelease, Qt::Key_F2);
    EXPECT_TRUE(m.PopMainMenu->isVisible());
    EXPECT_EQ(m.PopMainMenu->pos(), QPoint(18, 41));
    EXPECT_TRUE(m.Commercial->isHidden()); // opening the menu hides the start panel for good
    m.PopMainMenu->hide();

    st.UI.ShellResult = 2;
    send(QEvent::KeyPress, Qt::Key_F1);
    EXPECT_TRUE(st.UI.ShellOpened.empty());
    send(QEvent::KeyRelease, Qt::Key_F1);
    ASSERT_EQ(st.UI.ShellOpened.size(), 1u);
    EXPECT_EQ(st.UI.ShellOpened[0], ProgramDataFolder() + "/QuilmoPendlar.html");
    EXPECT_TRUE(FileExists(st.UI.ShellOpened[0]));
    EXPECT_EQ(Utf8(m.StatusPanel1->text()), "The specified file was not found.");
    st.UI.ShellResult = 42;
    m.HelpMenuClick();
    EXPECT_EQ(Utf8(m.StatusPanel1->text()), "");

    EXPECT_EQ(released, 0); // F1 and F2 were taken
    send(QEvent::KeyRelease, Qt::Key_F3);
    send(QEvent::KeyRelease, Qt::Key_A);
    EXPECT_EQ(released, 2);
    EXPECT_EQ(st.UI.ShellOpened.size(), 2u);
    EXPECT_FALSE(m.PopMainMenu->isVisible());
}

TEST(MainMenu, OpensAtThePanelAndEnablesEntriesByTabClipboardAndSettings) {
    Station st;
    st.MakeDatabase();
    st.StoreSettings([](TRegistory& s) {
        s.IdNoGet = 1;
        s.KeyWordUse = false;
    });
    TMainForm& m = st.Start();
    m.move(20, 30);
    // The QR-frame tab is for numbers read from the QR code, the keyword tab for keywords.
    EXPECT_FALSE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.QRwaku)));
    EXPECT_FALSE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.Keyword)));
    m.Registory->IdNoGet = 0;
    m.Registory->KeyWordUse = true;
    m.UpdateTabVisibility();
    EXPECT_TRUE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.QRwaku)));
    EXPECT_TRUE(m.PageControl->isTabVisible(m.PageControl->indexOf(m.Keyword)));

    // A left click on the menu panel opens the menu on its release.
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, m.MenuPanel->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m.MenuPanel, &press);
    EXPECT_FALSE(m.PopMainMenu->isVisible());
    QMouseEvent release(QEvent::MouseButtonRelease, at, m.MenuPanel->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m.MenuPanel, &release);
    EXPECT_TRUE(m.PopMainMenu->isVisible());
    EXPECT_EQ(m.PopMainMenu->pos(), QPoint(20 + 5 + 9, 30 + 32));
    EXPECT_TRUE(m.ImageRead->isEnabled());
    EXPECT_TRUE(m.ImageAdd->isEnabled());
    m.PopMainMenu->hide();

    m.PageControl->setCurrentWidget(m.Hoken);
    m.PopMainMenuPopup();
    EXPECT_FALSE(m.ImageRead->isEnabled());
    EXPECT_FALSE(m.ImageAdd->isEnabled());
    m.displayMenuClick();
    EXPECT_FALSE(m.PageRedispMenu->isEnabled());

    QApplication::clipboard()->clear();
    m.EditMenuClick();
    EXPECT_FALSE(m.PasteMenu->isEnabled());
    EXPECT_FALSE(m.PageDeleteMenu->isEnabled());
    QApplication::clipboard()->setText("12345");
    m.PageControl->setCurrentWidget(m.Pagekakunin);
    m.EditMenuClick();
    EXPECT_TRUE(m.PasteMenu->isEnabled());
    // Deleting needs a clicked page (tested with real pages in the main-window tests).
    EXPECT_FALSE(m.PageDeleteMenu->isEnabled());
    m.displayMenuClick();
    EXPECT_TRUE(m.PageRedispMenu->isEnabled());

    // Paste goes into the focused edit of the main window.
    m.activateWindow();
    m.IdEdit->setFocus();
    if (test::WaitUntil([&] { return QApplication::focusWidget() == m.IdEdit; }, 1000)) {
        m.PasteMenuClick();
        EXPECT_EQ(Utf8(m.IdEdit->text()), "12345");
    }

    m.CloseNemu->trigger();
    EXPECT_TRUE(m.isHidden());
}

} // namespace
} // namespace pendlar
