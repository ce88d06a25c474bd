#include "util/TextHelpers.h"

#include "util/Sjis.h"

#include <cstdint>

namespace pendlar {

std::string ReplaceChar(std::string_view text, char a, char b) {
    std::string out(text);
    for (char& c : out)
        if (c == a)
            c = b;
    return out;
}

std::string ToLinuxPath(std::string_view text) {
    return ReplaceChar(text, '\\', '/');
}

std::string FileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos)
        return {};
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::size_t SkipBlanks(std::string_view text, std::size_t start) {
    if (start > text.size())
        return start;
    // Positions count from 1; a 0 would read the byte before the text.
    std::size_t p = start == 0 ? 1 : start;
    while (p <= text.size() && text[p - 1] == ' ')
        ++p;
    return p;
}

std::string TrimLeadingBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ')
            ++i;
        else if (i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0x81 &&
                 static_cast<unsigned char>(text[i + 1]) == 0x40)
            i += 2;
        else
            break;
    }
    return std::string(text.substr(i));
}

int ReadNumber(std::string_view text, std::size_t& position) {
    std::string digits;
    while (position >= 1 && position <= text.size()) {
        unsigned char c = static_cast<unsigned char>(text[position - 1]);
        if (c >= '0' && c <= '9') {
            digits += static_cast<char>(c);
            ++position;
        } else if (c == 0x82 && position < text.size() &&
                   static_cast<unsigned char>(text[position]) >= 0x4F &&
                   static_cast<unsigned char>(text[position]) <= 0x58) {
            digits += static_cast<char>('0' + static_cast<unsigned char>(text[position]) - 0x4F);
            position += 2;
        } else {
            break;
        }
    }
    if (digits.empty())
        return 0;
    std::int64_t value = 0;
    for (char d : digits) {
        value = value * 10 + (d - '0');
        if (value > INT32_MAX)
            return 0;
    }
    return static_cast<int>(value);
}

int FirstByte(std::string_view text) {
    return text.empty() ? 0 : static_cast<unsigned char>(text.front());
}

std::string TrimFieldText(std::string_view text) {
    // A text cut by bytes may end in the first byte of a double-byte character. Which byte
    // is a lead byte shows only when the text is walked from its start: by value alone, the
    // second byte of many kanji (炎 is 0x89 0x8A) looks like a lead byte too.
    std::string out = TrimLeadingBlanks(text);
    std::size_t i = 0;
    while (i < out.size())
        i += IsLeadByte(static_cast<unsigned char>(out[i])) ? 2 : 1;
    if (i > out.size())
        out.pop_back();
    return out;
}

} // namespace pendlar
