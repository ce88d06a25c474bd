// The header texts: the chart record turned into the texts the header pages print, each
// under the name of the item that prints it and cut to that item's capacity in bytes.
//
// A cut never leaves half of a double-byte character behind: a text the record already
// holds cut in the middle of a character, or one longer than its item, is printed up to the
// last whole character.
#pragma once

#include "pdf/chart/ChartPdfSource.h"
#include "util/DateTime.h"

#include <map>
#include <string>

namespace pendlar {

class TCaruteDate;

// Item name -> Shift-JIS text, for every text item of the three header pages.
using HeaderTexts = std::map<std::string, std::string>;

// Dates are written by the calendar's display style; `today` is the date the age is counted
// to. The calendar's value is left as it was.
HeaderTexts PrepareHeaderTexts(const ChartRecord& record, const ChartLookupLists& lookups,
                               TCaruteDate& calendar, TDateTime today);

// "（74歳 1ヶ月）": whole years and months from the birth date to today, by calendar fields.
// Empty without a birth date or for a birth date after today.
std::string AgeText(TDateTime birth, TDateTime today);

// The six blood and test groups, "血液型(A)  Ｒｈ(+)  …  禁忌(無)  ".
std::string BloodLine(const ChartRecord& record);

// At most `capacity` bytes, ending on a whole character.
std::string FitText(std::string_view text, std::size_t capacity);

} // namespace pendlar
