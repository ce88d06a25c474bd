#include "qrcode/CsvLine.h"

#include "util/Sjis.h"

#include <cstddef>

namespace pendlar {
namespace {

// Reads one field starting at `pos` and moves `pos` to the start of the next one. Returns
// false when the field ran into the end of the line inside quotes or after the first byte
// of a double-byte character.
bool ScanField(const std::string& line, std::size_t& pos, std::string& field) {
    field.clear();
    if (pos > line.size())
        return true;
    enum { Outside, Inside, SecondByte } state = Outside, quoted = Outside;
    for (; pos < line.size(); ++pos) {
        const unsigned char c = static_cast<unsigned char>(line[pos]);
        if (state == SecondByte) {
            // The byte after a lead byte belongs to the character whatever it is, even a
            // quote or a comma.
            field += static_cast<char>(c);
            state = quoted;
            continue;
        }
        if ((c >= 0x80 && c <= 0x9F) || c >= 0xE0) {
            field += static_cast<char>(c);
            quoted = state;
            state = SecondByte;
        } else if (c == '"') {
            state = state == Inside ? Outside : Inside;
        } else if (c == ',' && state == Outside) {
            ++pos;
            return true;
        } else {
            field += static_cast<char>(c);
        }
    }
    // The end of the line ends every further field of it too.
    pos = line.size() + 1;
    return state == Outside;
}

} // namespace

std::string TCsvLine::Message(int code) {
    static const char* const kMessages[] = {
        "",
        "データ行が空です。",
        "ＩＤＮｏの取得に失敗しました",
        "ＩＤＮｏの長さエラーです。",
        "名前の取得に失敗しました",
        "名前の長さエラーです。",
        "性別の取得に失敗しました",
        "性別の長さエラーです。",
        "生年月日の取得に失敗しました",
        "生年月日の長さエラーです。",
        "住所の取得に失敗しました",
        "住所の長さエラーです。",
    };
    if (code < 0 || code > kAddressTooLong)
        return {};
    return SjisOf(kMessages[code]);
}

long TCsvLine::ParsePatientNumber(const std::string& text) {
    std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos)
        return 0;
    if (text[begin] == '+')
        ++begin;
    if (begin > end)
        return 0;
    long value = 0;
    for (std::size_t i = begin; i <= end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > 99999999)
            return 0;
    }
    return value;
}

bool TCsvLine::Fail(int code) {
    errorCode_ = code;
    errorText_ = Message(code);
    return false;
}

bool TCsvLine::Parse(const std::string& line) {
    idNo_.clear();
    name_.clear();
    sex_.clear();
    birth_.clear();
    address_.clear();
    number_ = 0;
    errorCode_ = kNone;
    errorText_.clear();
    if (line.empty())
        return Fail(kEmptyLine);

    std::size_t pos = 0;
    std::string field;
    if (!ScanField(line, pos, field))
        return Fail(kIdNoUnreadable);
    if (field.size() > 10)
        return Fail(kIdNoTooLong);
    idNo_ = field;
    const long number = ParsePatientNumber(field);
    if (number == 0)
        return Fail(kIdNoUnreadable);

    struct Rule {
        std::string* Target;
        std::size_t Limit; // the field must be shorter than this many bytes
        int Unreadable;
    };
    const Rule rules[] = {{&name_, 100, kNameUnreadable},
                          {&sex_, 7, kSexUnreadable},
                          {&birth_, 25, kBirthUnreadable},
                          {&address_, 100, kAddressUnreadable}};
    for (const Rule& rule : rules) {
        if (!ScanField(line, pos, field))
            return Fail(rule.Unreadable);
        if (field.size() >= rule.Limit)
            return Fail(rule.Unreadable + 1);
        *rule.Target = field;
    }
    number_ = number;
    return true;
}

} // namespace pendlar
