// The database-path dialog "Database設定": the path of QuilmoCaruteDb.sqb, chosen with a
// file dialog or typed, and a button that creates a new database in the folder named there.
#pragma once

#include "store/DatabasePathPrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pendlar {

class UserInterface;

class TDBForm : public QDialog, public DatabasePathPrompt {
public:
    TDBForm(QWidget* parent, UserInterface& ui);

    QLabel* Label1;
    QLineEdit* PathEdit;
    QPushButton* PathButton;   // "..."
    QPushButton* CreateButton; // "新規作成"
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QLabel* ErrLabel;

    // Shows the dialog; the edit's text on Ok (unchecked), nullopt on Cancel. The edit
    // keeps what it last held; when it is empty it starts from `currentPath`.
    std::optional<std::string> AskDatabasePath(const std::string& currentPath) override;

    void PathButtonClick();
    // Creates QuilmoCaruteDb.sqb in the folder of the edit (the edit itself when it names
    // a folder) and puts the new file's path into the edit.
    void CreateButtonClick();

private:
    UserInterface& ui_;
    std::string currentPath_;
};

} // namespace pendlar
