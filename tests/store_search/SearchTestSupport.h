// A chart database in a temporary folder with a few stored charts whose keywords hold the
// characters that trouble a search: quotes, wildcards, and Shift-JIS characters whose
// bytes look like other characters to a byte-wise match.
#pragma once

#include "store/Database.h"

#include <array>
#include <cstdint>
#include <string>

namespace pendlar::test {

struct ChartRowSpec {
    std::int64_t Patient;
    std::int64_t Sub;
    const char* Date;                  // UTF-8
    const char* Path;                  // UTF-8
    std::array<const char*, 8> Keys{}; // UTF-8, nullptr = ""
};

// The rows every search test starts from.
const std::array<ChartRowSpec, 5>& SampleCharts();

// Creates QuilmoCaruteDb.sqb in `sjisFolder` and inserts the rows; returns the file path.
std::string MakeSampleDatabase(const std::string& sjisFolder);

// Inserts one row (texts converted to Shift-JIS) through bound parameters.
bool InsertChart(Database& db, const ChartRowSpec& row);

} // namespace pendlar::test
