#include "RecordTestSupport.h"

#include "logs/Logs.h"
#include "record/DayCount.h"
#include "record/FieldTable.h"
#include "record/Keywords.h"
#include "record/RecordChecks.h"
#include "util/CaruteDate.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::RecordingUserInterface;
using test::RecordValue;
using test::ValidView;

enum class Check { Outpatient, Inpatient };

bool RunCheck(Check check, FieldView& view, ChartRecord& record, UserInterface& ui) {
    TCaruteDate calendar;
    return check == Check::Outpatient ? CheckOutpatientRecord(view, record, calendar, ui)
                                      : CheckInpatientRecord(view, record, calendar, ui);
}

// The record after a successful check of `view`, starting from `start`.
ChartRecord Checked(Check check, FieldView view, ChartRecord start = {}) {
    RecordingUserInterface ui;
    EXPECT_TRUE(RunCheck(check, view, start, ui)) << SjisToUtf8(ui.Status[1]);
    return start;
}

constexpr int kKeep = -2;
struct Change {
    const char* name;
    const char* text; // UTF-8; nullptr keeps the text
    int index = kKeep;
};

struct FailCase {
    std::vector<Check> checks;
    std::vector<Change> changes;
    const char* failing; // the field whose check fails
    const char* panel0;
    const char* panel1;
};

void Apply(FieldView& view, const std::vector<Change>& changes) {
    for (const Change& c : changes) {
        if (c.text)
            view[c.name].Text = SjisOf(c.text);
        if (c.index != kKeep)
            view[c.name].Index = c.index;
    }
}

const std::vector<Check> kBoth = {Check::Outpatient, Check::Inpatient};
const std::vector<Check> kOut = {Check::Outpatient};
const std::vector<Check> kIn = {Check::Inpatient};

// Each case breaks one field of an otherwise valid chart. The check must name the tab and
// the fault, and stop there: every record field before the failing one holds the new
// value, the failing one and everything after it the value of the previous check.
TEST(RecordChecks, FirstFaultIsReportedAndStopsTheCopy) {
    const FailCase cases[] = {
        {kBoth, {{"PName", ""}}, "PName", "患者基本情報", "患者氏名エラー"},
        {kBoth, {{"PKana", ""}}, "PKana", "患者基本情報", "フリガナエラー"},
        {kBoth, {{"Psex", nullptr, -1}}, "Psex", "患者基本情報", "性別エラー"},
        {kBoth, {{"PBirth", ""}}, "PBirth", "患者基本情報", "生年月日 :数値データがありません。"},
        {kBoth,
         {{"PBirth", "2010/2/30"}},
         "PBirth",
         "患者基本情報",
         "生年月日 :日付けが存在しません。"},
        {kBoth,
         {{"PBirth", "平安22.1.1"}},
         "PBirth",
         "患者基本情報",
         "生年月日 :元号にエラーがあります。"},
        {kBoth, {{"Padress", ""}}, "Padress", "患者基本情報", "現住所エラー"},
        {kBoth, {{"Ptel", ""}, {"Pkeitai", ""}}, "Ptel", "患者基本情報", "電話又は携帯エラー"},
        {kBoth,
         {{"Hlimitdate", "2010/13/1"}},
         "Hlimitdate",
         "保険情報",
         "有効期限 :月にエラーがあります。"},
        {kBoth,
         {{"Hshikakudate", "1899/12/31"}},
         "Hshikakudate",
         "保険情報",
         "資格取得 :年にエラーがあります。"},
        {kOut,
         {{"Rikenfrom1", "2010/1/32"}},
         "Rikenfrom1",
         "労災",
         "意見書自 :日にエラーがあります。"},
        {kOut,
         {{"Rikento2", "2010年1月1日"}},
         "Rikento2",
         "労災",
         "意見書至 :月にエラーがあります。"},
        {kOut, {{"Rkoufu1", " "}}, "Rkoufu1", "労災", "公布 :数値データがありません。"},
        {kOut,
         {{"Rnyuinfrom2", "2010/4/31"}},
         "Rnyuinfrom2",
         "労災",
         "入院自 :日付けが存在しません。"},
        {kOut, {{"Rnyuinto1", "2010/0/1"}}, "Rnyuinto1", "労災", "入院至 :月にエラーがあります。"},
        {kOut,
         {{"Gshoshinbi3", "2010/13/1"}},
         "Gshoshinbi3",
         "外来診療記録",
         "初診日3:月にエラーがあります。"},
        {kOut,
         {{"Gshuryobi14", "2101/1/1"}},
         "Gshuryobi14",
         "外来診療記録",
         "終了日14:年にエラーがあります。"},
        {kIn,
         {{"Nnyuinday", "2010/2/29"}},
         "Nnyuinday",
         "入院記録",
         "入院日 :日付けが存在しません。"},
        {kIn,
         {{"Ntaiinday", "S121.1.1"}},
         "Ntaiinday",
         "入院記録",
         "退院日 :年にエラーがあります。"},
        {kIn,
         {{"Nzenkainyuin", "x"}},
         "Nzenkainyuin",
         "入院記録",
         "前回入院日 :年にエラーがあります。"},
        {kIn,
         {{"Nzenkaitaiin", "H22.1.40"}},
         "Nzenkaitaiin",
         "入院記録",
         "前回退院日 :日にエラーがあります。"},
        {kIn,
         {{"NShidanday2", "2010/13/1"}},
         "NShidanday2",
         "入院記録",
         "診断日2:月にエラーがあります。"},
        {kIn,
         {{"Ntenkiday14", "2010/2/30"}},
         "Ntenkiday14",
         "入院記録",
         "転帰日14:日付けが存在しません。"},
    };
    for (const FailCase& c : cases) {
        for (Check check : c.checks) {
            SCOPED_TRACE(std::string(c.failing) +
                         (check == Check::Outpatient ? " outpatient" : " inpatient"));
            ChartRecord before = Checked(check, ValidView(0));
            ChartRecord expectNew = Checked(check, ValidView(1), before);
            ChartRecord record = before;
            FieldView view = ValidView(1);
            Apply(view, c.changes);
            RecordingUserInterface ui;

            EXPECT_FALSE(RunCheck(check, view, record, ui));

            using Call = std::pair<int, std::string>;
            const std::vector<Call> calls = {
                {0, ""}, {1, ""}, {0, SjisOf(c.panel0)}, {1, SjisOf(c.panel1)}};
            EXPECT_EQ(ui.StatusCalls, calls) << SjisToUtf8(ui.Status[1]);
            EXPECT_TRUE(ui.Messages.empty());
            bool reached = false;
            for (const std::string& name : RecordFieldNames()) {
                reached = reached || name == c.failing;
                const std::string want = RecordValue(reached ? before : expectNew, name);
                ASSERT_EQ(RecordValue(record, name), want) << name;
            }
        }
    }
}

