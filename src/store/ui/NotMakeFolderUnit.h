// The warning window "警告" of the save flow when the chart folder cannot be made: the
// folder on the first line, the likely causes below it, and the one button "了解".
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace pendlar {

class TNotMakeFolder : public QDialog {
public:
    explicit TNotMakeFolder(QWidget* parent = nullptr);

    QLabel* Label1; // the chart folder
    QLabel* Label2; // "ファイルまたはフォルダーを作成できません。　"
    QLabel* Label3; // "Diskの容量不足または書き込み不可のデバイスの可能性があります。"
    QLabel* Label4;        // "又は、使用中の可能性があります。"
    QPushButton* OkButton; // "了解"

    // Shows the window modally for a chart folder (Shift-JIS); true when the person
    // pressed "了解", false when the window was closed otherwise.
    bool ShowFolder(const std::string& sjisFolder);
};

} // namespace pendlar
