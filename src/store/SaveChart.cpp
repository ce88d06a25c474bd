#include "store/SaveChart.h"

#include "intake/PageIntake.h"
#include "intake/PatientNumber.h"
#include "logs/Logs.h"
#include "pdf/chart/PdfWriteUnit.h"
#include "record/ChartRecord.h"
#include "settings/Registory.h"
#include "store/ChartAppend.h"
#include "store/ChartChoice.h"
#include "store/ChartDatabase.h"
#include "store/ChartFiling.h"
#include "store/FilingContext.h"
#include "util/DirFile.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/TextHelpers.h"
#include "util/UserInterface.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <system_error>

namespace pendlar {
namespace {

constexpr long kMaxPatient = 99999999;
constexpr long kMaxSubNo = 999;
constexpr std::size_t kPathColumnBytes = 255;
constexpr std::size_t kFileNameColumnBytes = 63;

void Warn(FilingContext& c, const char* utf8Message, const char* logLine) {
    c.Ui.Message(SjisOf(utf8Message), "", MsgIcon::Warning, MsgButtons::Ok);
    c.Logs.AddErrorLog(SjisOf(logLine));
}

// A chart file that cannot be written where it belongs: the system error, its log line and
// the status text.
void RefuseFile(FilingContext& c, const std::string& path, const char* reason) {
    c.Ui.Message(SjisOf("システムエラーです。\n管理者へ連絡して下さい。"), "", MsgIcon::Error,
                 MsgButtons::Ok);
    c.Logs.AddErrorLog("*** " + path + " " + reason);
    c.Ui.SetStatus(1, SjisOf("書き込みに失敗しました。"));
}

// A number typed into an edit, or the warning and log line of the first fault.
std::optional<long> ReadNumber(FilingContext& c, const std::string& text, long lo, long hi,
                               const char* notNumber, const char* notNumberLog,
                               const char* outOfRange, const char* outOfRangeLog) {
    const std::optional<std::int32_t> value = ParseInt32(text);
    if (!value) {
        Warn(c, notNumber, notNumberLog);
        return std::nullopt;
    }
    if (*value < lo || *value > hi) {
        Warn(c, outOfRange, outOfRangeLog);
        return std::nullopt;
    }
    return *value;
}

void RemoveFile(const std::string& sjisPath) {
    std::error_code ec;
    std::filesystem::remove(FsPath(sjisPath), ec);
}

// Puts the finished file at its name unless a file of that name appeared meanwhile: a
// stored chart is never replaced by a new one.
void MoveIntoPlace(const std::string& from, const std::string& to) {
    const std::filesystem::path src = FsPath(from), dst = FsPath(to);
    if (::link(src.c_str(), dst.c_str()) == 0) {
        ::unlink(src.c_str());
        return;
    }
    const int error = errno;
    if (error == EEXIST)
        throw std::runtime_error("the chart file appeared while it was written: " + SjisToUtf8(to));
    // A file system without hard links: the name was free a moment ago.
    std::error_code ec;
    if (!std::filesystem::exists(dst, ec)) {
        std::filesystem::rename(src, dst, ec);
        if (!ec)
            return;
    }
    throw std::runtime_error("cannot put the chart file in place: " + SjisToUtf8(to) + ": " +
                             std::strerror(error));
}

// A hidden name in the chart folder for the file while it is written.
std::string TemporaryName(const std::string& folder, const std::string& fileName) {
    for (int n = 0;; ++n) {
        std::string candidate =
            folder + "/." + fileName + ".saving" + (n ? std::to_string(n) : std::string());
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(FsPath(candidate), ec)))
            return candidate;
    }
}

struct LockGuard {
    FilingWindow& Window;
    explicit LockGuard(FilingWindow& w) : Window(w) { Window.LockControls(true); }
    ~LockGuard() { Window.LockControls(false); }
};

} // namespace

