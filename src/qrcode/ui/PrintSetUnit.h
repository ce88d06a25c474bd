// The printer density window ("プリンタ印字密度設定").
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace pendlar {

class TPrintSetForm : public QDialog {
public:
    explicit TPrintSetForm(QWidget* parent = nullptr);

    // Shows a density in the form "%6.1f".
    void Load(double density);
    static constexpr double kMaxPrintDensity = 9600;

    // Accepts a number from 10 to kMaxPrintDensity; otherwise shows "印刷密度？" and stays open.
    void SetBtnClick();
    double Density() const { return density_; }

    QLineEdit* DencityEdit;
    QLabel* ErrorText;

private:
    double density_ = 0;
};

} // namespace pendlar
