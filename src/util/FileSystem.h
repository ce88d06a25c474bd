// File-system access for Shift-JIS paths: the conversion to the UTF-8 name on disk
// happens here, at the moment a file is opened, listed, created or deleted.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

// The file-system path of a Shift-JIS path.
std::filesystem::path FsPath(std::string_view sjisPath);

bool FileExists(std::string_view sjisPath);   // a regular file (or a link to one)
bool FolderExists(std::string_view sjisPath); // a directory

// The whole content of a file, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(std::string_view sjisPath);

// Writes every byte to an open file, again after an interrupted call. False on failure,
// with errno telling why (EIO when the file took no byte).
bool WriteAll(int fd, std::string_view bytes);

// Writes a file whole: a temporary file in the same folder, flushed to disk, then
// renamed over the target, so a crash never leaves half a file. False on any failure;
// the old file is then untouched.
bool WriteFileAtomically(std::string_view sjisPath, std::string_view content);

// The Shift-JIS lines of a text file (CR LF or LF ends), or nullopt when unreadable.
std::optional<std::vector<std::string>> ReadLines(std::string_view sjisPath);

// Writes lines, each followed by CR LF, replacing the file. False on failure.
bool WriteLines(std::string_view sjisPath, const std::vector<std::string>& lines);

} // namespace pendlar
