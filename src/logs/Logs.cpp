#include "logs/Logs.h"

#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pendlar {

std::string SaveLogAppendError() {
    return SjisOf("*** ファイル追加エラーが発生しました。");
}

bool TErrorLog::WriteToFile(const std::string& sjisPath) const {
    return WriteLines(sjisPath, lines_);
}

bool TSaveLog::AppendToFile(const std::string& sjisPath) {
    std::string text;
    for (const auto& line : lines_)
        text += line + "\r\n";
    const std::filesystem::path path = FsPath(sjisPath);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat before {};
    bool ok = ::fstat(fd, &before) == 0 && WriteAll(fd, text);
    // The log is emptied once the lines are in the file, so they must be on the disk; a
    // file that cannot be synced (a device, a pipe) says so with EINVAL.
    ok = ok && (::fsync(fd) == 0 || errno == EINVAL);
    // The other system reads this file line by line: a batch that went in only in part
    // would be read twice after the next append, so the file goes back to what it was.
    if (!ok && S_ISREG(before.st_mode))
        (void)::ftruncate(fd, before.st_size);
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        return false;
    Clear();
    return true;
}

} // namespace pendlar
