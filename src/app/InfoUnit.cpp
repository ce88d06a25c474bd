#include "app/InfoUnit.h"

#include "util/ui/QtText.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendlar {

Tinfo::Tinfo(QWidget* parent) : QDialog(parent) {
    setObjectName("info");
    setWindowTitle(Utf8Text("情報"));
    auto* product = new QLabel(Utf8Text("Quilmo Pendlar"), this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(Utf8Text("Version 1.51"), this);
    auto* date = new QLabel(Utf8Text("2011.1"), this);
    OkButton = new QPushButton(Utf8Text("OK"), this);
    OkButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {product, version, date}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addSpacing(8);
    layout->addWidget(OkButton, 0, Qt::AlignCenter);
    setMinimumWidth(320);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace pendlar
