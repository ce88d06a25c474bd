// The about box "情報": product name, version and date.
#pragma once

#include <QDialog>

class QPushButton;

namespace pendlar {

class Tinfo : public QDialog {
public:
    explicit Tinfo(QWidget* parent = nullptr);

    QPushButton* OkButton;
};

} // namespace pendlar