TEST(RecordChecks, AcceptedCharts) {
    struct PassCase {
        const char* what;
        Check check;
        std::vector<Change> changes;
        std::vector<const char*> untouched; // record fields the check must not look at
    };
    const PassCase cases[] = {
        {"mobile only", Check::Outpatient, {{"Ptel", ""}}, {}},
        {"home phone only", Check::Inpatient, {{"Pkeitai", ""}}, {}},
        {"no insurance dates", Check::Outpatient, {{"Hlimitdate", ""}, {"Hshikakudate", ""}}, {}},
        {"empty accident and outpatient dates",
         Check::Outpatient,
         {{"Rikenfrom1", ""}, {"Rkoufu2", ""}, {"Gshoshinbi1", ""}, {"Gshuryobi14", ""}},
         {}},
        {"inpatient ignores the outpatient part",
         Check::Inpatient,
         {{"Gshoshinbi1", "2010/13/1"}, {"Rikenfrom1", "bad"}},
         {"Gshoshinbi1", "Gbyoname1", "Rikenfrom1", "RByumei1", "Rrousai"}},
        {"outpatient ignores the inpatient part",
         Check::Outpatient,
         {{"Nnyuinday", "2010/13/1"}, {"NShidanday1", "bad"}},
         {"Nnyuinday", "NShidan1", "NShidanday1", "NtenkiTo"}},
        {"unmatched typed choice", Check::Outpatient, {{"Gtenki3", nullptr, -1}}, {}},
    };
    for (const PassCase& c : cases) {
        SCOPED_TRACE(c.what);
        FieldView view = ValidView(1);
        Apply(view, c.changes);
        ChartRecord old = Checked(Check::Outpatient, ValidView(0));
        old = Checked(Check::Inpatient, ValidView(0), old);
        ChartRecord record = old;
        RecordingUserInterface ui;
        EXPECT_TRUE(RunCheck(c.check, view, record, ui));
        using Call = std::pair<int, std::string>;
        EXPECT_EQ(ui.StatusCalls, (std::vector<Call>{{0, ""}, {1, ""}}));
        for (const char* name : c.untouched)
            EXPECT_EQ(RecordValue(record, name), RecordValue(old, name)) << name;
    }

    // What the cases above store.
    FieldView view = ValidView(0);
    view["Ptel"].Text.clear();
    view["Hlimitdate"].Text.clear();
    view["Gtenki3"].Index = ChoiceIndex(SjisOf("治ゆ"), {SjisOf("治癒"), SjisOf("中断")}, 0);
    ChartRecord record = Checked(Check::Outpatient, view, Checked(Check::Outpatient, ValidView(1)));
    EXPECT_TRUE(record.Ptel.Empty());
    EXPECT_EQ(SjisToUtf8(record.Pkeitai.Text()), "090-1234-5678旧");
    EXPECT_EQ(record.Hlimitdate, 0);
    EXPECT_EQ(record.Gairai[2].Gtenki, -1);
}

