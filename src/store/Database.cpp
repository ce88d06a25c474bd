#include "store/Database.h"

#include "store/Statement.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <sqlite3.h>

namespace pendlar {

Database::~Database() {
    Disconnect();
}

bool Database::Fail(const std::string& message) {
    lastError_ = message;
    return false;
}

bool Database::Connect() {
    if (db_)
        return true;
    // No SQLITE_OPEN_CREATE: opening a path without a database must not leave an empty
    // file there that the next start would take for the real one.
    if (!FileExists(fileName_))
        return Fail("no database file: " + SjisToUtf8(fileName_));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(FsPath(fileName_).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        return Fail(message);
    }
    sqlite3_busy_timeout(db, busyTimeoutMs_);
    sqlite3_extended_result_codes(db, 1);
    db_ = db;
    lastError_.clear();
    return true;
}

void Database::Disconnect() {
    if (!db_)
        return;
    // close_v2 keeps the handle alive while statements are still open; they finalize it.
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool Database::EnsureConnected() {
    return db_ || Connect();
}

bool Database::Execute(const std::string& sql) {
    if (!EnsureConnected())
        return false;
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        return Fail(text);
    }
    return true;
}

bool Database::Prepare(const std::string& sql, Statement& statement) {
    statement.Finalize();
    if (!EnsureConnected())
        return false;
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        return Fail(sqlite3_errmsg(db_));
    if (!stmt)
        return Fail("no SQL statement");
    statement.stmt_ = stmt;
    return true;
}

} // namespace pendlar
