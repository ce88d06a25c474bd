#include "store/ChartChoice.h"

#include "intake/PageIntake.h"
#include "intake/PatientNumber.h"
#include "logs/Logs.h"
#include "record/RecordChecks.h"
#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/ChartFiling.h"
#include "store/FilingContext.h"
#include "store/ShellResultText.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

#include <filesystem>
#include <system_error>

namespace pendlar {
namespace {

constexpr long kMaxSubNo = 999;

void Warn(FilingContext& c, const char* utf8) {
    const std::string text = SjisOf(utf8);
    c.Ui.Message(text, "", MsgIcon::Warning, MsgButtons::Yes);
    c.Ui.SetStatus(1, text);
}

void Abort(FilingContext& c, const char* utf8Message, const char* utf8LogLine) {
    c.Ui.Message(SjisOf(utf8Message), "", MsgIcon::Error, MsgButtons::Abort);
    c.Logs.AddErrorLog(SjisOf(utf8LogLine));
}

// The row of the confirmed patient and the selected sub number, the numbers bound as
// parameters.
void SetChartRowQuery(Query& q, const FilingState& state) {
    q.Close();
    q.SQL = "SELECT * FROM PDF_PATH WHERE ( CARUTENO = ?1 ) AND ( CARUTESUBNO = ?2 );";
    q.Params = {static_cast<std::int64_t>(state.ConfirmedPatient),
                static_cast<std::int64_t>(state.SelectedSubNo)};
}

// A name in the chart's folder that no file has, hidden so that folder listings pass
// it by, for the file while its row is deleted.
std::string AsideName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int n = 0;; ++n) {
        std::string candidate = folder + "." + name + ".erasing" + (n ? std::to_string(n) : "");
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(FsPath(candidate), ec)))
            return candidate;
    }
}

// A chart its owner may not write has been protected on purpose; like any file that
// cannot be deleted, it is not erased. (Moving it aside would succeed on this file system
// whatever its permissions, so the protection is looked at first.)
bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(FsPath(path), ec);
    return !ec &&
           (st.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

bool MoveFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::rename(FsPath(from), FsPath(to), ec);
    return !ec;
}

} // namespace

void CheckSaveReady(FilingContext& c) {
    c.Window.SetEnabled(FilingControl::SaveButton, false);
    if (pendlar::CheckSaveReady(c.Settings.HeaderOut, c.Settings.FirstPage, c.Intake.Pages().size(),
                                c.State.Mode != ChartFilingMode::None, c.Ui, c.Logs))
        c.Window.SetEnabled(FilingControl::SaveButton, true);
}

void SubNoBtnClick(FilingContext& c) {
    const std::string typed = c.Window.SubNumberText();
    if (typed.empty()) {
        Warn(c, "連番がありません。");
        return;
    }
    const std::optional<std::int32_t> parsed = ParseInt32(typed);
    if (!parsed) {
        Warn(c, "連番に誤りがあります。");
        return;
    }
    c.State.SelectedSubNo = *parsed;
    if (*parsed < 0 || *parsed > kMaxSubNo) {
        Warn(c, "連番の範囲を越えています。");
        return;
    }

    Query& q = c.Db.CaruteQuery;
    SetChartRowQuery(q, c.State);
    if (!q.Open()) {
        q.Close();
        Abort(c, "DB System エラー", "*** Database System Error : 連番");
        return;
    }
    const bool stored = !q.Eof();
    q.Close();
    if (!stored) {
        c.State.Mode = ChartFilingMode::New;
        c.Window.SetStatusMessageColour(MessageColour::White);
        c.Window.SetStatusMessage(1, SjisOf("新規に作成します。"));
        c.Window.SetSaveCaption(SjisOf("保存"));
        c.Window.SetEnabled(FilingControl::PrintBtn, false);
        c.Window.SetEnabled(FilingControl::EraseBtn, false);
    } else {
        c.State.Mode = ChartFilingMode::Add;
        c.Window.SetStatusMessageColour(MessageColour::Green);
        c.Window.SetStatusMessage(1, SjisOf("カルテに追加します。"));
        c.Window.SetSaveCaption(SjisOf("追加"));
        c.Window.SetEnabled(FilingControl::PrintBtn, true);
        c.Window.SetEnabled(FilingControl::EraseBtn, true);
    }
    switch (c.Settings.HeaderOut) {
    case 0:
        c.Window.SetStatusMessage(2, SjisOf("　　"));
        break;
    case 1:
        c.Window.SetStatusMessage(2, SjisOf("外来"));
        break;
    case 2:
        c.Window.SetStatusMessage(2, SjisOf("入院"));
        break;
    default:
        break;
    }
    c.Window.SetStatusMessage(3, SjisOf("科別区分 ") + c.Settings.KaCode);
    CheckSaveReady(c);
    c.Window.SetEnabled(FilingControl::LogBtn, true);
}

