#include "qrcode/ui/QRImagePropertyUnit.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace pendlar {

TQRimgAtrForm::TQRimgAtrForm(QWidget* parent) : QDialog(parent) {
    setObjectName("QRimgAtrForm");
    setWindowTitle(QString::fromUtf8("ＱＲコードプロパティ"));
    auto* grid = new QGridLayout(this);
    TopEdit = new QSpinBox(this);
    LeftEdit = new QSpinBox(this);
    SizeEdit = new QSpinBox(this);
    for (QSpinBox* e : {TopEdit, LeftEdit})
        e->setRange(-99999, 99999);
    SizeEdit->setRange(2, 100);
    const char* labels[] = {"上位置", "左位置", "枡サイズ"};
    QSpinBox* edits[] = {TopEdit, LeftEdit, SizeEdit};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), i, 0);
        grid->addWidget(edits[i], i, 1);
    }
    auto* ok = new QPushButton(QString::fromUtf8("設定"), this);
    grid->addWidget(ok, 3, 0, 1, 2, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TQRimgAtrForm::Load(int top, int left, int moduleSize) {
    TopEdit->setValue(top);
    LeftEdit->setValue(left);
    // A module size below the window's range (from an older layout) still shows as it is,
    // so that closing without a change keeps it.
    SizeEdit->setMinimum(std::min(2, moduleSize));
    SizeEdit->setValue(moduleSize);
}

} // namespace pendlar
