// A UserInterface without a person: answers come from a script, every text shown is
// recorded. Used by the tests and by pendlar-tool.
#pragma once

#include "util/UserInterface.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace pendlar {

class ScriptedUserInterface : public UserInterface {
public:
    struct ShownMessage {
        std::string Text;
        std::string Caption;
        MsgIcon Icon;
        MsgButtons Buttons;
        MsgResult Answer;
    };

    // Answers, taken in order. When the queue is empty a message box is answered with its
    // first button (Ok, Yes, Abort, Retry) and a file choice is cancelled.
    std::deque<MsgResult> MessageAnswers;
    std::deque<std::optional<std::string>> FileAnswers;
    std::deque<std::optional<std::string>> FolderAnswers;
    int ShellResult = 42;

    // What the flow showed.
    std::vector<ShownMessage> Messages;
    std::vector<FileDialogSpec> FileDialogs;
    std::vector<std::string> ShellOpened;
    std::string Status[2];
    int EventsProcessed = 0;

    // Called for every message as it is shown (pendlar-tool prints them).
    std::function<void(const ShownMessage&)> OnMessage;

    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& spec) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& spec) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialDir) override;
    void SetStatus(int panel, const std::string& text) override;
    void ProcessEvents() override { ++EventsProcessed; }
    int ShellOpen(const std::string& path) override;

    // The texts of all messages shown, in order.
    std::vector<std::string> MessageTexts() const;
};

} // namespace pendlar