void PrintBtnClick(FilingContext& c) {
    c.Ui.SetStatus(1, "");
    Query& q = c.Db.PrintQuery;
    SetChartRowQuery(q, c.State);
    if (!q.Open()) {
        const std::string error = q.LastError();
        q.Close();
        Abort(c, "DB System エラー", "*** Database Error : 印刷");
        // The failure goes on to the general error message with the database's own text.
        c.Ui.Message(Utf8ToSjisLossy(error), "", MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    const std::string path = q.Eof() ? "" : q.FieldText("FILEPATH").value_or("");
    q.Close();
    if (path.size() <= 3) {
        Abort(c, "File Path エラー", "*** File Path Error : 印刷");
        return;
    }
    if (!FileExists(path)) {
        Abort(c, "ファイルが見つかりません。", "*** File is not Exist Error : 印刷");
        return;
    }
    c.Ui.SetStatus(1, SjisOf("Readerを起動中です。"));
    c.Ui.SetStatus(1, ShellResultText(c.Ui.ShellOpen(path)));
}

void EraseBtnClick(FilingContext& c) {
    c.Ui.SetStatus(1, "");
    const std::string question = SjisOf("このファイルを消去しますか?\n患者番号 ") +
                                 std::to_string(c.State.ConfirmedPatient) + SjisOf(" 連番 ") +
                                 std::to_string(c.State.SelectedSubNo);
    if (c.Ui.Message(question, "", MsgIcon::Confirmation, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    if (c.Ui.Message(SjisOf("本当に消去しますか?"), "", MsgIcon::Warning, MsgButtons::YesNo) !=
        MsgResult::Yes)
        return;

    Query& q = c.Db.DeleteQuery;
    SetChartRowQuery(q, c.State);
    if (!q.Open()) {
        q.Close();
        Abort(c, "DB System エラー", "*** Database Error : 消去");
        return;
    }
    const std::string path = q.Eof() ? "" : q.FieldText("FILEPATH").value_or("");
    q.Close();
    if (path.size() <= 3) {
        Abort(c, "DB System (2) エラー", "*** File Path Error : 消去");
        return;
    }
    if (!FileExists(path)) {
        Abort(c, "File unmatched エラー", "*** File is not Exist Error : 消去");
        return;
    }

    if (c.Settings.WriteInhibit) {
        Abort(c, "書込禁止設定です。\nFileの削除に失敗しました。", "*** File Delete Error : 消去");
    } else {
        const std::string aside = AsideName(path);
        if (IsReadOnlyFile(path) || !MoveFile(path, aside)) {
            Abort(c, "Fileの削除に失敗しました。", "*** File Delete Error : 消去");
        } else {
            Database& database = c.Db.CaruteDatabase;
            q.SQL = "DELETE FROM PDF_PATH WHERE ( CARUTENO = ?1 ) AND ( CARUTESUBNO = ?2 );";
            const bool deleted = ExecInTransaction(database, q);
            q.Close();
            if (!deleted) {
                // The row stays, so its file must stay under its own name too.
                MoveFile(aside, path);
                Abort(c, "データベースエラー", "*** Database Error : 消去");
            } else {
                std::error_code ec;
                std::filesystem::remove(FsPath(aside), ec);
                c.Logs.AddSaveLog(path + SjisOf(" を消去しました。"));
            }
        }
    }
    c.State.Mode = ChartFilingMode::None;
    for (FilingControl b : {FilingControl::SubNoBtn, FilingControl::SaveButton,
                            FilingControl::PrintBtn, FilingControl::EraseBtn})
        c.Window.SetEnabled(b, false);
}

} // namespace pendlar
