// The width groups of the proportional Japanese fonts' W array: a start CID and the widths
// of consecutive CIDs, in thousandths of the font size (generated into PdfJpWidths.cpp by
// gen/regenerate.sh).
#pragma once

#include <cstdint>
#include <span>

namespace pendlar {

struct ProportionalWidthGroup {
    int FirstCid;
    std::span<const std::uint16_t> Widths;
};

extern const ProportionalWidthGroup kProportionalWidthGroups[10];

} // namespace pendlar
