// The header tabs on the real main window: controls generated from the field table, the
// reset, byte limits, the day-count button, the keyword rows and the maintenance window.
#include "RecordTestSupport.h"

#include "app/AppWindows.h"
#include "app/ApplicationSetup.h"
#include "app/MainUnit.h"
#include "record/Choices.h"
#include "record/FieldTable.h"
#include "record/ui/FieldControls.h"
#include "record/ui/HeaderTabs.h"
#include "record/ui/KeyMainteUnit.h"
#include "settings/Registory.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include "TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::RecordingUserInterface;
using Lines = std::vector<std::string>;

std::string Utf8(const QString& s) {
    return s.toStdString();
}

// The program's windows on a fresh profile, not shown.
struct Program {
    Program() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "record_ui_tests";
            static char* argv[] = {name, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static QApplication* app = new QApplication(argc, argv);
            SetUpApplication(*app);
            QApplication::setQuitOnLastWindowClosed(false);
        }
        SetProfileDir(dir.Path().string());
        windows = CreateApplicationWindows(&ui);
    }
    ~Program() {
        windows.reset();
        SetProfileDir("");
    }
    TMainForm& Main() { return *windows->MainForm; }
    HeaderTabs& Tabs() { return *windows->MainForm->Header; }
    template <typename T> T* Get(const std::string& name) {
        return dynamic_cast<T*>(Tabs().Control(name));
    }

    test::TempDir dir;
    RecordingUserInterface ui;
    std::unique_ptr<ApplicationWindows> windows;
};

TEST(HeaderTabs, ClearRecordEmptiesEveryControlAndKeepsLabelsAndLists) {
    Program p;
    TMainForm& m = p.Main();
    for (int n = 0; n < kKeywordCount; ++n)
        m.KeywordLists[n] = {"a", "b"};
    m.Header->ShowKeywordLists();
    FieldView filled;
    for (const FieldInfo& f : RecordFields())
        filled[f.Name] = FieldValue{"x", 1, true};
    p.Tabs().ShowFields(filled);
    m.Record.Signature.Assign("PDFCARUTE");
    m.Record.CreateDate = 45000;

    m.ClearRecord();

    for (const FieldInfo& f : RecordFields()) {
        SCOPED_TRACE(f.Name);
        QWidget* w = p.Tabs().Control(f.Name);
        ASSERT_TRUE(w);
        EXPECT_EQ(Utf8(w->objectName()), f.Name);
        EXPECT_EQ(w->window(), &m); // on the main window, in its tab
        switch (f.Kind) {
        case FieldKind::Text:
        case FieldKind::Date:
            EXPECT_TRUE(static_cast<QLineEdit*>(w)->text().isEmpty());
            break;
        case FieldKind::Memo:
            EXPECT_TRUE(static_cast<QPlainTextEdit*>(w)->toPlainText().isEmpty());
            break;
        case FieldKind::Choice: {
            auto* box = static_cast<QComboBox*>(w);
            EXPECT_EQ(box->currentIndex(), -1);
            EXPECT_TRUE(box->currentText().isEmpty());
            EXPECT_EQ(box->count(), f.Tab == RecordTab::Keyword ? 2 : int(f.Choices.size()));
            break;
        }
        case FieldKind::Radio:
            EXPECT_EQ(static_cast<OptionButtons*>(w)->Index(), -1);
            break;
        case FieldKind::Check:
            EXPECT_FALSE(static_cast<QCheckBox*>(w)->isChecked());
            break;
        case FieldKind::DayLabel:
            EXPECT_EQ(Utf8(static_cast<QLabel*>(w)->text()), "x");
            break;
        case FieldKind::ErrorMark:
            EXPECT_FALSE(w->isHidden());
            break;
        case FieldKind::Button:
            break;
        }
    }
    EXPECT_EQ(m.KeywordLists[7], (Lines{"a", "b"}));
    EXPECT_TRUE(m.Record.Signature.Empty());
    EXPECT_EQ(m.Record.CreateDate, 0);
}

