// The eight keyword lists behind the keyword boxes, their files and the keyword tab's
// buttons.
//
// List N is the item list of KeyBoxN, an ordered list of Shift-JIS texts in which
// duplicates and empty entries are allowed. It lives in memory from start-up to shutdown
// and is kept in "KeyN.txt" of the data folder, one entry per line (CR LF), written whole.
#pragma once

#include "record/FieldView.h"

#include <array>
#include <string>
#include <vector>

namespace pendlar {

constexpr int kKeywordCount = 8;

struct KeywordListSet {
    std::array<std::vector<std::string>, kKeywordCount> Lists; // list N is Lists[N - 1]
    // Files that exist but could not be read: their lists were not loaded, so saving leaves
    // those files alone rather than replacing the clerk's entries by an empty list.
    std::array<bool, kKeywordCount> Unreadable{};

    // By position, 0 … 7, as the array.
    std::vector<std::string>& operator[](std::size_t i) { return Lists.at(i); }
    const std::vector<std::string>& operator[](std::size_t i) const { return Lists.at(i); }
    // By number, 1 … 8.
    std::vector<std::string>& List(int n) { return Lists.at(n - 1); }
    const std::vector<std::string>& List(int n) const { return Lists.at(n - 1); }
};

// folder + "/KeyN.txt" (Shift-JIS paths).
std::string KeywordFilePath(const std::string& folder, int n);

// For N = 1 … 8: when file N exists, list N becomes its lines; a missing file leaves the
// list as it is (empty at start-up).
void LoadKeywordLists(KeywordListSet& lists, const std::string& folder);

// For N = 1 … 8: list N replaces file N (created when missing; each file is written to a
// temporary file and renamed, so a failure never leaves half a list). False when any file
// could not be written; the others are still written.
bool SaveKeywordLists(const KeywordListSet& lists, const std::string& folder);

// The keyword box of row n.
std::string KeyBoxName(int n);

// Clear button of row n: empties the text of box n (its list stays).
void ClearKeyword(FieldView& view, int n);

// Add button of row n: appends the text of box n unchanged to list n; an empty text or one
// already in the list is added all the same.
void AddKeyword(KeywordListSet& lists, const FieldView& view, int n);

} // namespace pendlar
