// The two searches of the search window on a real database file: the statements they run,
// the Shift-JIS LIKE, and what comes back for keywords holding quotes, wildcards and
// characters that a byte-wise match confuses.
#include "SearchTestSupport.h"

#include "store/ChartSearch.h"
#include "store/Database.h"
#include "store/Query.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace pendlar {
namespace {

using Keys = std::array<std::string, kSearchKeyCount>;
using Found = std::set<std::pair<std::string, std::string>>; // (CARUTENO, CARUTESUBNO)

Keys KeysOf(std::initializer_list<std::pair<int, const char*>> set) {
    Keys keys;
    for (auto [n, utf8] : set)
        keys[static_cast<std::size_t>(n - 1)] = SjisOf(utf8);
    return keys;
}

Found Numbers(const ChartSearchResult& r) {
    Found found;
    for (const StoredChartRow& row : r.Rows)
        found.insert({row.CARUTENO, row.CARUTESUBNO});
    return found;
}

class ChartSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.SetFileName(test::MakeSampleDatabase(dir.Sjis()));
        ASSERT_TRUE(db.Connect()) << db.LastError();
    }
    test::TempDir dir;
    Database db;
};

TEST(KeywordStatement, OneBoundConditionPerFilledBoxInBoxOrder) {
    // Boxes 2, 5 and 6: three conditions in that order, "and " before the second and
    // third, the blank before ";" of the statement as it always was.
    std::optional<SearchStatement> s =
        KeywordSearchStatement(KeysOf({{6, "c"}, {2, "a"}, {5, "b"}}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->SQL, "Select * From PDF_PATH Where KEY2 Like ? and KEY5 Like ? and KEY6 Like ? ;");
    std::vector<std::string> patterns;
    for (const SqlValue& v : s->Params)
        patterns.push_back(std::get<std::string>(v));
    EXPECT_EQ(patterns, (std::vector<std::string>{"%a%", "%b%", "%c%"}));

    // A typed quote lands in the bound pattern only, never in the statement.
    s = KeywordSearchStatement(KeysOf({{8, "\"); DROP TABLE PDF_PATH; --'"}}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->SQL, "Select * From PDF_PATH Where KEY8 Like ? ;");
    EXPECT_EQ(std::get<std::string>(s->Params.at(0)), "%\"); DROP TABLE PDF_PATH; --'%");

    EXPECT_FALSE(KeywordSearchStatement(Keys{})) << "no filled box, no statement";
    EXPECT_EQ(PatientSearchStatement(1234567).SQL, "SELECT * FROM PDF_PATH WHERE CARUTENO = ?;");
}

TEST(SjisLike, WalksShiftJisCharacters) {
    struct Case {
        const char* Pattern;
        const char* Text;
        bool Match;
    } cases[] = {
        {"%ア%", "アレルギー", true},
        {"%ア%", "ヂ", false},    // 83 41 against 83 61: a trail byte is no letter
        {"%ア%", "ャA", false},   // 83 83 41: "ア" would straddle two characters
        {"%\\%", "ソ", false},    // 83 5C: a trail byte is no backslash
        {"%ct%", "CT検査", true}, // ASCII letters without regard to case
        {"%ａ%", "Ａ", false},    // full-width letters are compared exactly, as before
        {"_", "胃", true},        // "_" takes one whole character
        {"__", "胃", false},
        {"胃_", "胃癌", true},
        {"%癌", "胃癌", true},
        {"%胃", "胃癌", false},
        {"%", "", true},
        {"", "", true},
        {"%a%b%", "xaxxbx", true},
        {"%a%b%", "xbxxax", false},
        {"%O'B%", "O'Brien", true},
        {"%\"hi\"%", "say \"hi\"", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SjisLikeMatch(SjisOf(c.Pattern), SjisOf(c.Text)), c.Match)
            << c.Pattern << " LIKE " << c.Text;
    // A text ending in a lone lead byte (a keyword cut by bytes) is still matched safely.
    EXPECT_TRUE(SjisLikeMatch("%a%", "a\x83"));
    EXPECT_FALSE(SjisLikeMatch("%\x83%", "\x83\x41"));
    EXPECT_TRUE(SjisLikeMatch("%\x83", "a\x83"));
}

TEST_F(ChartSearchTest, SjisLikeAgreesWithSqliteOnSingleByteTexts) {
    // Where no double-byte character is involved the two must not differ: random patterns
    // and texts over a small alphabet, SQLite's own LIKE (on a connection without ours) as
    // the oracle.
    Database plain;
    plain.SetFileName(db.FileName());
    std::mt19937 random(11);
    const std::string patternChars = "aAb%_", textChars = "aAbB";
    auto make = [&](const std::string& alphabet, int maxLength) {
        std::string s(random() % static_cast<unsigned>(maxLength + 1), ' ');
        for (char& c : s)
            c = alphabet[random() % alphabet.size()];
        return s;
    };
    int disagreements = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string pattern = make(patternChars, 6), text = make(textChars, 8);
        Query q(plain);
        q.SQL = "SELECT ? LIKE ? AS M;";
        q.Params = {text, pattern};
        ASSERT_TRUE(q.Open()) << q.LastError();
        const bool sqlite = q.FieldInteger("M").value_or(-1) == 1;
        if (SjisLikeMatch(pattern, text) != sqlite && ++disagreements < 5)
            ADD_FAILURE() << "'" << text << "' LIKE '" << pattern << "': SQLite says " << sqlite;
    }
    EXPECT_EQ(disagreements, 0);
}

TEST_F(ChartSearchTest, KeywordSearchFindsWhatWasTyped) {
    struct Case {
        const char* Why;
        Keys Typed;
        Found Expected;
    } cases[] = {
        {"substring in KEY1", KeysOf({{1, "胃"}}), {{"1234567", "0"}, {"99999999", "999"}}},
        {"every filled box must match", KeysOf({{1, "胃"}, {5, "100"}}), {{"99999999", "999"}}},
        {"no byte-wise false finds", KeysOf({{1, "ア"}}), {}},
        {"single quote", KeysOf({{2, "O'B"}}), {{"1234567", "0"}}},
        {"double quotes", KeysOf({{2, "\"hi\""}}), {{"1234567", "1"}}},
        {"a lone double quote", KeysOf({{2, "\""}}), {{"1234567", "1"}}},
        {"ASCII case folded", KeysOf({{2, "ct"}}), {{"7", "0"}}},
        {"backslash is a plain character", KeysOf({{2, "\\old"}}), {{"42", "3"}}},
        {"'_' still takes one character", KeysOf({{6, "_"}}), {{"99999999", "999"}}},
        {"'%' still takes any run", KeysOf({{1, "胃%癌"}}), {{"1234567", "0"}}},
        {"nothing there", KeysOf({{3, "x"}}), {}},
    };
    for (const Case& c : cases) {
        ChartSearchResult r = SearchByKeywords(db, c.Typed);
        ASSERT_TRUE(r.Ok) << c.Why << ": " << r.Error;
        EXPECT_EQ(Numbers(r), c.Expected) << c.Why;
    }
}

TEST_F(ChartSearchTest, PatientSearchReadsEveryColumnAsStored) {
    ChartSearchResult r = SearchByPatient(db, 1234567);
    ASSERT_TRUE(r.Ok) << r.Error;
    ASSERT_EQ(r.Rows.size(), 2u);
    const StoredChartRow& first = r.Rows[0].CARUTESUBNO == "0" ? r.Rows[0] : r.Rows[1];
    EXPECT_EQ(first.CARUTEDATE, "2024/05/03 9:05:07");
    EXPECT_EQ(first.CARUTENO, "1234567");
    EXPECT_EQ(first.FILEPATH, "/charts/01/23/45/67/HP1_1234567_0_0.pdf");
    EXPECT_EQ(first.FILENAME, "HP1_1234567_0_0.pdf");
    EXPECT_EQ(first.KEY[0], SjisOf("胃癌"));
    EXPECT_EQ(first.KEY[1], "O'Brien");
    EXPECT_EQ(first.KEY[2], "");
    EXPECT_EQ(first.KEY[7], SjisOf("八"));

    EXPECT_EQ(Numbers(SearchByPatient(db, 99999999)), (Found{{"99999999", "999"}}));
    ChartSearchResult none = SearchByPatient(db, 5);
    EXPECT_TRUE(none.Ok);
    EXPECT_TRUE(none.Rows.empty());
}

TEST_F(ChartSearchTest, ABrokenTableIsAFailedSearchNotAnEmptyOne) {
    Database broken;
    std::string file = dir.Sjis("nokey8.sqb");
    test::WriteFile(dir.Path() / "nokey8.sqb", "");
    broken.SetFileName(file);
    ASSERT_TRUE(broken.Connect());
    ChartSearchResult noTable = SearchByPatient(broken, 1);
    EXPECT_FALSE(noTable.Ok);
    EXPECT_NE(noTable.Error.find("PDF_PATH"), std::string::npos) << noTable.Error;

    ASSERT_TRUE(
        broken.Execute("CREATE TABLE PDF_PATH (CARUTENO INTEGER, CARUTESUBNO INTEGER, "
                       "CARUTEDATE TEXT, FILEPATH TEXT, INETPATH TEXT, FILENAME TEXT, "
                       "KEY1 TEXT, KEY2 TEXT, KEY3 TEXT, KEY4 TEXT, KEY5 TEXT, KEY6 TEXT, "
                       "KEY7 TEXT); INSERT INTO PDF_PATH (CARUTENO, KEY1) VALUES (1, 'a');"));
    ChartSearchResult noKey8 = SearchByKeywords(broken, KeysOf({{1, "a"}}));
    EXPECT_FALSE(noKey8.Ok);
    EXPECT_EQ(noKey8.Error, "no such column: KEY8");
    EXPECT_TRUE(noKey8.Rows.empty());
}

TEST_F(ChartSearchTest, TheSearchLeavesNoReadLockBehind) {
    // The billing system writes PDF_DATA from another connection; an open search must not
    // keep it waiting.
    Query kept(db);
    ASSERT_TRUE(RunChartSearch(kept, *KeywordSearchStatement(KeysOf({{1, "胃"}}))).Ok);
    EXPECT_FALSE(kept.Active());
    Database other;
    other.SetFileName(db.FileName());
    other.SetBusyTimeout(0);
    EXPECT_TRUE(other.Execute("INSERT INTO PDF_DATA (KANJAID, IJIDATA) VALUES (1, x'00');"))
        << other.LastError();
}

} // namespace
} // namespace pendlar
