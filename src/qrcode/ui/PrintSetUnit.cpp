#include "qrcode/ui/PrintSetUnit.h"

#include "qrcode/ui/NumberText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pendlar {

TPrintSetForm::TPrintSetForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PrintSetForm");
    setWindowTitle(QString::fromUtf8("プリンタ印字密度設定"));
    auto* grid = new QGridLayout(this);
    DencityEdit = new QLineEdit(this);
    ErrorText = new QLabel(this);
    ErrorText->setStyleSheet("color: red");
    grid->addWidget(new QLabel(QString::fromUtf8("印字密度"), this), 0, 0);
    grid->addWidget(DencityEdit, 0, 1);
    grid->addWidget(new QLabel(QString::fromUtf8("ドット／インチ"), this), 0, 2);
    grid->addWidget(ErrorText, 1, 0, 1, 3);
    auto* ok = new QPushButton(QString::fromUtf8("設定"), this);
    grid->addWidget(ok, 2, 0, 1, 3, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, [this] { SetBtnClick(); });
}

void TPrintSetForm::Load(double density) {
    DencityEdit->setText(QString::asprintf("%6.1f", density));
    ErrorText->clear();
    density_ = density;
}

void TPrintSetForm::SetBtnClick() {
    const std::optional<double> density = TypedNumber(DencityEdit->text());
    // Far beyond any printer, the enlarged symbol alone would not fit in memory.
    if (!density || *density < 10 || *density > kMaxPrintDensity) {
        ErrorText->setText(QString::fromUtf8("印刷密度？"));
        return;
    }
    ErrorText->clear();
    density_ = *density;
    accept();
}

} // namespace pendlar