TEST(HeaderTabs, FieldsRoundTripThroughTheControls) {
    Program p;
    auto* zokugara = p.Get<QComboBox>("Rzokugara"); // filled from its lookup table at start-up
    for (const char* item : kZokugaraChoices)
        zokugara->addItem(QString::fromUtf8(item));
    const FieldView view = test::ValidView(0);
    p.Tabs().ShowFields(view);
    const FieldView read = p.Tabs().ReadFields();
    for (const auto& [name, value] : view) {
        const FieldInfo* f = FindField(name);
        ASSERT_TRUE(f) << name;
        if (f->Kind == FieldKind::Choice || f->Kind == FieldKind::Radio)
            EXPECT_EQ(read.at(name).Index, value.Index) << name;
        else
            EXPECT_EQ(read.at(name), value) << name;
    }
    // A memo keeps CR LF line breaks in the view and shows them as lines.
    EXPECT_EQ(Utf8(p.Get<QPlainTextEdit>("kioureki")->toPlainText()), "高血圧\n糖尿病旧");
    // A typed text that is no item reads as no selection, an item's text as that item.
    auto* gtenki = p.Get<QComboBox>("Gtenki3");
    gtenki->setEditText(QString::fromUtf8("治ゆ"));
    EXPECT_EQ(p.Tabs().ReadFields().at("Gtenki3").Index, -1);
    gtenki->setEditText(QString::fromUtf8("中断"));
    EXPECT_EQ(p.Tabs().ReadFields().at("Gtenki3").Index, 1);
}

TEST(HeaderTabs, TextsAcceptTheirCapacityInShiftJisBytes) {
    Program p;
    for (const FieldInfo& f : RecordFields()) {
        if (f.Kind != FieldKind::Text)
            continue;
        auto* edit = p.Get<QLineEdit>(f.Name);
        EXPECT_EQ(edit->testAttribute(Qt::WA_InputMethodEnabled), !f.NoInputMethod) << f.Name;
        edit->insert(QString(300, QLatin1Char('x')));
        EXPECT_EQ(edit->text().size(), f.Capacity) << f.Name;
    }
    for (const char* name : {"Ptel", "Pkeitai", "Rtel", "Rkeitai", "Hhokentel", "Hjtel"})
        EXPECT_FALSE(p.Get<QLineEdit>(name)->testAttribute(Qt::WA_InputMethodEnabled)) << name;

    // A half-width letter and 25 full-width characters are 51 bytes; the 40-byte name field
    // takes the letter and 19 characters, never half a character.
    auto* name = p.Get<QLineEdit>("PName");
    name->clear();
    name->insert(QString::fromUtf8("a") + QString(25, QChar(0x3042)));
    EXPECT_EQ(QStringToSjis(name->text()).size(), 39u);
    // In a full field a character typed in the middle is refused; the rest stays.
    name->setText(QString(40, QLatin1Char('x')));
    name->setCursorPosition(5);
    name->insert(QStringLiteral("y"));
    EXPECT_EQ(name->text(), QString(40, QLatin1Char('x')));

    // Memos count their line breaks as two bytes.
    auto* memo = p.Get<QPlainTextEdit>("bikou");
    memo->insertPlainText(QString(300, QLatin1Char('m')));
    EXPECT_EQ(memo->toPlainText().size(), 255);
    memo->clear();
    memo->insertPlainText(QString(100, QLatin1Char('\n')) + QString(100, QLatin1Char('m')));
    EXPECT_EQ(SjisLength(memo->toPlainText(), true), 255);
    EXPECT_EQ(memo->toPlainText().count(QLatin1Char('m')), 55);
}

TEST(HeaderTabs, DayCountButtonAndTheOutpatientCheck) {
    Program p;
    TMainForm& m = p.Main();
    m.Registory->HeaderOut = 1;
    FieldView view = test::ValidView(0); // Rikenfrom1 2010/1/1, Rikento1 2010/1/31
    view["Rikento2"].Text = "bad";
    p.Tabs().ShowFields(view);
    p.Tabs().DaysCalcBtn->click();
    EXPECT_EQ(Utf8(p.Get<QLabel>("Rikenday1")->text()), "31日間");
    EXPECT_EQ(Utf8(p.Get<QLabel>("Rnyuinday1")->text()), "11日間");
    EXPECT_TRUE(p.Get<QLabel>("Ikfm2Err")->isHidden());
    EXPECT_FALSE(p.Get<QLabel>("Ikto2Err")->isHidden());
    EXPECT_TRUE(p.Get<QLabel>("Ikfm1Err")->isHidden());

    p.Get<QLineEdit>("Rikento2")->setText("2010/2/28");
    EXPECT_TRUE(p.Tabs().CheckOutpatientRecord(m.Record, m.UI()));
    EXPECT_EQ(Utf8(p.Get<QLabel>("Rikenday1")->text()), "30");
    EXPECT_EQ(SjisToUtf8(m.Record.PName.Text()), "山田太郎旧");
    // With another header kind the button only hides the marks.
    m.Registory->HeaderOut = 2;
    p.Get<QLineEdit>("Rikento1")->setText("bad");
    p.Tabs().DaysCalcBtn->click();
    EXPECT_TRUE(p.Get<QLabel>("Ikto1Err")->isHidden());
    EXPECT_EQ(Utf8(p.Get<QLabel>("Rikenday1")->text()), "30");
}

