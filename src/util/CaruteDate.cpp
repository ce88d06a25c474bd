#include "util/CaruteDate.h"

#include "util/Sjis.h"
#include "util/TextHelpers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pendlar {
namespace {

struct Era {
    const char* Kanji; // UTF-8 in the source
    char Letter;
    int Offset;
    int StartYear, StartMonth, StartDay; // first day of the era
};

// 令和 is not in the stored era table of old, but without it no date of the current era
// could be typed, and dates after 2019-04-30 would be formatted as a letterless era.
const Era kEras[] = {
    {"明治", 'M', 1867, 0, 0, 0},      {"大正", 'T', 1911, 1912, 7, 30},
    {"昭和", 'S', 1925, 1926, 12, 25}, {"平成", 'H', 1988, 1989, 1, 8},
    {"令和", 'R', 2018, 2019, 5, 1},
};

const Era* EraOfLetter(char c) {
    for (const auto& e : kEras)
        if (c == e.Letter || c == e.Letter + ('a' - 'A'))
            return &e;
    return nullptr;
}

const Era* EraOfKanji(const std::string& twoKanji) {
    for (const auto& e : kEras)
        if (twoKanji == SjisOf(e.Kanji))
            return &e;
    return nullptr;
}

bool StartsWithEraKanji(const std::string& text) {
    if (text.size() < 2)
        return false;
    std::string first = text.substr(0, 2);
    for (const auto& e : kEras)
        if (first == SjisOf(e.Kanji).substr(0, 2))
            return true;
    return false;
}

const Era& EraOfDate(TDateTime value) {
    const Era* found = &kEras[0];
    for (const auto& e : kEras)
        if (e.StartYear != 0 && value >= EncodeDate(e.StartYear, e.StartMonth, e.StartDay))
            found = &e;
    return *found;
}

} // namespace

TCaruteDate::TCaruteDate() : Value(Now()) {}

void TCaruteDate::SetDisplayMode(bool koyomi, int sKugiri, int wKugiri) {
    Western = koyomi;
    Style = koyomi ? sKugiri : wKugiri;
}

void TCaruteDate::Fail(const char* utf8Message) {
    HasError = true;
    ErrorText = SjisOf(utf8Message);
}

void TCaruteDate::ParseDate(const std::string& input) {
    HasError = false;
    ErrorText.clear();
    std::size_t start = SkipBlanks(input, 1);
    std::string text = start <= input.size() ? input.substr(start - 1, 255) : std::string();
    if (text.empty()) {
        Fail("数値データがありません。");
        return;
    }
    if (EraOfLetter(text[0]) || StartsWithEraKanji(text))
        ParseEraDate(text);
    else
        ParseWesternDate(text);
}

bool TCaruteDate::ReadMonthDay(const std::string& text, std::size_t& p) {
    // Exactly one byte after a number is the separator; blanks may follow it.
    p = SkipBlanks(text, p + 1);
    int month = ReadNumber(text, p);
    if (month < 1 || month > 12) {
        Fail("月にエラーがあります。");
        return false;
    }
    p = SkipBlanks(text, p + 1);
    int day = ReadNumber(text, p);
    if (day < 1 || day > 31) {
        Fail("日にエラーがあります。");
        return false;
    }
    Month = static_cast<std::uint16_t>(month);
    Day = static_cast<std::uint16_t>(day);
    return true;
}

void TCaruteDate::BuildDate(int year) {
    Year = static_cast<std::uint16_t>(year);
    if (!IsValidDate(year, Month, Day)) {
        Fail("日付けが存在しません。");
        Value = Now();
        return;
    }
    Value = EncodeDate(year, Month, Day);
}

void TCaruteDate::ParseWesternDate(const std::string& text) {
    std::size_t p = 1;
    int year = ReadNumber(text, p);
    if (year < 1900 || year > 2100) {
        Fail("年にエラーがあります。");
        return;
    }
    Year = static_cast<std::uint16_t>(year);
    if (!ReadMonthDay(text, p))
        return;
    BuildDate(year);
}

void TCaruteDate::ParseEraDate(const std::string& text) {
    const Era* letterEra = EraOfLetter(text[0]);
    std::size_t p = SkipBlanks(text, letterEra ? 2 : 5);
    int eraYear = ReadNumber(text, p);
    if (eraYear > 120) {
        Fail("年にエラーがあります。");
        return;
    }
    if (eraYear < 1)
        eraYear = 1;
    Year = static_cast<std::uint16_t>(eraYear);
    if (!ReadMonthDay(text, p))
        return;
    // The era name is checked only after the numbers.
    const Era* era = letterEra ? letterEra : EraOfKanji(text.substr(0, 4));
    if (!era) {
        Fail("元号にエラーがあります。");
        return;
    }
    BuildDate(eraYear + era->Offset);
}

std::string TCaruteDate::FormatDate() const {
    CivilDate d = DecodeDate(Value);
    char buffer[64];
    if (Western) {
        static const char separators[] = {'.', '/', '-', '_', ' '};
        if (Style >= 0 && Style < 5)
            SetDateSeparator(separators[Style]);
        if (d.Year == 0)
            return {}; // no calendar date: nothing to show
        char s = DateSeparator();
        std::snprintf(buffer, sizeof buffer, "%04d%c%02d%c%02d", d.Year, s, d.Month, s, d.Day);
        return buffer;
    }
    if (d.Year == 0)
        return {};
    const Era& era = EraOfDate(Value);
    int eraYear = d.Year - era.Offset;
    if (Style == 0) {
        std::snprintf(buffer, sizeof buffer, "%c%d.%02d.%02d", era.Letter, eraYear, d.Month, d.Day);
        return buffer;
    }
    if (Style == 1) {
        std::snprintf(buffer, sizeof buffer, "%d年%02d月%02d日", eraYear, d.Month, d.Day);
        return SjisOf(std::string(era.Kanji) + buffer);
    }
    return "";
}

int CountDaysBetween(TDateTime from, TDateTime to) {
    return static_cast<int>(std::lround(std::fabs(std::floor(to) - std::floor(from)))) + 1;
}

} // namespace pendlar
