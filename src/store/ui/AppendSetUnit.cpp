#include "store/ui/AppendSetUnit.h"

#include "settings/Registory.h"
#include "store/ChartAppend.h"
#include "util/ui/QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendlar {

TAppendSetForm::TAppendSetForm(QWidget* parent) : QDialog(parent) {
    setObjectName("AppendSetForm");
    setWindowTitle(Utf8Text("追加設定"));
    HeadCheck = new QCheckBox(Utf8Text("頭書きを追加"), this);
    HeadCheck->setObjectName("HeadCheck");
    ScanCheck = new QCheckBox(Utf8Text("スキャンしたイメージを追加"), this);
    ScanCheck->setObjectName("ScanCheck");
    KeyCheck = new QCheckBox(Utf8Text("キーワードの変更"), this);
    KeyCheck->setObjectName("KeyCheck");
    AppendType = new RadioGroup(Utf8Text("ページの"),
                                {Utf8Text("先頭に挿入"), Utf8Text("最後に追加")}, this);
    AppendType->setObjectName("AppendType");
    ErrLabel = new QLabel(this);
    ErrLabel->setObjectName("ErrLabel");
    ErrLabel->setStyleSheet("color: red");
    OkButton = new QPushButton("Ok", this);
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HeadCheck);
    layout->addWidget(ScanCheck);
    layout->addWidget(KeyCheck);
    layout->addWidget(AppendType);
    layout->addWidget(ErrLabel);
    layout->addLayout(buttons);

    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TAppendSetForm::LoadFrom(const TRegistory& settings) {
    HeadCheck->setChecked(settings.PdfHeader);
    ScanCheck->setChecked(settings.PdfImage);
    KeyCheck->setChecked(settings.PdfKeyWord);
    AppendType->SetItemIndex(settings.PdfInsType == 0 ? 0 : 1);
    KeyWordUse = settings.KeyWordUse;
    ErrLabel->clear();
}

void TAppendSetForm::StoreTo(TRegistory& settings) const {
    settings.PdfHeader = HeadCheck->isChecked();
    settings.PdfImage = ScanCheck->isChecked();
    settings.PdfKeyWord = KeyCheck->isChecked();
    settings.PdfInsType = AppendType->ItemIndex();
}

bool TAppendSetForm::Execute(TRegistory& settings) {
    LoadFrom(settings);
    if (exec() != QDialog::Accepted)
        return false;
    StoreTo(settings);
    return true;
}

void TAppendSetForm::OkButtonClick() {
    const std::string error =
        AppendSettingsError(HeadCheck->isChecked(), ScanCheck->isChecked(), KeyCheck->isChecked(),
                            AppendType->ItemIndex(), KeyWordUse);
    if (!error.empty()) {
        ErrLabel->setText(SjisToQString(error));
        return;
    }
    ErrLabel->clear();
    accept();
}

} // namespace pendlar
