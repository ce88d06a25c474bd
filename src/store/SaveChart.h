// The save command: the two numbers checked, then a new chart filed (this unit) or pages
// added to the stored chart (store/ChartAppend.h).
//
// Filing a new chart writes the PDF to a hidden temporary file in the chart folder and
// renames it into place only when it is complete; the row is then inserted in one
// transaction, and only after the commit are the chart-saved line added and the scanner
// folder cleared. When the insert fails, the file this save wrote is removed again and the
// pages stay, so Save can simply be pressed again once the database is back.
#pragma once

#include <string>

namespace pendlar {

struct FilingContext;

// SaveButton "保存"/"追加" with the left button. A press while a save or an add is still
// running (the window lets pending events run while the PDF is written) is ignored.
void SaveChart(FilingContext& context);

// Files a new chart under the numbers. False when the chart is to be corrected and saved
// again (a failed header or keyword check, or a database that refused the row); true when
// the flow ended, stored or with a reported failure. An error of the PDF writer or the file
// system while the file is written leaves here as an exception, after the partial file is
// removed; nothing is registered then.
bool SaveNewChart(FilingContext& context, long patient, long sub);

// The INSERT statement of a new chart's row, the texts as quoted SQL literals.
struct ChartRow {
    long Patient = 0, Sub = 0;
    std::string Date, FilePath, InetPath, FileName;
    std::string Keys[8];
};
ChartRow NewChartRow(long patient, long sub, const std::string& date, const std::string& folder,
                     const std::string& fileName, const std::string (&keywords)[8]);
std::string InsertStatement(const ChartRow& row);

} // namespace pendlar
