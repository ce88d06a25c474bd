// The calendar object: parses dates typed in the Western or the Japanese era calendar and
// formats dates in the display style the clerk chose. One instance serves the whole
// program; a parse overwrites the previous result, so callers read it at once.
#pragma once

#include "util/DateTime.h"

#include <cstdint>
#include <string>

namespace pendlar {

class TCaruteDate {
public:
    TCaruteDate();

    TDateTime Value;
    bool Western = true; // Koyomi
    int Style = 0;       // Western: SKugiri separator; era: WKugiri (0 abbreviated, 1 full)
    bool HasError = false;
    std::string ErrorText; // Shift-JIS message of the last failed parse
    std::uint16_t Year = 0, Month = 0, Day = 0;

    // Parses a Shift-JIS date text; on failure HasError and ErrorText tell why.
    void ParseDate(const std::string& text);
    void SetDate(TDateTime value) { Value = value; }
    TDateTime GetDate() const { return Value; }
    // The text of Value in the current display style. A Western format also sets the
    // process-wide date separator (util/DateTime.h).
    std::string FormatDate() const;

    // Western := koyomi; Style := sKugiri when Western, else wKugiri.
    void SetDisplayMode(bool koyomi, int sKugiri, int wKugiri);

private:
    void Fail(const char* utf8Message);
    void ParseWesternDate(const std::string& text);
    void ParseEraDate(const std::string& text);
    bool ReadMonthDay(const std::string& text, std::size_t& p);
    void BuildDate(int year);
};

// Days between two dates counting both ends (|to - from| + 1), the workers' accident day count.
int CountDaysBetween(TDateTime from, TDateTime to);

} // namespace pendlar
