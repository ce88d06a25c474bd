// The error-log window "エラーログ": one line per failure of this run, editable, written to
// a file on request.
#pragma once

#include <QDialog>

class QAction;
class QPlainTextEdit;

namespace pendlar {

struct TLogs;
class UserInterface;

class TErrorLogForm : public QDialog {
public:
    TErrorLogForm(QWidget* parent, TLogs& logs, UserInterface& ui);

    QAction* NSave;  // "保存"
    QAction* NClose; // "閉じる"
    QPlainTextEdit* ErrorLogMemo;

    // Shows the window modally with the current lines.
    void ShowLog();
    // Writes every line to a file the person chooses, replacing it; the log keeps its lines.
    void NSaveClick();
    void NCloseClick() { close(); }

protected:
    void done(int result) override;

private:
    // Lines the person edited in the memo become the log's lines.
    void TakeEdits();

    TLogs& logs_;
    UserInterface& ui_;
};

} // namespace pendlar
