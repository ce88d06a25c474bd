#include "store/PatientConfirm.h"

#include "intake/PatientNumber.h"
#include "logs/Logs.h"
#include "record/ChartRecord.h"
#include "record/FieldTable.h"
#include "record/Keywords.h"
#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/FilingContext.h"
#include "store/IjiItemList.h"
#include "store/ProtectData.h"
#include "util/Sjis.h"
#include "util/TextHelpers.h"
#include "util/UserInterface.h"

namespace pendlar {
namespace {

constexpr long kMaxPatient = 99999999;
constexpr std::size_t kQuotedKeywordBytes = 48;

// The warnings of the confirmation have a single Yes button and repeat in status panel 1.
void Warn(FilingContext& c, const char* utf8) {
    const std::string text = SjisOf(utf8);
    c.Ui.Message(text, "", MsgIcon::Warning, MsgButtons::Yes);
    c.Ui.SetStatus(1, text);
}

// The item list a choice field offers: the rows of its lookup table once they are loaded,
// otherwise its built-in items.
std::vector<std::string> ChoiceItems(const FieldInfo& field, const ChartDatabase& db) {
    for (const LookupTableInfo& table : LookupTables())
        for (const std::string& combo : table.ComboBoxes)
            if (combo == field.Name) {
                const std::vector<std::string>& rows =
                    const_cast<ChartDatabase&>(db).List(table.Id);
                if (!rows.empty())
                    return rows;
            }
    std::vector<std::string> items;
    for (const char* item : field.Choices)
        items.push_back(SjisOf(item));
    return items;
}

} // namespace

std::string QuotedKeywordText(std::string_view text) {
    // The 48-byte cut may leave the first byte of a double-byte character at the end;
    // TrimFieldText drops it.
    return TrimFieldText(FirstBytes(text, kQuotedKeywordBytes));
}

void ApplyIjiEntries(const std::vector<IjiEntry>& entries, const ChartDatabase& db,
                     FieldView& view) {
    for (const IjiEntry& entry : entries) {
        const std::string& name = entry.Field->Name;
        const FieldInfo* info = FindField(name);
        if (!info)
            continue;
        FieldValue& v = view[name];
        switch (entry.Field->Kind) {
        case IjiKind::Text:
            v.Text = std::get<std::string>(entry.Value);
            break;
        case IjiKind::Index: {
            const std::int32_t index = std::get<std::int32_t>(entry.Value);
            if (info->Kind == FieldKind::Choice) {
                const std::vector<std::string> items = ChoiceItems(*info, db);
                if (index >= 0 && static_cast<std::size_t>(index) < items.size()) {
                    v.Index = index;
                    v.Text = items[static_cast<std::size_t>(index)];
                } else {
                    v.Index = -1;
                    v.Text.clear();
                }
            } else {
                // An option group: an index that names none of its buttons selects none.
                const bool named =
                    index >= 0 && static_cast<std::size_t>(index) < info->Choices.size();
                v.Index = named ? index : -1;
            }
            break;
        }
        case IjiKind::Flag:
            v.Flag = std::get<bool>(entry.Value);
            break;
        case IjiKind::Number:
        case IjiKind::DateTime:
            break;
        }
    }
}

bool ImportMedicalRecord(FilingContext& c, const Query& query) {
    const TProtectData noKey{std::nullopt};
    const IjiDecodeResult r =
        DecodeIjiBlob(query.FieldBlob("IJIDATA"), c.Protect ? *c.Protect : noKey);
    using S = IjiDecodeResult::Status;
    switch (r.State) {
    case S::SizeError:
        c.Ui.SetStatus(1, IjiFailureMessage(r));
        c.Logs.AddErrorLog(IjiFailureLogLine(r));
        return false;
    case S::ShortRecord:
        // A record cut short ends the import with the stream's read error.
        c.Ui.Message(IjiFailureMessage(r), "", MsgIcon::Error, MsgButtons::Ok);
        return false;
    case S::NoData:
    case S::SignatureFormat:
        c.Ui.Message(IjiFailureMessage(r), "", MsgIcon::Error, MsgButtons::Yes);
        c.Logs.AddErrorLog(IjiFailureLogLine(r));
        return false;
    default:
        break;
    }
    // The header reached the chart record before its checks: a record refused for its
    // signature or version still leaves them there, as its import did.
    c.Record.Signature.Assign(r.Signature);
    c.Record.DataVersion = r.DataVersion;
    c.Record.CreateDate = r.CreateDate;
    c.Record.TargetYear = r.TargetYear;
    if (r.State == S::Signature || r.State == S::Version) {
        c.Ui.Message(IjiFailureMessage(r), "", MsgIcon::Error, MsgButtons::Yes);
        c.Logs.AddErrorLog(IjiFailureLogLine(r));
        return false;
    }
    c.Ui.SetStatus(0, SjisOf("対象年:") + std::to_string(r.TargetYear));
    c.Ui.SetStatus(1, SjisOf("作成日:") + DateTimeText(r.CreateDate));

    FieldView view = c.Window.ReadFields();
    ApplyIjiEntries(r.Entries, c.Db, view);
    c.Window.ShowFields(view);
    if (r.State == S::GroupError) {
        c.Ui.Message(IjiFailureMessage(r), "", MsgIcon::Error, MsgButtons::Yes);
        c.Logs.AddErrorLog(IjiFailureLogLine(r));
        return false;
    }
    return true;
}

void QuoteKeywords(const TRegistory& settings, FieldView& view) {
    if (!settings.KeyWordUse)
        return;
    const auto items = IjiItemList();
    for (int n = 1; n <= kKeywordCount; ++n) {
        const int item = settings.IjiItem[n - 1];
        if (item <= 0 || item >= static_cast<int>(items.size()))
            continue;
        const char* field = items[static_cast<std::size_t>(item)].Field;
        std::string text = FieldOf(view, field).Text;
        const FieldInfo* info = FindField(field);
        if (info && info->Kind == FieldKind::Memo) {
            const std::vector<std::string> lines = SplitLines(text);
            text = lines.empty() ? std::string() : lines.front();
        }
        view[KeyBoxName(n)].Text = QuotedKeywordText(text);
    }
}

void GetIjiInfoBtnClick(FilingContext& c) {
    FieldView view = c.Window.ReadFields();
    QuoteKeywords(c.Settings, view);
    c.Window.ShowFields(view);
}

void PidBtnClick(FilingContext& c) {
    c.Window.HideCommercial();
    const std::string typed = c.Window.PatientNumberText();
    if (typed.empty()) {
        Warn(c, "患者番号がありません。");
        return;
    }
    const std::optional<std::int32_t> parsed = ParseInt32(typed);
    if (!parsed) {
        Warn(c, "患者番号に誤りがあります。");
        return;
    }
    const long number = *parsed;
    c.State.ConfirmedPatient = number;
    if (number < 0 || number > kMaxPatient) {
        Warn(c, "患者番号の範囲を越えています。");
        return;
    }
    if (number == c.State.LastConfirmedPatient) {
        Warn(c, "患者番号が前と同じです。");
        return;
    }
    c.State.LastConfirmedPatient = number;
    c.Window.ClearRecord();
    c.State.Mode = ChartFilingMode::None;
    c.Window.ShowTab("KanjaKihon");

    ChartDatabase& db = c.Db;
    if (c.Settings.UseIryoData) {
        Query& iryo = db.IryoQuery;
        iryo.Close();
        iryo.SQL = "SELECT * FROM PDF_DATA WHERE KANJAID = ?1;";
        iryo.Params = {static_cast<std::int64_t>(number)};
        if (!iryo.Open()) {
            c.Ui.Message(SjisOf("DB System エラー(医事)"), "", MsgIcon::Error, MsgButtons::Abort);
            c.Logs.AddErrorLog(SjisOf("*** 医事 Database Read Error"));
            iryo.Close();
            return;
        }
        if (iryo.Eof()) {
            if (c.Ui.Message(SjisOf("医事データが見つかりません。\n続けますか?"), "",
                             MsgIcon::Warning, MsgButtons::YesNo) != MsgResult::Yes) {
                iryo.Close();
                return;
            }
        } else {
            ImportMedicalRecord(c, iryo);
        }
        iryo.Close();
        FieldView view = c.Window.ReadFields();
        QuoteKeywords(c.Settings, view);
        c.Window.ShowFields(view);
    }

    Query& carute = db.CaruteQuery;
    carute.Close();
    carute.SQL = "SELECT * FROM PDF_PATH WHERE CARUTENO = ?1 ORDER BY CARUTESUBNO ASC;";
    carute.Params = {static_cast<std::int64_t>(number)};
    if (!carute.Open()) {
        c.Ui.Message(SjisOf("DB System エラー"), "", MsgIcon::Error, MsgButtons::Abort);
        c.Logs.AddErrorLog("*** Id No Search Database Error");
        carute.Close();
        return;
    }
    c.Window.ClearSubNumberItems();
    c.Window.SetSubNumberText("0");
    for (; !carute.Eof(); carute.Next())
        if (std::optional<std::string> sub = carute.FieldText("CARUTESUBNO"))
            c.Window.AddSubNumberItem(*sub);
    c.Window.SetEnabled(FilingControl::SubNoBtn, true);
    c.Window.SetEnabled(FilingControl::VolNoEdit, true);
    c.Window.SetEnabled(FilingControl::PrintBtn, false);
    c.Window.SetEnabled(FilingControl::EraseBtn, false);
    c.Window.SetEnabled(FilingControl::SaveButton, false);
    carute.Close();
}

} // namespace pendlar
