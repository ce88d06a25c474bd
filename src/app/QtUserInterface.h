// The person at the station, reached through Qt: message boxes with the stated icon and
// buttons (standard buttons in Japanese through Qt's own translation), file and folder
// dialogs, pending events, and xdg-open for the shell's "open".
#pragma once

#include "util/UserInterface.h"

#include <QString>

class QWidget;

namespace pendlar {

class QtUserInterface : public UserInterface {
public:
    // `mainWindow` parents the dialogs when no other window of the program is active.
    explicit QtUserInterface(QWidget* mainWindow = nullptr) : mainWindow_(mainWindow) {}
    void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& spec) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& spec) override;
    std::optional<std::string> ChooseAppendFile(const FileDialogSpec& spec) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialDir) override;
    // The main window shows the status panels; this layer has none of its own.
    void SetStatus(int, const std::string&) override {}
    void ProcessEvents() override;
    // Runs xdg-open and maps its outcome to the shell result codes the flows expect.
    int ShellOpen(const std::string& path) override;

private:
    QWidget* DialogParent() const;
    std::optional<std::string> ChooseFile(const FileDialogSpec& spec, int mode);

    QWidget* mainWindow_;
};

// "テキスト|*.txt|全て|*.*" (UTF-8) as a Qt name filter: "テキスト (*.txt);;全て (*.*)".
QString QtNameFilter(const QString& pipeFilter);

} // namespace pendlar
