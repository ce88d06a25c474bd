#include "util/DateTime.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace pendlar {
namespace {

char g_separator = '/';

// Days from 1970-01-01 of a proleptic Gregorian date (the civil-from-days algorithm).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = yoe + era * 400;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp + (mp < 10 ? 3 : -9);
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 1899-12-30 is day 0 of the stored dates.
const long kEpochOffset = DaysFromCivil(1899, 12, 30);

} // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int length = lengths[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= length;
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - kEpochOffset);
}

namespace {

// Day numbers of 0001-01-01 and of the day after 9999-12-31: the calendar's range.
constexpr double kFirstDay = -693593.0;
constexpr double kEndDay = 2958466.0;

} // namespace

bool InCalendar(TDateTime value) {
    return value >= kFirstDay && value < kEndDay; // false for NaN too
}

CivilDate DecodeDate(TDateTime value) {
    // Dates also come from billing records: a value no calendar holds (NaN, 1e300) has no
    // date, rather than an undefined conversion to a day count.
    if (!InCalendar(value))
        return {};
    return CivilFromDays(static_cast<long>(std::floor(value)) + kEpochOffset);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second) {
    if (!InCalendar(value)) {
        hour = minute = second = 0;
        return;
    }
    double fraction = value - std::floor(value);
    long seconds = std::lround(fraction * 86400.0);
    if (seconds >= 86400)
        seconds = 86399;
    hour = static_cast<int>(seconds / 3600);
    minute = static_cast<int>(seconds / 60 % 60);
    second = static_cast<int>(seconds % 60);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    return EncodeDate(year, month, day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

TDateTime Now() {
    std::time_t t = std::time(nullptr);
    std::tm parts{};
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch && *epoch) {
        t = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
        gmtime_r(&t, &parts);
    } else {
        localtime_r(&t, &parts);
    }
    return EncodeDateTime(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                          parts.tm_min, parts.tm_sec);
}

char DateSeparator() {
    return g_separator;
}

void SetDateSeparator(char separator) {
    g_separator = separator;
}

std::string DateTimeText(TDateTime value) {
    CivilDate d = DecodeDate(value);
    int h, m, s;
    DecodeTime(value, h, m, s);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d%c%02d%c%02d", d.Year, g_separator, d.Month,
                  g_separator, d.Day);
    std::string text = buffer;
    if (h != 0 || m != 0 || s != 0) {
        std::snprintf(buffer, sizeof buffer, " %d:%02d:%02d", h, m, s);
        text += buffer;
    }
    return text;
}

} // namespace pendlar
