// The cover-sheet window ("表紙の作成"): loads and checks a patient list line by line,
// shows the lines with their faults, and opens the designer to print the sheets.
#pragma once

#include "qrcode/CsvLine.h"
#include "qrcode/ui/ModalRunner.h"

#include <QDialog>

#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QStatusBar;

namespace pendlar {

class TPrintFormatForm;
class TPrintSetForm;
class TRegistory;
class UserInterface;

class TFaceForm : public QDialog {
public:
    TFaceForm(QWidget* parent, TRegistory& settings, UserInterface& ui);

    // The windows this one opens; any left unset is made on first use.
    void SetWindows(TPrintFormatForm* designer, TPrintSetForm* printSet);
    ModalRunner Modal;

    void FormShow();
    void FileOpenMenuClick();
    // Steps after the file choice: loads, checks and shows the list (path Shift-JIS).
    void LoadList(const std::string& sjisPath);
    void PrinterMenuClick();
    void PrintSetMenuClick();
    void FormatMenuClick();
    void ClearMenuClick();
    void CopyMenuClick();
    void SelectAllMenuClick();

    const std::vector<std::string>& Lines() const { return lines_; }
    bool Printable() const { return printable_; }
    TPrintFormatForm& Designer();

    QMenuBar* MainMenu;
    QMenu *FileMenu, *EditMenu;
    QAction *FileOpenMenu, *PrinterMenu, *PrintSetMenu, *FormatMenu, *CloseMenu;
    QAction *ClearMenu, *CopyMenu, *SelectAllMenu;
    QPlainTextEdit* Memo1;
    QStatusBar* StatusBar1;
    QLabel *StatusPanel0, *StatusPanel1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Show(const std::string& sjisLine);

    TRegistory& settings_;
    UserInterface& ui_;
    TPrintFormatForm* designer_ = nullptr;
    TPrintSetForm* printSet_ = nullptr;
    std::vector<std::string> lines_;
    TCsvLine parser_;
    bool printable_ = false;
};

} // namespace pendlar
