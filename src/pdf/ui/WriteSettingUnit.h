// The PDF write settings window "PDF書込設定": the base folder of the chart folder tree and
// its four levels' prefixes and suffixes, the file-name parts, and the options of the chart
// composition (header pages, first page, stretching, image quality, page size).
//
// The window edits copies of the settings: the controls are filled before it is shown and
// stored back only when "設定" passes every check; the first failing check is shown in the
// window's status bar and the window stays open.
#pragma once

#include "util/ui/RadioGroup.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTreeView;

namespace pendlar {

class TDeleteWarningForm;
class TRegistory;

class TWriteSetForm : public QDialog {
public:
    explicit TWriteSetForm(QWidget* parent = nullptr);

    QTreeView* ShellTreeView1;
    QLineEdit* PdfSetPathDisp;
    // Prefix and suffix of the four folder levels.
    std::array<QLineEdit*, 4> LFront, LBack; // L1F … L4F, L1B … L4B
    QLineEdit* HPCodeEdit;
    QLineEdit* KaCode;
    QCheckBox* WriteDateChk;
    QCheckBox* NyuGaiOut;
    RadioGroup* CaruteHeaderOut;
    QCheckBox* WriteProtectChk;
    QCheckBox* FirstPageOutCheck;
    QCheckBox* ScanClrCheck;
    QCheckBox* StretchCheck;
    QSpinBox* QualitySpin;
    QCheckBox* PolicyCheck;
    QLineEdit* PdfPageHeight;
    QLineEdit* PdfPageWidth;
    QPushButton* DefaultSizeButton; // "規定値"
    QPushButton* SetButton;         // "設定"
    QPushButton* CancelButton;      // "キャンセル"
    QStatusBar* StatusBar1;

    // The scanner folder's warning window "警告", the one the folder-clearing command shows.
    // The main window may hand its own; otherwise the first question makes one.
    TDeleteWarningForm* DeleteWarningForm = nullptr;
    // Asked when the scanner-folder clearing is ticked, with the scanner folder
    // (Shift-JIS); false unticks it again. By default the warning window above asks.
    std::function<bool(const std::string& scannerDir)> ConfirmFolderClear;
    std::string ScannerDir;

    // Fills the controls from the settings; the tree opens at Target when it exists, else
    // at the home folder.
    void LoadFrom(const TRegistory& settings);
    // The checks of "設定"; the first failure goes into the status bar.
    bool CheckInput();
    // Stores every control into its setting.
    void StoreTo(TRegistory& settings) const;

    // Handlers.
    void ShellTreeView1Click();
    void ScanClrCheckClick();
    void DefaultSizeClick();
    void SetButtonClick();

private:
    void SelectFolder(const QString& path);
    void ShowStatus(const char* utf8);

    QFileSystemModel* folders_;
};

// The "保存設定" command: fills the window from the settings, shows it and, after "設定",
// stores it back. True when the settings were stored. The window asks its one question
// (the folder clearing) through its own warning window.
bool SaveSettingClick(TWriteSetForm& form, TRegistory& settings);

} // namespace pendlar
