// Renders the main window and its dialogs to PNG files for a person to look at (run under
// Xvfb by scripts/screenshots). Each window is shown as the program shows it, on a demo
// profile with a fresh database, and grabbed by Qt itself.
#include "ScreenGrab.h"

#include "app/AppWindows.h"
#include "app/ApplicationSetup.h"
#include "app/InfoUnit.h"
#include "app/MainUnit.h"
#include "logs/ui/ErrorLogUnit.h"
#include "logs/ui/LogFileUnit.h"
#include "logs/ui/LogWarningUnit.h"
#include "settings/Registory.h"
#include "store/NewChartDatabase.h"
#include "store/ui/DBUnit.h"
#include "util/Profile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"
#include "util/ui/TimeSettingUnit.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using pendlar::test::SavePicture;
using pendlar::test::Settle;

using namespace pendlar;

bool Grab(QWidget* window, const std::filesystem::path& file) {
    window->show();
    window->raise();
    Settle();
    bool ok = SavePicture(window->grab(), file);
    window->hide();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_screens OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    const std::filesystem::path profile = out / "profile";
    std::filesystem::remove_all(profile);
    std::filesystem::create_directories(profile);
    SetProfileDir(profile.string());
    NewDatabaseResult db = CreateChartDatabase(FileNameToSjisPath(profile.string()));
    if (!db.Ok)
        return 1;
    {
        TRegistory settings;
        settings.DatabasePath = db.Path;
        settings.KeyWordUse = true;
        settings.SaveSettings();
    }

    QApplication app(argc, argv);
    SetUpApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);
    ScriptedUserInterface ui;
    std::unique_ptr<ApplicationWindows> w = CreateApplicationWindows(&ui);
    TMainForm& main = *w->MainForm;
    main.show();
    while (!main.StartupDone())
        Settle(50);
    bool ok = true;
    ok &= SavePicture(main.grab(), out / "main-start.png");

    main.HideCommercial();
    main.IdEdit->setText("12345678");
    main.StatusMess1->setText(QString::fromUtf8("新規カルテ"));
    main.Logs.AddSaveLog("7,/charts/A12/B34/C56/D78/HP_12345678_0.pdf");
    Settle();
    ok &= SavePicture(main.grab(), out / "main-tabs.png");

    main.MenuPanelMouseUp(20);
    Settle();
    main.PopMainMenu->setActiveAction(main.SetMenu->menuAction());
    main.SetMenu->popup(main.PopMainMenu->pos() +
                        QPoint(main.PopMainMenu->width(),
                               main.PopMainMenu->actionGeometry(main.SetMenu->menuAction()).y()));
    Settle();
    ok &= SavePicture(main.screen()->grabWindow(0), out / "main-menu.png");
    main.SetMenu->hide();
    main.PopMainMenu->hide();

    w->DBForm->PathEdit->setText(QString::fromStdString(SjisToUtf8(db.Path)));
    ok &= Grab(w->DBForm, out / "dbform.png");
    w->Log->LogMemo->setPlainText(
        QString::fromUtf8("7,/charts/A12/B34/C56/D78/HP_12345678_0.pdf\n"
                          "/charts/A12/B34/C56/D78/HP_12345678_1.pdf を消去しました。"));
    ok &= Grab(w->Log, out / "log.png");
    w->ErrorLogForm->ErrorLogMemo->setPlainText(
        QString::fromUtf8("*** DataBase not ExistError\n* DataBase Setting is Cancel"));
    ok &= Grab(w->ErrorLogForm, out / "errorlog.png");
    ok &= Grab(w->LogWarningForm, out / "logwarning.png");
    w->TimeSet->KoyomiSet->SetItemIndex(1);
    w->TimeSet->SeirekiGroup->SetItemIndex(1);
    w->TimeSet->warekiGroup->SetItemIndex(0);
    w->TimeSet->KoyomiSetClick();
    ok &= Grab(w->TimeSet, out / "timeset.png");
    ok &= Grab(w->info, out / "info.png");

    main.Logs.Save.Clear();
    main.close();
    w.reset();
    std::filesystem::remove_all(profile);
    return ok ? 0 : 1;
}
