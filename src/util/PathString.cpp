#include "util/PathString.h"

#include "util/Profile.h"

#include <cstdio>

namespace pendlar {

TPathString::TPathString() : BaseFolder(HomeFolder()) {}

std::string TPathString::FolderPart() const {
    char d[9];
    std::snprintf(d, sizeof d, "%08u", static_cast<unsigned>(Number));
    auto two = [&](int i) { return std::string(d + 2 * i, 2); };
    return "/" + Prefix1 + two(0) + Suffix1 + "/" + Prefix2 + two(1) + Suffix2 + "/" + Prefix3 +
           two(2) + Suffix3 + "/" + Prefix4 + two(3) + Suffix4;
}

std::string TPathString::FolderPath() const {
    return CollapseSeparators(BaseFolder + FolderPart());
}

std::string TPathString::CollapseSeparators(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/'))
            out += text[i];
    return out;
}

} // namespace pendlar