TEST(RecordChecks, SuccessfulCheckFillsTheRecord) {
    FieldView view = ValidView(0);
    ChartRecord record = Checked(Check::Outpatient, view);
    EXPECT_EQ(SjisToUtf8(record.PName.Text()), "山田太郎旧");
    EXPECT_EQ(record.Psex, 0);
    EXPECT_EQ(record.PBirth, EncodeDate(1950, 3, 20));
    EXPECT_EQ(record.Rzokugara, 1);
    EXPECT_EQ(record.Hshikakudate, EncodeDate(2010, 4, 1));
    EXPECT_EQ(SjisToUtf8(record.kioureki.Text()), "高血圧\r\n糖尿病旧");
    EXPECT_EQ(record.Rousai[1].Rkoufu, EncodeDate(2010, 4, 5));
    EXPECT_EQ(record.Rousai[1].Rnyuinto, EncodeDate(2010, 2, 13));
    for (int n = 1; n <= 14; ++n) {
        SCOPED_TRACE(n);
        const GairaiRow& row = record.Gairai[n - 1];
        EXPECT_EQ(SjisToUtf8(row.Gbyoname.Text()), "外来病名" + std::to_string(n) + "旧");
        EXPECT_EQ(row.Gshoshinbi, EncodeDate(2010, 1, n));
        EXPECT_EQ(row.Gshuryobi, EncodeDate(2010, 2, n));
        EXPECT_EQ(row.Gtenki, n % 2);
    }
    for (int n = 1; n <= 6; ++n)
        for (int m = 1; m <= 12; ++m)
            EXPECT_EQ(record.Kakunin[n - 1].Ftsuki[m - 1], (n * 12 + m) % 3 == 0) << n << "_" << m;
    EXPECT_EQ(SjisToUtf8(record.Kakunin[5].Fnendo.Text()), "H26旧");

    // The outpatient check leaves the inpatient part alone, and the other way round.
    EXPECT_TRUE(record.Nyuin[0].NShidan.Empty());
    record = Checked(Check::Inpatient, ValidView(1), record);
    EXPECT_EQ(SjisToUtf8(record.Gairai[0].Gbyoname.Text()), "外来病名1旧");
    EXPECT_EQ(SjisToUtf8(record.Nyuin[13].NShidan.Text()), "入院病名14新");
    EXPECT_EQ(record.Nyuin[13].Ntenkiday, EncodeDate(2011, 4, 14));
    EXPECT_EQ(record.Nyuin[13].Ntenki, 0);
    EXPECT_TRUE(record.NzenkaiNyuinCheck);
    EXPECT_EQ(record.Nzenkaitaiin, EncodeDate(2011, 1, 20));
    EXPECT_EQ(record.NtenkiTo, 3);
    EXPECT_EQ(record.FFutanKubun, 1);
}

