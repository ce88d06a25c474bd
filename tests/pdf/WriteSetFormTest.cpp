// The PDF write settings window: its checks and their texts, what it stores, the default
// page size button and the question before the scanner folder is cleared.
#include "pdf/ui/WriteSettingUnit.h"

#include "intake/ui/DeleteWarningUnit.h"
#include "settings/Registory.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include "TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace pendlar {
namespace {

void EnsureApplication() {
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "pdf_ui_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

class WriteSetFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.Target = base.Sjis() + "/";
        form.LoadFrom(settings);
    }
    std::string Status() const { return form.StatusBar1->currentMessage().toStdString(); }

    struct Application {
        Application() { EnsureApplication(); }
    } application_; // before any widget
    test::TempDir base;
    TRegistory settings;
    TWriteSetForm form;
};

struct CheckCase {
    const char* Expected;
    std::function<void(TWriteSetForm&)> Change;
};

TEST_F(WriteSetFormTest, TheFirstFailingCheckIsShownAndKeepsTheWindowOpen) {
    ASSERT_TRUE(form.CheckInput()) << Status();
    const CheckCase cases[] = {
        {"ベースフォルダーエラー", [](auto& f) { f.PdfSetPathDisp->setText("/no/such/folder"); }},
        {"フォルダー１サイズエラー", [](auto& f) { f.LFront[0]->setText("ABCDEFGHIJK"); }},
        // Six double-byte characters are twelve bytes.
        {"フォルダー３サイズエラー",
         [](auto& f) { f.LBack[2]->setText(Utf8Text("一二三四五六")); }},
        {"*** 科別区分番号 サイズエラー", [](auto& f) { f.KaCode->setText("12345"); }},
        {"縦:数値エラー", [](auto& f) { f.PdfPageHeight->setText("10x"); }},
        {"横:数値エラー", [](auto& f) { f.PdfPageWidth->setText(""); }},
        {"縦か横のサイズが少ないエラー", [](auto& f) { f.PdfPageWidth->setText("99"); }},
    };
    for (const CheckCase& c : cases) {
        form.LoadFrom(settings);
        c.Change(form);
        form.SetButton->click();
        EXPECT_FALSE(form.CheckInput());
        EXPECT_EQ(Status(), c.Expected);
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    // Ten bytes exactly pass.
    form.LoadFrom(settings);
    form.LFront[3]->setText("ABCDEFGHIJ");
    EXPECT_TRUE(form.CheckInput());
}

TEST_F(WriteSetFormTest, StoresEveryControlIntoItsSetting) {
    form.LFront[0]->setText("A");
    form.LBack[3]->setText(Utf8Text("科"));
    form.HPCodeEdit->setText("12345678901234567890"); // kept to 16 bytes
    form.KaCode->setText("01");
    form.CaruteHeaderOut->SetItemIndex(2);
    form.FirstPageOutCheck->setChecked(true);
    form.StretchCheck->setChecked(true);
    form.QualitySpin->setValue(30); // the spin box keeps 50 to 100
    form.DefaultSizeButton->click();
    EXPECT_EQ(form.PdfPageHeight->text().toStdString(), "1000");
    EXPECT_EQ(form.PdfPageWidth->text().toStdString(), "700");
    form.PdfPageWidth->setText(" 650 ");
    ASSERT_TRUE(form.CheckInput());

    TRegistory stored;
    form.StoreTo(stored);
    EXPECT_EQ(stored.Target, settings.Target);
    EXPECT_EQ(stored.L1Front, "A");
    EXPECT_EQ(stored.L4Back, SjisOf("科"));
    EXPECT_EQ(stored.HPCode, "1234567890123456");
    EXPECT_EQ(stored.KaCode, "01");
    EXPECT_EQ(stored.HeaderOut, 2);
    EXPECT_TRUE(stored.FirstPage);
    EXPECT_TRUE(stored.Stretch);
    EXPECT_EQ(stored.Quality, 50);
    EXPECT_EQ(stored.PdfPageHeight, 1000);
    EXPECT_EQ(stored.PdfPageWidth, 650);
}

TEST_F(WriteSetFormTest, ClearingTheScannerFolderIsAskedAndCancelUnticksIt) {
    settings.FolderClear = false;
    settings.ScannerDir = "/scans";
    form.LoadFrom(settings);
    std::vector<std::string> asked;
    bool answer = false;
    form.ConfirmFolderClear = [&](const std::string& dir) {
        asked.push_back(dir);
        return answer;
    };
    form.ScanClrCheck->click();
    EXPECT_FALSE(form.ScanClrCheck->isChecked());
    answer = true;
    form.ScanClrCheck->click();
    EXPECT_TRUE(form.ScanClrCheck->isChecked());
    form.ScanClrCheck->click(); // unticking asks nothing
    EXPECT_EQ(asked, (std::vector<std::string>{"/scans", "/scans"}));
}

// The settings command asks with the scanner folder's own warning window, the one the
// folder-clearing command shows: the folder in its read-only field, "Cancel" unticks, "Ok"
// keeps the tick.
TEST_F(WriteSetFormTest, ClearingTheScannerFolderShowsTheFolderWarningWindow) {
    settings.FolderClear = false;
    settings.ScannerDir = SjisOf("/スキャン");
    std::vector<QString> shown;
    std::vector<bool> ticked;
    // Answers the warning window that the next tick opens.
    auto answerWarning = [&](bool ok) {
        QTimer::singleShot(0, [&, ok] {
            auto* warning = dynamic_cast<TDeleteWarningForm*>(QApplication::activeModalWidget());
            ASSERT_NE(warning, nullptr);
            EXPECT_TRUE(warning->FileDirLabel->isReadOnly());
            shown.push_back(warning->windowTitle() + " " + warning->FileDirLabel->text());
            (ok ? warning->OkBtn : warning->CancelBtn)->click();
        });
    };
    QTimer::singleShot(0, [&] {
        for (bool ok : {false, true}) {
            answerWarning(ok);
            form.ScanClrCheck->click();
            ticked.push_back(form.ScanClrCheck->isChecked());
        }
        form.CancelButton->click();
    });
    EXPECT_FALSE(SaveSettingClick(form, settings));
    EXPECT_EQ(ticked, (std::vector<bool>{false, true}));
    const QString expected = QString::fromUtf8("警告 /スキャン");
    EXPECT_EQ(shown, (std::vector<QString>{expected, expected}));
    // One warning window serves every question.
    EXPECT_EQ(form.findChildren<TDeleteWarningForm*>().size(), 1);
}

} // namespace
} // namespace pendlar
