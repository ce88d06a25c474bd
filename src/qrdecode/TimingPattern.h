// The version test on the timing patterns: for a candidate version, the modules of the
// symbol's row 6 (or column 6) between the finders must alternate dark and light.
#pragma once

#include "qrdecode/Planes.h"

namespace pendlar {

class TTimingPattern {
public:
    TTimingPattern() = default;
    TTimingPattern(TPoint p0, TPoint p1, TPoint p2);

    // True when more than nine in ten samples of either timing line alternate as they
    // should for this version. Pixels off the plane count as light.
    bool Check(const TPlaneBoolean& binary, int version) const;

    int Distance1 = 0, Distance2 = 0; // |P1 − P0|, |P2 − P0| rounded
    double Angle1 = 0, Angle2 = 0;
    TPoint P0;
};

} // namespace pendlar
