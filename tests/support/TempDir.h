// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace pendlar::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder as a Shift-JIS path, the form the core takes.
    std::string Sjis() const;
    // A path inside the folder, as a Shift-JIS path.
    std::string Sjis(const std::string& utf8Name) const;

private:
    std::filesystem::path path_;
};

// Writes bytes to a file (creating parent folders); returns the path.
std::filesystem::path WriteFile(const std::filesystem::path& path, const std::string& bytes);

// Reads a whole file; empty when missing.
std::string ReadFile(const std::filesystem::path& path);

// Runs a shell command and returns its exit status; its standard output goes to `out`.
int RunCommand(const std::string& command, std::string* out = nullptr);

// True when a program is on PATH (for tests that use outside tools as oracles).
bool HaveProgram(const std::string& name);

} // namespace pendlar::test
