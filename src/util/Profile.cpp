#include "util/Profile.h"

#include "util/Sjis.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#ifndef PENDLAR_INSTALLED_DATA_DIR
#define PENDLAR_INSTALLED_DATA_DIR ""
#endif
#ifndef PENDLAR_SOURCE_DATA_DIR
#define PENDLAR_SOURCE_DATA_DIR ""
#endif

namespace pendlar {
namespace {

std::string g_profile;

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::string StripTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string HomeUtf8() {
    return StripTrailingSlash(EnvOr("HOME", "/"));
}

} // namespace

void SetProfileDir(const std::string& utf8Dir) {
    g_profile = utf8Dir;
}

std::string ProfileDir() {
    std::string dir = g_profile.empty() ? EnvOr("PENDLAR_PROFILE", "") : g_profile;
    if (dir.empty())
        return "";
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(dir, ec);
    return FileNameToSjisPath(StripTrailingSlash(ec ? dir : abs.lexically_normal().string()));
}

std::string SettingsFilePath() {
    std::string profile = ProfileDir();
    if (!profile.empty())
        return profile + "/Pendlar15.conf";
    return FileNameToSjisPath(EnvOr("XDG_CONFIG_HOME", HomeUtf8() + "/.config") +
                              "/Orvane/Pendlar15.conf");
}

std::string DataFolder() {
    std::string profile = ProfileDir();
    if (!profile.empty())
        return profile;
    return FileNameToSjisPath(EnvOr("XDG_DATA_HOME", HomeUtf8() + "/.local/share") + "/pendlar");
}

std::string HomeFolder() {
    std::string home = HomeUtf8();
    return FileNameToSjisPath(home == "/" ? home : home + "/");
}

std::string ProgramDataFolder() {
    // An installed program finds its files beside its own bin/ folder; a program run from
    // the build tree uses the source tree's data folder.
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        std::filesystem::path installed = exe.parent_path().parent_path() / "share" / "pendlar";
        if (std::filesystem::is_directory(installed, ec))
            return FileNameToSjisPath(installed.string());
    }
    if (std::filesystem::is_directory(PENDLAR_INSTALLED_DATA_DIR, ec))
        return FileNameToSjisPath(PENDLAR_INSTALLED_DATA_DIR);
    return FileNameToSjisPath(PENDLAR_SOURCE_DATA_DIR);
}

} // namespace pendlar
