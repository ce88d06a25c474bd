#include "util/ScriptedUserInterface.h"

namespace pendlar {
namespace {

MsgResult FirstButton(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
    case MsgButtons::Yes:
        return MsgResult::Yes;
    case MsgButtons::AbortRetryIgnore:
    case MsgButtons::Abort:
        return MsgResult::Abort;
    case MsgButtons::RetryCancel:
        return MsgResult::Retry;
    }
    return MsgResult::Ok;
}

template <typename T> T TakeOr(std::deque<T>& queue, T fallback) {
    if (queue.empty())
        return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

MsgResult ScriptedUserInterface::Message(const std::string& text, const std::string& caption,
                                         MsgIcon icon, MsgButtons buttons) {
    MsgResult answer = TakeOr(MessageAnswers, FirstButton(buttons));
    Messages.push_back({text, caption, icon, buttons, answer});
    if (OnMessage)
        OnMessage(Messages.back());
    return answer;
}

std::optional<std::string> ScriptedUserInterface::ChooseOpenFile(const FileDialogSpec& spec) {
    FileDialogs.push_back(spec);
    return TakeOr(FileAnswers, std::optional<std::string>());
}

std::optional<std::string> ScriptedUserInterface::ChooseSaveFile(const FileDialogSpec& spec) {
    FileDialogs.push_back(spec);
    return TakeOr(FileAnswers, std::optional<std::string>());
}

std::optional<std::string> ScriptedUserInterface::ChooseFolder(const std::string&,
                                                               const std::string&) {
    return TakeOr(FolderAnswers, std::optional<std::string>());
}

void ScriptedUserInterface::SetStatus(int panel, const std::string& text) {
    if (panel == 0 || panel == 1)
        Status[panel] = text;
}

int ScriptedUserInterface::ShellOpen(const std::string& path) {
    ShellOpened.push_back(path);
    return ShellResult;
}

std::vector<std::string> ScriptedUserInterface::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : Messages)
        texts.push_back(m.Text);
    return texts;
}

} // namespace pendlar
