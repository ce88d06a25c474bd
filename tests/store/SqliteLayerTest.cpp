#include "store/Database.h"
#include "store/Query.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace pendlar {
namespace {

// A database file with one table, made through the layer itself.
std::string MakeDatabase(const test::TempDir& dir) {
    std::string path = dir.Sjis("t.sqb");
    test::WriteFile(dir.Path() / "t.sqb", ""); // an empty file is an empty database
    Database db;
    db.SetFileName(path);
    EXPECT_TRUE(db.Execute("CREATE TABLE T (NO INTEGER, NAME TEXT, DATA BLOB);"));
    return path;
}

TEST(SqliteLayer, BoundValuesComeBackByteForByte) {
    test::TempDir dir;
    Database db;
    db.SetFileName(MakeDatabase(dir));
    Query insert(db);
    insert.SQL = "INSERT INTO T (NO, NAME, DATA) VALUES (?1, ?2, ?3);";
    // A quote, a Shift-JIS text whose second byte is a backslash, and a blob with NULs.
    const std::string name = "O'Brien " + SjisOf("表示");
    const std::string blob("\0\x01\xff\0", 4);
    insert.Params = {std::int64_t{99999999}, name, SqlBlob{blob}};
    ASSERT_TRUE(insert.ExecSQL()) << insert.LastError();
    insert.Params = {std::int64_t{2}, std::monostate{}, SqlBlob{""}};
    ASSERT_TRUE(insert.ExecSQL()) << insert.LastError();

    Query select(db);
    select.SQL = "SELECT * FROM T ORDER BY NO DESC;";
    ASSERT_TRUE(select.Open()) << select.LastError();
    ASSERT_FALSE(select.Eof());
    EXPECT_EQ(select.FieldInteger("no"), 99999999); // names compare without case
    EXPECT_EQ(select.FieldText("Name"), name);
    EXPECT_EQ(select.FieldBlob("DATA"), blob);
    EXPECT_EQ(select.FieldText("MISSING"), std::nullopt);
    ASSERT_TRUE(select.Next());
    EXPECT_EQ(select.FieldText("NAME"), ""); // NULL reads as an empty text
    EXPECT_EQ(select.FieldBlob("DATA"), "");
    ASSERT_TRUE(select.Next());
    EXPECT_TRUE(select.Eof());
    EXPECT_EQ(select.FieldText("NAME"), std::nullopt); // no row, no value
    select.Close();
    EXPECT_FALSE(select.Active());
}

TEST(SqliteLayer, IntegerFieldRejectsTextThatIsNoNumber) {
    test::TempDir dir;
    Database db;
    db.SetFileName(MakeDatabase(dir));
    ASSERT_TRUE(db.Execute("INSERT INTO T VALUES ('12', 'abc', NULL);"));
    Query q(db);
    q.SQL = "SELECT NO, NAME, DATA FROM T;";
    ASSERT_TRUE(q.Open());
    EXPECT_EQ(q.FieldInteger("NO"), 12);
    EXPECT_EQ(q.FieldInteger("NAME"), std::nullopt);
    EXPECT_EQ(q.FieldInteger("DATA"), 0);
}

TEST(SqliteLayer, FailuresAreReportedAndMissingFilesStayMissing) {
    test::TempDir dir;
    Database db;
    db.SetFileName(dir.Sjis("absent.sqb"));
    Query q(db);
    q.SQL = "SELECT 1;";
    EXPECT_FALSE(q.Open());
    EXPECT_FALSE(q.LastError().empty());
    EXPECT_FALSE(db.Connected());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "absent.sqb"));

    db.SetFileName(MakeDatabase(dir));
    q.SQL = "SELECT * FROM NOSUCH;";
    EXPECT_FALSE(q.Open());
    EXPECT_NE(q.LastError().find("NOSUCH"), std::string::npos);
    EXPECT_FALSE(q.Active());
    // Opening a query connects the closed connection first.
    db.Disconnect();
    q.SQL = "SELECT COUNT(*) AS N FROM T;";
    ASSERT_TRUE(q.Open());
    EXPECT_EQ(q.FieldInteger("N"), 0);

    // A file that is not a database opens but fails at the first statement.
    test::WriteFile(dir.Path() / "junk.sqb", std::string(4096, 'x'));
    Database junk;
    junk.SetFileName(dir.Sjis("junk.sqb"));
    EXPECT_FALSE(junk.Execute("SELECT * FROM sqlite_master;"));
}

// The billing system writes the same file: a statement that meets its lock must wait for
// it instead of failing at once.
TEST(SqliteLayer, StatementWaitsForAnotherWritersLock) {
    test::TempDir dir;
    const std::string path = MakeDatabase(dir);
    for (int timeout : {0, Database::kDefaultBusyTimeoutMs}) {
        SCOPED_TRACE(timeout);
        Database other;
        other.SetFileName(path);
        ASSERT_TRUE(other.Execute("BEGIN IMMEDIATE; INSERT INTO T (NO) VALUES (1);"));
        std::thread release([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.Execute("COMMIT;");
        });
        Database db;
        db.SetFileName(path);
        db.SetBusyTimeout(timeout);
        bool written = db.Execute("INSERT INTO T (NO) VALUES (2);");
        release.join();
        EXPECT_EQ(written, timeout > 0) << db.LastError();
    }
}

} // namespace
} // namespace pendlar
