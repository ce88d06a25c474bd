// Finder centres from scan-line hits: row hits that cross a column hit form a cluster,
// column hits that cross a row hit another; where a row cluster and a column cluster
// cross lies a candidate centre, weighted by the hits behind it. The three heaviest win.
#pragma once

#include "qrdecode/Lines.h"
#include "qrdecode/Planes.h"

#include <cstdint>
#include <vector>

namespace pendlar {

struct TCenterDot {
    std::int32_t Weight = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

class TCenterDots {
public:
    // Clusters the hits (marking the hits it takes as no longer live) and chooses three
    // centres. False when fewer than three candidate centres exist.
    bool Find(TLines& rowHits, TLines& columnHits);

    // The chosen centres in the order chosen, heaviest first; (0,0) outside 0..2.
    TPoint Point(int i) const;

    const std::vector<TCenterDot>& Dots() const { return dots_; }
    const TLines& Horizontal() const { return horizontal_; }
    const TLines& Vertical() const { return vertical_; }

private:
    std::vector<TCenterDot> dots_;
    TLines horizontal_;
    TLines vertical_;
    TPoint points_[3];
};

} // namespace pendlar
