// Dates as the stored formats keep them: days since 1899-12-30 as a double, the fraction
// being the time of day.
#pragma once

#include <optional>
#include <string>

namespace pendlar {

using TDateTime = double;

struct CivilDate {
    int Year = 0, Month = 0, Day = 0;
};

bool IsValidDate(int year, int month, int day);
// The day number of a date; the date must be valid.
TDateTime EncodeDate(int year, int month, int day);
// The date and time of a day number; all zero for a value outside 0001-01-01 …
// 9999-12-31 (or not a number).
CivilDate DecodeDate(TDateTime value);
// Whether a day number lies in 0001-01-01 … 9999-12-31 (false for NaN).
bool InCalendar(TDateTime value);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

// The local date and time, or SOURCE_DATE_EPOCH (read as UTC) when it is set, so that two
// runs on the same input write the same bytes.
TDateTime Now();

// The separator of every date text the process writes with its regional format; "/" until
// a Western date is formatted with another separator.
char DateSeparator();
void SetDateSeparator(char separator);

// The regional date-and-time text of a stored chart: "yyyy/mm/dd h:nn:ss" with the current
// date separator; the time is left out at exact midnight.
std::string DateTimeText(TDateTime value);

} // namespace pendlar
