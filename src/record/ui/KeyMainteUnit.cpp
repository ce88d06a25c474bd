#include "record/ui/KeyMainteUnit.h"

#include "util/ui/QtText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pendlar {

TKeyMainteForm::TKeyMainteForm(QWidget* parent) : QDialog(parent) {
    setObjectName("KeyMainteForm");
    setWindowTitle(Utf8Text("キーワード"));
    resize(480, 420);

    auto* layout = new QVBoxLayout(this);
    MainMenu = new QMenuBar(this);
    EditMenu = MainMenu->addMenu(Utf8Text("編集"));
    EditMenu->setObjectName("EditMenu");
    CopyItem = EditMenu->addAction(Utf8Text("コピー"));
    PasteItem = EditMenu->addAction(Utf8Text("貼り付け"));
    CutItem = EditMenu->addAction(Utf8Text("切り取り"));
    SelectAllItem = EditMenu->addAction(Utf8Text("全て選択"));
    layout->setMenuBar(MainMenu);

    auto* row = new QHBoxLayout;
    KeyGroup = new QGroupBox(Utf8Text("キーラベル"), this);
    KeyGroup->setObjectName("KeyGroup");
    auto* optionLayout = new QVBoxLayout(KeyGroup);
    for (int n = 1; n <= kKeywordCount; ++n) {
        auto* option = new QRadioButton(KeyGroup);
        option->setObjectName(QString("KeyOption%1").arg(n));
        option->setMinimumWidth(140);
        options_.addButton(option, n);
        optionLayout->addWidget(option);
        KeyOption[n - 1] = option;
    }
    optionLayout->addStretch(1);
    KeyMemo = new QPlainTextEdit(this);
    KeyMemo->setObjectName("KeyMemo");
    KeyMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    row->addWidget(KeyGroup);
    row->addWidget(KeyMemo, 1);
    layout->addLayout(row);

    connect(CopyItem, &QAction::triggered, KeyMemo, &QPlainTextEdit::copy);
    connect(PasteItem, &QAction::triggered, KeyMemo, &QPlainTextEdit::paste);
    connect(CutItem, &QAction::triggered, KeyMemo, &QPlainTextEdit::cut);
    connect(SelectAllItem, &QAction::triggered, KeyMemo, &QPlainTextEdit::selectAll);
    connect(&options_, &QButtonGroup::idClicked, this, [this](int n) { KeyGroupClick(n); });
}

TKeyMainteForm::~TKeyMainteForm() = default;

void TKeyMainteForm::FormShow(KeywordListSet& lists,
                              const std::array<std::string, kKeywordCount>& labels) {
    maintenance_ = std::make_unique<KeywordMaintenance>(lists);
    maintenance_->Start();
    KeyMemo->clear();
    for (int n = 1; n <= kKeywordCount; ++n)
        KeyOption[n - 1]->setText(SjisToQString(labels[n - 1]));
    // An exclusive group cannot uncheck its last button directly.
    options_.setExclusive(false);
    for (QAbstractButton* option : options_.buttons())
        option->setChecked(false);
    options_.setExclusive(true);
}

void TKeyMainteForm::Execute(KeywordListSet& lists,
                             const std::array<std::string, kKeywordCount>& labels) {
    FormShow(lists, labels);
    exec();
}

std::vector<std::string> TKeyMainteForm::MemoLines() const {
    return SplitLines(QStringToSjis(KeyMemo->toPlainText()));
}

void TKeyMainteForm::KeyGroupClick(int n) {
    if (!maintenance_)
        return;
    std::vector<std::string> lines = maintenance_->Choose(n, MemoLines());
    // Every line keeps its own line end, so that empty entries at the end survive the memo.
    KeyMemo->setPlainText(SjisToQString(JoinLines(lines, "\n")));
    if (!KeyOption[n - 1]->isChecked())
        KeyOption[n - 1]->setChecked(true);
}

void TKeyMainteForm::done(int result) {
    if (maintenance_) {
        maintenance_->Finish(MemoLines());
        maintenance_.reset();
    }
    QDialog::done(result);
}

} // namespace pendlar
