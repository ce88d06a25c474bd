#include "record/FieldTable.h"

#include "record/Choices.h"

#include <map>
#include <stdexcept>

namespace pendlar {
namespace {

using T = RecordTab;
using K = FieldKind;

// Builders that keep the table below one line per field.
struct Fields {
    std::vector<FieldInfo> list;
    RecordTab tab = T::KanjaKihon;
    const char* group = "";

    FieldInfo& Add(std::string name, FieldKind kind, const char* label) {
        FieldInfo f;
        f.Name = std::move(name);
        f.Kind = kind;
        f.Tab = tab;
        f.Label = label;
        f.Group = group;
        list.push_back(std::move(f));
        return list.back();
    }
    // A text with the bytes the record keeps and the bytes the control accepts.
    FieldInfo& Text(std::string name, const char* label, int kept, int capacity) {
        FieldInfo& f = Add(std::move(name), K::Text, label);
        f.Kept = kept;
        f.Capacity = capacity;
        return f;
    }
    FieldInfo& Tel(std::string name, const char* label) {
        FieldInfo& f = Text(std::move(name), label, 18, 20);
        f.NoInputMethod = true;
        return f;
    }
    FieldInfo& Memo(std::string name, const char* label) {
        FieldInfo& f = Add(std::move(name), K::Memo, label);
        f.Kept = 255;
        f.Capacity = 255;
        return f;
    }
    FieldInfo& Date(std::string name, const char* label) {
        return Add(std::move(name), K::Date, label);
    }
    template <std::size_t N>
    FieldInfo& Choice(std::string name, const char* label,
                      const std::array<const char*, N>& items) {
        FieldInfo& f = Add(std::move(name), K::Choice, label);
        f.Choices = items;
        return f;
    }
    FieldInfo& Choice(std::string name, const char* label) {
        return Add(std::move(name), K::Choice, label);
    }
};

std::string N(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

std::vector<FieldInfo> MakeFields() {
    Fields t;

    t.tab = T::KanjaKihon;
    t.Text("PName", "患者氏名", 38, 40).Mark = FieldMark::Required;
    t.Text("PKana", "フリガナ", 38, 40).Mark = FieldMark::Required;
    FieldInfo& sex = t.Add("Psex", K::Radio, "性別");
    sex.Choices = kSexChoices;
    sex.Mark = FieldMark::Required;
    t.Date("PBirth", "生年月日").Mark = FieldMark::Required;
    t.Text("Pubin", "郵便番号", 18, 20);
    t.Text("Padress", "現住所", 58, 60).Mark = FieldMark::Required;
    t.Tel("Ptel", "電話番号").Mark = FieldMark::OneOf;
    t.Tel("Pkeitai", "携帯電話").Mark = FieldMark::OneOf;
    t.group = "連絡先";
    t.Text("RName", "氏名", 38, 40);
    t.Text("Raddress", "住所", 58, 60);
    t.Choice("Rzokugara", "続柄");
    t.Tel("Rtel", "電話番号");
    t.Tel("Rkeitai", "携帯電話");
    t.group = "紹介者";
    t.Text("Sname", "氏名", 38, 40);
    t.Text("Sadress", "住所", 58, 60);
    t.Text("Stel", "連絡先", 18, 20);

    t.tab = T::Hoken;
    t.group = "被保険者証等";
    t.Text("Hhokenno", "保険者番号", 38, 40);
    t.Text("Hkigouno", "記号番号", 38, 40);
    t.Text("Hname", "被保険者氏名", 38, 40);
    t.Choice("Hzokugara", "続柄", kZokugaraChoices);
    t.Date("Hlimitdate", "有効期限");
    t.Date("Hshikakudate", "資格取得(負傷)");
    t.group = "保険者";
    t.Text("Hhokenname", "名称", 38, 40);
    t.Text("Hhokenadr", "所在地", 58, 60);
    t.Tel("Hhokentel", "電話番号");
    t.group = "第一公費";
    t.Text("Hkouhino1", "公費負担者番号", 38, 40);
    t.Text("Hjukyuno1", "受給者番号", 38, 40);
    t.group = "第二公費";
    t.Text("Hkouhino2", "公費負担者番号", 38, 40);
    t.Text("Hjukyuno2", "受給者番号", 38, 40);
    t.group = "事業所";
    t.Text("Hjname", "名称", 38, 40);
    t.Text("Hjadr", "所在地", 58, 60);
    t.Tel("Hjtel", "電話番号");

    t.tab = T::KihonShinryo;
    t.group = "血液型";
    t.Choice("Ketsueki", "ABO", kKetsuekiChoices);
    t.Choice("Rh", "Ｒｈ", kRhChoices);
    t.group = "";
    t.Choice("HBS", "ＨＢＳ", kTestResultChoices);
    t.Choice("HCV", "HCV", kTestResultChoices);
    t.Choice("TPHA", "TPHA", kTestResultChoices);
    t.Choice("Kinki", "禁忌", kKinkiChoices);
    t.Text("Kousezai", "抗生剤テスト", 255, 255);
    t.Memo("kioureki", "既往歴");
    t.Memo("kazoureki", "家族歴");
    t.Memo("arerugi", "アレルギー");
    t.Memo("kansensho", "感染症");
    t.Memo("bikou", "備考");

    t.tab = T::Rousai;
    const char* marks[2][4] = {{"Ikfm1Err", "Ikto1Err", "Ninfm1Err", "Ninto1Err"},
                               {"Ikfm2Err", "Ikto2Err", "Ninfm2Err", "Ninto2Err"}};
    for (int n = 1; n <= 2; ++n) {
        auto row = [n](FieldInfo& f) { f.Row = n; };
        t.group = "";
        row(t.Text(N("RByumei", n), "傷病名", 58, 60));
        t.group = "意見書に記入した労務不能期間";
        row(t.Date(N("Rikenfrom", n), "自"));
        row(t.Add(marks[n - 1][0], K::ErrorMark, "*"));
        row(t.Date(N("Rikento", n), "至"));
        row(t.Add(marks[n - 1][1], K::ErrorMark, "*"));
        row(t.Add(N("Rikenday", n), K::DayLabel, "日数"));
        t.group = "";
        row(t.Date(N("Rkoufu", n), "意見書公布日"));
        t.group = "入院期間";
        row(t.Date(N("Rnyuinfrom", n), "自"));
        row(t.Add(marks[n - 1][2], K::ErrorMark, "*"));
        row(t.Date(N("Rnyuinto", n), "至"));
        row(t.Add(marks[n - 1][3], K::ErrorMark, "*"));
        row(t.Add(N("Rnyuinday", n), K::DayLabel, "日数"));
    }
    t.group = "";
    t.Text("Rrousai", "労務災害又は通勤災害の疑いがある場合は、その旨", 255, 255);
    t.Add("DaysCalcBtn", K::Button, "日数計算");

    t.tab = T::GairaiShinryo;
    for (int n = 1; n <= 14; ++n) {
        t.Text(N("Gbyoname", n), "傷病名", 58, 60).Row = n;
        t.Date(N("Gshoshinbi", n), "初診日").Row = n;
        t.Date(N("Gshuryobi", n), "終了日").Row = n;
        t.Choice(N("Gtenki", n), "転帰", kTenkiChoices).Row = n;
    }

    t.tab = T::NyuinKiroku;
    t.Text("NShinryoka", "診療科", 38, 40);
    t.Text("Nbyuto", "病棟", 18, 20);
    t.Text("Nshujidct", "主治医", 38, 40);
    t.Date("Nnyuinday", "入院日");
    t.Date("Ntaiinday", "退院日");
    t.Add("NzenkaiNyuinCheck", K::Check, "前回入院有り");
    t.Date("Nzenkainyuin", "前回入院日");
    t.Date("Nzenkaitaiin", "前回退院日");
    t.Choice("Ntenki", "転帰", kNtenkiChoices);
    t.Choice("NtenkiTo", "転帰先", kTenkisakiChoices);
    for (int n = 1; n <= 14; ++n) {
        t.Text(N("NShidan", n), "診断名", 60, 60).Row = n;
        t.Date(N("NShidanday", n), "診断日").Row = n;
        t.Date(N("Ntenkiday", n), "転帰日").Row = n;
        t.Choice(N("Ntenki", n), "転帰", kTenkiChoices).Row = n;
    }

    t.tab = T::HokenKakunin;
    t.Choice("FFutanKubun", "負担区分", kFutanChoices);
    static const char* const months[12] = {"１月", "２月", "３月", "４月",   "５月",   "６月",
                                           "７月", "８月", "９月", "１０月", "１１月", "１２月"};
    for (int n = 1; n <= 6; ++n) {
        t.group = "";
        t.Text(N("Fnendo", n), "年度", 18, 20).Row = n;
        t.group = "確認月";
        for (int m = 1; m <= 12; ++m) {
            FieldInfo& f = t.Add(N("Ftsuki", n) + "_" + std::to_string(m), K::Check, months[m - 1]);
            f.Row = n;
            f.Column = m;
        }
    }

    t.tab = T::Keyword;
    t.group = "";
    static const char* const keyCaptions[8] = {"キー１", "キー２", "キー３", "キー４",
                                               "キー５", "キー６", "キー７", "キー８"};
    for (int n = 1; n <= 8; ++n)
        t.Choice(N("KeyBox", n), keyCaptions[n - 1]).Row = n;

    return t.list;
}

std::vector<TabInfo> MakeTabs() {
    return {
        {T::KanjaKihon,
         "KanjaKihon",
         "患者基本情報",
         "KihonPrompt",
         "KanjaKihonShow",
         {"＊必須項目", "△いずれか必須", "■入力形式チェック", "■いずれかの形式チェック"}},
        {T::Hoken, "Hoken", "保険情報", "HokenPrompt", "HokenShow", {}},
        {T::KihonShinryo, "KihonShinryo", "基本診療情報", "KShinPrompt", "KihonShinryoShow", {}},
        {T::Rousai, "Rousai", "労災", "RousaiPrompt", "RousaiShow", {}},
        {T::GairaiShinryo, "GairaiShinryo", "外来診療記録", "GShinPrompt", "GairaiShinryoShow", {}},
        {T::NyuinKiroku, "NyuinKiroku", "入院記録", "NShinPrompt", "NyuinKirokuShow", {}},
        {T::HokenKakunin, "HokenKakunin", "保険確認", "HkakuninPrompt", "HokenKakuninShow", {}},
        {T::Keyword, "Keyword", "キーワード", "KeyPrompt", "KeywordShow", {}},
    };
}

} // namespace

const std::vector<TabInfo>& RecordTabs() {
    static const std::vector<TabInfo> tabs = MakeTabs();
    return tabs;
}

const TabInfo& TabOf(RecordTab tab) {
    for (const TabInfo& info : RecordTabs())
        if (info.Id == tab)
            return info;
    throw std::logic_error("unknown record tab");
}

const std::vector<FieldInfo>& RecordFields() {
    static const std::vector<FieldInfo> fields = MakeFields();
    return fields;
}

const FieldInfo* FindField(std::string_view name) {
    static const std::map<std::string, const FieldInfo*, std::less<>> byName = [] {
        std::map<std::string, const FieldInfo*, std::less<>> map;
        for (const FieldInfo& f : RecordFields())
            map.emplace(f.Name, &f);
        return map;
    }();
    auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second;
}

bool IsInputField(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::Date:
    case FieldKind::Choice:
    case FieldKind::Radio:
    case FieldKind::Check:
        return true;
    case FieldKind::DayLabel:
    case FieldKind::ErrorMark:
    case FieldKind::Button:
        return false;
    }
    return false;
}

} // namespace pendlar
