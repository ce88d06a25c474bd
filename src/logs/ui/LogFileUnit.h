// The save-log window "作成ログ": the lines of charts saved and erased in this run, and the
// command that appends them to a running text file.
#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QPlainTextEdit;
class QStatusBar;

namespace pendlar {

class TRegistory;
struct TLogs;
class UserInterface;

class TLog : public QDialog {
public:
    TLog(QWidget* parent, TLogs& logs, TRegistory& settings, UserInterface& ui);

    QAction* FileAdd;   // "追加保存"
    QAction* FileClose; // "閉じる"
    QPlainTextEdit* LogMemo;
    QStatusBar* StatusBar1;

    // Shows the window modally with the current lines.
    void ShowLog();
    // Appends the lines to a file the person chooses, then empties the log.
    void FileAddClick();
    void FileCloseClick() { close(); }

private:
    void ShowLines();

    TLogs& logs_;
    TRegistory& settings_;
    UserInterface& ui_;
};

} // namespace pendlar
