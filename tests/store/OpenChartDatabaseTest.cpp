#include "logs/Logs.h"
#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/NewChartDatabase.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

namespace pendlar {
namespace {

struct ScriptedPrompt : DatabasePathPrompt {
    std::deque<std::optional<std::string>> Answers; // empty queue: Cancel
    std::vector<std::string> Asked;
    std::optional<std::string> AskDatabasePath(const std::string& current) override {
        Asked.push_back(current);
        if (Answers.empty())
            return std::nullopt;
        std::optional<std::string> answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

struct RecordedChoices : LookupChoiceTarget {
    std::map<std::string, std::vector<std::string>> Filled;
    void ReplaceChoices(const std::string& combo, const std::vector<std::string>& items) override {
        Filled[combo] = items;
    }
};

// Two folders: `a` with a fresh database, `b` with only an unrelated file.
struct Folders {
    test::TempDir dir;
    std::string a = dir.Sjis("a");
    std::string b = dir.Sjis("b");
    std::string dbA = a + "/QuilmoCaruteDb.sqb";
    Folders() {
        std::filesystem::create_directories(dir.Path() / "a");
        test::WriteFile(dir.Path() / "a" / "other.txt", "x");
        test::WriteFile(dir.Path() / "b" / "other.txt", "x");
        EXPECT_TRUE(CreateChartDatabase(a).Ok);
    }
    void Sql(const std::string& sql) {
        Database db;
        db.SetFileName(dbA);
        ASSERT_TRUE(db.Execute(sql)) << db.LastError();
    }
};

const char* const kCancelAndQuit = "データベース設定をキャンセルします。\nシステムを終了します。";
const char* const kConnectError = "データベース接続エラー：データベースを再設定します。";

struct OpenCase {
    const char* Name;
    std::function<std::string(Folders&)> Setup; // returns DatabasePath
    std::function<std::deque<std::optional<std::string>>(Folders&)> Answers;
    bool Opened;
    std::vector<std::string> Messages; // UTF-8
    std::vector<std::string> LogLines; // UTF-8
    std::size_t Prompts;
    std::function<std::string(Folders&)> FinalPath;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.Name;
}

std::deque<std::optional<std::string>> Cancel(Folders&) {
    return {};
}
std::string Empty(Folders&) {
    return "";
}

class OpenChartDatabaseCases : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenChartDatabaseCases, EndsAsTheStartUpRequires) {
    const OpenCase& c = GetParam();
    Folders f;
    TRegistory settings;
    settings.DatabasePath = c.Setup(f);
    TLogs logs;
    ScriptedUserInterface ui;
    ScriptedPrompt prompt;
    prompt.Answers = c.Answers(f);
    ChartDatabase db;
    RecordedChoices choices;

    OpenDatabaseResult result = OpenChartDatabase(db, settings, logs, ui, prompt, &choices);

