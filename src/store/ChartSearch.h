// The two searches of the search window over PDF_PATH: every chart of one patient number,
// and every chart whose keyword columns contain the texts typed for them.
//
// Typed texts never become SQL text. The patient number is bound as an integer and each
// keyword as the LIKE pattern "%text%", so a keyword holding a quote simply searches for
// that quote. The matching is SQLite's LIKE as it always was: "%" and "_" typed in a
// keyword keep their wildcard meaning, and ASCII letters match without regard to case.
//
// The rows are read whole and the query is closed before the result is returned: an open
// read cursor would hold a lock on the database file and keep the billing system from
// writing its records for as long as the search window stays open.
#pragma once

#include "store/Query.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

class Database;

constexpr int kSearchKeyCount = 8;

// LIKE on Shift-JIS texts: "%" any run of characters, "_" one character (one or two
// bytes), single-byte letters compared without regard to ASCII case, double-byte characters
// compared exactly and only on character boundaries.
bool SjisLikeMatch(std::string_view pattern, std::string_view text);

// Makes LIKE on this connection the Shift-JIS one above, connecting first when needed.
// False when the connection cannot be made or the function not installed.
bool InstallSjisLike(Database& database);

// One PDF_PATH row as stored (Shift-JIS texts; the numbers in their decimal text form).
struct StoredChartRow {
    std::string CARUTEDATE;
    std::string CARUTENO;
    std::string CARUTESUBNO;
    std::string FILEPATH;
    std::string INETPATH;
    std::string FILENAME;
    std::array<std::string, kSearchKeyCount> KEY; // KEY1 … KEY8 as KEY[0] … KEY[7]
};

struct ChartSearchResult {
    bool Ok = false;
    std::string Error; // SQLite's message when the search failed
    std::vector<StoredChartRow> Rows;
};

// A statement and the values bound to its parameters, in order.
struct SearchStatement {
    std::string SQL;
    std::vector<SqlValue> Params;
};

// "SELECT * FROM PDF_PATH WHERE CARUTENO = ?;" with the number bound.
SearchStatement PatientSearchStatement(std::int64_t patient);

// One "KEYn Like ?" condition for each non-empty key, in the order 1 … 8, joined by "and ",
// each pattern bound as "%" + text + "%". nullopt when every key is empty.
std::optional<SearchStatement>
KeywordSearchStatement(const std::array<std::string, kSearchKeyCount>& keys);

// Runs a search statement on `query` and reads every row; the query is closed afterwards.
// A failure to run the statement or a row without one of the columns is a failed search.
ChartSearchResult RunChartSearch(Query& query, const SearchStatement& statement);

// The two searches on a connection of their own (pendlar-tool and the tests); the keyword
// search installs the Shift-JIS LIKE first.
ChartSearchResult SearchByPatient(Database& database, std::int64_t patient);
// An empty result (Ok) when every key is empty.
ChartSearchResult SearchByKeywords(Database& database,
                                   const std::array<std::string, kSearchKeyCount>& keys);

} // namespace pendlar
