// Renders the main window and every one of its dialogs to PNG files for a person to look at
// and for the manual (run under Xvfb by scripts/screenshots and scripts/manual-shots). Each
// window is filled as the program fills it before showing it, and grabbed by Qt itself:
// app_screens OUTDIR [PROFILE]. With PROFILE (a demo profile, see scripts/make-demo) the
// windows show its settings, patient list and scanner folder; without, a fresh profile
// with an empty database is made in OUTDIR and removed again.
#include "ScreenGrab.h"

#include "app/AppWindows.h"
#include "app/ApplicationSetup.h"
#include "app/InfoUnit.h"
#include "app/MainUnit.h"
#include "intake/ReadSettings.h"
#include "intake/ui/BigImageUnit.h"
#include "intake/ui/DeleteWarningUnit.h"
#include "intake/ui/ReadSettingUnit.h"
#include "logs/ui/ErrorLogUnit.h"
#include "logs/ui/LogFileUnit.h"
#include "logs/ui/LogWarningUnit.h"
#include "pdf/ui/WriteSettingUnit.h"
#include "qrcode/ui/FaceUnit.h"
#include "qrcode/ui/PrintExecUnit.h"
#include "qrcode/ui/PrintFormatUnit.h"
#include "qrcode/ui/PrintPanelSetUnit.h"
#include "qrcode/ui/PrintSetUnit.h"
#include "qrcode/ui/QRImagePropertyUnit.h"
#include "qrcode/ui/TestDataUnit.h"
#include "qrcode/ui/TextPropertyUnit.h"
#include "record/ui/KeyMainteUnit.h"
#include "settings/Registory.h"
#include "store/NewChartDatabase.h"
#include "store/ui/AppendSetUnit.h"
#include "store/ui/DBUnit.h"
#include "store/ui/FileSetUnit.h"
#include "store/ui/PolicyUnit.h"
#include "util/Profile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"
#include "util/ui/TimeSettingUnit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using pendlar::test::SavePicture;
using pendlar::test::Settle;

using namespace pendlar;

// Shows the window, lets `fill` set what the window shows once it is up (some windows
// reset their controls when shown), grabs it and hides it again.
bool Grab(QWidget* window, const std::filesystem::path& file,
          const std::function<void()>& fill = {}) {
    window->show();
    window->raise();
    Settle();
    if (fill) {
        fill();
        Settle();
    }
    bool ok = SavePicture(window->grab(), file);
    window->hide();
    return ok;
}

