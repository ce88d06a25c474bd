#include "settings/Registory.h"
#include "store/ui/AppendSetUnit.h"
#include "store/ui/PolicyUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

// Fontconfig keeps its caches until the process ends; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\n";
}

namespace pendlar {
namespace {

class AppendWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            static int argc = 1;
            static char name[] = "store_append_ui_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
    }
};

TEST_F(AppendWindows, AppendSettingsAreStoredOnlyWhenOkPasses) {
    TRegistory settings;
    settings.PdfHeader = false;
    settings.PdfImage = true;
    settings.PdfKeyWord = false;
    settings.PdfInsType = 5; // anything but 0 shows as "最後に追加"
    settings.KeyWordUse = false;
    TAppendSetForm form;
    form.LoadFrom(settings);
    EXPECT_EQ(form.AppendType->ItemIndex(), 1);

    struct Step {
        bool Head, Scan, Key;
        int Type;
        const char* Error; // "" when Ok closes the window
    } steps[] = {
        {false, false, false, 0, "設定無しエラー"},
        {true, false, false, -1, "挿入設定エラー"},
        {false, false, true, 0, "キーワード設定エラー"},
        {true, false, false, 0, ""},
    };
    for (const Step& s : steps) {
        form.HeadCheck->setChecked(s.Head);
        form.ScanCheck->setChecked(s.Scan);
        form.KeyCheck->setChecked(s.Key);
        form.AppendType->SetItemIndex(s.Type);
        form.setResult(QDialog::Rejected);
        form.OkButtonClick();
        EXPECT_EQ(form.ErrLabel->text(), QString::fromUtf8(s.Error));
        EXPECT_EQ(form.result(), *s.Error ? QDialog::Rejected : QDialog::Accepted);
    }

    // Execute stores on Ok and leaves the settings alone on Cancel.
    QTimer::singleShot(0, &form, [&] {
        form.ScanCheck->setChecked(false);
        form.CancelButton->click();
    });
    EXPECT_FALSE(form.Execute(settings));
    EXPECT_TRUE(settings.PdfImage);
    QTimer::singleShot(0, &form, [&] {
        form.HeadCheck->setChecked(true);
        form.AppendType->SetItemIndex(0);
        form.OkButton->click();
    });
    EXPECT_TRUE(form.Execute(settings));
    EXPECT_TRUE(settings.PdfHeader);
    EXPECT_TRUE(settings.PdfImage);
    EXPECT_EQ(settings.PdfInsType, 0);
}

TEST_F(AppendWindows, PolicyWindowNeedsAnOwnerPasswordAndCancelIsTheNullPolicy) {
    TPolicyForm form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("セキュリティポリシーの選択"));
    QTimer::singleShot(0, &form, [&] { form.CancelButton->click(); });
    EXPECT_FALSE(form.ChooseSecurityPolicy());

    QTimer::singleShot(0, &form, [&] {
        form.OkButton->click(); // no owner password: stays open
        EXPECT_FALSE(form.ErrLabel->text().isEmpty());
        form.OwnerPasswordEdit->setText("owner");
        form.OwnerConfirmEdit->setText("other");
        form.OkButton->click(); // confirmation differs: stays open
        EXPECT_FALSE(form.ErrLabel->text().isEmpty());
        form.UserPasswordEdit->setText("owner");
        form.OwnerConfirmEdit->setText("owner");
        form.OkButton->click(); // same as the user password: stays open
        EXPECT_TRUE(form.isVisible());
        form.UserPasswordEdit->setText(QString::fromUtf8("利用者"));
        form.PrintCheck->setChecked(false);
        form.AnnotCheck->setChecked(false);
        form.OkButton->click();
    });
    const std::optional<SecurityPolicy> policy = form.ChooseSecurityPolicy();
    ASSERT_TRUE(policy);
    EXPECT_EQ(*policy, (SecurityPolicy{"利用者", "owner", false, true, true, false}));
    EXPECT_TRUE(form.OwnerPasswordEdit->text().isEmpty()) << "passwords are not kept in the window";
}

} // namespace
} // namespace pendlar
