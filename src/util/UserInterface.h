// The one way a flow reaches the person at the station.
//
// Message boxes, file and folder choices, the status panels, letting pending window
// events run and the shell all go through this interface. The Qt windows implement it;
// tests and pendlar-tool implement it with scripted answers and a record of every text
// shown, so that every flow runs without a person. All texts are Shift-JIS.
#pragma once

#include <optional>
#include <string>

namespace pendlar {

enum class MsgIcon { None, Error, Warning, Information, Confirmation };

// Yes and Abort are boxes with only that one button.
enum class MsgButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    AbortRetryIgnore,
    RetryCancel,
    Yes,
    Abort
};

enum class MsgResult { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct FileDialogSpec {
    std::string Title;      // window title, may be empty
    std::string Filter;     // "テキスト|*.txt|全て|*.*" form
    std::string DefaultExt; // ".txt"
    std::string InitialDir; // folder to start in
    std::string FileName;   // proposed file name
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal message box. `caption` empty means the program's title.
    virtual MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                              MsgButtons buttons) = 0;

    // File and folder choice; nullopt when the person cancels. Paths are Shift-JIS.
    virtual std::optional<std::string> ChooseOpenFile(const FileDialogSpec& spec) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogSpec& spec) = 0;
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& initialDir) = 0;
    // A file to append to: like ChooseSaveFile, but an existing file is a normal choice
    // (it is extended, not replaced), so the person is not asked about overwriting it.
    virtual std::optional<std::string> ChooseAppendFile(const FileDialogSpec& spec) {
        return ChooseSaveFile(spec);
    }

    // Status panel 0 carries short context, panel 1 the prompt or result of a flow.
    virtual void SetStatus(int panel, const std::string& text) = 0;

    // Lets pending window events run so the screen stays current during long commands.
    virtual void ProcessEvents() = 0;

    // Opens a file with the desktop's default program. Returns the result code of the
    // Windows shell the flows were designed around: a value above 32 is success, the
    // others select a shell result text.
    virtual int ShellOpen(const std::string& path) = 0;
};

} // namespace pendlar
