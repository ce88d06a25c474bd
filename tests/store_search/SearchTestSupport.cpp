#include "SearchTestSupport.h"

#include "store/NewChartDatabase.h"
#include "store/Query.h"
#include "util/Sjis.h"

#include <stdexcept>

namespace pendlar::test {

const std::array<ChartRowSpec, 5>& SampleCharts() {
    static const std::array<ChartRowSpec, 5> rows = {{
        {1234567,
         0,
         "2024/05/03 9:05:07",
         "/charts/01/23/45/67/HP1_1234567_0_0.pdf",
         {"胃癌", "O'Brien", nullptr, nullptr, nullptr, nullptr, nullptr, "八"}},
        {1234567,
         1,
         "2024/06/01 10:00:00",
         "/charts/01/23/45/67/HP1_1234567_1_0.pdf",
         {"ヂ", "say \"hi\""}},
        {7, 0, "2025/01/09", "/charts/00/00/00/07/HP1_7_0_0.pdf", {"ャA", "CT検査"}},
        {99999999,
         999,
         "2025/02/28 23:59:59",
         "/charts/99/99/99/99/HP1_99999999_999_0.pdf",
         {"胃", nullptr, nullptr, nullptr, "100%", "a_b"}},
        {42,
         3,
         "2025/03/01 8:00:00",
         "/charts/00/00/00/42/HP1_42_3_0.pdf",
         {"タブ\tと\r\n改行", "C:\\old\\path"}},
    }};
    return rows;
}

bool InsertChart(Database& db, const ChartRowSpec& row) {
    Query q(db);
    q.SQL = "INSERT INTO PDF_PATH (CARUTENO, CARUTESUBNO, CARUTEDATE, FILEPATH, INETPATH, "
            "FILENAME, KEY1, KEY2, KEY3, KEY4, KEY5, KEY6, KEY7, KEY8) VALUES "
            "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
    const std::string path = SjisOf(row.Path);
    q.Params = {row.Patient, row.Sub, SjisOf(row.Date),
                path,        path,    path.substr(path.rfind('/') + 1)};
    for (const char* key : row.Keys)
        q.Params.emplace_back(SjisOf(key ? key : ""));
    return q.ExecSQL();
}

std::string MakeSampleDatabase(const std::string& sjisFolder) {
    NewDatabaseResult made = CreateChartDatabase(sjisFolder);
    if (!made.Ok)
        throw std::runtime_error("db-create failed: " + SjisToUtf8(made.Message));
    Database db;
    db.SetFileName(made.Path);
    for (const ChartRowSpec& row : SampleCharts())
        if (!InsertChart(db, row))
            throw std::runtime_error("insert failed: " + db.LastError());
    return made.Path;
}

} // namespace pendlar::test