TEST(HeaderTabs, KeywordRows) {
    Program p;
    TMainForm& m = p.Main();
    HeaderTabs& t = p.Tabs();
    m.Registory->UseKeyLabel.fill(true);
    m.Registory->UseKeyLabel[3] = false;
    m.Registory->KeyLabel[0] = SjisOf("診療科");
    m.Registory->KeyLabel[3] = SjisOf("箱番号");
    m.ApplyKeyLabels();
    for (int n = 1; n <= 8; ++n)
        for (QWidget* w : std::initializer_list<QWidget*>{t.KeyLabel[n - 1], t.KeyBox[n - 1],
                                                          t.ClrBtn[n - 1], t.AddBtn[n - 1]})
            EXPECT_EQ(w->isHidden(), n == 4) << n;
    EXPECT_EQ(Utf8(t.KeyLabel[0]->text()), "診療科");

    // Adding twice the same text and an empty text; clearing keeps the list.
    t.KeyBox[1]->setEditText(QString::fromUtf8("胃"));
    t.AddBtn[1]->click();
    t.AddBtn[1]->click();
    EXPECT_EQ(Utf8(t.KeyBox[1]->currentText()), "胃");
    t.ClrBtn[1]->click();
    EXPECT_TRUE(t.KeyBox[1]->currentText().isEmpty());
    t.AddBtn[1]->click();
    EXPECT_EQ(m.KeywordLists[1], (Lines{SjisOf("胃"), SjisOf("胃"), ""}));
    EXPECT_EQ(t.KeyBox[1]->count(), 3);

    // The hidden row is still offered by the maintenance window, under its label.
    TKeyMainteForm& form = *p.windows->KeyMainteForm;
    QTimer::singleShot(0, &form, [&] {
        EXPECT_EQ(Utf8(form.KeyOption[3]->text()), "箱番号");
        EXPECT_FALSE(form.KeyOption[3]->isHidden());
        form.KeyOption[1]->click();
        EXPECT_EQ(Utf8(form.KeyMemo->toPlainText()), "胃\n胃\n\n");
        form.KeyMemo->setPlainText(QString::fromUtf8("胃\n大腸"));
        form.reject();
    });
    m.KeyMainte->trigger();
    EXPECT_EQ(m.KeywordLists[1], (Lines{SjisOf("胃"), SjisOf("大腸")}));
    EXPECT_EQ(t.KeyBox[1]->count(), 2); // the box offers the edited list

    // 取り込み quotes the chosen fields into the keywords without asking anything.
    p.ui.Messages.clear();
    t.GetIjiInfoBtn->click();
    EXPECT_TRUE(p.ui.Messages.empty());
}

TEST(KeyMainteForm, SwitchingRules) {
    Program p;
    TKeyMainteForm& form = *p.windows->KeyMainteForm;
    KeywordListSet lists;
    lists.List(3) = {"c1", "c2"};
    lists.List(5) = {"e1"};
    std::array<std::string, 8> labels{};

    // Opened and closed without a choice: no list changes.
    form.FormShow(lists, labels);
    form.show();
    form.KeyMemo->setPlainText("typed");
    form.reject();
    EXPECT_EQ(lists.List(3), (Lines{"c1", "c2"}));
    EXPECT_EQ(lists.List(5), Lines{"e1"});

    // Edit list 3, switch to 5, close.
    form.FormShow(lists, labels);
    EXPECT_TRUE(form.KeyMemo->toPlainText().isEmpty());
    for (QRadioButton* option : form.KeyOption)
        EXPECT_FALSE(option->isChecked());
    form.show();
    form.KeyOption[2]->click();
    form.KeyMemo->setPlainText("c1\nc2 edited");
    form.KeyOption[4]->click();
    EXPECT_EQ(Utf8(form.KeyMemo->toPlainText()), "e1\n");
    form.KeyMemo->setPlainText("e1\ne2");
    form.SelectAllItem->trigger();
    EXPECT_EQ(form.KeyMemo->textCursor().selectedText().size(), form.KeyMemo->toPlainText().size());
    form.close();
    EXPECT_EQ(lists.List(3), (Lines{"c1", "c2 edited"}));
    EXPECT_EQ(lists.List(5), (Lines{"e1", "e2"}));
}

} // namespace
} // namespace pendlar
