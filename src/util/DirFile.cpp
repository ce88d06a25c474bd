#include "util/DirFile.h"

#include "util/FileSystem.h"

#include <filesystem>
#include <vector>

namespace pendlar {

bool TDirFile::EnsureFolder() const {
    const std::string path = FolderPath();
    if (FolderExists(path))
        return true;
    std::error_code ec;
    std::filesystem::create_directories(FsPath(path), ec);
    return !ec && FolderExists(path);
}

bool TDirFile::FileExistsIn(const std::string& name) const {
    std::error_code ec;
    return std::filesystem::exists(FsPath(FolderPath() + "/" + name), ec);
}

void EmptyFolder(const std::string& sjisFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> taken;
    for (fs::directory_iterator it(FsPath(sjisFolder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path& p = it->path();
        std::string name = p.filename().string();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code entryEc;
        fs::file_status st = it->symlink_status(entryEc);
        if (entryEc || !fs::is_regular_file(st))
            continue;
        if ((st.permissions() & fs::perms::owner_write) == fs::perms::none)
            fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, entryEc);
        taken.push_back(p);
    }
    for (const auto& p : taken)
        fs::remove(p, ec);
}

} // namespace pendlar
