#include "util/FileSystem.h"

#include "util/Sjis.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
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

std::optional<std::string> ReadWholeFile(std::string_view sjisPath) {
    std::ifstream in(FsPath(sjisPath), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return buffer.str();
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
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
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
