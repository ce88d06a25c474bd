#include "store/LookupTables.h"

#include "record/Choices.h"

namespace pendlar {
namespace {

// The tabs and a new database offer the same built-in items.
template <std::size_t N> std::vector<const char*> Items(const std::array<const char*, N>& items) {
    return std::vector<const char*>(items.begin(), items.end());
}

// Gtenki1 … Gtenki14 and Ntenki1 … Ntenki14, the per-row outcome boxes of the two record tabs.
std::vector<std::string> TenkiCombos() {
    std::vector<std::string> names;
    for (const char* prefix : {"Gtenki", "Ntenki"})
        for (int n = 1; n <= 14; ++n)
            names.push_back(prefix + std::to_string(n));
    return names;
}

const std::vector<LookupTableInfo>& Tables() {
    static const std::vector<LookupTableInfo> tables = {
        {LookupTable::Zokugara,
         "PDF_RZOKUGARA",
         "ZOKUNO",
         "ZOKUSTR",
         "SELECT * FROM PDF_RZOKUGARA ORDER BY ZOKUNO ASC;",
         "続柄テーブルオープンエラー：システムを終了します。",
         "*** DataBase 続柄 Table Error",
         {"Rzokugara", "Hzokugara"},
         Items(kZokugaraChoices)},
        {LookupTable::Ntenki,
         "PDF_NTENKI",
         "TENKI",
         "TenkiStr",
         "SELECT * FROM PDF_NTENKI  ORDER BY TENKI ASC;",
         "入院転帰テーブルオープンエラー：システムを終了します。",
         "*** DataBase 入院転帰 Table Error",
         {"Ntenki"},
         Items(kNtenkiChoices)},
        {LookupTable::Tenkisaki,
         "PDF_TENKISAKI",
         "TENKI",
         "TENKISAKISTR",
         "SELECT * FROM PDF_TENKISAKI ORDER BY TENKI ASC;",
         "入院転帰先テーブルオープンエラー：システムを終了します。",
         "*** DataBase 入院転帰先 Table Error",
         {"NtenkiTo"},
         Items(kTenkisakiChoices)},
        {LookupTable::Tenki, "PDF_TENKI", "TENKI", "TENKISTR",
         "SELECT * FROM PDF_TENKI ORDER BY TENKI ASC;",
         "転帰テーブルオープンエラー：システムを終了します。", "*** DataBase 転帰 Table Error",
         TenkiCombos(), Items(kTenkiChoices)},
        {LookupTable::Futan,
         "PDF_FUTAN",
         "FUTAN",
         "FUTANSTR",
         "SELECT * FROM PDF_FUTAN ORDER BY FUTAN ASC;",
         "負担区分テーブルオープンエラー：システムを終了します。",
         "*** DataBase 負担区分 Table Error",
         {"FFutanKubun"},
         Items(kFutanChoices)},
    };
    return tables;
}

} // namespace

std::span<const LookupTableInfo> LookupTables() {
    return Tables();
}

} // namespace pendlar
