// The connection to one SQLite database file, over the system SQLite library.
//
// The connection remembers its file, so a query opened while it is closed can connect
// first. It opens existing files only: a missing file is reported as a failure instead of
// leaving an empty database behind. Every failure is returned to the caller together with
// SQLite's message; nothing here throws.
#pragma once

#include <string>

struct sqlite3;

namespace pendlar {

class Statement;

class Database {
public:
    // Another program (the billing system) writes the same file; a statement that meets
    // its lock waits this long before it gives up.
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The database file (Shift-JIS path). Takes effect at the next Connect.
    void SetFileName(const std::string& sjisPath) { fileName_ = sjisPath; }
    const std::string& FileName() const { return fileName_; }
    void SetBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }

    // Opens the file read-write. False when it is missing or cannot be opened.
    bool Connect();
    bool Connected() const { return db_ != nullptr; }
    // Closes the connection; statements still open keep it alive until they are closed.
    void Disconnect();

    // Runs SQL text that returns no rows (one or more statements), connecting first.
    bool Execute(const std::string& sql);
    // Prepares one statement, connecting first.
    bool Prepare(const std::string& sql, Statement& statement);

    bool BeginTransaction() { return Execute("begin transaction"); }
    bool CommitTransaction() { return Execute("commit transaction"); }
    bool RollbackTransaction() { return Execute("rollback transaction"); }

    // The message of the last failure (SQLite's own text, or ours for a missing file).
    const std::string& LastError() const { return lastError_; }

    sqlite3* Handle() const { return db_; }

private:
    bool EnsureConnected();
    bool Fail(const std::string& message);

    sqlite3* db_ = nullptr;
    std::string fileName_;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
    std::string lastError_;
};

} // namespace pendlar
