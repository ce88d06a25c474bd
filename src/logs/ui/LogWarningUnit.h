// The question before the save log is cleared: "Ok" clears it, "Cancel" keeps it.
#pragma once

#include <QDialog>

class QPushButton;

namespace pendlar {

class TLogWarningForm : public QDialog {
public:
    explicit TLogWarningForm(QWidget* parent = nullptr);

    QPushButton* CancelButton;
    QPushButton* OkButton;
};

} // namespace pendlar
