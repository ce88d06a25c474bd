// The input fields as plain values, the form in which the checks, the reset, the day count
// and the billing-record import see the header tabs. The window supplies the view from its
// controls and shows it again afterwards; tests build it directly.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

struct FieldValue {
    // Shift-JIS. The text of a text, memo, date or choice field (a memo's line breaks are
    // CR LF, as the stored texts keep them), the caption of a day label.
    std::string Text;
    // Choice and option group: the selected item, -1 for none.
    int Index = -1;
    // Check box: ticked. Error mark: shown.
    bool Flag = false;

    friend bool operator==(const FieldValue&, const FieldValue&) = default;
};

// Field name → value. A field the window did not supply reads as empty, unselected and
// unticked.
using FieldView = std::map<std::string, FieldValue, std::less<>>;

const FieldValue& FieldOf(const FieldView& view, std::string_view name);

// The index a choice field keeps for the text it shows: the selected item when the text
// is that item, otherwise the first item equal to the text, otherwise -1 (a typed text
// that is none of the items counts as no selection).
int ChoiceIndex(std::string_view text, const std::vector<std::string>& items, int selected);

// The lines of a multi-line text (CR LF, LF or CR ends). A final line break does not
// start another line, so "a\nb\n" and "a\nb" are both two lines, "" none and "\n" one
// empty line.
std::vector<std::string> SplitLines(std::string_view text);
// Each line followed by `lineEnd`; the inverse of SplitLines.
std::string JoinLines(std::span<const std::string> lines, std::string_view lineEnd);

} // namespace pendlar
