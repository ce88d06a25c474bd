#include "qrdecode/PrincipalPattern.h"

#include "qrdecode/PixelMath.h"

#include <cmath>

namespace pendlar {

TPrincipalPattern::TPrincipalPattern(TPoint p0, TPoint p1, TPoint p2) : P0(p0), P1(p1), P2(p2) {
    const double dx1 = p1.X - p0.X, dy1 = p1.Y - p0.Y;
    const double dx2 = p2.X - p0.X, dy2 = p2.Y - p0.Y;
    Length1 = std::sqrt(dx1 * dx1 + dy1 * dy1);
    Angle1 = std::atan2(dy1, dx1);
    Length2 = std::sqrt(dx2 * dx2 + dy2 * dy2);
    Angle2 = std::atan2(dy2, dx2);
}

void TPrincipalPattern::SetVersion(int version) {
    const double span = 4.0 * version + 10.0;
    Pitch1 = Length1 / span;
    Pitch2 = Length2 / span;
}

TPoint TPrincipalPattern::ModuleToPixel(double a, double b, TPoint origin) const {
    return {RoundToPixel(a * Pitch1 * std::cos(Angle1) + b * Pitch2 * std::cos(Angle2) + origin.X),
            RoundToPixel(a * Pitch1 * std::sin(Angle1) + b * Pitch2 * std::sin(Angle2) + origin.Y)};
}

} // namespace pendlar
