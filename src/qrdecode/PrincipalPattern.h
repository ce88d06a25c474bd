// The two axes of a symbol given by its finder centres: the column axis from P0 to P1 and
// the row axis from P0 to P2, with the module pitch along each for a chosen version.
#pragma once

#include "qrdecode/Planes.h"

namespace pendlar {

class TPrincipalPattern {
public:
    TPrincipalPattern() = default;
    TPrincipalPattern(TPoint p0, TPoint p1, TPoint p2);

    // Sets the pitches for a version: the finder centres lie 4v + 10 modules apart.
    void SetVersion(int version);

    // The pixel `a` modules along the column axis and `b` along the row axis from `origin`.
    TPoint ModuleToPixel(double a, double b, TPoint origin) const;

    double Length1 = 0, Angle1 = 0; // P1 − P0
    double Length2 = 0, Angle2 = 0; // P2 − P0
    double Pitch1 = 0, Pitch2 = 0;  // 0 until a version is set
    TPoint P0, P1, P2;
};

} // namespace pendlar
