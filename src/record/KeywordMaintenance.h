// The switching rules of the keyword maintenance window: one memo edits one keyword list
// at a time, chosen by the option group of the eight key labels.
#pragma once

#include "record/Keywords.h"

#include <string>
#include <vector>

namespace pendlar {

class KeywordMaintenance {
public:
    explicit KeywordMaintenance(KeywordListSet& lists) : lists_(lists) {}

    // The window is shown: no option is chosen and the memo starts empty.
    void Start() { current_ = 0; }

    // Option n (1 … 8) is chosen while the memo holds `memoLines`: those lines become the
    // list being edited (if any); the lines of list n are returned for the memo.
    std::vector<std::string> Choose(int n, std::vector<std::string> memoLines);

    // The window closes, by any means: the memo's lines become the list being edited, if
    // one was chosen; without a choice no list changes.
    void Finish(std::vector<std::string> memoLines);

    // The list being edited, 0 for none.
    int Current() const { return current_; }

private:
    KeywordListSet& lists_;
    int current_ = 0;
};

} // namespace pendlar
