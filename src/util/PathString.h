// The chart folder of a patient number: base folder + four levels of two digits, each level
// with an optional prefix and suffix. Texts are Shift-JIS; the separator is "/".
#pragma once

#include <cstdint>
#include <string>

namespace pendlar {

class TPathString {
public:
    TPathString();
    virtual ~TPathString() = default;

    std::string BaseFolder;
    std::uint32_t Number = 0;
    std::string Prefix1 = "A", Prefix2 = "B", Prefix3 = "C", Prefix4 = "D";
    std::string Suffix1, Suffix2, Suffix3, Suffix4;

    // Keeps the last eight decimal digits.
    void SetNumber(std::uint32_t n) { Number = n % 100000000u; }

    // "/" + Prefix1 + d1 d2 + Suffix1 + "/" + … + Prefix4 + d7 d8 + Suffix4.
    std::string FolderPart() const;
    // CollapseSeparators(BaseFolder + FolderPart()).
    std::string FolderPath() const;

    // Every run of "/" becomes one "/".
    static std::string CollapseSeparators(const std::string& text);
};

} // namespace pendlar
