#include "store/NewChartDatabase.h"
#include "store/ChartDatabase.h"
#include "store/Database.h"
#include "store/LookupTables.h"
#include "store/Query.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace pendlar {
namespace {

// Column name → declared type of a table, read back from the file.
std::map<std::string, std::string> Columns(Database& db, const std::string& table) {
    std::map<std::string, std::string> columns;
    Query q(db);
    q.SQL = "PRAGMA table_info(" + table + ");";
    EXPECT_TRUE(q.Open()) << q.LastError();
    for (; !q.Eof(); q.Next())
        columns[*q.FieldText("name")] = *q.FieldText("type");
    return columns;
}

TEST(NewChartDatabase, HoldsEveryTableColumnAndIndexTheProgramUses) {
    test::TempDir dir;
    NewDatabaseResult result = CreateChartDatabase(dir.Sjis());
    ASSERT_TRUE(result.Ok) << SjisToUtf8(result.Message);
    EXPECT_EQ(result.Path, dir.Sjis("QuilmoCaruteDb.sqb"));

    Database db;
    db.SetFileName(result.Path);
    std::map<std::string, std::string> path = Columns(db, "PDF_PATH");
    for (const char* c : {"CARUTENO", "CARUTESUBNO"})
        EXPECT_EQ(path[c], "INTEGER") << c;
    for (const char* c : {"CARUTEDATE", "FILEPATH", "INETPATH", "FILENAME", "KEY1", "KEY2", "KEY3",
                          "KEY4", "KEY5", "KEY6", "KEY7", "KEY8"})
        EXPECT_EQ(path[c], "TEXT") << c;
    EXPECT_EQ(path.size(), 14u);
    EXPECT_EQ(Columns(db, "PDF_DATA"),
              (std::map<std::string, std::string>{{"KANJAID", "INTEGER"}, {"IJIDATA", "BLOB"}}));

    Query indexes(db);
    indexes.SQL = "SELECT tbl_name, sql FROM sqlite_master WHERE type = 'index' ORDER BY name;";
    ASSERT_TRUE(indexes.Open());
    std::vector<std::string> found;
    for (; !indexes.Eof(); indexes.Next())
        found.push_back(*indexes.FieldText("sql"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NE(found[0].find("PDF_DATA (KANJAID)"), std::string::npos) << found[0];
    EXPECT_NE(found[1].find("PDF_PATH (CARUTENO, CARUTESUBNO)"), std::string::npos) << found[1];

    // Each lookup table holds the header tabs' own choices, as Shift-JIS, in order, and the
    // start-up query reads them back in that order.
    for (const LookupTableInfo& info : LookupTables()) {
        SCOPED_TRACE(info.Table);
        std::map<std::string, std::string> columns = Columns(db, info.Table);
        EXPECT_EQ(columns[info.OrderColumn], "INTEGER");
        EXPECT_EQ(columns[info.TextColumn], "TEXT");
        Query q(db);
        q.SQL = info.Sql;
        ASSERT_TRUE(q.Open()) << q.LastError();
        std::vector<std::string> texts;
        for (; !q.Eof(); q.Next())
            texts.push_back(SjisToUtf8(*q.FieldText(info.TextColumn)));
        std::vector<std::string> expected(info.BuiltInChoices.begin(), info.BuiltInChoices.end());
        EXPECT_EQ(texts, expected);
    }
    EXPECT_EQ(LookupTables()[0].BuiltInChoices.size(), 28u);
}

TEST(NewChartDatabase, NeverOverwritesAndNamesTheReason) {
    test::TempDir dir;
    test::WriteFile(dir.Path() / "QuilmoCaruteDb.sqb", "the clinic's charts");
    NewDatabaseResult exists = CreateChartDatabase(dir.Sjis());
    EXPECT_FALSE(exists.Ok);
    EXPECT_NE(SjisToUtf8(exists.Message).find("既にあります"), std::string::npos);
    EXPECT_EQ(test::ReadFile(dir.Path() / "QuilmoCaruteDb.sqb"), "the clinic's charts");

    NewDatabaseResult missing = CreateChartDatabase(dir.Sjis("no/such/folder"));
    EXPECT_FALSE(missing.Ok);
    EXPECT_NE(SjisToUtf8(missing.Message).find("フォルダーがありません"), std::string::npos);

    // Nothing is left behind by either attempt: no temporary file, no new folder.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(DbCreateCommand, MakesAFileThatSqliteOpensAndRefusesASecondTime) {
    test::TempDir dir;
    const std::string tool = PENDLAR_TOOL;
    const std::string folder = (dir.Path() / "新しいフォルダー").string();
    std::filesystem::create_directory(folder);
    std::string out;
    ASSERT_EQ(test::RunCommand(tool + " db-create '" + folder + "'", &out), 0);
    EXPECT_EQ(out, folder + "/QuilmoCaruteDb.sqb\n");

    if (test::HaveProgram("sqlite3")) {
        std::string tables, indexes;
        const std::string db = "'" + folder + "/QuilmoCaruteDb.sqb'";
        ASSERT_EQ(test::RunCommand("sqlite3 " + db + " .tables", &tables), 0);
        for (const char* t : {"PDF_DATA", "PDF_FUTAN", "PDF_NTENKI", "PDF_PATH", "PDF_RZOKUGARA",
                              "PDF_TENKI", "PDF_TENKISAKI"})
            EXPECT_NE(tables.find(t), std::string::npos) << t;
        ASSERT_EQ(test::RunCommand("sqlite3 " + db + " .indexes", &indexes), 0);
        EXPECT_NE(indexes.find("PDF_PATH_CARUTE"), std::string::npos);
        EXPECT_NE(indexes.find("PDF_DATA_KANJAID"), std::string::npos);
        std::string check;
        ASSERT_EQ(test::RunCommand("sqlite3 " + db + " 'PRAGMA integrity_check;'", &check), 0);
        EXPECT_EQ(check, "ok\n");
    }

    EXPECT_EQ(test::RunCommand(tool + " db-create '" + folder + "' 2>/dev/null"), 1);
    EXPECT_EQ(test::RunCommand(tool + " db-create 2>/dev/null"), 2);
    EXPECT_EQ(test::RunCommand(tool + " db-create a b 2>/dev/null"), 2);
}

} // namespace
} // namespace pendlar