// Each text keeps its first bytes: most fields two bytes less than their capacity, the
// inpatient diagnoses their whole 60, the long texts and memos 255.
TEST(RecordChecks, CopyRuleKeepsTheFirstBytes) {
    const std::pair<std::vector<std::string>, std::size_t> kept[] = {
        {{"PName", "PKana", "RName", "Sname", "Hhokenno", "Hkigouno", "Hname", "Hhokenname",
          "Hkouhino1", "Hjukyuno1", "Hkouhino2", "Hjukyuno2", "Hjname", "NShinryoka", "Nshujidct"},
         38},
        {{"Pubin", "Ptel", "Pkeitai", "Rtel", "Rkeitai", "Stel", "Hhokentel", "Hjtel", "Nbyuto",
          "Fnendo1", "Fnendo6"},
         18},
        {{"Padress", "Raddress", "Sadress", "Hhokenadr", "Hjadr", "RByumei1", "RByumei2",
          "Gbyoname1", "Gbyoname14"},
         58},
        {{"NShidan1", "NShidan14"}, 60},
        {{"Kousezai", "kioureki", "kazoureki", "arerugi", "kansensho", "bikou", "Rrousai"}, 255},
    };
    for (Check check : kBoth) {
        FieldView view = ValidView(0);
        for (const FieldInfo& f : RecordFields())
            if (f.Kind == FieldKind::Text || f.Kind == FieldKind::Memo)
                view[f.Name].Text = std::string(300, 'x');
        ChartRecord record = Checked(check, view);
        for (const auto& [names, bytes] : kept)
            for (const std::string& name : names) {
                if ((check == Check::Outpatient && name.starts_with("N")) ||
                    (check == Check::Inpatient &&
                     (name.starts_with("G") || name.starts_with("RB") || name == "Rrousai")))
                    continue;
                EXPECT_EQ(RecordValue(record, name), "text:" + std::string(bytes, 'x')) << name;
            }
    }

    // A cut by bytes may split a double-byte character: half-width "a" and 25 full-width
    // characters are 51 bytes, of which 38 are kept, the last being a lead byte.
    FieldView view = ValidView(0);
    std::string name = "a";
    for (int i = 0; i < 25; ++i)
        name += SjisOf("あ");
    view["PName"].Text = name;
    ChartRecord record = Checked(Check::Outpatient, view);
    EXPECT_EQ(record.PName.Text(), name.substr(0, 38));
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(record.PName.Text().back())));
}

TEST(RecordChecks, OutpatientDayLabels) {
    struct Case {
        const char *from, *to, *label;
    };
    const Case cases[] = {
        {"2010/1/1", "2010/1/31", "30"},
        {"2010/1/31", "2010/1/1", "30"},
        {"H22.1.1", "2010/1/1", "0"},
        {"", "2010/1/31", "0"},
        {"", "", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + c.to);
        FieldView view = ValidView(0);
        view["Rikenfrom1"].Text = SjisOf(c.from);
        view["Rikento1"].Text = SjisOf(c.to);
        view["Rnyuinfrom2"].Text = SjisOf(c.from);
        view["Rnyuinto2"].Text = SjisOf(c.to);
        ChartRecord record;
        RecordingUserInterface ui;
        ASSERT_TRUE(RunCheck(Check::Outpatient, view, record, ui));
        EXPECT_EQ(view["Rikenday1"].Text, c.label);
        EXPECT_EQ(view["Rnyuinday2"].Text, c.label);
        EXPECT_EQ(view["Rnyuinday1"].Text, "10");
    }

    // A failing date leaves the labels of its period as they were.
    FieldView view = ValidView(0);
    view["Rikenday2"].Text = "old";
    view["Rikento2"].Text = "bad";
    ChartRecord record;
    RecordingUserInterface ui;
    EXPECT_FALSE(RunCheck(Check::Outpatient, view, record, ui));
    EXPECT_EQ(view["Rikenday1"].Text, "30");
    EXPECT_EQ(view["Rikenday2"].Text, "old");
}

TEST(RecordChecks, DayCountCommand) {
    struct Case {
        int headerOut;
        const char *from, *to;
        const char* label; // "" leaves the previous text
        bool fromMark, toMark;
    };
    const Case cases[] = {
        {1, "2010/1/1", "2010/1/31", "31日間", false, false},
        {1, "2010/1/31", "2010/1/1", "31日間", false, false},
        {1, "H22.5.3", "2010/5/3", "1日間", false, false},
        {1, "2010/2/30", "2010/3/1", "", true, false},
        {1, "", "", "", true, true},
        {0, "2010/1/1", "2010/1/31", "", false, false},
        {2, "bad", "2010/1/31", "", false, false},
    };
    const char* periods[4][5] = {
        {"Rikenfrom1", "Rikento1", "Ikfm1Err", "Ikto1Err", "Rikenday1"},
        {"Rnyuinfrom1", "Rnyuinto1", "Ninfm1Err", "Ninto1Err", "Rnyuinday1"},
        {"Rikenfrom2", "Rikento2", "Ikfm2Err", "Ikto2Err", "Rikenday2"},
        {"Rnyuinfrom2", "Rnyuinto2", "Ninfm2Err", "Ninto2Err", "Rnyuinday2"},
    };
    for (const Case& c : cases) {
        for (const auto& p : periods) {
            SCOPED_TRACE(std::string(p[0]) + " " + c.from + " " + c.to + " HeaderOut " +
                         std::to_string(c.headerOut));
            FieldView view = ValidView(0);
            for (const auto& q : periods) {
                view[q[2]].Flag = view[q[3]].Flag = true;
                view[q[4]].Text = "prev";
            }
            view[p[0]].Text = SjisOf(c.from);
            view[p[1]].Text = SjisOf(c.to);
            TCaruteDate calendar;
            CountDays(view, c.headerOut, calendar);
            EXPECT_EQ(SjisToUtf8(view[p[4]].Text), *c.label ? c.label : "prev");
            EXPECT_EQ(view[p[2]].Flag, c.fromMark);
            EXPECT_EQ(view[p[3]].Flag, c.toMark);
        }
    }
}

