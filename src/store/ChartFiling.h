// The pieces the new-chart save and the page add share: the required-keyword check, the
// header checks of the chart kind, the chart file name, the chart-saved line, the
// PDF_PATH column values, the quoting of SQL literals and the scanner-folder clear after a
// save. Texts are Shift-JIS.
#pragma once

#include "record/FieldView.h"
#include "util/DateTime.h"

#include <array>
#include <string>
#include <string_view>

namespace pendlar {

class Database;
class Query;

class TDirFile;
class TRegistory;
struct FilingContext;

// A keyword column of PDF_PATH keeps this many bytes of its keyword box.
constexpr std::size_t kKeywordColumnBytes = 48;

// The texts of KeyBox1 … KeyBox8, whole.
std::array<std::string, 8> KeywordTexts(const FieldView& view);

// When KeyWordUse is on, every keyword box whose UseKeyLabelN is on must hold a text.
bool RequiredKeywordsFilled(const TRegistory& settings, const FieldView& view);

// The header checks for the chart kind of HeaderOut (1 outpatient, 2 inpatient, anything
// else none), on the window's input fields; the day labels the outpatient check sets are
// shown again. Fills the chart record; false at the first fault (reported by the check).
enum class HeaderCheck { None, Outpatient, Inpatient };
HeaderCheck HeaderCheckOf(int headerOut);
bool RunHeaderChecks(FilingContext& context);

// "HP" + HPCode + "_" + patient + "_" + sub [+ "_" + y + "_" + m + "_" + d when WriteDate]
// + "_" + KaCode [+ "G" / "N" when NyuGai and HeaderOut is 1 / 2] + ".pdf".
std::string ChartFileName(const TRegistory& settings, long patient, long sub, TDateTime today);

// Points the chart folder object at the patient's folder from the settings (Target,
// L1Front … L4Back) and returns that folder.
std::string ChartFolder(const TRegistory& settings, TDirFile& dirFile, long patient);

// The chart-saved line of the save log for a chart file in a folder.
std::string ChartSavedLine(const TRegistory& settings, const std::string& folder,
                           const std::string& fileName, const FieldView& view);

// The first `bytes` bytes (a cut may split a double-byte character; it is stored so).
std::string CutBytes(std::string_view text, std::size_t bytes);

// A text as an SQL literal: in single quotes, every single quote inside doubled.
std::string SqlQuoted(std::string_view text);

// The CARUTEDATE text of the current local date and time.
std::string ChartDateText();

// After a saved chart, when FolderClear is on: deletes the plain files of the scanner
// folder, lists it again and empties the page list and the thumbnails.
void ClearScannerFolderAfterSave(FilingContext& context);

// Runs the query's statement between "begin transaction" and "commit transaction", with
// "rollback transaction" when either fails; false when the change did not happen.
bool ExecInTransaction(Database& database, Query& query);

} // namespace pendlar
