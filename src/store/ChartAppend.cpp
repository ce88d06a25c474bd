#include "store/ChartAppend.h"

#include "intake/PageIntake.h"
#include "logs/Logs.h"
#include "pdf/chart/PdfWriteUnit.h"
#include "settings/Registory.h"
#include "store/AcroPDDoc.h"
#include "store/ChartDatabase.h"
#include "store/ChartFiling.h"
#include "store/FilingContext.h"
#include "util/DirFile.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace pendlar {
namespace {

void Error(FilingContext& c, const char* utf8Message, const char* logLine,
           MsgButtons buttons = MsgButtons::Ok) {
    c.Ui.Message(SjisOf(utf8Message), "", MsgIcon::Error, buttons);
    c.Logs.AddErrorLog(logLine);
}

void Warning(FilingContext& c, const char* utf8Message, const std::string& logLine) {
    c.Ui.Message(SjisOf(utf8Message), "", MsgIcon::Warning, MsgButtons::Ok);
    c.Logs.AddErrorLog(logLine);
}

void Status(FilingContext& c, const char* utf8Text) {
    c.Ui.SetStatus(1, SjisOf(utf8Text));
}

// The busy lock for the length of the add; released on every way out.
class BusyLock {
public:
    explicit BusyLock(FilingWindow& window) : window_(window) { window_.LockControls(true); }
    ~BusyLock() { window_.LockControls(false); }
    BusyLock(const BusyLock&) = delete;
    BusyLock& operator=(const BusyLock&) = delete;

private:
    FilingWindow& window_;
};

std::unique_ptr<CAcroPDDoc> MakeDocument(FilingContext& c) {
    return c.MakeAcroPDDoc ? c.MakeAcroPDDoc() : std::make_unique<CAcroPDDoc>();
}

// The FILEPATH of the chart's row, or nullopt after the failure was shown.
std::optional<std::string> StoredChartPath(FilingContext& c, long patient, long sub) {
    Query& q = c.Db.CaruteQuery;
    q.Close();
    q.SQL = "SELECT * FROM PDF_PATH WHERE ( CARUTENO = " + std::to_string(patient) +
            " ) AND ( CARUTESUBNO = " + std::to_string(sub) + ");";
    q.Params.clear();
    if (!q.Open()) {
        q.Close();
        Error(c, "DB System エラー", "*** DataBase Read Error : Add Execute", MsgButtons::Abort);
        return std::nullopt;
    }
    std::optional<std::string> path;
    if (!q.Eof())
        path = q.FieldText("FILEPATH");
    q.Close();
    if (!path) {
        Error(c, "DB System Record エラー", "** Read Data is not Exist Error : Add Execute",
              MsgButtons::Abort);
        return std::nullopt;
    }
    return path;
}

// The Temp folder of the data folder, made when missing (the start-up makes it too).
std::string TempFolder() {
    const std::string folder = DataFolder() + "/Temp";
    std::error_code ec;
    std::filesystem::create_directories(FsPath(folder), ec);
    return folder;
}

// Opens a document of the add; false after the failure was shown.
bool OpenForAdd(FilingContext& c, CAcroPDDoc& doc, const std::string& path,
                const std::vector<std::string>& passwords, bool base) {
    try {
        if (doc.Open(path, passwords))
            return true;
        if (base)
            Error(c, "元ファイルのオープンに失敗しました。\nファイルは使用中ですか？",
                  "** Base File Open Error : Add Execute");
        else
            Error(c, "追加ファイルのオープンに失敗しました。",
                  "** Add File Open Error : Add Execute");
    } catch (const EAcrobatError&) {
        if (base)
            Error(c, "Acrobat システムエラー(B)\n:Acrobat install?",
                  "*** Base File Open System Error : Add Execute");
        else
            Error(c, "Acrobat システムエラー(T)\n:Acrobat install?",
                  "*** Add File Open System Error : Add Execute");
    }
    return false;
}

// Writes the new pages into an add file and inserts them into the stored chart. False after
// a failure was shown; the stored chart is then unchanged.
bool InsertIntoChart(FilingContext& c, long patient, long sub) {
    const TRegistory& s = c.Settings;
    const std::optional<std::string> stored = StoredChartPath(c, patient, sub);
    if (!stored)
        return false;
    const std::string& chartPath = *stored;
    if (!FileExists(chartPath)) {
        Error(c, "元ファイルが見つかりません。\nファイルは使用中ですか？",
              "** File can not found Error : Add Execute");
        return false;
    }

    const std::string temp = TempFolder();
    EmptyFolder(temp);
    const std::string addFile = temp + "/Temp" + std::to_string(c.State.AddFileCounter++) + ".pdf";
    c.Composer.PageWidth = s.PdfPageWidth;
    c.Composer.PageHeight = s.PdfPageHeight;
    {
        const FilingPdfSource source(c);
        c.Composer.WriteChartPdf(addFile, source);
    }

    Status(c, "元ファイルをオープン中です。");
    c.Ui.ProcessEvents();
    std::unique_ptr<CAcroPDDoc> base = MakeDocument(c);
    std::unique_ptr<CAcroPDDoc> add = MakeDocument(c);
    const std::vector<std::string> passwords =
        c.ChartPasswords ? c.ChartPasswords() : std::vector<std::string>{};
    if (!OpenForAdd(c, *base, chartPath, passwords, true))
        return false;
    if (!OpenForAdd(c, *add, addFile, {}, false)) {
        base->Close();
        return false;
    }

    Status(c, "追加作業中です。");
    c.Ui.ProcessEvents();
    const int basePages = base->GetNumPages();
    const int addPages = add->GetNumPages();
    const int after = s.PdfInsType == 0 ? -1 : basePages - 1;
    if (!base->InsertPages(after, *add, 0, addPages, true)) {
        base->Close();
        add->Close();
        Error(c, "追加に失敗しました。\nAcrobat?", "** Add Execute Failed Error : Add Execute");
        return false;
    }
    const bool saved =
        base->Save(CAcroPDDoc::PDSaveFull | CAcroPDDoc::PDSaveCollectGarbage, chartPath);
    base->Close();
    add->Close();
    if (!saved) {
        // A chart that could not be rewritten is left exactly as it was; saying "added"
        // here would lose the pages without a word.
        Error(c, "元ファイルの保存に失敗しました。\n元ファイルは変更されていません。",
              "** Base File Save Error : Add Execute");
        Status(c, "書き込みに失敗しました。");
        return false;
    }

    Status(c, "追加しました。");
    c.Ui.ProcessEvents();
    if (s.PolicyUse && c.ApplySecurityPolicy)
        c.ApplySecurityPolicy(chartPath);
    ClearScannerFolderAfterSave(c);
    EmptyFolder(temp);

    const std::size_t slash = chartPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : chartPath.substr(0, slash);
    const std::string name = slash == std::string::npos ? chartPath : chartPath.substr(slash + 1);
    c.Logs.AddSaveLog(ChartSavedLine(s, folder, name, c.Window.ReadFields()));
    return true;
}

// Replaces the row's keywords and date; false after the failure was shown.
bool UpdateKeywords(FilingContext& c, long patient, long sub) {
    const std::array<std::string, 8> texts = KeywordTexts(c.Window.ReadFields());
    std::string keywords[8];
    for (int n = 0; n < 8; ++n)
        keywords[n] = CutBytes(texts[static_cast<std::size_t>(n)], kKeywordColumnBytes);
    Database& database = c.Db.CaruteDatabase;
    Query& q = c.Db.CaruteQuery;
    q.Close();
    q.SQL = KeywordUpdateStatement(patient, sub, ChartDateText(), keywords);
    q.Params.clear();
    const bool stored = ExecInTransaction(database, q);
    q.Close();
    if (!stored) {
        Error(c, "データベースエラー\n書き込みに失敗しました。", "*** DataBase Write Error : Add");
        Status(c, "データベースへの書き込みに失敗しました。");
        return false;
    }
    c.Ui.Message(SjisOf("保存しました。"), "", MsgIcon::Information, MsgButtons::Ok);
    Status(c, "保存しました。");
    return true;
}

} // namespace

