// The design-page settings window ("表示パネル設定"): paper choice, density and size.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace pendlar {

class TPrintPanelSetForm : public QDialog {
public:
    explicit TPrintPanelSetForm(QWidget* parent = nullptr);

    // Shows the current values ("%6.1f" for the density) with no paper chosen.
    void Load(double density, int height, int width);
    // Fills the three edits from the paper table.
    void PaperSelectChange(int index);
    // Checks the edits; on success keeps the values and closes with Accepted, otherwise
    // shows the first failure in ErrorText and stays open.
    void SizeBtnClick();

    double Density() const { return density_; }
    int PanelHeight() const { return height_; }
    int PanelWidth() const { return width_; }

    QComboBox* PaperSelect;
    QLineEdit *DensityEdit, *HeightEdit, *WidthEdit;
    QLabel* ErrorText;

private:
    double density_ = 0;
    int height_ = 0, width_ = 0;
};

} // namespace pendlar
