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
        const Inside inside(depth_);
        return inner_.Message(text, caption, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& spec) override {
        const Inside inside(depth_);
        return inner_.ChooseOpenFile(spec);
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& spec) override {
        const Inside inside(depth_);
        return inner_.ChooseSaveFile(spec);
    }
    std::optional<std::string> ChooseAppendFile(const FileDialogSpec& spec) override {
        const Inside inside(depth_);
        return inner_.ChooseAppendFile(spec);
    }
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialDir) override {
        const Inside inside(depth_);
        return inner_.ChooseFolder(title, initialDir);
    }
    void SetStatus(int panel, const std::string& text) override {
        inner_.SetStatus(panel, text);
        if (status_)
            status_(panel, text);
    }
    void ProcessEvents() override {
        const Inside inside(depth_);
        inner_.ProcessEvents();
    }
    int ShellOpen(const std::string& path) override { return inner_.ShellOpen(path); }

    // Whether a flow is inside a call that lets window events run (a message, a file
    // dialog, pending events): whatever those events start runs in the middle of the flow.
    bool InsideCall() const { return depth_ > 0; }

private:
    struct Inside {
        explicit Inside(int& depth) : depth_(depth) { ++depth_; }
        ~Inside() { --depth_; }
        Inside(const Inside&) = delete;
        Inside& operator=(const Inside&) = delete;
        int& depth_;
    };

    UserInterface& inner_;
    StatusSink status_;
    int depth_ = 0;
};

} // namespace pendlar
