// The text annotation item: a note on the page (the viewer shows an icon that opens it),
// its title the caption and its text the lines.
#pragma once

#include "pdf/PReport.h"

#include <string>
#include <vector>

namespace pendlar {

class TPRAnnotation : public TPRItem {
public:
    explicit TPRAnnotation(std::string name = {}) : TPRItem(std::move(name)) {}

    std::string Caption;
    std::vector<std::string> Lines;
    bool Opened = false;

    // The lines joined and trimmed, each line break a single CR, as the note's text.
    std::string ContentsText() const;
    void Print(TPRCanvas& canvas, const TRect& rect) override;
};

} // namespace pendlar
