#include "record/RecordChecks.h"

#include "logs/Logs.h"
#include "record/FieldTable.h"
#include "util/CaruteDate.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

#include <cmath>
#include <stdexcept>

namespace pendlar {
namespace {

// One run of a header check: reads the view, writes the record, reports the first fault.
class CheckRun {
public:
    CheckRun(const FieldView& view, ChartRecord& record, TCaruteDate& calendar, UserInterface& ui)
        : view_(view), record_(record), calendar_(calendar), ui_(ui) {}

    const FieldValue& Value(std::string_view name) const { return FieldOf(view_, name); }
    bool Empty(std::string_view name) const { return Value(name).Text.empty(); }

    // Copies a field into the record by the rule of its kind: texts cut to the bytes the
    // record keeps (a cut may split a double-byte character), choices and option groups
    // by index, check boxes by flag.
    void Store(std::string_view name) {
        const FieldInfo& info = Info(name);
        RecordSlot slot = Slot(name);
        switch (info.Kind) {
        case FieldKind::Text:
        case FieldKind::Memo:
            std::get<TextSlot>(slot).Assign(FirstBytes(Value(name).Text, info.Kept));
            return;
        case FieldKind::Choice:
        case FieldKind::Radio:
            *std::get<std::int32_t*>(slot) = Value(name).Index;
            return;
        case FieldKind::Check:
            *std::get<bool*>(slot) = Value(name).Flag;
            return;
        default:
            throw std::logic_error("not a stored field: " + std::string(name));
        }
    }

    // Reads a date field; an empty one holds no date (0) when `mayBeEmpty`. On failure the
    // panels get the field's tab and `label` followed by the calendar's message.
    bool Date(std::string_view name, const std::string& label, bool mayBeEmpty = true) {
        TDateTime& target = *std::get<TDateTime*>(Slot(name));
        if (mayBeEmpty && Empty(name)) {
            target = 0;
            return true;
        }
        calendar_.ParseDate(Value(name).Text);
        if (calendar_.HasError)
            return Fail(name, SjisOf(label) + calendar_.ErrorText);
        target = calendar_.GetDate();
        return true;
    }

    TDateTime Stored(std::string_view name) { return *std::get<TDateTime*>(Slot(name)); }

    bool Fail(std::string_view name, const std::string& message) {
        ui_.SetStatus(0, SjisOf(TabOf(Info(name).Tab).Caption));
        ui_.SetStatus(1, message);
        return false;
    }
    bool FailUtf8(std::string_view name, const char* message) {
        return Fail(name, SjisOf(message));
    }

private:
    static const FieldInfo& Info(std::string_view name) {
        const FieldInfo* info = FindField(name);
        if (!info)
            throw std::logic_error("unknown field: " + std::string(name));
        return *info;
    }
    RecordSlot Slot(std::string_view name) {
        std::optional<RecordSlot> slot = FindRecordField(record_, name);
        if (!slot)
            throw std::logic_error("no record field: " + std::string(name));
        return *slot;
    }

