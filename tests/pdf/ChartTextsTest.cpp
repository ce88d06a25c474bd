// The header texts made from the chart record: the age, the blood line, the row groups,
// the record date and the byte cuts.
#include "pdf/chart/HeaderTexts.h"

#include "ChartTestSupport.h"

namespace pendlar {
namespace {

using test::S;

struct AgeCase {
    CivilDate Birth, Today;
    const char* Expected;
};

class AgeTextTest : public ::testing::TestWithParam<AgeCase> {};

TEST_P(AgeTextTest, CountsWholeYearsAndMonthsByCalendarFields) {
    const AgeCase& c = GetParam();
    EXPECT_EQ(SjisToUtf8(AgeText(EncodeDate(c.Birth.Year, c.Birth.Month, c.Birth.Day),
                                 EncodeDate(c.Today.Year, c.Today.Month, c.Today.Day))),
              c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ages, AgeTextTest,
    ::testing::Values(AgeCase{{1950, 3, 20}, {2024, 5, 10}, "（74歳 1ヶ月）"},
                      // The day of the month is not yet reached: no month completed.
                      AgeCase{{2000, 1, 31}, {2024, 2, 28}, "（24歳 0ヶ月）"},
                      AgeCase{{2000, 5, 10}, {2024, 5, 10}, "（24歳 0ヶ月）"},
                      AgeCase{{2000, 5, 11}, {2024, 5, 10}, "（23歳 11ヶ月）"},
                      AgeCase{{2024, 5, 11}, {2024, 5, 10}, ""}));

TEST(HeaderTextsTest, FillsEveryGroupFromTheRecord) {
    ChartRecord r = test::SampleRecord();
    TCaruteDate calendar;
    const TDateTime kept = calendar.GetDate();
    HeaderTexts t =
        PrepareHeaderTexts(r, test::BuiltInLookups(), calendar, EncodeDate(2024, 5, 10));
    auto text = [&t](const char* name) { return SjisToUtf8(t.at(name)); };

    EXPECT_EQ(text("PR_Date"), "2024.04");
    EXPECT_EQ(text("Next_KanjaID2"), "12345678");
    EXPECT_EQ(text("Nyuin_Sex"), "男性");
    EXPECT_EQ(text("PR_BirthDay"), "1950.03.20");
    EXPECT_EQ(text("PR_Nenrei"), "（74歳 1ヶ月）");
    EXPECT_EQ(text("PR_Ketsueki"),
              "血液型(A)  Ｒｈ(+)  ＨＢＳ(陰性)  ＨＣＶ(陰性)  ＴＰＨＡ(陰性)  禁忌(無)  ");
    EXPECT_EQ(text("Nyuin_RenrakuZoku"), "配偶者");
    EXPECT_EQ(text("Nyuin_Zenkai"), "有");
    EXPECT_EQ(text("Nyuin_FutanKubun"), "保険");
    // Workers' accident: both dates counted, a missing date leaves its text empty.
    EXPECT_EQ(text("PR_Rousai_roum_From1"), "自 2010.01.01");
    EXPECT_EQ(text("PR_Rousai_roum_To1"), "至 2010.01.31");
    EXPECT_EQ(text("PR_Rousai_roum_days1"), "31日間");
    EXPECT_EQ(text("PR_Rousai_nyuin_From1"), "");
    EXPECT_EQ(text("PR_Rousai_nyuin_days1"), "");
    EXPECT_EQ(text("PR_Rousai_Shobyomei2"), "");
    // Outpatient rows: outcome outside the list is empty; the row of input 9 is row 8.
    EXPECT_EQ(text("PR_Tenki0"), "");
    EXPECT_EQ(text("PR_Tenki1"), "治癒");
    EXPECT_EQ(text("PR_ShobyoName8"), "腰痛症");
    EXPECT_EQ(text("Nyuin_Tenki0"), "治癒");
    EXPECT_EQ(text("Next_Tsuki0_3"), "○");
    EXPECT_EQ(text("Next_Tsuki0_5"), "");
    EXPECT_EQ(calendar.GetDate(), kept);
}

TEST(HeaderTextsTest, EmptyRowsPrintNothingAndTypedChartsHaveNoRecordDate) {
    ChartRecord r = test::SampleRecord();
    r.Gairai[2].Gshoshinbi = EncodeDate(2020, 1, 1); // dates without a name
    r.Gairai[2].Gshuryobi = EncodeDate(2020, 2, 1);
    r.Gairai[2].Gtenki = 1;
    r.Rousai[1].Rikenfrom = EncodeDate(2020, 1, 1);
    r.Nyuin[3].NShidanday = EncodeDate(2021, 1, 1); // inpatient rows print regardless
    ClearImportedFields(r);
    r.Ptel.Assign("");
    r.Pkeitai.Assign("090-1234-5678");
    TCaruteDate calendar;
    HeaderTexts t =
        PrepareHeaderTexts(r, test::BuiltInLookups(), calendar, EncodeDate(2024, 5, 10));
    for (const char* name : {"PR_ShobyoName2", "PR_Shoshin2", "PR_Shuryo2", "PR_Tenki2",
                             "PR_Rousai_roum_From2", "PR_Date", "Nyuin_Date", "Next_Date2"})
        EXPECT_EQ(t.at(name), "") << name;
    EXPECT_EQ(t.at("Nyuin_Shindanbi3"), "2021.01.01");
    // Only a mobile number given: it is the number the chart shows.
    EXPECT_EQ(t.at("PR_TelNo"), "090-1234-5678");
}

TEST(HeaderTextsTest, CutsNeverLeaveHalfACharacter) {
    // 39 bytes: 19 double-byte characters and the lead byte of a 20th, as a 40-byte cut of
    // the record may leave it; and a relationship longer than its 20 bytes.
    const std::string name = S("あいうえおかきくけこさしすせそたちつて") + "\x82";
    ChartRecord r = test::SampleRecord();
    r.PName.Assign(name);
    ChartLookupLists lists = test::BuiltInLookups();
    r.Rzokugara = 24; // 配偶者の兄弟姉妹 (16 bytes) fits; make it longer
    lists.Zokugara[24] = S("配偶者の兄弟姉妹の配偶者"); // 24 bytes
    TCaruteDate calendar;
    HeaderTexts t = PrepareHeaderTexts(r, lists, calendar, EncodeDate(2024, 5, 10));
    EXPECT_EQ(t.at("PR_Kanja_Name"), name.substr(0, 38));
    EXPECT_EQ(SjisToUtf8(t.at("Nyuin_RenrakuZoku")), "配偶者の兄弟姉妹の配");
    EXPECT_EQ(FitText(S("あいう"), 5), S("あい"));
    EXPECT_EQ(FitText("abc", 2), "ab");
}

} // namespace
} // namespace pendlar
