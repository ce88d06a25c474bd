// What the chart composition reads: the chart record, the page list, the lookup lists and
// the filing mode, through one small interface, so that the save flows, the tests and the
// command-line tool can compose a chart without any window.
#pragma once

#include "record/ChartRecord.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pendlar {

// The filing mode of the chart being saved: nothing chosen yet, a new chart, or pages added
// to a stored chart.
enum class ChartFilingMode { None, New, Add };

// One page of the page list: the image file, its note lines (empty: no note) and its
// bookmark title (empty: no bookmark). Texts are Shift-JIS.
struct ChartPage {
    std::string Path;
    std::vector<std::string> Notes;
    std::string Caption;
};

// The lookup lists the header pages turn choice indices back into texts with (Shift-JIS,
// in table order).
struct ChartLookupLists {
    std::vector<std::string> Zokugara; // relationship (ZOKUSTR)
    std::vector<std::string> Tenki;    // outcome of one disease (TENKISTR)
    std::vector<std::string> Futan;    // burden category (FUTANSTR)
};

class ChartPdfSource {
public:
    virtual ~ChartPdfSource() = default;
    virtual const ChartRecord& Record() const = 0;
    virtual std::size_t PageCount() const = 0;
    virtual const ChartPage& Page(std::size_t index) const = 0;
    virtual const ChartLookupLists& Lookups() const = 0;
    virtual ChartFilingMode FilingMode() const = 0;
};

// The source as plain data, for tests and the tool.
struct ChartPdfData : ChartPdfSource {
    ChartRecord Chart;
    std::vector<ChartPage> Pages;
    ChartLookupLists Lists;
    ChartFilingMode Mode = ChartFilingMode::New;

    const ChartRecord& Record() const override { return Chart; }
    std::size_t PageCount() const override { return Pages.size(); }
    const ChartPage& Page(std::size_t index) const override { return Pages[index]; }
    const ChartLookupLists& Lookups() const override { return Lists; }
    ChartFilingMode FilingMode() const override { return Mode; }
};

} // namespace pendlar
