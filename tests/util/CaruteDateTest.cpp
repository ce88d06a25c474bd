#include "util/CaruteDate.h"
#include "util/DateTime.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pendlar {
namespace {

struct ParseCase {
    const char* text; // UTF-8
    int year, month, day;
    const char* error; // UTF-8, "" when the parse succeeds
};

TEST(CaruteDate, ParseDate) {
    const ParseCase cases[] = {
        {"2010/01/15", 2010, 1, 15, ""},
        {"2010.1.15", 2010, 1, 15, ""},
        {"2010 1 15", 2010, 1, 15, ""},
        {"2010/ 1/  15", 2010, 1, 15, ""},
        {"H22.1.15", 2010, 1, 15, ""},
        {"h22/1/15", 2010, 1, 15, ""},
        {"平成22.1.15", 2010, 1, 15, ""},
        {"平成 22 1 15", 2010, 1, 15, ""},
        {"２０１０/１/１５", 2010, 1, 15, ""},
        {"  2012/2/29", 2012, 2, 29, ""},
        {"2100/12/31", 2100, 12, 31, ""},
        {"H0.1.8", 1989, 1, 8, ""},
        {"H1.1.8", 1989, 1, 8, ""},
        {"S64.1.7", 1989, 1, 7, ""},
        {"M45.7.29", 1912, 7, 29, ""},
        {"T1.7.30", 1912, 7, 30, ""},
        {"R6.5.3", 2024, 5, 3, ""},
        {"r1/5/1", 2019, 5, 1, ""},
        {"令和6.5.3", 2024, 5, 3, ""},
        {"", 0, 0, 0, "数値データがありません。"},
        {"   ", 0, 0, 0, "数値データがありません。"},
        {"  2010/2/29", 0, 0, 0, "日付けが存在しません。"},
        {"1899/12/31", 0, 0, 0, "年にエラーがあります。"},
        {"2101/1/1", 0, 0, 0, "年にエラーがあります。"},
        {"S121.1.1", 0, 0, 0, "年にエラーがあります。"},
        {"2010/13/1", 0, 0, 0, "月にエラーがあります。"},
        {"2010/0/1", 0, 0, 0, "月にエラーがあります。"},
        {"2010/1/32", 0, 0, 0, "日にエラーがあります。"},
        {"2010/4/31", 0, 0, 0, "日付けが存在しません。"},
        {"2010年1月15日", 0, 0, 0, "月にエラーがあります。"},
        {"２０１０－１－１５", 0, 0, 0, "月にエラーがあります。"},
        {"平安22.1.1", 0, 0, 0, "元号にエラーがあります。"},
        {"平安22.13.1", 0, 0, 0, "月にエラーがあります。"},
        {"令成1.1.1", 0, 0, 0, "元号にエラーがあります。"},
    };
    for (const auto& c : cases) {
        TCaruteDate date;
        date.ParseDate(SjisOf(c.text));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SjisToUtf8(date.ErrorText), c.error);
        EXPECT_EQ(date.HasError, *c.error != '\0');
        if (!date.HasError) {
            EXPECT_EQ(date.GetDate(), EncodeDate(c.year, c.month, c.day));
        }
    }
}

TEST(CaruteDate, MissingDateResetsValueToNow) {
    TCaruteDate date;
    date.SetDate(EncodeDate(2000, 1, 1));
    date.ParseDate("2010/2/30");
    EXPECT_GT(date.GetDate(), EncodeDate(2020, 1, 1));
    date.SetDate(EncodeDate(2000, 1, 1));
    date.ParseDate("2010/13/1"); // other errors keep the value
    EXPECT_EQ(date.GetDate(), EncodeDate(2000, 1, 1));
}

