// The property window of the cover sheet's QR symbol ("ＱＲコードプロパティ"): position
// and module size.
#pragma once

#include <QDialog>

class QSpinBox;

namespace pendlar {

class TQRimgAtrForm : public QDialog {
public:
    explicit TQRimgAtrForm(QWidget* parent = nullptr);

    void Load(int top, int left, int moduleSize);

    QSpinBox *TopEdit, *LeftEdit, *SizeEdit; // SizeEdit: module size, 2 to 100
};

} // namespace pendlar
