// pendlar-tool find: the searches of the search window from the command line, on the
// database named by the profile's DatabasePath.
#include "SearchTestSupport.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

class FindToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "db");
        test::MakeSampleDatabase(dir.Sjis("db"));
        SetDatabasePath((dir.Path() / "db" / "QuilmoCaruteDb.sqb").string());
    }
    void SetDatabasePath(const std::string& path) {
        ASSERT_EQ(Tool("settings --set 'DatabasePath=" + path + "'"), 0);
    }
    int Tool(const std::string& args, std::string* out = nullptr) {
        if (out)
            out->clear();
        return test::RunCommand(std::string(PENDLAR_TOOL) + " " + args + " --profile '" +
                                    dir.Path().string() + "' 2>&1",
                                out);
    }
    test::TempDir dir;
};

TEST_F(FindToolTest, PrintsOneTabSeparatedLinePerRow) {
    std::string out;
    ASSERT_EQ(Tool("find --patient 7", &out), 0) << out;
    EXPECT_EQ(out,
              "2025/01/09\t7\t0\t/charts/00/00/00/07/HP1_7_0_0.pdf\tャA\tCT検査\t\t\t\t\t\t\n");

    ASSERT_EQ(Tool("find --key2 '\"hi\"'", &out), 0) << out;
    EXPECT_EQ(out, "2024/06/01 10:00:00\t1234567\t1\t/charts/01/23/45/67/HP1_1234567_1_0.pdf\tヂ"
                   "\tsay \"hi\"\t\t\t\t\t\t\n");

    // Tabs, line breaks and backslashes inside a field keep the row on one line.
    ASSERT_EQ(Tool("find --key2 old", &out), 0) << out;
    EXPECT_EQ(out, "2025/03/01 8:00:00\t42\t3\t/charts/00/00/00/42/HP1_42_3_0.pdf"
                   "\tタブ\\tと\\n改行\tC:\\\\old\\\\path\t\t\t\t\t\t\n");

    ASSERT_EQ(Tool("find --key1 胃 --key5 100", &out), 0) << out;
    EXPECT_EQ(out.rfind("2025/02/28 23:59:59\t99999999\t999\t", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);

    ASSERT_EQ(Tool("find --patient 1234567", &out), 0) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2);
    ASSERT_EQ(Tool("find --patient 0", &out), 0);
    EXPECT_EQ(out, "") << "no row is an empty answer, not a failure";
}

TEST_F(FindToolTest, FailuresAndUsage) {
    struct Case {
        std::string Args;
        int Exit;
        const char* Says;
    } cases[] = {
        {"find", 2, "検索のキーを設定してください。"},
        {"find --key3 ''", 2, "検索のキーを設定してください。"},
        {"find --patient 12a", 2, "患者番号に誤りがあります。"},
        {"find --patient 100000000", 2, "患者番号の範囲を越えています。"},
        {"find --patient -1", 2, "患者番号の範囲を越えています。"},
        {"find --patient 1 --key1 a", 2, "not both"},
        {"find --key9 a", 2, "unknown option --key9"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(Tool(c.Args, &out), c.Exit) << c.Args;
        EXPECT_NE(out.find(c.Says), std::string::npos) << c.Args << ": " << out;
    }

    // A database that cannot be opened: the search's own message, one line.
    SetDatabasePath((dir.Path() / "nowhere" / "QuilmoCaruteDb.sqb").string());
    std::string out;
    EXPECT_EQ(Tool("find --patient 7", &out), 1);
    EXPECT_EQ(out.rfind("pendlar-tool: DB System エラー(カルテ)", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(Tool("find --key1 a", &out), 1);
    EXPECT_EQ(
        out.rfind("pendlar-tool: 検索でエラーが発生しました。 データベースを確認してください。", 0),
        0u)
        << out;
}

} // namespace
} // namespace pendlar
