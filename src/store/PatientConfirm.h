// Confirming a patient number: the reset of the chart, the billing record of the patient
// read from PDF_DATA and copied into the input fields, the keywords quoted from chosen
// fields, and the list of the patient's stored sub numbers.
#pragma once

#include "record/FieldView.h"
#include "store/IjiImport.h"

#include <string>
#include <string_view>

namespace pendlar {

class ChartDatabase;
class Query;
class TRegistory;
struct FilingContext;

// PidBtn "確認".
void PidBtnClick(FilingContext& context);

// GetIjiInfoBtn "取り込み" on the keyword tab: the keyword quoting alone.
void GetIjiInfoBtnClick(FilingContext& context);

// Decodes the IJIDATA blob of the query's current row into the input fields and the four
// record fields of the import; every failure shows its message and error-log line and
// stops the import there, the fields of the groups before it staying filled. True when
// the whole record was taken.
bool ImportMedicalRecord(FilingContext& context, const Query& query);

// Puts decoded fields into a field view: texts as they are, choices as their index with
// the item's text (an index outside the item list gives no selection and an empty text),
// option groups as their index when it names a button, check boxes as their flag.
void ApplyIjiEntries(const std::vector<IjiEntry>& entries, const ChartDatabase& db,
                     FieldView& view);

// When KeyWordUse is on: for N = 1 … 8 with IjiItemN above 0, keyword box N gets the text
// of that field (a memo's first line), as QuotedKeywordText.
void QuoteKeywords(const TRegistory& settings, FieldView& view);

// The text a keyword box gets from a field's text: its first 48 bytes without a dangling
// lead byte at the end, leading half- and full-width blanks removed.
std::string QuotedKeywordText(std::string_view text);

} // namespace pendlar
