#include "app/QtUserInterface.h"

#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <cerrno>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pendlar {
namespace {

enum FileMode { kOpen, kSave, kAppend };

// Shell result codes: above 32 is success; the others name the failure.
constexpr int kShellSuccess = 33;
constexpr int kShellFileNotFound = 2;
constexpr int kShellPathNotFound = 3;
constexpr int kShellAccessDenied = 5;
constexpr int kShellNoAssociation = 31;

// How long xdg-open may take before it counts as started with the viewer running.
constexpr int kShellWaitMs = 3000;

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Confirmation:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The captions of a Japanese desktop's message boxes.
QString DefaultCaption(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Error:
        return Utf8Text("エラー");
    case MsgIcon::Warning:
        return Utf8Text("警告");
    case MsgIcon::Information:
        return Utf8Text("情報");
    case MsgIcon::Confirmation:
        return Utf8Text("確認");
    case MsgIcon::None:
        break;
    }
    return Utf8Text("Quilmo Pendlar 1.5");
}

QMessageBox::StandardButtons BoxButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::Yes:
        return QMessageBox::Yes;
    case MsgButtons::Abort:
        return QMessageBox::Abort;
    }
    return QMessageBox::Ok;
}

// A box closed with Escape or the title bar gives the safe answer of its buttons.
MsgResult EscapeResult(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
        return MsgResult::Cancel;
    case MsgButtons::YesNo:
        return MsgResult::No;
    case MsgButtons::AbortRetryIgnore:
    case MsgButtons::Abort:
        return MsgResult::Abort;
    case MsgButtons::Yes:
        return MsgResult::Yes;
    case MsgButtons::Ok:
        break;
    }
    return MsgResult::Ok;
}

MsgResult ResultOf(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    default:
        return EscapeResult(buttons);
    }
}

// Runs xdg-open on a file and returns a shell result code. Without a desktop session
// xdg-open runs the viewer in the foreground and returns only when it closes, so it runs
// in a grandchild: the child waits a little for its outcome and then leaves it running,
// detached from this program, which neither blocks nor kills the viewer when it exits.
int RunXdgOpen(const std::string& file) {
    constexpr int kStillRunning = 100;
    constexpr int kNotFound = 127;
    std::vector<char*> argv = {const_cast<char*>("xdg-open"), const_cast<char*>(file.c_str()),
                               nullptr};
    pid_t child = fork();
    if (child < 0)
        return 0; // out of resources
    if (child == 0) {
        pid_t viewer = fork();
        if (viewer < 0)
            _exit(kNotFound);
        if (viewer == 0) {
            execvp(argv[0], argv.data());
            _exit(kNotFound);
        }
        const timespec step{0, 100 * 1000 * 1000};
        for (int waited = 0; waited < kShellWaitMs; waited += 100) {
            int status = 0;
            if (waitpid(viewer, &status, WNOHANG) == viewer)
                _exit(WIFEXITED(status) ? WEXITSTATUS(status) : kNotFound);
            nanosleep(&step, nullptr);
        }
        _exit(kStillRunning);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status))
        return kShellNoAssociation;
    // xdg-open: 0 done, 1 bad arguments, 2 file missing, 3 no tool found, 4 action failed.
    switch (WEXITSTATUS(status)) {
    case 0:
    case kStillRunning:
        return kShellSuccess;
    case 2:
        return kShellFileNotFound;
    default:
        return kShellNoAssociation;
    }
}

} // namespace

QString QtNameFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << parts[i] + " (" + patterns + ")";
    }
    return filters.join(";;");
}

QWidget* QtUserInterface::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return mainWindow_;
}

MsgResult QtUserInterface::Message(const std::string& text, const std::string& caption,
                                   MsgIcon icon, MsgButtons buttons) {
    QMessageBox box(BoxIcon(icon), caption.empty() ? DefaultCaption(icon) : SjisToQString(caption),
                    SjisToQString(text), BoxButtons(buttons), DialogParent());
    box.setObjectName("MessageBox");
    if (buttons == MsgButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    return ResultOf(box.exec(), buttons);
}

std::optional<std::string> QtUserInterface::ChooseFile(const FileDialogSpec& spec, int mode) {
    QFileDialog dialog(DialogParent(), SjisToQString(spec.Title));
    dialog.setObjectName("FileDialog");
    dialog.setAcceptMode(mode == kOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(mode == kOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (mode == kAppend)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!spec.Filter.empty())
        dialog.setNameFilter(QtNameFilter(SjisToQString(spec.Filter)));
    if (!spec.DefaultExt.empty()) {
        QString suffix = SjisToQString(spec.DefaultExt);
        if (suffix.startsWith('.'))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
    }
    if (!spec.InitialDir.empty() && FolderExists(spec.InitialDir))
        dialog.setDirectory(QString::fromStdString(FsPath(spec.InitialDir).string()));
    if (!spec.FileName.empty())
        dialog.selectFile(SjisToQString(spec.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileNameToSjisPath(dialog.selectedFiles().front().toStdString());
}

std::optional<std::string> QtUserInterface::ChooseOpenFile(const FileDialogSpec& spec) {
    return ChooseFile(spec, kOpen);
}

std::optional<std::string> QtUserInterface::ChooseSaveFile(const FileDialogSpec& spec) {
    return ChooseFile(spec, kSave);
}

std::optional<std::string> QtUserInterface::ChooseAppendFile(const FileDialogSpec& spec) {
    return ChooseFile(spec, kAppend);
}

std::optional<std::string> QtUserInterface::ChooseFolder(const std::string& title,
                                                         const std::string& initialDir) {
    QString start =
        FolderExists(initialDir) ? QString::fromStdString(FsPath(initialDir).string()) : QString();
    QString folder = QFileDialog::getExistingDirectory(DialogParent(), SjisToQString(title), start);
    if (folder.isEmpty())
        return std::nullopt;
    return FileNameToSjisPath(folder.toStdString());
}

void QtUserInterface::ProcessEvents() {
    QCoreApplication::processEvents();
}

int QtUserInterface::ShellOpen(const std::string& path) {
    std::filesystem::path file = FsPath(path);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        std::filesystem::path folder = file.parent_path();
        return folder.empty() || std::filesystem::is_directory(folder, ec) ? kShellFileNotFound
                                                                           : kShellPathNotFound;
    }
    if (access(file.c_str(), R_OK) != 0)
        return kShellAccessDenied;

    return RunXdgOpen(file.string());
}

} // namespace pendlar
