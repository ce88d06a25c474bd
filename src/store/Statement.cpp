#include "store/Statement.h"

#include <sqlite3.h>

#include <charconv>
#include <utility>

namespace pendlar {
namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

Statement::~Statement() {
    Finalize();
}

Statement::Statement(Statement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), lastError_(std::move(other.lastError_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Finalize();
        stmt_ = std::exchange(other.stmt_, nullptr);
        lastError_ = std::move(other.lastError_);
    }
    return *this;
}

void Statement::Finalize() {
    if (stmt_)
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

bool Statement::Check(int rc) {
    if (rc == SQLITE_OK)
        return true;
    lastError_ = stmt_ ? sqlite3_errmsg(sqlite3_db_handle(stmt_)) : sqlite3_errstr(rc);
    return false;
}

bool Statement::BindNull(int index) {
    return stmt_ && Check(sqlite3_bind_null(stmt_, index));
}

bool Statement::BindInteger(int index, std::int64_t value) {
    return stmt_ && Check(sqlite3_bind_int64(stmt_, index, value));
}

bool Statement::BindText(int index, std::string_view text) {
    return stmt_ && Check(sqlite3_bind_text64(stmt_, index, text.data(), text.size(),
                                              SQLITE_TRANSIENT, SQLITE_UTF8));
}

bool Statement::BindBlob(int index, std::string_view bytes) {
    // A zero-length blob must still be a blob, not NULL: SQLite takes a null pointer as NULL.
    static const char kEmpty = 0;
    return stmt_ && Check(sqlite3_bind_blob64(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(),
                                              bytes.size(), SQLITE_TRANSIENT));
}

Statement::StepResult Statement::Step() {
    if (!stmt_) {
        lastError_ = "statement not prepared";
        return StepResult::Error;
    }
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return StepResult::Row;
    if (rc == SQLITE_DONE)
        return StepResult::Done;
    lastError_ = sqlite3_errmsg(sqlite3_db_handle(stmt_));
    return StepResult::Error;
}

bool Statement::Reset() {
    return stmt_ && Check(sqlite3_reset(stmt_));
}

int Statement::ColumnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

std::string Statement::ColumnName(int index) const {
    const char* name = stmt_ ? sqlite3_column_name(stmt_, index) : nullptr;
    return name ? name : "";
}

int Statement::ColumnIndex(std::string_view name) const {
    for (int i = 0; i < ColumnCount(); ++i)
        if (EqualsIgnoringAsciiCase(ColumnName(i), name))
            return i;
    return -1;
}

bool Statement::ColumnIsNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

std::string Statement::ColumnText(int index) const {
    const unsigned char* text = sqlite3_column_text(stmt_, index);
    if (!text)
        return "";
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index)));
}

std::string Statement::ColumnBlob(int index) const {
    const void* data = sqlite3_column_blob(stmt_, index);
    if (!data)
        return "";
    return std::string(static_cast<const char*>(data),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index)));
}

std::optional<std::int64_t> Statement::ColumnInteger(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt_, index);
    case SQLITE_FLOAT:
        return static_cast<std::int64_t>(sqlite3_column_double(stmt_, index));
    case SQLITE_TEXT: {
        std::string text = ColumnText(index);
        std::int64_t value = 0;
        const char* first = text.data();
        const char* last = text.data() + text.size();
        if (first != last && *first == '+')
            ++first;
        auto [end, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || end != last || first == last)
            return std::nullopt;
        return value;
    }
    default:
        return std::nullopt;
    }
}

} // namespace pendlar