ChartRow NewChartRow(long patient, long sub, const std::string& date, const std::string& folder,
                     const std::string& fileName, const std::string (&keywords)[8]) {
    ChartRow row;
    row.Patient = patient;
    row.Sub = sub;
    row.Date = date;
    const std::string full = folder + "/" + fileName;
    // Cuts count bytes and may split a double-byte character; the columns keep it so.
    row.FilePath = CutBytes(full, kPathColumnBytes);
    row.InetPath = CutBytes(ToLinuxPath(full), kPathColumnBytes);
    row.FileName = CutBytes(fileName, kFileNameColumnBytes);
    for (int n = 0; n < 8; ++n)
        row.Keys[n] = CutBytes(keywords[n], kKeywordColumnBytes);
    return row;
}

std::string InsertStatement(const ChartRow& row) {
    std::string sql = "INSERT INTO PDF_PATH ( CARUTENO, CARUTESUBNO, CARUTEDATE, FILEPATH,INETPATH "
                      ",FILENAME, KEY1, KEY2, KEY3, KEY4, KEY5, KEY6, KEY7, KEY8 ) \n";
    sql += "VALUES (\n";
    sql += std::to_string(row.Patient) + ", \n";
    sql += std::to_string(row.Sub) + ", \n";
    sql += SqlQuoted(row.Date) + ",\n";
    sql += SqlQuoted(row.FilePath) + ",\n";
    sql += SqlQuoted(row.InetPath) + ",\n";
    sql += SqlQuoted(row.FileName) + ",\n";
    for (int n = 0; n < 7; ++n)
        sql += SqlQuoted(row.Keys[n]) + ",\n";
    sql += SqlQuoted(row.Keys[7]) + ");";
    return sql;
}

bool SaveNewChart(FilingContext& c, long patient, long sub) {
    const TRegistory& s = c.Settings;
    const HeaderCheck kind = HeaderCheckOf(s.HeaderOut);
    if (!RunHeaderChecks(c)) {
        Warn(c,
             "データエラー\n保存ができません\n修正して保存してください。\n修正項目は、画面の下に"
             "表示しています。",
             kind == HeaderCheck::Inpatient ? "* 入院 Data Error : New"
                                            : "* 外来 Data Error : New");
        return false;
    }
    const FieldView fields = c.Window.ReadFields();
    if (!RequiredKeywordsFilled(s, fields)) {
        Warn(c, "キーワードエラー\n保存ができません", "* Keyword Data Error : New");
        return false;
    }

    // One moment for the file name and the row's date, so both tell the same day.
    const TDateTime now = Now();
    const std::string fileName = ChartFileName(s, patient, sub, now);
    const std::string folder = ChartFolder(s, c.DirFile, patient);
    // FILEPATH keeps 255 bytes: a longer path would be registered cut, and no station could
    // open, extend or erase the chart through its row. Nothing is written then.
    if (folder.size() + 1 + fileName.size() > kPathColumnBytes) {
        RefuseFile(c, folder + "/" + fileName,
                   "System:File Path is longer than the Database column (255 bytes)");
        return true;
    }
    if (c.DirFile.FileExistsIn(fileName)) {
        RefuseFile(c, folder + "/" + fileName,
                   "System:File is not registed in Database but Existed ,so OverWrite raising)");
        return true;
    }
    if (!c.DirFile.EnsureFolder()) {
        c.Window.ShowNotMakeFolder(folder);
        return true;
    }

    const std::string fullPath = folder + "/" + fileName;
    const std::string partial = TemporaryName(folder, fileName);
    try {
        LockGuard lock(c.Window);
        c.Composer.PageWidth = s.PdfPageWidth;
        c.Composer.PageHeight = s.PdfPageHeight;
        const FilingPdfSource source(c);
        c.Composer.WriteChartPdf(partial, source);
        // The policy belongs to the finished file, before it carries the chart's name.
        if (s.PolicyUse && c.ApplySecurityPolicy)
            c.ApplySecurityPolicy(partial);
        MoveIntoPlace(partial, fullPath);
    } catch (...) {
        RemoveFile(partial);
        throw;
    }

    std::string keywords[8];
    for (int n = 0; n < 8; ++n)
        keywords[n] = KeywordTexts(fields)[n];
    const ChartRow row = NewChartRow(patient, sub, DateTimeText(now), folder, fileName, keywords);
    Database& database = c.Db.CaruteDatabase;
    Query& q = c.Db.CaruteQuery;
    q.Close();
    q.SQL = InsertStatement(row);
    q.Params.clear();
    const bool stored = ExecInTransaction(database, q);
    q.Close();
    if (!stored) {
        // A file without its row would block the next attempt as "not registered"; the
        // pages are still here, so the chart is simply written again.
        RemoveFile(fullPath);
        c.Ui.Message(SjisOf("データベースエラー\n書き込みに失敗しました。"), "", MsgIcon::Error,
                     MsgButtons::Ok);
        c.Logs.AddErrorLog("*** DataBase Write Error : New");
        c.Ui.SetStatus(1, SjisOf("データベースへの書き込みに失敗しました。"));
        return false;
    }

    c.State.Mode = ChartFilingMode::None;
    c.Window.SetEnabled(FilingControl::SaveButton, false);
    c.Logs.AddSaveLog(ChartSavedLine(s, folder, fileName, fields));
    ClearScannerFolderAfterSave(c);
    c.Ui.Message(SjisOf("保存しました。"), "", MsgIcon::Information, MsgButtons::Ok);
    c.Ui.SetStatus(1, SjisOf("保存しました。"));
    for (FilingControl b :
         {FilingControl::PrintBtn, FilingControl::EraseBtn, FilingControl::LogBtn})
        c.Window.SetEnabled(b, true);
    return true;
}

