// Renders the header tabs and the keyword tab of the main window, filled as a clerk would
// fill them, to PNG files for a person to look at (run under Xvfb). A fresh database and
// profile are made in OUTDIR/profile.
#include "ScreenGrab.h"

#include "app/AppWindows.h"
#include "app/ApplicationSetup.h"
#include "app/MainUnit.h"
#include "record/FieldTable.h"
#include "record/ui/HeaderTabs.h"
#include "record/ui/KeyMainteUnit.h"
#include "settings/Registory.h"
#include "store/NewChartDatabase.h"
#include "util/Profile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace {

using pendlar::test::SavePicture;
using pendlar::test::Settle;

using namespace pendlar;

FieldView DemoChart() {
    FieldView v;
    auto text = [&](const std::string& name, const char* utf8) { v[name].Text = SjisOf(utf8); };
    auto index = [&](const std::string& name, int i) { v[name].Index = i; };
    text("PName", "山田 太郎");
    text("PKana", "ヤマダ タロウ");
    index("Psex", 0);
    text("PBirth", "S25.3.20");
    text("Pubin", "100-0005");
    text("Padress", "東京都千代田区丸の内一丁目1番1号 ハイツ305");
    text("Ptel", "03-3211-0001");
    text("Pkeitai", "090-1234-5678");
    text("RName", "山田 花子");
    text("Raddress", "東京都千代田区丸の内一丁目1番1号 ハイツ305");
    index("Rzokugara", 1);
    text("Rtel", "03-3211-0001");
    text("Rkeitai", "080-2222-3333");
    text("Sname", "丸の内クリニック 佐藤 一郎");
    text("Sadress", "東京都千代田区丸の内二丁目3番4号");
    text("Stel", "03-3211-9999");
    text("Hhokenno", "01130012");
    text("Hkigouno", "丸商 1234・56");
    text("Hname", "山田 太郎");
    index("Hzokugara", 0);
    text("Hlimitdate", "2026/3/31");
    text("Hshikakudate", "H20.4.1");
    text("Hhokenname", "全国健康保険協会 東京支部");
    text("Hhokenadr", "東京都中野区中野四丁目10番2号");
    text("Hhokentel", "03-6853-6111");
    text("Hkouhino1", "54136015");
    text("Hjukyuno1", "1234567");
    text("Hjname", "丸の内商事株式会社");
    text("Hjadr", "東京都千代田区丸の内二丁目7番3号");
    text("Hjtel", "03-3211-1234");
    for (auto [name, i] :
         {std::pair{"Ketsueki", 1}, {"Rh", 0}, {"HBS", 1}, {"HCV", 1}, {"TPHA", 1}, {"Kinki", 1}})
        index(name, i);
    text("Kousezai", "ペニシリン系 陰性（2024/04/10）");
    text("kioureki", "高血圧症（2015年～内服中）\r\n2型糖尿病（2018年～）");
    text("kazoureki", "父：脳梗塞\r\n母：高血圧症");
    text("arerugi", "卵、そば");
    text("kansensho", "なし");
    text("bikou", "杖歩行。難聴あり、左耳から話しかけること。");
    text("RByumei1", "腰椎捻挫");
    text("Rikenfrom1", "2024/4/1");
    text("Rikento1", "2024/4/30");
    text("Rkoufu1", "2024/5/7");
    text("Rnyuinfrom1", "2024/4/1");
    text("Rnyuinto1", "2024/4/12");
    text("RByumei2", "右手関節捻挫");
    text("Rikenfrom2", "2024/5/10");
    text("Rikento2", "2024/5/31");
    text("Rkoufu2", "2024/6/3");
    text("Rrousai", "通勤途中、駅の階段で転倒し受傷。");
    const char* diseases[] = {"高血圧症",     "2型糖尿病",        "腰椎捻挫",     "急性気管支炎",
                              "右手関節捻挫", "アレルギー性鼻炎", "逆流性食道炎", "不眠症",
                              "脂質異常症",   "変形性膝関節症"};
    for (int n = 1; n <= 10; ++n) {
        const std::string s = std::to_string(n);
        text("Gbyoname" + s, diseases[n - 1]);
        v["Gshoshinbi" + s].Text =
            "2024/" + std::to_string(n % 12 + 1) + "/" + std::to_string(n + 3);
        if (n % 3 == 0) {
            v["Gshuryobi" + s].Text = "2024/" + std::to_string(n % 12 + 2) + "/20";
            index("Gtenki" + s, n % 2);
        }
    }
    text("NShinryoka", "整形外科");
    text("Nbyuto", "東3病棟");
    text("Nshujidct", "鈴木 次郎");
    text("Nnyuinday", "2024/4/1");
    text("Ntaiinday", "2024/4/12");
    v["NzenkaiNyuinCheck"].Flag = true;
    text("Nzenkainyuin", "2019/8/5");
    text("Nzenkaitaiin", "2019/8/20");
    index("Ntenki", 1);
    index("NtenkiTo", 0);
    const char* diagnoses[] = {"腰椎捻挫", "高血圧症", "2型糖尿病", "不眠症"};
    for (int n = 1; n <= 4; ++n) {
        const std::string s = std::to_string(n);
        text("NShidan" + s, diagnoses[n - 1]);
        v["NShidanday" + s].Text = "2024/4/" + std::to_string(n);
        if (n == 1) {
            text("Ntenkiday1", "2024/4/12");
            index("Ntenki1", 0);
        }
    }
    index("FFutanKubun", 0);
    for (int n = 1; n <= 6; ++n) {
        v["Fnendo" + std::to_string(n)].Text = SjisOf((std::to_string(2018 + n) + "年度").c_str());
        for (int m = 1; m <= 12; ++m)
            v["Ftsuki" + std::to_string(n) + "_" + std::to_string(m)].Flag = (n + m) % 4 != 0;
    }
    text("KeyBox1", "整形外科");
    text("KeyBox2", "筋骨格系");
    text("KeyBox3", "B-012");
    text("KeyBox4", "鈴木");
    text("KeyBox5", "労災");
    return v;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: record_screens OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
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
        settings.HeaderOut = 1;
        const char* labels[] = {"診療科", "病名分類", "箱番号", "担当医", "区分", "", "", ""};
        for (int n = 0; n < 8; ++n) {
            settings.UseKeyLabel[n] = n < 5;
            settings.KeyLabel[n] = SjisOf(labels[n]);
        }
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
    main.HideCommercial();
    main.IdEdit->setText("12345678");
    main.KeywordLists[0] = {SjisOf("整形外科"), SjisOf("内科"), SjisOf("外科")};
    main.Header->ShowKeywordLists();
    main.Header->ShowFields(DemoChart());
    main.Header->DaysCalcBtn->click();

    bool ok = true;
    for (const TabInfo& tab : RecordTabs()) {
        QWidget* page = main.PageControl->findChild<QWidget*>(tab.Name);
        main.PageControl->setCurrentWidget(page);
        Settle();
        // What the page needs, against what the window gives it.
        std::printf("%s needs %dx%d, has %dx%d\n", tab.Name, page->minimumSizeHint().width(),
                    page->minimumSizeHint().height(), page->width(), page->height());
        ok &= SavePicture(main.grab(), out / (std::string("tab-") + tab.Name + ".png"));
    }

    TKeyMainteForm& form = *w->KeyMainteForm;
    QTimer::singleShot(400, &form, [&] {
        form.KeyOption[0]->click();
        Settle();
        ok &= SavePicture(form.grab(), out / "keymainte.png");
        form.reject();
    });
    main.KeyMainte->trigger();
    return ok ? 0 : 1;
}
