#include "record/ChartRecord.h"

#include <functional>
#include <map>
#include <utility>

namespace pendlar {
namespace {

using Accessor = std::function<RecordSlot(ChartRecord&)>;

struct Binding {
    std::vector<std::string> Names; // record order
    std::map<std::string, Accessor, std::less<>> ByName;

    void Add(std::string name, Accessor accessor) {
        Names.push_back(name);
        ByName.emplace(std::move(name), std::move(accessor));
    }
    template <std::size_t N> void Text(const char* name, ShortString<N> ChartRecord::*m) {
        Add(name, [m](ChartRecord& r) { return RecordSlot{(r.*m).Slot()}; });
    }
    void Date(const char* name, TDateTime ChartRecord::*m) {
        Add(name, [m](ChartRecord& r) { return RecordSlot{&(r.*m)}; });
    }
    void Int(const char* name, std::int32_t ChartRecord::*m) {
        Add(name, [m](ChartRecord& r) { return RecordSlot{&(r.*m)}; });
    }
};

std::string Numbered(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

Binding MakeBinding() {
    using R = ChartRecord;
    Binding b;
    b.Text("Signature", &R::Signature);
    b.Int("DataVersion", &R::DataVersion);
    b.Date("CreateDate", &R::CreateDate);
    b.Int("TargetYear", &R::TargetYear);
    b.Int("PatientNo", &R::PatientNo);
    b.Int("SubNo", &R::SubNo);

    b.Text("PName", &R::PName);
    b.Text("PKana", &R::PKana);
    b.Int("Psex", &R::Psex);
    b.Date("PBirth", &R::PBirth);
    b.Text("Padress", &R::Padress);
    b.Text("Pubin", &R::Pubin);
    b.Text("Ptel", &R::Ptel);
    b.Text("Pkeitai", &R::Pkeitai);
    b.Text("RName", &R::RName);
    b.Text("Raddress", &R::Raddress);
    b.Int("Rzokugara", &R::Rzokugara);
    b.Text("Rtel", &R::Rtel);
    b.Text("Rkeitai", &R::Rkeitai);
    b.Text("Sname", &R::Sname);
    b.Text("Sadress", &R::Sadress);
    b.Text("Stel", &R::Stel);

    b.Text("Hhokenno", &R::Hhokenno);
    b.Text("Hkigouno", &R::Hkigouno);
    b.Text("Hname", &R::Hname);
    b.Int("Hzokugara", &R::Hzokugara);
    b.Date("Hlimitdate", &R::Hlimitdate);
    b.Date("Hshikakudate", &R::Hshikakudate);
    b.Text("Hhokenname", &R::Hhokenname);
    b.Text("Hhokenadr", &R::Hhokenadr);
    b.Text("Hhokentel", &R::Hhokentel);
    b.Text("Hkouhino1", &R::Hkouhino1);
    b.Text("Hjukyuno1", &R::Hjukyuno1);
    b.Text("Hkouhino2", &R::Hkouhino2);
    b.Text("Hjukyuno2", &R::Hjukyuno2);
    b.Text("Hjname", &R::Hjname);
    b.Text("Hjadr", &R::Hjadr);
    b.Text("Hjtel", &R::Hjtel);

    b.Int("Ketsueki", &R::Ketsueki);
    b.Int("Rh", &R::Rh);
    b.Int("HBS", &R::HBS);
    b.Int("HCV", &R::HCV);
    b.Int("TPHA", &R::TPHA);
    b.Int("Kinki", &R::Kinki);
    b.Text("Kousezai", &R::Kousezai);
    b.Text("kioureki", &R::kioureki);
    b.Text("kazoureki", &R::kazoureki);
    b.Text("arerugi", &R::arerugi);
    b.Text("kansensho", &R::kansensho);
    b.Text("bikou", &R::bikou);

    for (int n = 1; n <= R::kRousaiPeriods; ++n) {
        auto period = [n](ChartRecord& r) -> RousaiPeriod& { return r.Rousai[n - 1]; };
        b.Add(Numbered("RByumei", n),
              [period](ChartRecord& r) { return RecordSlot{period(r).RByumei.Slot()}; });
        const std::pair<const char*, TDateTime RousaiPeriod::*> dates[] = {
            {"Rikenfrom", &RousaiPeriod::Rikenfrom}, {"Rikento", &RousaiPeriod::Rikento},
            {"Rkoufu", &RousaiPeriod::Rkoufu},       {"Rnyuinfrom", &RousaiPeriod::Rnyuinfrom},
            {"Rnyuinto", &RousaiPeriod::Rnyuinto},
        };
        for (const auto& date : dates) {
            TDateTime RousaiPeriod::*m = date.second;
            b.Add(Numbered(date.first, n),
                  [period, m](ChartRecord& r) { return RecordSlot{&(period(r).*m)}; });
        }
    }
    b.Text("Rrousai", &R::Rrousai);

    for (int n = 1; n <= R::kRows; ++n) {
        b.Add(Numbered("Gbyoname", n),
              [n](ChartRecord& r) { return RecordSlot{r.Gairai[n - 1].Gbyoname.Slot()}; });
        b.Add(Numbered("Gshoshinbi", n),
              [n](ChartRecord& r) { return RecordSlot{&r.Gairai[n - 1].Gshoshinbi}; });
        b.Add(Numbered("Gshuryobi", n),
              [n](ChartRecord& r) { return RecordSlot{&r.Gairai[n - 1].Gshuryobi}; });
        b.Add(Numbered("Gtenki", n),
              [n](ChartRecord& r) { return RecordSlot{&r.Gairai[n - 1].Gtenki}; });
    }

    b.Text("NShinryoka", &R::NShinryoka);
    b.Text("Nbyuto", &R::Nbyuto);
    b.Text("Nshujidct", &R::Nshujidct);
    b.Date("Nnyuinday", &R::Nnyuinday);
    b.Date("Ntaiinday", &R::Ntaiinday);
    b.Add("NzenkaiNyuinCheck", [](ChartRecord& r) { return RecordSlot{&r.NzenkaiNyuinCheck}; });
    b.Date("Nzenkainyuin", &R::Nzenkainyuin);
    b.Date("Nzenkaitaiin", &R::Nzenkaitaiin);
    b.Int("Ntenki", &R::Ntenki);
    b.Int("NtenkiTo", &R::NtenkiTo);
    for (int n = 1; n <= R::kRows; ++n) {
        b.Add(Numbered("NShidan", n),
              [n](ChartRecord& r) { return RecordSlot{r.Nyuin[n - 1].NShidan.Slot()}; });
        b.Add(Numbered("NShidanday", n),
              [n](ChartRecord& r) { return RecordSlot{&r.Nyuin[n - 1].NShidanday}; });
        b.Add(Numbered("Ntenkiday", n),
              [n](ChartRecord& r) { return RecordSlot{&r.Nyuin[n - 1].Ntenkiday}; });
        b.Add(Numbered("Ntenki", n),
              [n](ChartRecord& r) { return RecordSlot{&r.Nyuin[n - 1].Ntenki}; });
    }

    b.Int("FFutanKubun", &R::FFutanKubun);
    for (int n = 1; n <= R::kYears; ++n) {
        b.Add(Numbered("Fnendo", n),
              [n](ChartRecord& r) { return RecordSlot{r.Kakunin[n - 1].Fnendo.Slot()}; });
        for (int m = 1; m <= R::kMonths; ++m)
            b.Add(Numbered("Ftsuki", n) + "_" + std::to_string(m),
                  [n, m](ChartRecord& r) { return RecordSlot{&r.Kakunin[n - 1].Ftsuki[m - 1]}; });
    }
    return b;
}

const Binding& TheBinding() {
    static const Binding binding = MakeBinding();
    return binding;
}

} // namespace

void ClearImportedFields(ChartRecord& record) {
    record.Signature.Assign("");
    record.DataVersion = 0;
    record.CreateDate = 0;
    record.TargetYear = 0;
}

std::optional<RecordSlot> FindRecordField(ChartRecord& record, std::string_view name) {
    const auto& byName = TheBinding().ByName;
    auto it = byName.find(name);
    if (it == byName.end())
        return std::nullopt;
    return it->second(record);
}

const std::vector<std::string>& RecordFieldNames() {
    return TheBinding().Names;
}

} // namespace pendlar
