// The flows on the stored chart of the confirmed patient: choosing the sub number (which
// sets the filing mode), opening the chart in the PDF reader ("印刷") and erasing it.
#pragma once

namespace pendlar {

struct FilingContext;

// SubNoBtn "選択": the sub number of VolNoEdit; a row in PDF_PATH means pages will be
// added to that chart, none that a new chart will be filed.
void SubNoBtnClick(FilingContext& context);

// PrintBtn "印刷": hands the stored file of the confirmed patient and selected sub number
// to the shell.
void PrintBtnClick(FilingContext& context);

// EraseBtn "消去": after two questions, removes the stored file and its row together.
// The file is first moved aside, the row deleted in a transaction, and only then the file
// removed; when the row cannot be deleted the file is put back, so a failed erase never
// leaves a row without its file or a file without its row. A chart its owner may not write
// (read-only) is not erased.
void EraseBtnClick(FilingContext& context);

// The save-readiness check on the window: Save disabled, then enabled when the chart may
// be saved (CheckSaveReady of record/RecordChecks.h with the page count of the intake).
void CheckSaveReady(FilingContext& context);

} // namespace pendlar
