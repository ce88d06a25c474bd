// The add settings window "追加設定": what the save command adds to a stored chart (the
// header pages, the scanned pages, a change of the keywords) and where the pages go.
//
// The window edits copies of the settings PdfHeader, PdfImage, PdfKeyWord and PdfInsType:
// Ok stores them only when the choice is usable, otherwise it names the fault in ErrLabel
// and stays open; Cancel closes without storing.
#pragma once

#include "util/ui/RadioGroup.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pendlar {

class TRegistory;

class TAppendSetForm : public QDialog {
public:
    explicit TAppendSetForm(QWidget* parent = nullptr);

    QCheckBox* HeadCheck;   // "頭書きを追加"
    QCheckBox* ScanCheck;   // "スキャンしたイメージを追加"
    QCheckBox* KeyCheck;    // "キーワードの変更"
    RadioGroup* AppendType; // "ページの": 先頭に挿入 (0), 最後に追加 (1)
    QLabel* ErrLabel;
    QPushButton* OkButton;
    QPushButton* CancelButton;

    // KeyWordUse of the settings: a keyword change needs the keywords in use.
    bool KeyWordUse = false;

    // Fills the controls from the settings (any PdfInsType other than 0 shows as 1).
    void LoadFrom(const TRegistory& settings);
    void StoreTo(TRegistory& settings) const;
    // Shows the window modally on the settings; true when Ok stored them.
    bool Execute(TRegistory& settings);

    // Ok: validates, then accepts.
    void OkButtonClick();
};

} // namespace pendlar
