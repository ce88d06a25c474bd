// The five lookup tables of the chart database: relationship names, inpatient outcomes,
// inpatient destinations, per-row outcomes and payer categories. Each gives the choices of
// some combo boxes of the header tabs; the table of this unit is the one place that ties a
// table to its query text, its columns, its combo boxes, its built-in choices and its
// start-up failure texts.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace pendlar {

enum class LookupTable { Zokugara, Ntenki, Tenkisaki, Tenki, Futan };

struct LookupTableInfo {
    LookupTable Id;
    const char* Table;                       // PDF_RZOKUGARA …
    const char* OrderColumn;                 // ZOKUNO …
    const char* TextColumn;                  // ZOKUSTR …
    const char* Sql;                         // the start-up SELECT, exactly as issued
    const char* MessageUtf8;                 // the message when the table cannot be read
    const char* LogLine;                     // the error-log line then (Shift-JIS after conversion)
    std::vector<std::string> ComboBoxes;     // controls filled from the table
    std::vector<const char*> BuiltInChoices; // the header tabs' own items (UTF-8), in order
};

// In the order the start-up reads them.
std::span<const LookupTableInfo> LookupTables();

// Receives the rows of a lookup table for the combo boxes that exist: `comboName` is the
// control's name, `items` the Shift-JIS texts in table order.
class LookupChoiceTarget {
public:
    virtual ~LookupChoiceTarget() = default;
    virtual void ReplaceChoices(const std::string& comboName,
                                const std::vector<std::string>& items) = 0;
};

} // namespace pendlar