    const FieldView& view_;
    ChartRecord& record_;
    TCaruteDate& calendar_;
    UserInterface& ui_;
};

std::string Num(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

// Steps shared by both checks, from clearing the panels to the medical fields.
bool CheckCommonFields(CheckRun& run, UserInterface& ui) {
    ui.SetStatus(0, "");
    ui.SetStatus(1, "");

    if (run.Empty("PName"))
        return run.FailUtf8("PName", "患者氏名エラー");
    run.Store("PName");
    if (run.Empty("PKana"))
        return run.FailUtf8("PKana", "フリガナエラー");
    run.Store("PKana");
    if (run.Value("Psex").Index < 0)
        return run.FailUtf8("Psex", "性別エラー");
    run.Store("Psex");
    // The birth date is required: an empty field fails with the calendar's own message.
    if (!run.Date("PBirth", "生年月日 :", false))
        return false;
    if (run.Empty("Padress"))
        return run.FailUtf8("Padress", "現住所エラー");
    run.Store("Padress");
    run.Store("Pubin");
    if (run.Empty("Ptel") && run.Empty("Pkeitai"))
        return run.FailUtf8("Ptel", "電話又は携帯エラー");
    run.Store("Ptel");
    run.Store("Pkeitai");

    for (const char* name : {"RName", "Raddress", "Rzokugara", "Rtel", "Rkeitai", "Sname",
                             "Sadress", "Stel", "Hhokenno", "Hkigouno", "Hname", "Hzokugara"})
        run.Store(name);
    if (!run.Date("Hlimitdate", "有効期限 :") || !run.Date("Hshikakudate", "資格取得 :"))
        return false;
    for (const char* name :
         {"Hhokenname", "Hhokenadr", "Hhokentel", "Hkouhino1", "Hjukyuno1", "Hkouhino2",
          "Hjukyuno2",  "Hjname",    "Hjadr",     "Hjtel",     "Ketsueki",  "Rh",
          "HBS",        "HCV",       "TPHA",      "Kinki",     "Kousezai",  "kioureki",
          "kazoureki",  "arerugi",   "kansensho", "bikou"})
        run.Store(name);
    return true;
}

void StoreConfirmation(CheckRun& run) {
    run.Store("FFutanKubun");
    for (int n = 1; n <= ChartRecord::kYears; ++n)
        run.Store(Num("Fnendo", n));
    for (int n = 1; n <= ChartRecord::kYears; ++n)
        for (int m = 1; m <= ChartRecord::kMonths; ++m)
            run.Store(Num("Ftsuki", n) + "_" + std::to_string(m));
}

// The whole days between two stored dates, the smaller subtracted from the larger; "0"
// unless both are set.
std::string DaysBetweenText(TDateTime a, TDateTime b) {
    if (a == 0 || b == 0)
        return "0";
    return std::to_string(std::lround(std::fabs(std::floor(a) - std::floor(b))));
}

bool CheckRousaiPeriods(CheckRun& run, FieldView& view) {
    for (int n = 1; n <= ChartRecord::kRousaiPeriods; ++n) {
        run.Store(Num("RByumei", n));
        const std::string from = Num("Rikenfrom", n), to = Num("Rikento", n);
        if (!run.Date(from, "意見書自 :") || !run.Date(to, "意見書至 :"))
            return false;
        view[Num("Rikenday", n)].Text = DaysBetweenText(run.Stored(from), run.Stored(to));
        if (!run.Date(Num("Rkoufu", n), "公布 :"))
            return false;
        const std::string inFrom = Num("Rnyuinfrom", n), inTo = Num("Rnyuinto", n);
        if (!run.Date(inFrom, "入院自 :") || !run.Date(inTo, "入院至 :"))
            return false;
        view[Num("Rnyuinday", n)].Text = DaysBetweenText(run.Stored(inFrom), run.Stored(inTo));
    }
    run.Store("Rrousai");
    return true;
}

bool CheckOutpatientRows(CheckRun& run) {
    for (int n = 1; n <= ChartRecord::kRows; ++n) {
        run.Store(Num("Gbyoname", n));
        if (!run.Date(Num("Gshoshinbi", n), Num("初診日", n) + ":") ||
            !run.Date(Num("Gshuryobi", n), Num("終了日", n) + ":"))
            return false;
        run.Store(Num("Gtenki", n));
    }
    return true;
}

bool CheckInpatientFields(CheckRun& run) {
    for (const char* name : {"NShinryoka", "Nbyuto", "Nshujidct"})
        run.Store(name);
    if (!run.Date("Nnyuinday", "入院日 :") || !run.Date("Ntaiinday", "退院日 :"))
        return false;
    run.Store("NzenkaiNyuinCheck");
    if (!run.Date("Nzenkainyuin", "前回入院日 :") || !run.Date("Nzenkaitaiin", "前回退院日 :"))
        return false;
    run.Store("Ntenki");
    run.Store("NtenkiTo");
    for (int n = 1; n <= ChartRecord::kRows; ++n) {
        run.Store(Num("NShidan", n));
        if (!run.Date(Num("NShidanday", n), Num("診断日", n) + ":") ||
            !run.Date(Num("Ntenkiday", n), Num("転帰日", n) + ":"))
            return false;
        run.Store(Num("Ntenki", n));
    }
    return true;
}

} // namespace

void ClearRecord(FieldView& view, ChartRecord& record) {
    for (const FieldInfo& field : RecordFields())
        if (IsInputField(field.Kind))
            view[field.Name] = FieldValue{};
    ClearImportedFields(record);
}

bool CheckOutpatientRecord(FieldView& view, ChartRecord& record, TCaruteDate& calendar,
                           UserInterface& ui) {
    CheckRun run(view, record, calendar, ui);
    if (!CheckCommonFields(run, ui) || !CheckRousaiPeriods(run, view) || !CheckOutpatientRows(run))
        return false;
    StoreConfirmation(run);
    return true;
}

bool CheckInpatientRecord(const FieldView& view, ChartRecord& record, TCaruteDate& calendar,
                          UserInterface& ui) {
    CheckRun run(view, record, calendar, ui);
    if (!CheckCommonFields(run, ui) || !CheckInpatientFields(run))
        return false;
    StoreConfirmation(run);
    return true;
}

bool CheckSaveReady(int headerOut, bool firstPage, std::size_t pageCount, bool filingModeChosen,
                    UserInterface& ui, TLogs& logs) {
    if (headerOut == 0) {
        // Without a header page the chart is its image pages only; the cover sheet does not
        // count when it is left out of the file.
        const std::size_t needed = firstPage ? 1 : 2;
        if (pageCount < needed) {
            ui.Message(SjisOf(firstPage
                                  ? "印刷データがありません\nスキャンして下さい。"
                                  : "２枚目以上の印刷データがありません\nスキャンして下さい。"),
                       "", MsgIcon::Error, MsgButtons::Ok);
            logs.AddErrorLog(firstPage ? "* Image is nothing" : "* Next Image is nothing");
            ui.SetStatus(1, SjisOf("印刷に失敗しました。"));
            return false;
        }
    }
    return filingModeChosen;
}

} // namespace pendlar
