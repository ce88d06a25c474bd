#include "qrcode/ui/PrintExecUnit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pendlar {

TPrintExecForm::TPrintExecForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PrintExecForm");
    setWindowTitle(QString::fromUtf8("プリントの実行"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QString::fromUtf8("印刷範囲"), this);
    auto* grid = new QGridLayout(group);
    AllRadio = new QRadioButton(QString::fromUtf8("全て"), group);
    RangeRadio = new QRadioButton(QString::fromUtf8("範囲を指定"), group);
    OneRadio = new QRadioButton(QString::fromUtf8("1件のみ"), group);
    StartEdit = new QSpinBox(group);
    EndEdit = new QSpinBox(group);
    LineEdit = new QSpinBox(group);
    grid->addWidget(AllRadio, 0, 0);
    grid->addWidget(RangeRadio, 1, 0);
    grid->addWidget(new QLabel(QString::fromUtf8("開始行"), group), 1, 1);
    grid->addWidget(StartEdit, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8("終了行"), group), 1, 3);
    grid->addWidget(EndEdit, 1, 4);
    grid->addWidget(OneRadio, 2, 0);
    grid->addWidget(new QLabel(QString::fromUtf8("行指定"), group), 2, 1);
    grid->addWidget(LineEdit, 2, 2);
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("Ok", this);
    auto* cancel = new QPushButton("Cancel", this);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    for (QRadioButton* r : {AllRadio, RangeRadio, OneRadio})
        connect(r, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Setup(1);
}

void TPrintExecForm::Setup(int lines) {
    for (QSpinBox* e : {StartEdit, EndEdit, LineEdit}) {
        e->setRange(1, std::max(1, lines));
        e->setValue(1);
    }
    AllRadio->setChecked(true);
    UpdateEnabled();
}

void TPrintExecForm::UpdateEnabled() {
    StartEdit->setEnabled(RangeRadio->isChecked());
    EndEdit->setEnabled(RangeRadio->isChecked());
    LineEdit->setEnabled(OneRadio->isChecked());
}

void TPrintExecForm::Range(int lines, int& first, int& last) const {
    if (RangeRadio->isChecked()) {
        first = StartEdit->value();
        last = EndEdit->value();
    } else if (OneRadio->isChecked()) {
        first = last = LineEdit->value();
    } else {
        first = 1;
        last = lines;
    }
}

} // namespace pendlar
