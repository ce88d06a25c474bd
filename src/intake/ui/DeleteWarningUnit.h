// The warning before the scanner folder is emptied ("警告").
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace pendlar {

class TDeleteWarningForm : public QDialog {
public:
    explicit TDeleteWarningForm(QWidget* parent = nullptr);
    // Shows the folder; true when the person pressed "Ok".
    bool Execute(const std::string& sjisFolder);

    QLineEdit* FileDirLabel;
    QPushButton *CancelBtn, *OkBtn;
};

} // namespace pendlar
