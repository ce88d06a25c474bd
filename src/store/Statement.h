// One prepared SQLite statement, finalized when the object goes away.
//
// Values typed by a person are bound as parameters (1-based, as SQLite counts them); the
// SQL text itself is never built from them. Columns are read by index or by name, as
// text (Shift-JIS bytes, unchanged), integer or blob.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace pendlar {

class Statement {
public:
    enum class StepResult { Row, Done, Error };

    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Prepared() const { return stmt_ != nullptr; }
    void Finalize();

    bool BindNull(int index);
    bool BindInteger(int index, std::int64_t value);
    bool BindText(int index, std::string_view text);
    bool BindBlob(int index, std::string_view bytes);

    StepResult Step();
    // Back to before the first row; the bindings stay.
    bool Reset();

    int ColumnCount() const;
    std::string ColumnName(int index) const;
    // The index of a column by its name, compared without regard to ASCII case as SQL
    // does; -1 when there is none.
    int ColumnIndex(std::string_view name) const;
    bool ColumnIsNull(int index) const;
    // NULL reads as "" / 0.
    std::string ColumnText(int index) const;
    std::string ColumnBlob(int index) const;
    // An integer column, or a text that is a whole decimal number; nullopt for anything
    // else (a blob, a text that is no number).
    std::optional<std::int64_t> ColumnInteger(int index) const;

    const std::string& LastError() const { return lastError_; }

private:
    friend class Database;
    bool Check(int rc);

    sqlite3_stmt* stmt_ = nullptr;
    std::string lastError_;
};

} // namespace pendlar
