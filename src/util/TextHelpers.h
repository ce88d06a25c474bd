// Small byte-level text helpers shared by the calendar, the save flows and the billing
// record import. Texts are Shift-JIS; positions are 1-based and count bytes.
#pragma once

#include <string>
#include <string_view>

namespace pendlar {

// Every byte equal to `a` becomes `b`.
std::string ReplaceChar(std::string_view text, char a, char b);

// Backslashes become slashes.
std::string ToLinuxPath(std::string_view text);

// Path pieces, split at the last "/" ("/" never occurs inside a double-byte Shift-JIS
// character, so a byte search is safe): the name after it (the whole text when there is
// none), and the folder before it ("" when there is none, "/" for a name at the root).
std::string FileNamePart(std::string_view path);
std::string FolderPart(std::string_view path);
// The folder without trailing "/" (but "/" stays): "/scan" and "/scan/" are one folder, and
// the default scanner folder is the home folder written with its trailing "/".
std::string WithoutTrailingSlash(std::string folder);

// The first position >= start whose byte is not a half-width space; length + 1 when there
// is none; start itself when start is past the end. A start of 0 counts as 1.
std::size_t SkipBlanks(std::string_view text, std::size_t start);

// Removes leading half-width and full-width (0x81 0x40) spaces in any mix.
std::string TrimLeadingBlanks(std::string_view text);

// Reads half-width and full-width decimal digits from `position` on, leaving `position` on
// the first byte not read. An empty or oversized number gives 0.
int ReadNumber(std::string_view text, std::size_t& position);

// The value of the first byte, 0 for an empty text.
int FirstByte(std::string_view text);

// TrimLeadingBlanks, then drops a last byte that is a dangling Shift-JIS lead byte.
std::string TrimFieldText(std::string_view text);

} // namespace pendlar
