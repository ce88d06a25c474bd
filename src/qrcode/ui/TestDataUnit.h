// The test-data window ("テストデータの入力"): one patient typed in to try the layout.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace pendlar {

class TTestDataForm : public QDialog {
public:
    explicit TTestDataForm(QWidget* parent = nullptr);

    // Empties the edits and the error line.
    void Reset();
    // Accepts when the patient number is an integer from 1 to 99,999,999; otherwise shows
    // the error and stays open.
    void OkBtnClick();
    // The number of the accepted patient.
    long Number() const { return number_; }

    QLineEdit *IdNoEdit, *NameEdit, *SexEdit, *BirthEdit, *AddressEdit;
    QLabel* ErrorLbl;

private:
    long number_ = 0;
};

} // namespace pendlar