void SaveChart(FilingContext& c) {
    if (c.State.Saving)
        return;
    c.Ui.SetStatus(1, "");
    const std::optional<long> patient =
        ReadNumber(c, c.Window.PatientNumberText(), 1, kMaxPatient, "患者番号エラー\n数字？",
                   "** ID Number Error : Save", "患者番号エラー\n値の範囲？",
                   "** ID Number Range Error : Save");
    if (!patient)
        return;
    const std::optional<long> sub =
        ReadNumber(c, c.Window.SubNumberText(), 0, kMaxSubNo, "連番エラー\n数字？",
                   "** SubID Number Error : Save", "連番エラー\n値の範囲？",
                   "** SubID Number Range Error : Save");
    if (!sub)
        return;
    c.Record.PatientNo = static_cast<std::int32_t>(*patient);
    c.Record.SubNo = static_cast<std::int32_t>(*sub);

    // The filing mode, the header data and the pages were chosen for the confirmed number
    // and the selected sub number; filing them under numbers typed since would put one
    // patient's chart under another's number.
    if (*patient != c.State.ConfirmedPatient || *sub != c.State.SelectedSubNo) {
        c.Ui.Message(SjisOf("患者番号または連番が確認後に変更されています。\n"
                            "確認と選択をやり直してください。"),
                     "", MsgIcon::Warning, MsgButtons::Ok);
        c.Logs.AddErrorLog("** ID Number Changed Error : Save");
        return;
    }

    c.State.Saving = true;
    bool finished;
    try {
        if (c.State.Mode == ChartFilingMode::Add) {
            finished = AddToChart(c, *patient, *sub);
        } else {
            finished = SaveNewChart(c, *patient, *sub);
        }
    } catch (const std::exception& e) {
        // The general error message of the program: the writer's or the file system's text.
        c.State.Saving = false;
        c.Ui.Message(Utf8ToSjisLossy(e.what()), "", MsgIcon::Error, MsgButtons::Ok);
        return;
    } catch (...) {
        c.State.Saving = false;
        c.Ui.Message(SjisOf("システムエラーです。\n管理者へ連絡して下さい。"), "", MsgIcon::Error,
                     MsgButtons::Ok);
        return;
    }
    c.State.Saving = false;
    c.Window.SetEnabled(FilingControl::SaveButton, !finished);
    for (FilingControl b :
         {FilingControl::PrintBtn, FilingControl::EraseBtn, FilingControl::LogBtn})
        c.Window.SetEnabled(b, true);
}

} // namespace pendlar
