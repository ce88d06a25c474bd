#include "RecordTestSupport.h"

#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::test {

FieldView ValidView(int variant) {
    FieldView v;
    const std::string tag = SjisOf(variant == 0 ? "旧" : "新");
    auto text = [&](const std::string& name, const char* utf8) {
        v[name].Text = SjisOf(utf8) + tag;
    };
    auto date = [&](const std::string& name, int month, int day) {
        v[name].Text = std::to_string(2010 + variant) + "/" + std::to_string(month) + "/" +
                       std::to_string(day);
    };
    auto index = [&](const std::string& name, int i) { v[name].Index = i + variant; };

    text("PName", "山田太郎");
    text("PKana", "ヤマダタロウ");
    index("Psex", 0);
    v["PBirth"].Text = variant == 0 ? SjisOf("S25.3.20") : "1951/4/21";
    text("Pubin", "123-4567");
    text("Padress", "東京都千代田区丸の内1-1");
    text("Ptel", "03-1234-5678");
    text("Pkeitai", "090-1234-5678");
    text("RName", "山田花子");
    text("Raddress", "東京都千代田区丸の内1-1");
    index("Rzokugara", 1);
    text("Rtel", "03-1234-5678");
    text("Rkeitai", "080-1111-2222");
    text("Sname", "佐藤医院 佐藤一郎");
    text("Sadress", "東京都港区芝1-2-3");
    text("Stel", "03-9876-5432");
    text("Hhokenno", "06130012");
    text("Hkigouno", "123・456");
    text("Hname", "山田太郎");
    index("Hzokugara", 0);
    date("Hlimitdate", 3, 31);
    date("Hshikakudate", 4, 1);
    text("Hhokenname", "全国健康保険協会");
    text("Hhokenadr", "東京都新宿区");
    text("Hhokentel", "03-0000-0000");
    text("Hkouhino1", "54136015");
    text("Hjukyuno1", "1234567");
    text("Hkouhino2", "12136010");
    text("Hjukyuno2", "7654321");
    text("Hjname", "丸の内商事株式会社");
    text("Hjadr", "東京都千代田区丸の内2-2");
    text("Hjtel", "03-2222-3333");
    index("Ketsueki", 1);
    index("Rh", 0);
    index("HBS", 0);
    index("HCV", 0);
    index("TPHA", 0);
    index("Kinki", 0);
    text("Kousezai", "ペニシリン陰性");
    v["kioureki"].Text = SjisOf("高血圧\r\n糖尿病") + tag;
    text("kazoureki", "父：脳梗塞");
    text("arerugi", "卵");
    text("kansensho", "なし");
    text("bikou", "車椅子");
    for (int n = 1; n <= 2; ++n) {
        const std::string s = std::to_string(n);
        text("RByumei" + s, "腰椎捻挫");
        date("Rikenfrom" + s, n, 1);
        date("Rikento" + s, n, n == 1 ? 31 : 28);
        date("Rkoufu" + s, n + 2, 5);
        date("Rnyuinfrom" + s, n, 3);
        date("Rnyuinto" + s, n, 13);
    }
    text("Rrousai", "通勤途中の転倒");
    for (int n = 1; n <= 14; ++n) {
        const std::string s = std::to_string(n);
        text("Gbyoname" + s, ("外来病名" + s).c_str());
        date("Gshoshinbi" + s, 1, n);
        date("Gshuryobi" + s, 2, n);
        v["Gtenki" + s].Index = (n + variant) % 2;
        text("NShidan" + s, ("入院病名" + s).c_str());
        date("NShidanday" + s, 3, n);
        date("Ntenkiday" + s, 4, n);
        v["Ntenki" + s].Index = (n + variant + 1) % 2;
    }
    text("NShinryoka", "整形外科");
    text("Nbyuto", "東3");
    text("Nshujidct", "鈴木次郎");
    date("Nnyuinday", 5, 1);
    date("Ntaiinday", 5, 20);
    v["NzenkaiNyuinCheck"].Flag = variant == 1;
    date("Nzenkainyuin", 1, 10);
    date("Nzenkaitaiin", 1, 20);
    index("Ntenki", 1);
    index("NtenkiTo", 2);
    index("FFutanKubun", 0);
    for (int n = 1; n <= 6; ++n) {
        const std::string s = std::to_string(n);
        v["Fnendo" + s].Text = SjisOf("H2") + s + tag;
        for (int m = 1; m <= 12; ++m)
            v["Ftsuki" + s + "_" + std::to_string(m)].Flag = (n * 12 + m + variant) % 3 == 0;
    }
    return v;
}

std::string RecordValue(ChartRecord& record, const std::string& name) {
    std::optional<RecordSlot> slot = FindRecordField(record, name);
    if (!slot)
        return "<missing>";
    struct Show {
        std::string operator()(const TextSlot& t) const { return "text:" + SjisToUtf8(t.Text()); }
        std::string operator()(TDateTime* d) const {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "date:%.6f", *d);
            return buffer;
        }
        std::string operator()(std::int32_t* i) const { return "int:" + std::to_string(*i); }
        std::string operator()(bool* b) const { return *b ? "flag:1" : "flag:0"; }
    };
    return std::visit(Show{}, *slot);
}

} // namespace pendlar::test
