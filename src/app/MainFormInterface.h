// The interface the main window hands to every flow: the person's interface it was given
// (the Qt windows, or a script in tests), with the status texts also shown in the main
// window's status bar.
#pragma once

#include "util/UserInterface.h"

#include <functional>

namespace pendlar {

class MainFormInterface : public UserInterface {
public:
    using StatusSink = std::function<void(int panel, const std::string& sjisText)>;

    MainFormInterface(UserInterface& inner, StatusSink status)
        : inner_(inner), status_(std::move(status)) {}

    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override {
        return inner_.Message(text, caption, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& spec) override {
        return inner_.ChooseOpenFile(spec);
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& spec) override {
        return inner_.ChooseSaveFile(spec);
    }
    std::optional<std::string> ChooseAppendFile(const FileDialogSpec& spec) override {
        return inner_.ChooseAppendFile(spec);
    }
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialDir) override {
        return inner_.ChooseFolder(title, initialDir);
    }
    void SetStatus(int panel, const std::string& text) override {
        inner_.SetStatus(panel, text);
        if (status_)
            status_(panel, text);
    }
    void ProcessEvents() override { inner_.ProcessEvents(); }
    int ShellOpen(const std::string& path) override { return inner_.ShellOpen(path); }

private:
    UserInterface& inner_;
    StatusSink status_;
};

} // namespace pendlar
