#include "pdf/chart/HeaderTexts.h"

#include "util/CaruteDate.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar {
namespace {

// The system's fixed texts, converted once.
struct Words {
    std::string Male = SjisOf("男性");
    std::string Female = SjisOf("女性");
    std::string Have = SjisOf("有");
    std::string HaveNot = SjisOf("無");
    std::string From = SjisOf("自 ");
    std::string To = SjisOf("至 ");
    std::string Days = SjisOf("日間");
    std::string Mark = SjisOf("○");
    std::string AgeOpen = SjisOf("（");
    std::string Years = SjisOf("歳 ");
    std::string Months = SjisOf("ヶ月）");
    std::string Blood = SjisOf("血液型(");
    std::string Rh = SjisOf("Ｒｈ(");
    std::string Hbs = SjisOf("ＨＢＳ(");
    std::string Hcv = SjisOf("ＨＣＶ(");
    std::string Tpha = SjisOf("ＴＰＨＡ(");
    std::string Kinki = SjisOf("禁忌(");
    std::string Positive = SjisOf("陽性");
    std::string Negative = SjisOf("陰性");
};

const Words& W() {
    static const Words words;
    return words;
}

std::string ItemAt(const std::vector<std::string>& list, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return {};
    return list[static_cast<std::size_t>(index)];
}

// The calendar's text of a date, empty for no date.
class DateWriter {
public:
    explicit DateWriter(TCaruteDate& calendar) : calendar_(calendar), saved_(calendar.GetDate()) {}
    ~DateWriter() { calendar_.SetDate(saved_); }
    DateWriter(const DateWriter&) = delete;
    DateWriter& operator=(const DateWriter&) = delete;

    std::string operator()(TDateTime value) {
        if (value == 0)
            return {};
        calendar_.SetDate(value);
        return calendar_.FormatDate();
    }

private:
    TCaruteDate& calendar_;
    TDateTime saved_;
};

std::string N(const char* prefix, int k) {
    return prefix + std::to_string(k);
}

} // namespace

