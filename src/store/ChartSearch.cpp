#include "store/ChartSearch.h"

#include "store/Database.h"
#include "util/Sjis.h"

#include <sqlite3.h>

namespace pendlar {
namespace {

// The characters of a Shift-JIS text as (start, length) pairs; a lead byte at the very end
// stands alone.
std::vector<std::string_view> SjisChars(std::string_view text) {
    std::vector<std::string_view> chars;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        chars.push_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameChar(std::string_view p, std::string_view t) {
    if (p.size() != t.size())
        return false;
    if (p.size() == 1)
        return FoldAscii(p[0]) == FoldAscii(t[0]);
    return p == t;
}

void SjisLikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
        sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // like(X, Y) is "Y LIKE X": the pattern comes first.
    auto text = [](sqlite3_value* v) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string_view(bytes ? bytes : "",
                                static_cast<std::size_t>(sqlite3_value_bytes(v)));
    };
    sqlite3_result_int(context, SjisLikeMatch(text(argv[0]), text(argv[1])) ? 1 : 0);
}

} // namespace

bool SjisLikeMatch(std::string_view pattern, std::string_view text) {
    const std::vector<std::string_view> p = SjisChars(pattern);
    const std::vector<std::string_view> t = SjisChars(text);
    // The usual wildcard walk: on a mismatch after a "%", let that "%" take one more
    // character and try again from there.
    std::size_t pi = 0, ti = 0;
    std::size_t star = std::string_view::npos, starText = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == "%") {
            star = pi++;
            starText = ti;
        } else if (pi < p.size() && (p[pi] == "_" || SameChar(p[pi], t[ti]))) {
            ++pi;
            ++ti;
        } else if (star != std::string_view::npos) {
            pi = star + 1;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == "%")
        ++pi;
    return pi == p.size();
}

bool InstallSjisLike(Database& database) {
    if (!database.Connected() && !database.Connect())
        return false;
    return sqlite3_create_function_v2(database.Handle(), "like", 2,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      &SjisLikeFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

SearchStatement PatientSearchStatement(std::int64_t patient) {
    return {"SELECT * FROM PDF_PATH WHERE CARUTENO = ?;", {patient}};
}

std::optional<SearchStatement>
KeywordSearchStatement(const std::array<std::string, kSearchKeyCount>& keys) {
    SearchStatement s;
    s.SQL = "Select * From PDF_PATH Where ";
    for (int n = 1; n <= kSearchKeyCount; ++n) {
        const std::string& key = keys[static_cast<std::size_t>(n - 1)];
        if (key.empty())
            continue;
        if (!s.Params.empty())
            s.SQL += "and ";
        s.SQL += "KEY" + std::to_string(n) + " Like ? ";
        s.Params.emplace_back("%" + key + "%");
    }
    if (s.Params.empty())
        return std::nullopt;
    s.SQL += ";";
    return s;
}

ChartSearchResult RunChartSearch(Query& query, const SearchStatement& statement) {
    ChartSearchResult result;
    query.Close();
    query.SQL = statement.SQL;
    query.Params = statement.Params;
    if (!query.Open()) {
        result.Error = query.LastError();
        return result;
    }
    auto fail = [&](const std::string& why) {
        result.Rows.clear();
        result.Error = why;
        query.Close();
        return result;
    };
    while (!query.Eof()) {
        StoredChartRow row;
        std::string missing;
        auto read = [&](const std::string& column, std::string& into) {
            if (std::optional<std::string> text = query.FieldText(column))
                into = std::move(*text);
            else if (missing.empty())
                missing = column;
        };
        read("CARUTEDATE", row.CARUTEDATE);
        read("CARUTENO", row.CARUTENO);
        read("CARUTESUBNO", row.CARUTESUBNO);
        read("FILEPATH", row.FILEPATH);
        read("INETPATH", row.INETPATH);
        read("FILENAME", row.FILENAME);
        for (int n = 1; n <= kSearchKeyCount; ++n)
            read("KEY" + std::to_string(n), row.KEY[static_cast<std::size_t>(n - 1)]);
        if (!missing.empty())
            return fail("no such column: " + missing);
        result.Rows.push_back(std::move(row));
        if (!query.Next())
            return fail(query.LastError());
    }
    query.Close();
    result.Ok = true;
    return result;
}

ChartSearchResult SearchByPatient(Database& database, std::int64_t patient) {
    Query query(database);
    return RunChartSearch(query, PatientSearchStatement(patient));
}

ChartSearchResult SearchByKeywords(Database& database,
                                   const std::array<std::string, kSearchKeyCount>& keys) {
    std::optional<SearchStatement> statement = KeywordSearchStatement(keys);
    if (!statement) {
        ChartSearchResult empty;
        empty.Ok = true;
        return empty;
    }
    if (!InstallSjisLike(database)) {
        ChartSearchResult failed;
        failed.Error = database.LastError().empty() ? "the keyword match cannot be installed"
                                                    : database.LastError();
        return failed;
    }
    Query query(database);
    return RunChartSearch(query, *statement);
}

} // namespace pendlar
