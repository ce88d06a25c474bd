// A query object on the chart database connection: SQL text set by a flow, opened to walk
// its rows from the first, or executed when it returns none.
//
// Opening a query while the connection is closed connects first. Fields are read by name
// from the current row; a missing field, a missing row or a value of the wrong kind is a
// failure the caller sees (nullopt), never undefined behaviour.
#pragma once

#include "store/Statement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pendlar {

class Database;

// A parameter value: NULL, an integer, a text or a blob.
struct SqlBlob {
    std::string Bytes;
};
using SqlValue = std::variant<std::monostate, std::int64_t, std::string, SqlBlob>;

class Query {
public:
    explicit Query(Database& database) : database_(database) {}
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // The statement text and its parameters (Params[0] binds to "?1").
    std::string SQL;
    std::vector<SqlValue> Params;

    // Runs SQL and stands on its first row (Eof when there is none).
    bool Open();
    // Runs SQL that returns no rows. Without parameters the text may hold several statements.
    bool ExecSQL();
    bool Active() const { return active_; }
    bool Eof() const { return eof_; }
    // Moves to the next row; false on a read failure (the query stays on Eof).
    bool Next();
    void Close();

    std::optional<std::string> FieldText(const std::string& name) const;
    std::optional<std::int64_t> FieldInteger(const std::string& name) const;
    std::optional<std::string> FieldBlob(const std::string& name) const;

    const std::string& LastError() const { return lastError_; }

private:
    bool Fail(const std::string& message);
    bool Prepare();
    int CurrentField(const std::string& name) const;

    Database& database_;
    Statement statement_;
    bool active_ = false;
    bool eof_ = true;
    std::string lastError_;
};

} // namespace pendlar