std::string KeywordUpdateStatement(long patient, long sub, const std::string& date,
                                   const std::string (&keywords)[8]) {
    std::string sql = "UPDATE PDF_PATH SET \n";
    sql += "CARUTEDATE = " + SqlQuoted(date) + ",\n";
    for (int n = 0; n < 7; ++n)
        sql += "KEY" + std::to_string(n + 1) + "       = " + SqlQuoted(keywords[n]) + ",\n";
    sql += "KEY8       = " + SqlQuoted(keywords[7]) + " \n";
    sql += "WHERE CARUTENO = " + std::to_string(patient) +
           " AND CARUTESUBNO = " + std::to_string(sub) + ";";
    return sql;
}

std::string AppendSettingsError(bool header, bool image, bool keyword, int insertType,
                                bool keyWordUse) {
    if (!header && !image && !keyword)
        return SjisOf("設定無しエラー");
    if (insertType < 0)
        return SjisOf("挿入設定エラー");
    if (keyword && !keyWordUse)
        return SjisOf("キーワード設定エラー");
    return "";
}

bool AddToChart(FilingContext& c, long patient, long sub) {
    const TRegistory& s = c.Settings;
    c.Ui.SetStatus(1, "");
    if (s.WriteInhibit) {
        Error(c, "上書き禁止設定です。\nキャンセルします。", "* OverWrite Error : Add");
        Status(c, "上書き禁止設定です。追加はできません。");
        return false;
    }
    if (!s.PdfHeader && !s.PdfImage && !s.PdfKeyWord) {
        Error(c, "上書きモードがありません。\nキャンセルします。",
              "* OverWrite Property Error : Add");
        Status(c, "上書きボタンのプロパティを設定してください。");
        return false;
    }
    if (s.PdfHeader && !RunHeaderChecks(c)) {
        Warning(c,
                "データエラー\n保存ができません\n修正して追加してください。\n"
                "修正項目は、画面の下に表示しています。",
                HeaderCheckOf(s.HeaderOut) == HeaderCheck::Inpatient
                    ? SjisOf("* 入院 Data Error : Add")
                    : SjisOf("* 外来 Data Error : Add"));
        return false;
    }
    if (!RequiredKeywordsFilled(s, c.Window.ReadFields())) {
        Warning(c, "キーワードエラー\n保存ができません", "* Keyword Data Error : Add");
        return false;
    }

    BusyLock lock(c.Window);
    const bool pages = s.PdfHeader || s.PdfImage;
    if (pages && !InsertIntoChart(c, patient, sub))
        return true;
    if (s.PdfKeyWord) {
        // After pages went in, Save must not be offered again: a second press would add
        // the same pages twice. The keywords can be changed alone afterwards.
        if (!UpdateKeywords(c, patient, sub))
            return pages;
    } else {
        c.Ui.Message(SjisOf("保存しました。"), "", MsgIcon::Information, MsgButtons::Ok);
        Status(c, "保存しました。");
    }
    return true;
}

} // namespace pendlar
