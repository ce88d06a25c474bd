// find: the two searches of the search window, by patient number or by keywords, on the
// database the profile's DatabasePath setting names.
//
// One line per row, fields separated by tabs: CARUTEDATE, CARUTENO, CARUTESUBNO, FILEPATH,
// KEY1 … KEY8. So that a row is always one line, a backslash is written "\\", a line break
// "\n", a lone carriage return "\r" and a tab "\t" (line breaks come into keywords quoted
// from the billing record's memo fields).
#include "Command.h"

#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/ChartSearch.h"
#include "store/Database.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

std::string Field(const std::string& sjis) {
    const std::string utf8 = SjisToUtf8(sjis);
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

// The search's own failure message on one line, with the reason (UTF-8) after it.
int SearchFailed(const char* messageUtf8, const std::string& detail) {
    std::string line = messageUtf8;
    for (char& c : line)
        if (c == '\n')
            c = ' ';
    if (!detail.empty())
        line += " (" + detail + ")";
    return Fail(line);
}

int RunFind(Args& args) {
    std::optional<std::string> patientText = args.TakeOption("patient");
    std::array<std::string, kSearchKeyCount> keys;
    bool anyKey = false;
    for (int n = 1; n <= kSearchKeyCount; ++n) {
        std::optional<std::string> key = args.TakeOption("key" + std::to_string(n));
        if (!key || key->empty())
            continue;
        std::optional<std::string> sjis = Utf8ToSjis(*key);
        if (!sjis)
            return UsageError("find", "--key" + std::to_string(n) + " has no Shift-JIS form");
        keys[static_cast<std::size_t>(n - 1)] = *sjis;
        anyKey = true;
    }
    if (std::optional<int> refused = RejectLeftovers(args, "find"))
        return *refused;
    if (patientText && anyKey)
        return UsageError("find", "search by --patient or by --key options, not both");
    if (!patientText && !anyKey)
        return UsageError("find", SjisToUtf8(SjisOf("検索のキーを設定してください。")));

    std::optional<int> patient;
    if (patientText) {
        if (!ParseInt(*patientText, -2147483648L, 2147483647L))
            return UsageError("find", SjisToUtf8(SjisOf("患者番号に誤りがあります。")));
        patient = ParseInt(*patientText, 0, 99999999);
        if (!patient)
            return UsageError("find", SjisToUtf8(SjisOf("患者番号の範囲を越えています。")));
    }
    const char* failure = patient
                              ? "DB System エラー(カルテ)"
                              : "検索でエラーが発生しました。\nデータベースを確認してください。";

    TRegistory settings;
    settings.LoadSettings();
    Database database;
    database.SetFileName(FolderOf(settings.DatabasePath) + kChartDatabaseFileName);
    if (!database.Connect())
        return SearchFailed(failure, database.LastError());

    ChartSearchResult result =
        patient ? SearchByPatient(database, *patient) : SearchByKeywords(database, keys);
    if (!result.Ok)
        return SearchFailed(failure, result.Error);
    for (const StoredChartRow& row : result.Rows) {
        std::string line = Field(row.CARUTEDATE) + "\t" + Field(row.CARUTENO) + "\t" +
                           Field(row.CARUTESUBNO) + "\t" + Field(row.FILEPATH);
        for (const std::string& key : row.KEY)
            line += "\t" + Field(key);
        std::printf("%s\n", line.c_str());
    }
    return kOk;
}

PENDLAR_TOOL_COMMAND("find", "[--profile DIR] [--patient N] [--key1 TEXT ... --key8 TEXT]",
                     RunFind);

} // namespace
} // namespace pendlar::tool
