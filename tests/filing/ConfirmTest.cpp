// Confirming a patient number with its billing record, and choosing the sub number.
#include "FilingDesk.h"

#include "store/IjiRecord.h"
#include "store/PatientConfirm.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar::test {
namespace {

using Strings = std::vector<std::string>;

std::string With(std::string plain, const char* name, const IjiValue& value) {
    EXPECT_TRUE(WriteIjiField(plain, *FindIjiField(name), value)) << name;
    return plain;
}

// A sound record of patient 1234567.
std::string SoundRecord() {
    std::string r = EmptyIjiRecord();
    r = With(r, "TargetYear", std::int32_t{2024});
    r = With(r, "CreateDate", 45415.5); // 2024-05-03 12:00
    r = With(r, "PName", SjisOf("山田 太郎"));
    r = With(r, "Psex", std::int32_t{1});
    r = With(r, "Ketsueki", std::int32_t{2});
    r = With(r, "Rzokugara", std::int32_t{1});
    r = With(r, "kioureki", SjisOf("虫垂炎\r\n骨折"));
    r = With(r, "Gbyoname2", SjisOf("高血圧症"));
    r = With(r, "NzenkaiNyuinCheck", true);
    r = With(r, "Ftsuki6_12", true);
    return r;
}

struct ImportCase {
    const char* Name;
    std::function<void(FilingDesk&)> Setup;
    Strings Messages;                         // UTF-8, in order
    Strings ErrorLog;                         // UTF-8
    std::map<std::string, FieldValue> Fields; // after the confirmation
    std::string Status0;                      // UTF-8
    bool SubNumbersListed = true;
};

void PrintTo(const ImportCase& c, std::ostream* os) {
    *os << c.Name;
}

FieldValue Text(const char* utf8) {
    return FieldValue{SjisOf(utf8), -1, false};
}
FieldValue Index(int index, const char* utf8 = "") {
    return FieldValue{SjisOf(utf8), index, false};
}
FieldValue Flag(bool on) {
    return FieldValue{"", -1, on};
}

const char* const kFifty9 = "A" // one half-width letter and 29 full-width characters
                            "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへ";

class ImportCases : public testing::TestWithParam<ImportCase> {};

TEST_P(ImportCases, FillTheFieldsOrStopWithTheMessage) {
    const ImportCase& c = GetParam();
    FilingDesk desk;
    desk.Settings.UseIryoData = true;
    desk.PutChart(1234567, 3);
    desk.PutChart(1234567, 1);
    c.Setup(desk);

    desk.Confirm("1234567");

    EXPECT_EQ(desk.MessagesUtf8(), c.Messages);
    EXPECT_EQ(desk.ErrorLogUtf8(), c.ErrorLog);
    for (const auto& [name, expected] : c.Fields) {
        const FieldValue& actual = FieldOf(desk.Window.Fields, name);
        EXPECT_EQ(SjisToUtf8(actual.Text), SjisToUtf8(expected.Text)) << name;
        EXPECT_EQ(actual.Index, expected.Index) << name;
        EXPECT_EQ(actual.Flag, expected.Flag) << name;
    }
    EXPECT_EQ(SjisToUtf8(desk.Ui.Status[0]), c.Status0);
    if (c.SubNumbersListed) {
        EXPECT_EQ(desk.Window.SubNoItems, (Strings{"1", "3"}));
        EXPECT_EQ(desk.Window.SubNoText, "0");
        EXPECT_TRUE(desk.Window.IsEnabled(FilingControl::SubNoBtn));
    } else {
        EXPECT_TRUE(desk.Window.SubNoItems.empty());
        EXPECT_FALSE(desk.Window.IsEnabled(FilingControl::SubNoBtn));
    }
    EXPECT_FALSE(desk.Window.IsEnabled(FilingControl::SaveButton));
}

INSTANTIATE_TEST_SUITE_P(
    Records, ImportCases,
    testing::Values(
        ImportCase{"Sound",
                   [](FilingDesk& d) { d.PutIji(1234567, SoundRecord()); },
                   {},
                   {},
                   {{"PName", Text("山田 太郎")},
                    {"Psex", Index(1)},
                    {"Ketsueki", Index(2, "B")},
                    {"Rzokugara", Index(1, "配偶者")},
                    {"kioureki", Text("虫垂炎\r\n骨折")},
                    {"Gbyoname2", Text("高血圧症")},
                    {"NzenkaiNyuinCheck", Flag(true)},
                    {"Ftsuki6_12", Flag(true)}},
                   "対象年:2024"},
        ImportCase{"SexTwoAndBloodTypeFourSelectNothing",
                   [](FilingDesk& d) {
                       std::string r = With(SoundRecord(), "Psex", std::int32_t{2});
                       d.PutIji(1234567, With(r, "Ketsueki", std::int32_t{4}));
                   },
                   {},
                   {},
                   {{"Psex", Index(-1)}, {"Ketsueki", Index(-1)}, {"PName", Text("山田 太郎")}},
                   "対象年:2024"},
        ImportCase{"VersionFourteenStopsAfterTheSignature",
                   [](FilingDesk& d) {
                       d.PutIji(1234567, With(SoundRecord(), "DataVersion", std::int32_t{14}));
                   },
                   {"医事データエラー：作成バージョンに誤りがあります。\n読み込みを終了します。"},
                   {"** Iji Data Version Error"},
                   {{"PName", Text("")}},
                   ""},
        ImportCase{"ShortBlobEndsWithTheReadError",
                   [](FilingDesk& d) {
                       d.PutRawIji(1234567, d.Protect.Encrypt(SoundRecord().substr(0, 5000)));
                   },
                   {"Stream read error"},
                   {},
                   {{"PName", Text("")}},
                   ""},
        ImportCase{"EmptyBlobIsASizeError",
                   [](FilingDesk& d) { d.PutRawIji(1234567, ""); },
                   {},
                   {"** Iji Data Size Error"},
                   {},
                   ""},
        ImportCase{"BadOutpatientRowKeepsTheGroupsBefore",
                   [](FilingDesk& d) {
                       std::string r = SoundRecord();
                       r[FindIjiField("Gbyoname3")->Offset] = static_cast<char>(61);
                       d.PutIji(1234567, r);
                   },
                   {"医事データエラー：外来診療記録情報の形式に誤りがあります。\n読み込みを終了しま"
                    "す。"},
                   {"** Iji Data Format5 Error"},
                   {{"PName", Text("山田 太郎")},
                    {"kioureki", Text("虫垂炎\r\n骨折")},
                    {"Gbyoname2", Text("高血圧症")},
                    {"NzenkaiNyuinCheck", Flag(false)}},
                   "対象年:2024"},
        ImportCase{"MissingRecordGoesOnWhenTheClerkSaysYes",
                   [](FilingDesk&) {},
                   {"医事データが見つかりません。\n続けますか?"},
                   {},
                   {{"PName", Text("")}},
                   ""},
        ImportCase{"MissingRecordStopsWhenTheClerkSaysNo",
                   [](FilingDesk& d) { d.Ui.MessageAnswers = {MsgResult::No}; },
                   {"医事データが見つかりません。\n続けますか?"},
                   {},
                   {},
                   "",
                   false},
        ImportCase{"UseIryoDataOffOnlyClearsAndLists",
                   [](FilingDesk& d) {
                       d.Settings.UseIryoData = false;
                       d.PutIji(1234567, SoundRecord());
                       d.Window.Fields["PName"].Text = SjisOf("前の患者");
                   },
                   {},
                   {},
                   {{"PName", Text("")}},
                   ""},
        ImportCase{"KeywordOfFiftyNineBytesIsCutAndLosesItsHalfCharacter",
                   [](FilingDesk& d) {
                       d.Settings.KeyWordUse = true;
                       d.Settings.IjiItem = {13, 5, 1, 0, 0, 0, 0, 41};
                       d.PutIji(1234567, With(SoundRecord(), "Gbyoname1", SjisOf(kFifty9)));
                   },
                   {},
                   {},
                   {// 48 bytes end with the first byte of ね; the trim drops it: 47 bytes.
                    {"KeyBox1", Text("Aあいうえおかきくけこさしすせそたちつてとなにぬ")},
                    // A memo gives its first line; 炎 (0x89 0x8A) ends in a byte that is
                    // also a lead-byte value, and stays whole.
                    {"KeyBox2", Text("虫垂炎")},
                    {"KeyBox3", Text("山田 太郎")},
                    {"KeyBox8", Text("")}}, // 41 is outside the list
                   "対象年:2024"}),
    [](const testing::TestParamInfo<ImportCase>& info) { return info.param.Name; });

TEST(Confirmation, TheQuotedKeywordHoldsFortySevenBytes) {
    FieldView view;
    view["Gbyoname1"].Text = SjisOf(kFifty9);
    TRegistory settings;
    settings.KeyWordUse = true;
    settings.IjiItem = {13, 0, 0, 0, 0, 0, 0, 0};
    QuoteKeywords(settings, view);
    EXPECT_EQ(FieldOf(view, "KeyBox1").Text.size(), 47u);
}

TEST(Confirmation, TheNumberAsTyped) {
    struct Case {
        const char* Typed;
        const char* Message; // "" when the number is confirmed
    } cases[] = {
        {"", "患者番号がありません。"},
        {"12a", "患者番号に誤りがあります。"},
        {"-1", "患者番号の範囲を越えています。"},
        {"100000000", "患者番号の範囲を越えています。"},
        {"0", ""},
        {"99999999", ""},
    };
    for (const Case& c : cases) {
        FilingDesk desk;
        desk.State.LastConfirmedPatient = 7; // 0 would be the same number as at the start
        desk.Confirm(c.Typed);
        EXPECT_EQ(desk.MessagesUtf8(), c.Message[0] ? Strings{c.Message} : Strings{}) << c.Typed;
        EXPECT_EQ(SjisToUtf8(desk.Ui.Status[1]), c.Message) << c.Typed;
        EXPECT_EQ(desk.Window.IsEnabled(FilingControl::SubNoBtn), !c.Message[0]) << c.Typed;
        if (c.Message[0]) {
            EXPECT_EQ(desk.Ui.Messages[0].Buttons, MsgButtons::Yes);
        }
    }
}

TEST(Confirmation, TheSameNumberTwiceKeepsWhatWasTyped) {
    FilingDesk desk;
    desk.Confirm("42");
    desk.Window.Fields["PName"].Text = SjisOf("入力中");
    const int resets = desk.Window.ClearRecordCount;
    desk.Confirm("42");
    EXPECT_EQ(desk.MessagesUtf8(), Strings{"患者番号が前と同じです。"});
    EXPECT_EQ(SjisToUtf8(FieldOf(desk.Window.Fields, "PName").Text), "入力中");
    EXPECT_EQ(desk.Window.ClearRecordCount, resets);
}

TEST(SubNumberChoice, SetsTheFilingModeAndTheMessageFields) {
    struct Case {
        const char* Typed;
        int HeaderOut;
        const char* Message; // "" when a mode was chosen
        ChartFilingMode Mode;
        const char* Mess1;
        const char* Mess2;
        MessageColour Colour;
        const char* Caption;
        bool ChartButtons;
    } cases[] = {
        {"", 0, "連番がありません。", ChartFilingMode::None, "", "", MessageColour::White, "保存",
         false},
        {"1a", 0, "連番に誤りがあります。", ChartFilingMode::None, "", "", MessageColour::White,
         "保存", false},
        {"1000", 0, "連番の範囲を越えています。", ChartFilingMode::None, "", "",
         MessageColour::White, "保存", false},
        {"007", 1, "", ChartFilingMode::New, "新規に作成します。", "外来", MessageColour::White,
         "保存", false},
        {"2", 0, "", ChartFilingMode::Add, "カルテに追加します。", "　　", MessageColour::Green,
         "追加", true},
        {"2", 2, "", ChartFilingMode::Add, "カルテに追加します。", "入院", MessageColour::Green,
         "追加", true},
    };
    for (const Case& c : cases) {
        FilingDesk desk;
        desk.Settings.HeaderOut = c.HeaderOut;
        desk.Settings.KaCode = "12";
        desk.PutChart(555, 2);
        desk.ScanPages(2);
        desk.Confirm("555");
        desk.Select(c.Typed);
        SCOPED_TRACE(c.Typed);
        EXPECT_EQ(desk.MessagesUtf8(), c.Message[0] ? Strings{c.Message} : Strings{});
        EXPECT_EQ(desk.State.Mode, c.Mode);
        EXPECT_EQ(SjisToUtf8(desk.Window.StatusMess[0]), c.Mess1);
        EXPECT_EQ(SjisToUtf8(desk.Window.StatusMess[1]), c.Mess2);
        EXPECT_EQ(SjisToUtf8(desk.Window.StatusMess[2]), c.Message[0] ? "" : "科別区分 12");
        EXPECT_EQ(desk.Window.Colour, c.Colour);
        EXPECT_EQ(SjisToUtf8(desk.Window.SaveCaption), c.Caption);
        EXPECT_EQ(desk.Window.IsEnabled(FilingControl::PrintBtn), c.ChartButtons);
        EXPECT_EQ(desk.Window.IsEnabled(FilingControl::SaveButton), !c.Message[0]);
    }
}

TEST(SubNumberChoice, SaveWaitsForTheSecondPageWithoutAHeader) {
    FilingDesk desk;
    desk.ScanPages(1);
    desk.Confirm("555");
    desk.Select("0");
    EXPECT_EQ(desk.State.Mode, ChartFilingMode::New);
    EXPECT_EQ(desk.MessagesUtf8(),
              Strings{"２枚目以上の印刷データがありません\nスキャンして下さい。"});
    EXPECT_FALSE(desk.Window.IsEnabled(FilingControl::SaveButton));
    EXPECT_TRUE(desk.Window.IsEnabled(FilingControl::LogBtn));
}

} // namespace
} // namespace pendlar::test
