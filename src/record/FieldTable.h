// Every input field of the header tabs, as data: name, kind, caption, tab, limits, marks and
// built-in items. The Qt tabs are generated from this table, the checks read the kept
// lengths from it and the reset walks it, so a field is described in one place only.
//
// Captions and items are UTF-8 (they are shown, never stored); the field names are the
// control names and the names of the chart record's fields.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

enum class RecordTab {
    KanjaKihon,
    Hoken,
    KihonShinryo,
    Rousai,
    GairaiShinryo,
    NyuinKiroku,
    HokenKakunin,
    Keyword
};

enum class FieldKind {
    Text,      // single-line text
    Memo,      // multi-line text
    Date,      // text read by the calendar
    Choice,    // drop-down list whose text may also be typed
    Radio,     // option group
    Check,     // check box
    DayLabel,  // a day count shown beside a period (output only)
    ErrorMark, // a "*" beside a date, shown when the day count cannot read it (output only)
    Button     // a command on the tab
};

// The sign beside a field and in the legend.
enum class FieldMark { None, Required, OneOf };

struct FieldInfo {
    std::string Name;
    FieldKind Kind = FieldKind::Text;
    RecordTab Tab = RecordTab::KanjaKihon;
    const char* Label = ""; // caption beside the control
    const char* Group = ""; // caption of the box or column the field belongs to, "" for none
    int Capacity = 0;       // text bytes the control accepts; 0: no limit
    int Kept = 0;           // text bytes the chart record keeps
    FieldMark Mark = FieldMark::None;
    bool NoInputMethod = false;           // telephone numbers: the input method stays off
    std::span<const char* const> Choices; // built-in items of a choice or option group
    int Row = 0;    // 1-based row of a table, period of the workers' accident tab, year
    int Column = 0; // 1-based month of an insurance-confirmation box
};

struct TabInfo {
    RecordTab Id;
    const char* Name;        // the tab page's control name
    const char* Caption;     // shown on the tab, and in status panel 0 when a check fails
    const char* FocusHolder; // read-only edit that takes the focus when the tab is shown
    const char* ShowHandler; // handler run when the tab is shown
    std::vector<const char*> Legend;
};

// The seven record tabs and the keyword tab, in tab order.
const std::vector<TabInfo>& RecordTabs();
const TabInfo& TabOf(RecordTab tab);

// Every field, tab by tab in reading order.
const std::vector<FieldInfo>& RecordFields();
// nullptr when no field has that name.
const FieldInfo* FindField(std::string_view name);

// True for the kinds the person types or ticks (not labels, marks or buttons).
bool IsInputField(FieldKind kind);

} // namespace pendlar