TEST(CaruteDate, FormatDate) {
    struct Case {
        bool western;
        int style;
        int y, m, d;
        const char* text;
    } cases[] = {
        {true, 0, 2010, 1, 15, "2010.01.15"},
        {true, 1, 2010, 1, 15, "2010/01/15"},
        {true, 2, 2010, 1, 15, "2010-01-15"},
        {true, 3, 2010, 1, 15, "2010_01_15"},
        {true, 4, 2010, 1, 15, "2010 01 15"},
        {false, 0, 2010, 1, 15, "H22.01.15"},
        {false, 1, 2010, 1, 15, "平成22年01月15日"},
        {false, 0, 1989, 1, 7, "S64.01.07"},
        {false, 0, 1989, 1, 8, "H1.01.08"},
        {false, 0, 1926, 12, 24, "T15.12.24"},
        {false, 0, 1912, 7, 29, "M45.07.29"},
        {false, 0, 2019, 4, 30, "H31.04.30"},
        {false, 0, 2019, 5, 1, "R1.05.01"},
        {false, 1, 2024, 5, 3, "令和6年05月03日"},
        {false, 2, 2024, 5, 3, ""},
    };
    for (const auto& c : cases) {
        TCaruteDate date;
        date.Western = c.western;
        date.Style = c.style;
        date.SetDate(EncodeDate(c.y, c.m, c.d));
        EXPECT_EQ(SjisToUtf8(date.FormatDate()), c.text);
    }
}

TEST(CaruteDate, ValuesNoCalendarHoldsGiveNoDate) {
    // Dates also come from billing records, whose bytes may hold any double.
    SetDateSeparator('/');
    for (double value :
         {1e300, -1e300, std::nan(""), EncodeDate(9999, 12, 31) + 1.0, EncodeDate(1, 1, 1) - 1.0}) {
        SCOPED_TRACE(value);
        const CivilDate d = DecodeDate(value);
        EXPECT_EQ(d.Year, 0);
        EXPECT_EQ(d.Month, 0);
        EXPECT_EQ(d.Day, 0);
        EXPECT_EQ(DateTimeText(value), "0000/00/00");
        for (bool western : {true, false}) {
            TCaruteDate date;
            date.Western = western;
            date.Style = 1;
            date.SetDate(value);
            EXPECT_EQ(date.FormatDate(), "");
        }
    }
    const CivilDate last = DecodeDate(EncodeDate(9999, 12, 31) + 0.5);
    EXPECT_EQ(last.Year, 9999);
    EXPECT_EQ(last.Day, 31);
    EXPECT_EQ(DecodeDate(EncodeDate(1, 1, 1)).Year, 1);
}

TEST(CaruteDate, WesternFormatSetsTheProcessSeparator) {
    TCaruteDate date;
    date.SetDisplayMode(true, 2, 1);
    EXPECT_TRUE(date.Western);
    EXPECT_EQ(date.Style, 2);
    date.SetDate(EncodeDateTime(2024, 5, 3, 9, 5, 7));
    date.FormatDate();
    EXPECT_EQ(DateTimeText(EncodeDateTime(2024, 5, 3, 9, 5, 7)), "2024-05-03 9:05:07");
    SetDateSeparator('/');
    EXPECT_EQ(DateTimeText(EncodeDateTime(2024, 5, 3, 0, 0, 0)), "2024/05/03");
    date.SetDisplayMode(false, 2, 1);
    EXPECT_EQ(date.Style, 1);
}

TEST(CaruteDate, DayCounts) {
    EXPECT_EQ(CountDaysBetween(EncodeDate(2010, 1, 31), EncodeDate(2010, 1, 1)), 31);
    EXPECT_EQ(CountDaysBetween(EncodeDate(2010, 1, 1), EncodeDate(2010, 1, 31)), 31);
    EXPECT_EQ(CountDaysBetween(EncodeDate(2010, 1, 1), EncodeDate(2010, 1, 1)), 1);
    EXPECT_EQ(CountDaysBetween(EncodeDate(2011, 12, 31), EncodeDate(2012, 3, 1)), 62);
}

TEST(DateTime, DayNumbers) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2024, 5, 3), 45415.0);
    CivilDate d = DecodeDate(45415.75);
    EXPECT_EQ(d.Year, 2024);
    EXPECT_EQ(d.Month, 5);
    EXPECT_EQ(d.Day, 3);
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
}

TEST(DateTime, SourceDateEpochIsNow) {
    setenv("SOURCE_DATE_EPOCH", "1714727107", 1); // 2024-05-03 09:05:07 UTC
    TDateTime now = Now();
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_DOUBLE_EQ(now, EncodeDateTime(2024, 5, 3, 9, 5, 7));
}

} // namespace
} // namespace pendlar
