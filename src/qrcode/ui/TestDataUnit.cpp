#include "qrcode/ui/TestDataUnit.h"

#include "qrcode/CsvLine.h"
#include "qrcode/ui/CoverSheetFont.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pendlar {

TTestDataForm::TTestDataForm(QWidget* parent) : QDialog(parent) {
    setObjectName("TestDataForm");
    setWindowTitle(QString::fromUtf8("テストデータの入力"));
    auto* grid = new QGridLayout(this);
    const char* names[] = {"患者番号", "氏名", "性別", "生年月日", "住所"};
    QLineEdit** edits[] = {&IdNoEdit, &NameEdit, &SexEdit, &BirthEdit, &AddressEdit};
    for (int i = 0; i < 5; ++i) {
        *edits[i] = new QLineEdit(this);
        grid->addWidget(new QLabel(QString::fromUtf8(names[i]), this), i, 0);
        grid->addWidget(*edits[i], i, 1);
    }
    IdNoEdit->setToolTip(QString::fromUtf8("( 1 -> 99999999 )"));
    grid->addWidget(new QLabel(QString::fromUtf8("( 1 -> 99999999 )"), this), 0, 2);
    ErrorLbl = new QLabel(this);
    ErrorLbl->setStyleSheet("color: red");
    grid->addWidget(ErrorLbl, 5, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 6, 0, 1, 3);
    connect(ok, &QPushButton::clicked, this, [this] { OkBtnClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TTestDataForm::Reset() {
    for (QLineEdit* e : {IdNoEdit, NameEdit, SexEdit, BirthEdit, AddressEdit})
        e->clear();
    ErrorLbl->clear();
    number_ = 0;
}

void TTestDataForm::OkBtnClick() {
    const long number = TCsvLine::ParsePatientNumber(QStringSjis(IdNoEdit->text()));
    if (number == 0) {
        ErrorLbl->setText(QString::fromUtf8("患者番号に誤りがあります。"));
        return;
    }
    number_ = number;
    accept();
}

} // namespace pendlar
