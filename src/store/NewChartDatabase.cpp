#include "store/NewChartDatabase.h"

#include "store/ChartDatabase.h"
#include "store/Database.h"
#include "store/LookupTables.h"
#include "store/Statement.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace pendlar {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE PDF_PATH (
    CARUTENO    INTEGER NOT NULL,
    CARUTESUBNO INTEGER NOT NULL,
    CARUTEDATE  TEXT,
    FILEPATH    TEXT,
    INETPATH    TEXT,
    FILENAME    TEXT,
    KEY1 TEXT, KEY2 TEXT, KEY3 TEXT, KEY4 TEXT,
    KEY5 TEXT, KEY6 TEXT, KEY7 TEXT, KEY8 TEXT
);
CREATE INDEX PDF_PATH_CARUTE ON PDF_PATH (CARUTENO, CARUTESUBNO);
CREATE TABLE PDF_DATA (
    KANJAID INTEGER NOT NULL,
    IJIDATA BLOB
);
CREATE INDEX PDF_DATA_KANJAID ON PDF_DATA (KANJAID);
CREATE TABLE PDF_RZOKUGARA (ZOKUNO INTEGER, ZOKUSTR TEXT);
CREATE TABLE PDF_NTENKI (TENKI INTEGER, TenkiStr TEXT);
CREATE TABLE PDF_TENKISAKI (TENKI INTEGER, TENKISAKISTR TEXT);
CREATE TABLE PDF_TENKI (TENKI INTEGER, TENKISTR TEXT);
CREATE TABLE PDF_FUTAN (FUTAN INTEGER, FUTANSTR TEXT);
)sql";

NewDatabaseResult Failure(NewDatabaseResult result, const std::string& utf8Message) {
    result.Ok = false;
    result.Message = SjisOf(utf8Message);
    return result;
}

bool FillTables(const std::string& sjisFile, std::string& error) {
    Database db;
    db.SetFileName(sjisFile);
    if (!db.Connect() || !db.BeginTransaction() || !db.Execute(kSchema)) {
        error = db.LastError();
        return false;
    }
    for (const LookupTableInfo& info : LookupTables()) {
        Statement insert;
        std::string sql = std::string("INSERT INTO ") + info.Table + " (" + info.OrderColumn +
                          ", " + info.TextColumn + ") VALUES (?1, ?2);";
        if (!db.Prepare(sql, insert)) {
            error = db.LastError();
            return false;
        }
        int order = 1;
        for (const char* choice : info.BuiltInChoices) {
            // Stored texts are Shift-JIS, like everything the billing system writes.
            if (!insert.Reset() || !insert.BindInteger(1, order++) ||
                !insert.BindText(2, SjisOf(choice)) ||
                insert.Step() != Statement::StepResult::Done) {
                error = insert.LastError();
                return false;
            }
        }
    }
    if (!db.CommitTransaction()) {
        error = db.LastError();
        return false;
    }
    return true;
}

std::string TemporaryName(const std::string& folder) {
    static std::mt19937 random(std::random_device{}());
    return folder + "." + kChartDatabaseFileName + "." + std::to_string(getpid()) + "." +
           std::to_string(random() % 1000000u);
}

} // namespace

const char* ChartDatabaseSchema() {
    return kSchema;
}

NewDatabaseResult CreateChartDatabase(const std::string& sjisFolder) {
    std::string folder = sjisFolder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    NewDatabaseResult result;
    result.Path = folder + kChartDatabaseFileName;
    if (folder.empty() || !FolderExists(folder))
        return Failure(result, "フォルダーがありません：" + SjisToUtf8(sjisFolder));
    if (FileExists(result.Path) || FolderExists(result.Path))
        return Failure(result,
                       "データベースは既にあります。上書きしません：" + SjisToUtf8(result.Path));

    // An empty file is an empty SQLite database; creating it exclusively reserves the name.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = TemporaryName(folder);
        fd = open(FsPath(temp).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Failure(result, "データベースを作成できません：" + SjisToUtf8(result.Path));
    close(fd);

    std::string error;
    if (!FillTables(temp, error)) {
        unlink(FsPath(temp).c_str());
        return Failure(result, "データベースを作成できません：" + SjisToUtf8(result.Path) + " (" +
                                   error + ")");
    }
    // link() fails when the name exists, so a file that appeared meanwhile is kept. A
    // file system without hard links gets the plain test-then-rename.
    std::string target = FsPath(result.Path).string();
    bool placed = link(FsPath(temp).c_str(), target.c_str()) == 0;
    int linkError = placed ? 0 : errno;
    if (!placed && linkError != EEXIST && !FileExists(result.Path))
        placed = rename(FsPath(temp).c_str(), target.c_str()) == 0;
    unlink(FsPath(temp).c_str());
    if (!placed) {
        if (linkError == EEXIST)
            return Failure(result, "データベースは既にあります。上書きしません：" +
                                       SjisToUtf8(result.Path));
        return Failure(result, "データベースを作成できません：" + SjisToUtf8(result.Path));
    }
    result.Ok = true;
    return result;
}

} // namespace pendlar
