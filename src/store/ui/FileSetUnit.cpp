#include "store/ui/FileSetUnit.h"

#include "settings/Registory.h"
#include "store/IjiItemList.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace pendlar {

TFileSetForm::TFileSetForm(QWidget* parent) : QDialog(parent) {
    setObjectName("FileSetForm");
    setWindowTitle(Utf8Text("検索設定"));

    KeyWordCheck = new QCheckBox(Utf8Text("キーワードを使用する。"), this);
    KeyWordCheck->setObjectName("KeyWordCheck");

    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(Utf8Text("key使用"), this), 0, 1);
    rows->addWidget(new QLabel(Utf8Text("キーワードラベル"), this), 0, 2);
    rows->addWidget(new QLabel(Utf8Text("医事情報の引用"), this), 0, 3);
    QStringList items;
    for (const IjiItem& item : IjiItemList())
        items << Utf8Text(item.Label);
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i + 1);
        LblCheck[i] = new QCheckBox(this);
        LblCheck[i]->setObjectName("LblCheck" + n);
        LblEdit[i] = new QLineEdit(this);
        LblEdit[i]->setObjectName("LblEdit" + n);
        LblEdit[i]->setMinimumWidth(140);
        // The label is stored as 12 bytes; the tip says so before Ok cuts it.
        LblEdit[i]->setToolTip(Utf8Text("全角6文字（半角12文字）まで"));
        NeedIji[i] = new QComboBox(this);
        NeedIji[i]->setObjectName("NeedIji" + n);
        NeedIji[i]->addItems(items);
        NeedIji[i]->setMaxVisibleItems(20);
        rows->addWidget(new QLabel(n, this), i + 1, 0);
        rows->addWidget(LblCheck[i], i + 1, 1, Qt::AlignHCenter);
        rows->addWidget(LblEdit[i], i + 1, 2);
        rows->addWidget(NeedIji[i], i + 1, 3);
        connect(LblCheck[i], &QCheckBox::clicked, this, [this, i] { LblCheckClick(i + 1); });
    }

    auto* pathGroup = new QGroupBox(Utf8Text(" HTML用パス保存設定　"), this);
    BaseCheck = new QCheckBox(Utf8Text("ベースフォルダーを除く"), pathGroup);
    BaseCheck->setObjectName("BaseCheck");
    Linuxcheck = new QCheckBox(Utf8Text("Linux Path 形式にする"), pathGroup);
    Linuxcheck->setObjectName("Linuxcheck");
    NoIdCheck = new QCheckBox(Utf8Text("IDNoを除く"), pathGroup);
    NoIdCheck->setObjectName("NoIdCheck");
    auto* pathLayout = new QVBoxLayout(pathGroup);
    pathLayout->addWidget(BaseCheck);
    pathLayout->addWidget(Linuxcheck);
    pathLayout->addWidget(NoIdCheck);

    ErrorMes = new QLabel(this);
    ErrorMes->setObjectName("ErrorMes");
    ErrorMes->setStyleSheet("color: red");
    OkButton = new QPushButton(Utf8Text("Ok"), this);
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    CancelButton = new QPushButton(Utf8Text("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ErrorMes, 1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(KeyWordCheck);
    layout->addLayout(rows);
    layout->addSpacing(6);
    layout->addWidget(pathGroup);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(KeyWordCheck, &QCheckBox::clicked, this, [this] { KeyWordCheckClick(); });
    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TFileSetForm::LoadFrom(const TRegistory& s) {
    KeyWordCheck->setChecked(s.KeyWordUse);
    for (int i = 0; i < 8; ++i) {
        LblCheck[i]->setChecked(s.UseKeyLabel[i]);
        LblEdit[i]->setText(SjisToQString(s.KeyLabel[i]));
        const int item = s.IjiItem[i];
        // An index the list does not have (a hand-edited settings file) means no field.
        NeedIji[i]->setCurrentIndex(item >= 0 && item < kIjiItemCount ? item : 0);
    }
    BaseCheck->setChecked(s.NoUseBase);
    Linuxcheck->setChecked(s.UseLinuxPath);
    NoIdCheck->setChecked(s.NoIdNo);
}

void TFileSetForm::StoreTo(TRegistory& s) const {
    s.KeyWordUse = KeyWordCheck->isChecked();
    for (int i = 0; i < 8; ++i) {
        s.UseKeyLabel[i] = LblCheck[i]->isChecked();
        // The label heads a grid column and a keyword row; half a character would show
        // there as a broken glyph, so the cut keeps whole characters.
        s.KeyLabel[i] = CutAtCharBoundary(QStringToSjis(LblEdit[i]->text()), kKeyLabelBytes);
        s.IjiItem[i] = NeedIji[i]->currentIndex();
    }
    s.NoUseBase = BaseCheck->isChecked();
    s.UseLinuxPath = Linuxcheck->isChecked();
    s.NoIdNo = NoIdCheck->isChecked();
}

bool TFileSetForm::Execute(TRegistory& settings) {
    LoadFrom(settings);
    if (exec() != QDialog::Accepted)
        return false;
    StoreTo(settings);
    return true;
}

void TFileSetForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFileSetForm::FormShow() {
    ErrorMes->clear();
    if (!KeyWordCheck->isChecked()) {
        for (int i = 0; i < 8; ++i) {
            LblCheck[i]->setChecked(false);
            LblEdit[i]->clear();
            NeedIji[i]->setCurrentIndex(0);
        }
    }
    UpdateEnabled();
}

void TFileSetForm::UpdateEnabled() {
    const bool keys = KeyWordCheck->isChecked();
    for (int i = 0; i < 8; ++i) {
        const bool row = keys && LblCheck[i]->isChecked();
        LblCheck[i]->setEnabled(keys);
        LblEdit[i]->setEnabled(row);
        NeedIji[i]->setEnabled(row);
    }
}

void TFileSetForm::KeyWordCheckClick() {
    UpdateEnabled();
}

void TFileSetForm::LblCheckClick(int /*n*/) {
    UpdateEnabled();
}

void TFileSetForm::OkButtonClick() {
    ErrorMes->clear();
    if (KeyWordCheck->isChecked()) {
        bool anyTicked = false;
        for (int i = 0; i < 8; ++i) {
            if (!LblCheck[i]->isChecked())
                continue;
            anyTicked = true;
            if (LblEdit[i]->text().isEmpty()) {
                ErrorMes->setText(Utf8Text("キーワードラベルがありません。"));
                return;
            }
        }
        if (!anyTicked) {
            ErrorMes->setText(Utf8Text("Key使用のチェックがありません。"));
            return;
        }
    }
    accept();
}

} // namespace pendlar