std::string FitText(std::string_view text, std::size_t capacity) {
    std::string cut = CutAtCharBoundary(text, capacity);
    // A text that already ends in a lone lead byte (cut by the record) loses it too.
    std::size_t i = 0;
    while (i < cut.size()) {
        if (IsLeadByte(static_cast<unsigned char>(cut[i]))) {
            if (i + 1 >= cut.size()) {
                cut.resize(i);
                break;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    return cut;
}

std::string AgeText(TDateTime birth, TDateTime today) {
    if (birth == 0 || birth > today)
        return {};
    CivilDate b = DecodeDate(birth), t = DecodeDate(today);
    int years = t.Year - b.Year;
    int months = t.Month - b.Month;
    if (t.Day < b.Day)
        --months;
    if (months < 0) {
        --years;
        months += 12;
    }
    return W().AgeOpen + std::to_string(years) + W().Years + std::to_string(months) + W().Months;
}

std::string BloodLine(const ChartRecord& record) {
    static const std::vector<std::string> kBlood{"O", "A", "B", "AB"};
    static const std::vector<std::string> kRh{"+", "-"};
    const std::vector<std::string> test{W().Positive, W().Negative};
    const std::vector<std::string> kinki{W().Have, W().HaveNot};
    auto group = [](const std::string& label, const std::string& value) {
        return label + value + ")  ";
    };
    return group(W().Blood, ItemAt(kBlood, record.Ketsueki)) +
           group(W().Rh, ItemAt(kRh, record.Rh)) + group(W().Hbs, ItemAt(test, record.HBS)) +
           group(W().Hcv, ItemAt(test, record.HCV)) + group(W().Tpha, ItemAt(test, record.TPHA)) +
           group(W().Kinki, ItemAt(kinki, record.Kinki));
}

HeaderTexts PrepareHeaderTexts(const ChartRecord& r, const ChartLookupLists& lookups,
                               TCaruteDate& calendar, TDateTime today) {
    HeaderTexts t;
    DateWriter date(calendar);
    auto put = [&t](const std::string& name, std::string_view text, std::size_t capacity) {
        t[name] = FitText(text, capacity);
    };
    auto putAll = [&put](std::initializer_list<const char*> names, std::string_view text,
                         std::size_t capacity) {
        for (const char* name : names)
            put(name, text, capacity);
    };

    // The record date belongs to the billing record imported for this patient; a chart
    // typed by hand has none (the import fields are reset with the chart record).
    std::string created;
    if (r.CreateDate != 0) {
        CivilDate d = DecodeDate(r.CreateDate);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%04d.%02d", d.Year, d.Month);
        created = buffer;
    }
    putAll({"PR_Date", "Nyuin_Date", "Next_Date2"}, created, 10);
    putAll({"PR_KanjaID", "Nyuin_KanjaID", "Next_KanjaID2"}, std::to_string(r.PatientNo), 10);
    putAll({"PR_Kanja_Name", "Nyuin_Kanja_Name", "Next_Kanja_Name2"}, r.PName.Text(), 40);
    putAll({"PR_Furikana", "Nyuin_Furikana", "Next_Furikana2"}, r.PKana.Text(), 40);
    const std::string sex = r.Psex == 0 ? W().Male : r.Psex == 1 ? W().Female : std::string();
    putAll({"PR_Sex", "Nyuin_Sex", "Next_Sex2"}, sex, 4);
    putAll({"PR_BirthDay", "Nyuin_BirthDay", "Next_BirthDay2"}, date(r.PBirth), 20);
    putAll({"PR_Nenrei", "Nyuin_Nenrei", "Next_Nenrei2"}, AgeText(r.PBirth, today), 20);
    putAll({"PR_Address", "Nyuin_Address"}, r.Padress.Text(), 60);
    putAll({"PR_UbinNo", "Nyuin_UbinNo"}, r.Pubin.Text(), 20);
    // The checks accept a mobile number in place of the telephone; the chart must then
    // still show a number to call.
    const std::string tel = r.Ptel.Empty() ? r.Pkeitai.Text() : r.Ptel.Text();
    putAll({"PR_TelNo", "Nyuin_TelNo"}, tel, 20);

    put("Nyuin_RenrakuName", r.RName.Text(), 40);
    put("Nyuin_RenrakuAdr", r.Raddress.Text(), 60);
    put("Nyuin_RenrakuZoku", ItemAt(lookups.Zokugara, r.Rzokugara), 20);
    put("Nyuin_RenrakuTel", r.Rtel.Text(), 20);
    put("Nyuin_RenrakuKeitai", r.Rkeitai.Text(), 20);
    putAll({"PR_ShokaiName", "Nyuin_ShokaiName"}, r.Sname.Text(), 40);
    putAll({"PR_ShokaiAdr", "Nyuin_ShokaiAddress"}, r.Sadress.Text(), 60);
    putAll({"PR_SHokaiTel", "Nyuin_ShokaiTelno"}, r.Stel.Text(), 20);

    put("PR_HokenjaNo", r.Hhokenno.Text(), 40);
    put("PR_HokenjaKigou", r.Hkigouno.Text(), 40);
    put("PR_HiHokenName", r.Hname.Text(), 40);
    put("PR_HokenKigen", date(r.Hlimitdate), 20);
    put("PR_HokenShutoku", date(r.Hshikakudate), 20);
    put("PR_Hokensha_Name", r.Hhokenname.Text(), 40);
    put("PR_Hokensha_adr", r.Hhokenadr.Text(), 60);
    put("PR_HokenahaTel", r.Hhokentel.Text(), 20);
    put("PR_KouhiNo1", r.Hkouhino1.Text(), 40);
    put("PR_JukyuNo1", r.Hjukyuno1.Text(), 40);
    put("PR_KouhiNo2", r.Hkouhino2.Text(), 40);
    put("PR_JukyuNo2", r.Hjukyuno2.Text(), 40);
    put("PR_JgyosyoName", r.Hjname.Text(), 40);
    put("PR_JgyosyoAdr", r.Hjadr.Text(), 60);
    put("PR_JgyosyoTel", r.Hjtel.Text(), 20);

    putAll({"PR_Ketsueki", "Nyuin_Ketsueki"}, BloodLine(r), 100);
    putAll({"PR_Kouseizai", "Nyuin_Kouseizai"}, r.Kousezai.Text(), 255);
    put("PR_Roumu", r.Rrousai.Text(), 255);

    put("Nyuin_FutanKubun", ItemAt(lookups.Futan, r.FFutanKubun), 10);
    put("Nyuin_Shinryoka", r.NShinryoka.Text(), 40);
    put("Nyuin_Byotou", r.Nbyuto.Text(), 20);
    put("Nyuin_ShujiDrName", r.Nshujidct.Text(), 40);
    put("Nyuin_NyuinBi", date(r.Nnyuinday), 20);
    put("Nyuin_TaiinBi", date(r.Ntaiinday), 20);
    put("Nyuin_Zenkai", r.NzenkaiNyuinCheck ? W().Have : W().HaveNot, 2);
    put("Nyuin_ZenkaiNyuin", date(r.Nzenkainyuin), 20);
    put("Nyuin_ZenkaiTaiin", date(r.Nzenkaitaiin), 20);

    put("Next_Kioureki", r.kioureki.Text(), 255);
    put("Next_Kazokureki", r.kazoureki.Text(), 255);
    put("Next_Arerugii", r.arerugi.Text(), 255);
    put("Next_Kansensho", r.kansensho.Text(), 255);
    put("Next_Bikou", r.bikou.Text(), 255);

    // Workers' accident periods: a period without a disease name prints nothing at all.
    for (int n = 1; n <= ChartRecord::kRousaiPeriods; ++n) {
        const RousaiPeriod& p = r.Rousai[static_cast<std::size_t>(n - 1)];
        const bool filled = !p.RByumei.Empty();
        auto dated = [&](const std::string& prefix, TDateTime value) {
            return filled && value != 0 ? prefix + date(value) : std::string();
        };
        auto days = [&](TDateTime from, TDateTime to) {
            return filled && from != 0 && to != 0
                       ? std::to_string(CountDaysBetween(from, to)) + W().Days
                       : std::string();
        };
        put(N("PR_Rousai_Shobyomei", n), filled ? p.RByumei.Text() : std::string(), 60);
        put(N("PR_Rousai_roum_From", n), dated(W().From, p.Rikenfrom), 20);
        put(N("PR_Rousai_roum_To", n), dated(W().To, p.Rikento), 20);
        put(N("PR_Rousai_roum_days", n), days(p.Rikenfrom, p.Rikento), 20);
        put(N("PR_Rousai_iken_date", n), dated("", p.Rkoufu), 20);
        put(N("PR_Rousai_nyuin_From", n), dated(W().From, p.Rnyuinfrom), 20);
        put(N("PR_Rousai_nyuin_To", n), dated(W().To, p.Rnyuinto), 20);
        put(N("PR_Rousai_nyuin_days", n), days(p.Rnyuinfrom, p.Rnyuinto), 20);
    }

    // Outpatient diseases: a row without a name prints nothing, even with dates set.
    for (int k = 0; k < ChartRecord::kRows; ++k) {
        const GairaiRow& g = r.Gairai[static_cast<std::size_t>(k)];
        const bool filled = !g.Gbyoname.Empty();
        put(N("PR_ShobyoName", k), filled ? g.Gbyoname.Text() : std::string(), 60);
        put(N("PR_Shoshin", k), filled ? date(g.Gshoshinbi) : std::string(), 20);
        put(N("PR_Shuryo", k), filled ? date(g.Gshuryobi) : std::string(), 20);
        put(N("PR_Tenki", k), filled ? ItemAt(lookups.Tenki, g.Gtenki) : std::string(), 4);
    }

    // Inpatient diagnoses are printed as they are, named or not.
    for (int k = 0; k < ChartRecord::kRows; ++k) {
        const NyuinRow& d = r.Nyuin[static_cast<std::size_t>(k)];
        put(N("Nyuin_ShindanName", k), d.NShidan.Text(), 60);
        put(N("Nyuin_Shindanbi", k), date(d.NShidanday), 20);
        put(N("Nyuin_Tenkibi", k), date(d.Ntenkiday), 20);
        put(N("Nyuin_Tenki", k), ItemAt(lookups.Tenki, d.Ntenki), 4);
    }

    for (int row = 0; row < ChartRecord::kYears; ++row) {
        const KakuninYear& y = r.Kakunin[static_cast<std::size_t>(row)];
        put(N("Next_Nendo", row), y.Fnendo.Text(), 20);
        for (int month = 0; month < ChartRecord::kMonths; ++month)
            put(N("Next_Tsuki", row) + "_" + std::to_string(month),
                y.Ftsuki[static_cast<std::size_t>(month)] ? W().Mark : std::string(), 2);
    }
    return t;
}

} // namespace pendlar