// The first file of the folder, in name order (Shift-JIS path), or "" when it has none.
std::string FirstFile(const std::filesystem::path& folder) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    if (files.empty())
        return "";
    std::sort(files.begin(), files.end());
    return FileNameToSjisPath(files.front().string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: app_screens OUTDIR [PROFILE]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    const bool ownProfile = argc == 2;
    const std::filesystem::path profile = ownProfile ? out / "profile" : argv[2];
    if (ownProfile) {
        std::filesystem::remove_all(profile);
        std::filesystem::create_directories(profile);
    }
    SetProfileDir(profile.string());
    if (ownProfile) {
        NewDatabaseResult db = CreateChartDatabase(FileNameToSjisPath(profile.string()));
        if (!db.Ok)
            return 1;
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
    main.StatusMess1->setText(QString::fromUtf8("新規に作成します。"));
    main.Logs.AddSaveLog("7,/charts/A12/B34/C56/D78/HP_12345678_0.pdf");
    Settle();
    ok &= SavePicture(main.grab(), out / "main-tabs.png");

    // The main menu with each of its groups open: the two menus cut out of the screen.
    const std::pair<QMenu*, const char*> groups[] = {
        {main.FilePopMenu, "menu-file.png"},    {main.EditMenu, "menu-edit.png"},
        {main.displayMenu, "menu-display.png"}, {main.SetMenu, "menu-settings.png"},
        {main.UtilNemu, "menu-util.png"},       {main.N34, "menu-help.png"}};
    for (const auto& [group, file] : groups) {
        main.MenuPanelMouseUp(20);
        Settle(600);
        // The group opens as the person opens it, from its entry, so that both menus stay.
        main.PopMainMenu->setActiveAction(group->menuAction());
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(main.PopMainMenu, &right);
        Settle(600);
        const QRect around = main.PopMainMenu->geometry()
                                 .united(group->geometry())
                                 .adjusted(-4, -4, 4, 4)
                                 .intersected(main.screen()->geometry());
        ok &= SavePicture(
            main.screen()->grabWindow(0, around.x(), around.y(), around.width(), around.height()),
            out / file);
        group->hide();
        main.PopMainMenu->hide();
        Settle(600);
    }

    w->DBForm->PathEdit->setText(QString::fromStdString(SjisToUtf8(main.Registory->DatabasePath)));
    ok &= Grab(w->DBForm, out / "dbform.png");
    w->Log->LogMemo->setPlainText(
        QString::fromUtf8("7,/charts/A12/B34/C56/D78/HP_12345678_0.pdf\n"
                          "/charts/A12/B34/C56/D78/HP_12345678_1.pdf を消去しました。"));
    ok &= Grab(w->Log, out / "log.png");
    w->ErrorLogForm->ErrorLogMemo->setPlainText(
        QString::fromUtf8("*** DataBase not ExistError\n* DataBase Setting is Cancel"));
    ok &= Grab(w->ErrorLogForm, out / "errorlog.png");
    ok &= Grab(w->LogWarningForm, out / "logwarning.png");
    // As 日付設定 presets it from the settings.
    w->TimeSet->KoyomiSet->SetItemIndex(main.Registory->Koyomi ? 0 : 1);
    w->TimeSet->SeirekiGroup->SetItemIndex(main.Registory->SKugiri);
    w->TimeSet->warekiGroup->SetItemIndex(main.Registory->WKugiri);
    w->TimeSet->KoyomiSetClick();
    ok &= Grab(w->TimeSet, out / "timeset.png");
    ok &= Grab(w->info, out / "info.png");

    // The settings windows under 設定, each filled from the settings as its command does.
    TRegistory& settings = *main.Registory;
    // The folder trees fill in the background: once they have, the folder of the setting
    // is chosen again so that the tree shows it.
    w->ReadSet->Load(ReadSettings::From(settings));
    ok &= Grab(w->ReadSet, out / "readset.png", [&] {
        Settle(1500);
        w->ReadSet->Load(ReadSettings::From(settings));
    });
    w->WriteSetForm->LoadFrom(settings);
    ok &= Grab(w->WriteSetForm, out / "writeset.png", [&] {
        Settle(1500);
        w->WriteSetForm->LoadFrom(settings);
    });
    w->FileSetForm->LoadFrom(settings);
    ok &= Grab(w->FileSetForm, out / "fileset.png");
    w->AppendSetForm->KeyWordUse = settings.KeyWordUse;
    w->AppendSetForm->LoadFrom(settings);
    ok &= Grab(w->AppendSetForm, out / "appendset.png");
    if (auto* policy = main.findChild<TPolicyForm*>())
        ok &= Grab(policy, out / "policy.png");

    // The keyword maintenance on the lists of the profile.
    std::array<std::string, kKeywordCount> labels;
    for (std::size_t n = 0; n < labels.size(); ++n)
        labels[n] = settings.KeyLabel[n];
    ok &= Grab(w->KeyMainteForm, out / "keymainte.png", [&] {
        w->KeyMainteForm->FormShow(main.KeywordLists, labels);
        w->KeyMainteForm->KeyGroupClick(3);
    });

    // The cover sheets: the patient list window, the designer and the windows it opens.
    const std::filesystem::path patients = profile / "patients.txt";
    ok &= Grab(w->FaceForm, out / "face.png", [&] {
        if (std::filesystem::exists(patients))
            w->FaceForm->LoadList(FileNameToSjisPath(patients.string()));
    });
    ok &= Grab(w->PrintFormatForm, out / "printformat.png");
    w->TxtAtrForm->Load(w->PrintFormatForm->Item(0));
    ok &= Grab(w->TxtAtrForm, out / "txtatr.png");
    w->QRimgAtrForm->Load(settings.QRCodeImage.Top, settings.QRCodeImage.Left,
                          settings.QRCodeImage.Pxmag);
    ok &= Grab(w->QRimgAtrForm, out / "qrimgatr.png");
    w->PrintPanelSetForm->Load(settings.PanelDensity, settings.PageHeight, settings.PageWidth);
    ok &= Grab(w->PrintPanelSetForm, out / "printpanelset.png");
    w->TestDataForm->Reset();
    w->TestDataForm->IdNoEdit->setText("10483");
    w->TestDataForm->NameEdit->setText(QString::fromUtf8("山田 太郎"));
    w->TestDataForm->SexEdit->setText(QString::fromUtf8("男"));
    w->TestDataForm->BirthEdit->setText(QString::fromUtf8("昭和27年8月14日"));
    w->TestDataForm->AddressEdit->setText(QString::fromUtf8("東京都新宿区西新宿三丁目7番1号"));
    ok &= Grab(w->TestDataForm, out / "testdata.png");
    w->PrintExecForm->Setup(static_cast<int>(w->FaceForm->Lines().size()));
    ok &= Grab(w->PrintExecForm, out / "printexec.png");
    w->PrintSetForm->Load(settings.PrintDensity);
    ok &= Grab(w->PrintSetForm, out / "printset.png");

    // The page windows: the deletion warning and the page at full size.
    const std::string scanner = settings.ScannerDir;
    w->DeleteWarningForm->FileDirLabel->setText(QString::fromStdString(SjisToUtf8(scanner)));
    ok &= Grab(w->DeleteWarningForm, out / "deletewarning.png");
    const std::string page = scanner.empty() ? "" : FirstFile(SjisPathToFileName(scanner));
    if (!page.empty() && w->BigImageForm->LoadPage(page)) {
        w->BigImageForm->resize(720, 640);
        ok &= Grab(w->BigImageForm, out / "bigimage.png");
    }

    main.Logs.Save.Clear();
    main.close();
    w.reset();
    if (ownProfile)
        std::filesystem::remove_all(profile);
    return ok ? 0 : 1;
}
