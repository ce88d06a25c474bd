// The chart record: the fixed-layout snapshot of a chart's header data.
//
// One instance lives in the main window for the whole run. The header checks write it
// from the input fields, the billing-record import writes its first four fields, the save
// command the two numbers; the header pages read it right after a successful check. It is
// not reset with the input fields: each field keeps its last written value until it is
// written again. Texts are length-prefixed Shift-JIS (ShortString), dates are days since
// 1899-12-30 (0 = no date), indices and numbers 32-bit signed, flags one byte. The fields
// carry the names of the input controls they come from; row n of a table is element n - 1.
#pragma once

#include "record/ShortString.h"
#include "util/DateTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pendlar {

static_assert(sizeof(bool) == 1, "the record keeps its flags in one byte");

// One workers' accident period (n = 1, 2).
struct RousaiPeriod {
    ShortString<60> RByumei;
    TDateTime Rikenfrom = 0, Rikento = 0, Rkoufu = 0, Rnyuinfrom = 0, Rnyuinto = 0;
};

// One outpatient disease row (n = 1 … 14).
struct GairaiRow {
    ShortString<60> Gbyoname;
    TDateTime Gshoshinbi = 0, Gshuryobi = 0;
    std::int32_t Gtenki = -1;
};

// One inpatient diagnosis row (n = 1 … 14).
struct NyuinRow {
    ShortString<60> NShidan;
    TDateTime NShidanday = 0, Ntenkiday = 0;
    std::int32_t Ntenki = -1;
};

// One insurance-confirmation year (n = 1 … 6) with its twelve month boxes.
struct KakuninYear {
    ShortString<20> Fnendo;
    std::array<bool, 12> Ftsuki{};
};

struct ChartRecord {
    static constexpr int kRousaiPeriods = 2;
    static constexpr int kRows = 14;
    static constexpr int kYears = 6;
    static constexpr int kMonths = 12;

    // Written only by the billing-record import.
    ShortString<10> Signature;
    std::int32_t DataVersion = 0;
    TDateTime CreateDate = 0;
    std::int32_t TargetYear = 0;
    // Written by the save command.
    std::int32_t PatientNo = 0, SubNo = 0;

    // Patient.
    ShortString<40> PName, PKana;
    std::int32_t Psex = -1;
    TDateTime PBirth = 0;
    ShortString<60> Padress;
    ShortString<20> Pubin, Ptel, Pkeitai;
    ShortString<40> RName;
    ShortString<60> Raddress;
    std::int32_t Rzokugara = -1;
    ShortString<20> Rtel, Rkeitai;
    ShortString<40> Sname;
    ShortString<60> Sadress;
    ShortString<20> Stel;

    // Insurance.
    ShortString<40> Hhokenno, Hkigouno, Hname;
    std::int32_t Hzokugara = -1;
    TDateTime Hlimitdate = 0, Hshikakudate = 0;
    ShortString<40> Hhokenname;
    ShortString<60> Hhokenadr;
    ShortString<20> Hhokentel;
    ShortString<40> Hkouhino1, Hjukyuno1, Hkouhino2, Hjukyuno2, Hjname;
    ShortString<60> Hjadr;
    ShortString<20> Hjtel;

    // Basic medical information.
    std::int32_t Ketsueki = -1, Rh = -1, HBS = -1, HCV = -1, TPHA = -1, Kinki = -1;
    ShortString<255> Kousezai, kioureki, kazoureki, arerugi, kansensho, bikou;

    // Workers' accident.
    std::array<RousaiPeriod, kRousaiPeriods> Rousai;
    ShortString<255> Rrousai;

    // Outpatient record.
    std::array<GairaiRow, kRows> Gairai;

    // Inpatient record.
    ShortString<40> NShinryoka;
    ShortString<20> Nbyuto;
    ShortString<40> Nshujidct;
    TDateTime Nnyuinday = 0, Ntaiinday = 0;
    bool NzenkaiNyuinCheck = false;
    TDateTime Nzenkainyuin = 0, Nzenkaitaiin = 0;
    std::int32_t Ntenki = -1, NtenkiTo = -1;
    std::array<NyuinRow, kRows> Nyuin;

    // Insurance confirmation.
    std::int32_t FFutanKubun = -1;
    std::array<KakuninYear, kYears> Kakunin;
};

// Resets the four fields that only the billing-record import writes. A chart typed by hand
// after an imported one must not carry that patient's signature or record date (the
// header pages print the record date).
void ClearImportedFields(ChartRecord& record);

// A field of the record reached by its name ("PName", "Gbyoname3", "Ftsuki2_11", …).
using RecordSlot = std::variant<TextSlot, TDateTime*, std::int32_t*, bool*>;
std::optional<RecordSlot> FindRecordField(ChartRecord& record, std::string_view name);

// Every field name of the record, in record order.
const std::vector<std::string>& RecordFieldNames();

} // namespace pendlar
