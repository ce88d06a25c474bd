// The built-in items of the choice fields of the header tabs, in their order (UTF-8).
//
// The relationship, outcome, destination and payer lists are replaced at start-up by the
// lookup tables of the chart database when those have rows; a new database is filled with
// exactly these items, so a fresh installation offers the same choices as the tabs.
#pragma once

#include <array>

namespace pendlar {

// Psex.
inline constexpr std::array<const char*, 2> kSexChoices{"男", "女"};

// Hzokugara (and the PDF_RZOKUGARA table; Rzokugara has no items of its own).
inline constexpr std::array<const char*, 28> kZokugaraChoices{"被保険者(本人)",
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
                                                              "配偶者の養父母"};

// Ntenki, the outcome of the stay (PDF_NTENKI).
inline constexpr std::array<const char*, 5> kNtenkiChoices{"治癒", "軽快", "不変", "増悪", "死亡"};

// NtenkiTo, where the patient went (PDF_TENKISAKI).
inline constexpr std::array<const char*, 4> kTenkisakiChoices{"外来", "転科", "転院", "自宅療養"};

// Gtenki1 … Gtenki14 and Ntenki1 … Ntenki14, the outcome of one disease (PDF_TENKI).
inline constexpr std::array<const char*, 2> kTenkiChoices{"治癒", "中断"};

// FFutanKubun (PDF_FUTAN).
inline constexpr std::array<const char*, 4> kFutanChoices{"保険", "自費", "保険に移行",
                                                          "自費に移行"};

// The basic medical choices.
inline constexpr std::array<const char*, 4> kKetsuekiChoices{"O", "A", "B", "AB"};
inline constexpr std::array<const char*, 2> kRhChoices{"+", "-"};
inline constexpr std::array<const char*, 2> kTestResultChoices{"陽性", "陰性"}; // HBS, HCV, TPHA
inline constexpr std::array<const char*, 2> kKinkiChoices{"有", "無"};

} // namespace pendlar
