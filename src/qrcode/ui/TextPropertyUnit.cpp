#include "qrcode/ui/TextPropertyUnit.h"

#include "qrcode/ui/CoverSheetFont.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace pendlar {

TTxtAtrForm::TTxtAtrForm(QWidget* parent) : QDialog(parent) {
    setObjectName("TxtAtrForm");
    setWindowTitle(QString::fromUtf8("文字のプロパティ"));
    auto* grid = new QGridLayout(this);
    PrintCheck = new QCheckBox(QString::fromUtf8("印字する"), this);
    TopEdit = new QSpinBox(this);
    LeftEdit = new QSpinBox(this);
    for (QSpinBox* e : {TopEdit, LeftEdit})
        e->setRange(-99999, 99999);
    FontBtn = new QToolButton(this);
    FontBtn->setText(QString::fromUtf8("…"));
    FontName = new QLabel(this);
    auto* ok = new QPushButton(QString::fromUtf8("設定"), this);
    grid->addWidget(PrintCheck, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QString::fromUtf8("上位置"), this), 1, 0);
    grid->addWidget(TopEdit, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8("左位置"), this), 2, 0);
    grid->addWidget(LeftEdit, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8("字体"), this), 3, 0);
    grid->addWidget(FontBtn, 3, 1);
    grid->addWidget(FontName, 3, 2);
    grid->addWidget(ok, 4, 0, 1, 3, Qt::AlignRight);
    connect(FontBtn, &QToolButton::clicked, this, [this] { FontBtnClick(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TTxtAtrForm::Load(const TCoverItemRecord& item) {
    item_ = item;
    fontChosen_ = false;
    PrintCheck->setChecked(item.Print != 0);
    TopEdit->setValue(item.Top);
    LeftEdit->setValue(item.Left);
    const QFont font = CoverItemFont(item);
    FontName->setText(SjisQString(item.FontName) + QString(" %1pt").arg(font.pointSize()));
}

void TTxtAtrForm::ChooseFont(const QFont& font) {
    SetCoverItemFont(item_, font);
    fontChosen_ = true;
    FontName->setText(SjisQString(item_.FontName) + QString(" %1pt").arg(item_.Size));
}

void TTxtAtrForm::FontBtnClick() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, CoverItemFont(item_), this);
    if (ok)
        ChooseFont(font);
}

void TTxtAtrForm::Store(TCoverItemRecord& item) const {
    item.Top = TopEdit->value();
    item.Left = LeftEdit->value();
    item.Print = PrintCheck->isChecked() ? 1 : 0;
    if (fontChosen_) {
        item.FontName = item_.FontName;
        item.Size = item_.Size;
        item.Style = item_.Style;
    }
}

} // namespace pendlar
