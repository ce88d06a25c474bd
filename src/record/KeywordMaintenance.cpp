#include "record/KeywordMaintenance.h"

namespace pendlar {

std::vector<std::string> KeywordMaintenance::Choose(int n, std::vector<std::string> memoLines) {
    if (current_ != 0)
        lists_.List(current_) = std::move(memoLines);
    current_ = n;
    return lists_.List(n);
}

void KeywordMaintenance::Finish(std::vector<std::string> memoLines) {
    if (current_ != 0)
        lists_.List(current_) = std::move(memoLines);
    current_ = 0;
}

} // namespace pendlar