    EXPECT_EQ(result == OpenDatabaseResult::Opened, c.Opened);
    std::vector<std::string> messages;
    for (const auto& m : ui.Messages) {
        messages.push_back(SjisToUtf8(m.Text));
        EXPECT_EQ(m.Icon, MsgIcon::Error);
        EXPECT_EQ(m.Buttons, MsgButtons::Yes);
    }
    EXPECT_EQ(messages, c.Messages);
    std::vector<std::string> lines;
    for (const auto& l : logs.Error.Lines())
        lines.push_back(SjisToUtf8(l));
    EXPECT_EQ(lines, c.LogLines);
    EXPECT_EQ(prompt.Asked.size(), c.Prompts);
    EXPECT_EQ(settings.DatabasePath, c.FinalPath(f));
    if (c.Opened) {
        EXPECT_TRUE(db.CaruteDatabase.Connected());
        EXPECT_EQ(db.ZokugaraList.size(), 28u);
        EXPECT_EQ(choices.Filled["Hzokugara"], db.ZokugaraList);
        EXPECT_EQ(choices.Filled["Rzokugara"], db.ZokugaraList);
        EXPECT_EQ(choices.Filled["Gtenki14"], db.TenkiList);
        EXPECT_EQ(choices.Filled["Ntenki1"], db.TenkiList);
        EXPECT_EQ(choices.Filled["Ntenki"], db.NtenkiList);
        EXPECT_EQ(choices.Filled["NtenkiTo"], db.TenkisakiList);
        EXPECT_EQ(db.TenkiList, (std::vector<std::string>{SjisOf("治癒"), SjisOf("中断")}));
    }
    db.Close();
    EXPECT_FALSE(db.CaruteDatabase.Connected());
}

INSTANTIATE_TEST_SUITE_P(
    Branches, OpenChartDatabaseCases,
    testing::Values(
        OpenCase{"EmptyPathCancelled",
                 Empty,
                 Cancel,
                 false,
                 {kCancelAndQuit},
                 {"*** DataBase Path Error"},
                 1,
                 Empty},
        OpenCase{"FolderWithoutFileCancelled",
                 [](Folders& f) { return f.a + "/"; },
                 Cancel,
                 false,
                 {kCancelAndQuit},
                 {"*** DataBase not ExistError"},
                 1,
                 Empty},
        OpenCase{"ValidPath",
                 [](Folders& f) { return f.dbA; },
                 Cancel,
                 true,
                 {},
                 {},
                 0,
                 [](Folders& f) { return f.dbA; }},
        // Only the folder counts: another existing file there opens QuilmoCaruteDb.sqb.
        OpenCase{"OtherFileInTheFolder",
                 [](Folders& f) { return f.a + "/other.txt"; },
                 Cancel,
                 true,
                 {},
                 {},
                 0,
                 [](Folders& f) { return f.a + "/other.txt"; }},
        OpenCase{"EmptyPathAnswered",
                 Empty,
                 [](Folders& f) { return std::deque<std::optional<std::string>>{f.dbA}; },
                 true,
                 {},
                 {},
                 1,
                 [](Folders& f) { return f.dbA; }},
        OpenCase{"ConnectFailsCancelled",
                 [](Folders& f) { return f.b + "/other.txt"; },
                 Cancel,
                 false,
                 {kConnectError, kCancelAndQuit},
                 {"*** DataBase Connect Error"},
                 1,
                 Empty},
        // The path given after a failed connect is the one the lookups then use.
        OpenCase{"ConnectFailsThenAnotherDatabase",
                 [](Folders& f) { return f.b + "/other.txt"; },
                 [](Folders& f) { return std::deque<std::optional<std::string>>{f.dbA}; },
                 true,
                 {kConnectError},
                 {},
                 1,
                 [](Folders& f) { return f.dbA; }},
        OpenCase{"MissingTable",
                 [](Folders& f) {
                     f.Sql("DROP TABLE PDF_TENKI;");
                     return f.dbA;
                 },
                 Cancel,
                 false,
                 {"転帰テーブルオープンエラー：システムを終了します。"},
                 {"*** DataBase 転帰 Table Error"},
                 0,
                 Empty},
        OpenCase{"MissingTextColumn",
                 [](Folders& f) {
                     f.Sql("DROP TABLE PDF_NTENKI; CREATE TABLE PDF_NTENKI (TENKI INTEGER, X "
                           "TEXT); INSERT INTO PDF_NTENKI VALUES (1, 'a');");
                     return f.dbA;
                 },
                 Cancel,
                 false,
                 {"入院転帰テーブルオープンエラー：システムを終了します。"},
                 {"*** DataBase 入院転帰 Table Error"},
                 0,
                 Empty},
        OpenCase{"NotADatabase",
                 [](Folders& f) {
                     test::WriteFile(std::filesystem::path(f.b) / "QuilmoCaruteDb.sqb",
                                     std::string(2048, 'z'));
                     return f.b + "/QuilmoCaruteDb.sqb";
                 },
                 Cancel,
                 false,
                 {"続柄テーブルオープンエラー：システムを終了します。"},
                 {"*** DataBase 続柄 Table Error"},
                 0,
                 Empty}),
    [](const testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.Name); });

TEST(OpenChartDatabase, EmptyTableKeepsTheBuiltInChoicesAndOrderIsByTheOrderColumn) {
    Folders f;
    f.Sql("DELETE FROM PDF_FUTAN; DELETE FROM PDF_TENKISAKI;"
          "INSERT INTO PDF_TENKISAKI VALUES (2, 'second'), (1, 'first'), (3, NULL);");
    TRegistory settings;
    settings.DatabasePath = f.dbA;
    TLogs logs;
    ScriptedUserInterface ui;
    ScriptedPrompt prompt;
    ChartDatabase db;
    RecordedChoices choices;
    ASSERT_EQ(OpenChartDatabase(db, settings, logs, ui, prompt, &choices),
              OpenDatabaseResult::Opened);
    EXPECT_TRUE(db.FutanList.empty());
    EXPECT_EQ(choices.Filled.count("FFutanKubun"), 0u);
    EXPECT_EQ(db.TenkisakiList, (std::vector<std::string>{"first", "second", ""}));
    EXPECT_EQ(choices.Filled["NtenkiTo"], db.TenkisakiList);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(DatabasePathCommand, CancelLogsAndOkStoresForTheNextStart) {
    TRegistory settings;
    settings.DatabasePath = "/old/QuilmoCaruteDb.sqb";
    TLogs logs;
    ScriptedUserInterface ui;
    ScriptedPrompt prompt;
    DatabasePathCommand(settings, logs, ui, prompt);
    EXPECT_EQ(settings.DatabasePath, "/old/QuilmoCaruteDb.sqb");
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(SjisToUtf8(ui.Messages[0].Text), "データベース設定をキャンセルします。");
    EXPECT_EQ(ui.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(ui.Messages[0].Buttons, MsgButtons::Yes);
    EXPECT_EQ(logs.Error.Lines(), std::vector<std::string>{"* DataBase Setting is Cancel"});

    prompt.Answers = {std::string("no such place")}; // stored unchecked
    DatabasePathCommand(settings, logs, ui, prompt);
    EXPECT_EQ(settings.DatabasePath, "no such place");
    ASSERT_EQ(ui.Messages.size(), 2u);
    EXPECT_EQ(SjisToUtf8(ui.Messages[1].Text),
              "データベースの設定は、次回起動時に有効になります。");
    EXPECT_EQ(ui.Messages[1].Icon, MsgIcon::Information);
    EXPECT_EQ(prompt.Asked.back(), "/old/QuilmoCaruteDb.sqb");
    EXPECT_EQ(logs.Error.Lines().size(), 1u);
}

} // namespace
} // namespace pendlar
