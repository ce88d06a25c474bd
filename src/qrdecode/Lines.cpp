#include "qrdecode/Lines.h"

#include <algorithm>

namespace pendlar {

void TLines::SortByCount() {
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const TLine& a, const TLine& b) { return a.Count > b.Count; });
}

} // namespace pendlar
