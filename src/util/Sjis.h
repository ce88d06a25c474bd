// Shift-JIS (code page 932) text helpers.
//
// Every text inside the core is a Shift-JIS byte string held in std::string, because the
// files, the database and the billing records that other stations share are Shift-JIS and
// every length rule counts bytes. UTF-8 appears only at the edges: widgets, file names on
// disk and the terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pendlar {

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Shift-JIS to UTF-8. Never fails: each byte that does not start a valid character
// becomes U+FFFD and the conversion goes on with the next byte.
std::string SjisToUtf8(std::string_view sjis);

// Shift-JIS to UTF-16, with the same replacement rule as SjisToUtf8.
std::u16string SjisToUtf16(std::string_view sjis);

// UTF-8 to Shift-JIS; nullopt when the text holds a character that code page 932
// cannot represent or is not valid UTF-8.
std::optional<std::string> Utf8ToSjis(std::string_view utf8);

// UTF-8 to Shift-JIS for texts typed by a person: characters that have no Shift-JIS
// form become "?" instead of failing.
std::string Utf8ToSjisLossy(std::string_view utf8);

// The Shift-JIS form of a UTF-8 text written in the source, for the system's fixed
// messages: `SjisOf("保存しました。")`. Characters without a Shift-JIS form become "?".
inline std::string SjisOf(std::string_view utf8) {
    return Utf8ToSjisLossy(utf8);
}

// The first n bytes of a text. This may split a double-byte character, exactly as the
// stored formats do when they cut by bytes.
std::string FirstBytes(std::string_view text, std::size_t n);

// At most n bytes, cut before a double-byte character that would otherwise be split,
// so the result never ends in a dangling lead byte.
std::string CutAtCharBoundary(std::string_view text, std::size_t n);

// The file-system name of a Shift-JIS path (file names on disk are UTF-8).
std::string SjisPathToFileName(std::string_view sjisPath);

// The Shift-JIS path of a file-system name; bytes that are not UTF-8 or have no
// Shift-JIS form become "?".
std::string FileNameToSjisPath(std::string_view fileName);

} // namespace pendlar
