// Adding pages to a stored chart: the save command in filing mode add.
//
// The new header pages and/or scanned pages are written into an add file in the Temp
// folder (Temp1.pdf, Temp2.pdf, … within a run), inserted before the first or after the
// last page of the stored chart together with their bookmarks, and the chart is saved in
// place; optionally the chart's keywords and date in PDF_PATH are replaced. The stored
// file changes only by the final rename of a completely written and re-read copy, so
// every failure leaves it byte for byte as it was.
#pragma once

#include <string>

namespace pendlar {

struct FilingContext;
class TRegistory;

// Adds to the chart of the numbers. False when the input is to be corrected and Save
// pressed again (overwriting forbidden, no add option, a failed check, or a keyword-only
// update the database refused); true when the flow ended, successfully or with a
// reported failure. An error of the PDF writer while the add file is written leaves here
// as an exception, before the stored chart is touched.
bool AddToChart(FilingContext& context, long patient, long sub);

// The UPDATE statement of the keyword change (keywords cut to their column width).
std::string KeywordUpdateStatement(long patient, long sub, const std::string& date,
                                   const std::string (&keywords)[8]);

// The check of the add settings window's Ok: "" when the choice is usable, otherwise
// the text for its ErrLabel (Shift-JIS). `insertType` -1 means no position is chosen.
std::string AppendSettingsError(bool header, bool image, bool keyword, int insertType,
                                bool keyWordUse);

} // namespace pendlar