TEST(RecordChecks, SaveReadiness) {
    struct Case {
        int headerOut;
        bool firstPage;
        std::size_t pages;
        bool filingChosen;
        bool enabled;
        const char* message; // "" when none
        const char* logLine;
    };
    const Case cases[] = {
        {0, true, 0, true, false, "印刷データがありません\nスキャンして下さい。",
         "* Image is nothing"},
        {0, true, 1, true, true, "", ""},
        {0, false, 1, true, false, "２枚目以上の印刷データがありません\nスキャンして下さい。",
         "* Next Image is nothing"},
        {0, false, 2, true, true, "", ""},
        {0, false, 2, false, false, "", ""},
        {1, false, 0, true, true, "", ""},
        {2, true, 0, true, true, "", ""},
        {1, true, 5, false, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.headerOut << c.firstPage << c.pages << c.filingChosen);
        RecordingUserInterface ui;
        TLogs logs;
        EXPECT_EQ(CheckSaveReady(c.headerOut, c.firstPage, c.pages, c.filingChosen, ui, logs),
                  c.enabled);
        if (*c.message) {
            ASSERT_EQ(ui.Messages.size(), 1u);
            EXPECT_EQ(SjisToUtf8(ui.Messages[0].Text), c.message);
            EXPECT_EQ(ui.Messages[0].Icon, MsgIcon::Error);
            EXPECT_EQ(ui.Messages[0].Buttons, MsgButtons::Ok);
            EXPECT_EQ(logs.Error.Lines(), std::vector<std::string>{c.logLine});
            using Call = std::pair<int, std::string>;
            EXPECT_EQ(ui.StatusCalls, (std::vector<Call>{{1, SjisOf("印刷に失敗しました。")}}));
        } else {
            EXPECT_TRUE(ui.Messages.empty());
            EXPECT_TRUE(logs.Error.Lines().empty());
            EXPECT_TRUE(ui.StatusCalls.empty());
        }
    }
}

TEST(RecordChecks, ClearRecordEmptiesEveryInputField) {
    FieldView view;
    for (const FieldInfo& f : RecordFields())
        view[f.Name] = FieldValue{"x", 1, true};
    ChartRecord record = Checked(Check::Outpatient, ValidView(0));
    record.Signature.Assign("PDFCARUTE");
    record.DataVersion = 15;
    record.CreateDate = EncodeDate(2024, 5, 3);
    record.TargetYear = 2024;
    record.PatientNo = 1234;

    ClearRecord(view, record);

    for (const FieldInfo& f : RecordFields()) {
        if (IsInputField(f.Kind)) {
            EXPECT_EQ(view[f.Name], FieldValue{}) << f.Name;
        } else {
            EXPECT_EQ(view[f.Name], (FieldValue{"x", 1, true})) << f.Name;
        }
    }
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(view.at(KeyBoxName(n)), FieldValue{}) << n;
    EXPECT_TRUE(record.Signature.Empty());
    EXPECT_EQ(record.DataVersion, 0);
    EXPECT_EQ(record.CreateDate, 0);
    EXPECT_EQ(record.TargetYear, 0);
    // The chart record itself is not reset.
    EXPECT_EQ(SjisToUtf8(record.PName.Text()), "山田太郎旧");
    EXPECT_EQ(record.PatientNo, 1234);
}

TEST(RecordChecks, ChoiceIndexOfTheShownText) {
    const std::vector<std::string> items = {SjisOf("治癒"), SjisOf("中断"), SjisOf("中断")};
    struct Case {
        const char* text;
        int selected, index;
    };
    const Case cases[] = {
        {"治癒", -1, 0}, {"中断", 0, 1}, {"中断", 2, 2},
        {"治ゆ", 0, -1}, {"", 1, -1},    {"治癒", 7, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChoiceIndex(SjisOf(c.text), items, c.selected), c.index) << c.text << c.selected;
}

} // namespace
} // namespace pendlar
