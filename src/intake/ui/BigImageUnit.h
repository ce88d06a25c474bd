// The full-size viewer of one page ("イメージの表示"): the page at its natural size in a
// scroll box above a status bar.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QScrollArea;
class QStatusBar;

namespace pendlar {

class TBigImageForm : public QDialog {
public:
    explicit TBigImageForm(QWidget* parent = nullptr);
    // Loads the page file; false when it cannot be read (a DICOM page, for one): the window
    // then shows no picture and says so in its status bar.
    bool LoadPage(const std::string& sjisFile);
    // LoadPage, then shown modally.
    void Execute(const std::string& sjisFile);

    QScrollArea* ScrollBox1;
    QLabel* Image1;
    QStatusBar* StatusBar1;
};

} // namespace pendlar
