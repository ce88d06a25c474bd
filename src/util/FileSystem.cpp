#include "util/FileSystem.h"

#include "util/Sjis.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pendlar {

std::filesystem::path FsPath(std::string_view sjisPath) {
    return std::filesystem::path(SjisPathToFileName(sjisPath));
}

bool FileExists(std::string_view sjisPath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(FsPath(sjisPath), ec);
}

bool FolderExists(std::string_view sjisPath) {
    std::error_code ec;
    return std::filesystem::is_directory(FsPath(sjisPath), ec);
}

// The whole file in one buffer of its own size: a scanned page is megabytes, and reading
// it through a growing stream buffer copies it several times over.
std::optional<std::string> ReadWholeFile(std::string_view sjisPath) {
    const int fd = ::open(FsPath(sjisPath).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::string content;
    bool ok = ::fstat(fd, &info) == 0;
    if (ok && S_ISREG(info.st_mode) && info.st_size > 0)
        content.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    char more[65536];
    while (ok) {
        // Past the size fstat gave (a file that grew, or one that tells no size), the rest
        // is appended, so the file is still read to its end.
        const bool inPlace = done < content.size();
        const ssize_t n = inPlace ? ::read(fd, content.data() + done, content.size() - done)
                                  : ::read(fd, more, sizeof more);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!inPlace)
            content.append(more, static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    content.resize(done);
    return content;
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteFileAtomically(std::string_view sjisPath, std::string_view content) {
    std::filesystem::path target = FsPath(sjisPath);
    // Built step by step: GCC 12 at -O3 warns falsely about "." + std::string.
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string tmpl = (target.parent_path() / hidden).string();
    int fd = mkstemp(tmpl.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) {
        // mkstemp creates the file private; give it the usual permissions of a new file.
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(tmpl.c_str(), 0666 & ~mask);
        ok = std::rename(tmpl.c_str(), target.c_str()) == 0;
    }
    if (!ok)
        ::unlink(tmpl.c_str());
    return ok;
}

std::optional<std::vector<std::string>> ReadLines(std::string_view sjisPath) {
    std::optional<std::string> content = ReadWholeFile(sjisPath);
    if (!content)
        return std::nullopt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content->size()) {
        std::size_t end = content->find('\n', start);
        if (end == std::string::npos)
            end = content->size();
        std::string line = content->substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool WriteLines(std::string_view sjisPath, const std::vector<std::string>& lines) {
    std::ofstream out(FsPath(sjisPath), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    for (const auto& line : lines)
        out << line << "\r\n";
    out.close();
    return !out.fail();
}

} // namespace pendlar
