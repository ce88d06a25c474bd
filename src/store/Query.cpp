#include "store/Query.h"

#include "store/Database.h"

namespace pendlar {

bool Query::Fail(const std::string& message) {
    lastError_ = message;
    return false;
}

bool Query::Prepare() {
    Close();
    if (!database_.Prepare(SQL, statement_))
        return Fail(database_.LastError());
    for (std::size_t i = 0; i < Params.size(); ++i) {
        int index = static_cast<int>(i) + 1;
        const SqlValue& value = Params[i];
        bool bound = false;
        if (std::holds_alternative<std::monostate>(value))
            bound = statement_.BindNull(index);
        else if (const auto* n = std::get_if<std::int64_t>(&value))
            bound = statement_.BindInteger(index, *n);
        else if (const auto* s = std::get_if<std::string>(&value))
            bound = statement_.BindText(index, *s);
        else
            bound = statement_.BindBlob(index, std::get<SqlBlob>(value).Bytes);
        if (!bound) {
            std::string message = statement_.LastError();
            statement_.Finalize();
            return Fail(message);
        }
    }
    return true;
}

bool Query::Open() {
    if (!Prepare())
        return false;
    switch (statement_.Step()) {
    case Statement::StepResult::Row:
        eof_ = false;
        break;
    case Statement::StepResult::Done:
        eof_ = true;
        break;
    case Statement::StepResult::Error: {
        std::string message = statement_.LastError();
        statement_.Finalize();
        return Fail(message);
    }
    }
    active_ = true;
    return true;
}

bool Query::ExecSQL() {
    Close();
    if (Params.empty()) {
        if (!database_.Execute(SQL))
            return Fail(database_.LastError());
        return true;
    }
    if (!Prepare())
        return false;
    Statement::StepResult result = statement_.Step();
    std::string message = statement_.LastError();
    statement_.Finalize();
    if (result == Statement::StepResult::Error)
        return Fail(message);
    return true;
}

bool Query::Next() {
    if (!active_ || eof_)
        return true;
    switch (statement_.Step()) {
    case Statement::StepResult::Row:
        return true;
    case Statement::StepResult::Done:
        eof_ = true;
        return true;
    case Statement::StepResult::Error:
        eof_ = true;
        return Fail(statement_.LastError());
    }
    return true;
}

void Query::Close() {
    statement_.Finalize();
    active_ = false;
    eof_ = true;
}

int Query::CurrentField(const std::string& name) const {
    if (!active_ || eof_)
        return -1;
    return statement_.ColumnIndex(name);
}

std::optional<std::string> Query::FieldText(const std::string& name) const {
    int index = CurrentField(name);
    if (index < 0)
        return std::nullopt;
    return statement_.ColumnText(index);
}

std::optional<std::int64_t> Query::FieldInteger(const std::string& name) const {
    int index = CurrentField(name);
    if (index < 0)
        return std::nullopt;
    return statement_.ColumnInteger(index);
}

std::optional<std::string> Query::FieldBlob(const std::string& name) const {
    int index = CurrentField(name);
    if (index < 0)
        return std::nullopt;
    return statement_.ColumnBlob(index);
}

} // namespace pendlar
