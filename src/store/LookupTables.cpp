#include "store/LookupTables.h"

namespace pendlar {
namespace {

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
         {"被保険者(本人)",
          "配偶者",
          "子",
          "父母",
          "祖父母",
          "孫",
          "曾祖父母",
          "伯叔父母",
          "伯叔父母の配偶者",
          "兄弟姉妹",
          "兄弟姉妹の配偶者",
          "甥姪",
          "甥姪の配偶者",
          "子の配偶者",
          "孫の配偶者",
          "曾孫",
          "曾孫の配偶者",
          "配偶者の曾祖父母",
          "配偶者の祖父母",
          "配偶者の父母",
          "配偶者の子",
          "配偶者の孫",
          "配偶者の曾孫",
          "配偶者の伯叔父母",
          "配偶者の兄弟姉妹",
          "配偶者の甥孫",
          "養父母",
          "配偶者の養父母"}},
        {LookupTable::Ntenki,
         "PDF_NTENKI",
         "TENKI",
         "TenkiStr",
         "SELECT * FROM PDF_NTENKI  ORDER BY TENKI ASC;",
         "入院転帰テーブルオープンエラー：システムを終了します。",
         "*** DataBase 入院転帰 Table Error",
         {"Ntenki"},
         {"治癒", "軽快", "不変", "増悪", "死亡"}},
        {LookupTable::Tenkisaki,
         "PDF_TENKISAKI",
         "TENKI",
         "TENKISAKISTR",
         "SELECT * FROM PDF_TENKISAKI ORDER BY TENKI ASC;",
         "入院転帰先テーブルオープンエラー：システムを終了します。",
         "*** DataBase 入院転帰先 Table Error",
         {"NtenkiTo"},
         {"外来", "転科", "転院", "自宅療養"}},
        {LookupTable::Tenki,
         "PDF_TENKI",
         "TENKI",
         "TENKISTR",
         "SELECT * FROM PDF_TENKI ORDER BY TENKI ASC;",
         "転帰テーブルオープンエラー：システムを終了します。",
         "*** DataBase 転帰 Table Error",
         TenkiCombos(),
         {"治癒", "中断"}},
        {LookupTable::Futan,
         "PDF_FUTAN",
         "FUTAN",
         "FUTANSTR",
         "SELECT * FROM PDF_FUTAN ORDER BY FUTAN ASC;",
         "負担区分テーブルオープンエラー：システムを終了します。",
         "*** DataBase 負担区分 Table Error",
         {"FFutanKubun"},
         {"保険", "自費", "保険に移行", "自費に移行"}},
    };
    return tables;
}

} // namespace

std::span<const LookupTableInfo> LookupTables() {
    return Tables();
}

} // namespace pendlar
