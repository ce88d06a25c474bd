// The print range window ("プリントの実行"): all lines, a range of lines or one line.
#pragma once

#include <QDialog>

class QRadioButton;
class QSpinBox;

namespace pendlar {

class TPrintExecForm : public QDialog {
public:
    explicit TPrintExecForm(QWidget* parent = nullptr);

    // Every spin edit takes 1 to `lines` and starts at 1; "全て" is chosen.
    void Setup(int lines);
    // The chosen lines, 1-based; `last` may lie before `first` when typed so.
    void Range(int lines, int& first, int& last) const;

    QRadioButton *AllRadio, *RangeRadio, *OneRadio;
    QSpinBox *StartEdit, *EndEdit, *LineEdit;

private:
    void UpdateEnabled();
};

} // namespace pendlar
