#include "qrcode/ui/PrintPanelSetUnit.h"

#include "qrcode/ui/NumberText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pendlar {
namespace {

struct Paper {
    const char* Name;
    int Height, Width;
};

constexpr Paper kPapers[] = {
    {"Ａ４ 縦", 891, 610}, {"Ａ４ 横", 610, 891}, {"Ａ３ 縦", 1260, 891}, {"Ａ３ 横", 891, 1260},
    {"Ｂ５ 縦", 771, 546}, {"Ｂ５ 横", 546, 771}, {"Ｂ４ 縦", 1092, 771}, {"Ｂ４ 横", 771, 1092},
};
constexpr double kPaperDensity = 76.2;

} // namespace

TPrintPanelSetForm::TPrintPanelSetForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PrintPanelSetForm");
    setWindowTitle(QString::fromUtf8("表示パネル設定"));
    auto* grid = new QGridLayout(this);
    PaperSelect = new QComboBox(this);
    for (const Paper& p : kPapers)
        PaperSelect->addItem(QString::fromUtf8(p.Name));
    DensityEdit = new QLineEdit(this);
    HeightEdit = new QLineEdit(this);
    WidthEdit = new QLineEdit(this);
    ErrorText = new QLabel(this);
    ErrorText->setStyleSheet("color: red");
    grid->addWidget(new QLabel(QString::fromUtf8("形式"), this), 0, 0);
    grid->addWidget(PaperSelect, 0, 1, 1, 2);
    const char* names[] = {"表示密度", "縦サイズ", "横サイズ"};
    const char* units[] = {"ドット／インチ", "ドット", "ドット"};
    QLineEdit* edits[] = {DensityEdit, HeightEdit, WidthEdit};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(names[i]), this), i + 1, 0);
        grid->addWidget(edits[i], i + 1, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(units[i]), this), i + 1, 2);
    }
    grid->addWidget(ErrorText, 4, 0, 1, 3);
    auto* ok = new QPushButton(QString::fromUtf8("設定"), this);
    grid->addWidget(ok, 5, 0, 1, 3, Qt::AlignRight);
    connect(PaperSelect, &QComboBox::activated, this, [this](int i) { PaperSelectChange(i); });
    connect(ok, &QPushButton::clicked, this, [this] { SizeBtnClick(); });
}

void TPrintPanelSetForm::Load(double density, int height, int width) {
    PaperSelect->setCurrentIndex(-1);
    DensityEdit->setText(QString::asprintf("%6.1f", density));
    HeightEdit->setText(QString::number(height));
    WidthEdit->setText(QString::number(width));
    ErrorText->clear();
}

void TPrintPanelSetForm::PaperSelectChange(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kPapers)))
        return;
    const Paper& p = kPapers[index];
    DensityEdit->setText(QString::asprintf("%6.1f", kPaperDensity));
    HeightEdit->setText(QString::number(p.Height));
    WidthEdit->setText(QString::number(p.Width));
}

void TPrintPanelSetForm::SizeBtnClick() {
    const std::optional<double> density = TypedNumber(DensityEdit->text());
    if (!density || *density < 10) {
        ErrorText->setText(QString::fromUtf8("表示密度？"));
        return;
    }
    // The design page is a widget: sizes beyond what a window can be are refused too.
    const std::optional<long long> height = TypedInteger(HeightEdit->text());
    if (!height || *height < 100 || *height > 16000) {
        ErrorText->setText(QString::fromUtf8("縦サイズ？"));
        return;
    }
    const std::optional<long long> width = TypedInteger(WidthEdit->text());
    if (!width || *width < 50 || *width > 16000) {
        ErrorText->setText(QString::fromUtf8("横サイズ？"));
        return;
    }
    ErrorText->clear();
    density_ = *density;
    height_ = static_cast<int>(*height);
    width_ = static_cast<int>(*width);
    accept();
}

} // namespace pendlar
