#include "qrdecode/TimingPattern.h"

#include "qrdecode/PixelMath.h"

#include <cmath>

namespace pendlar {

TTimingPattern::TTimingPattern(TPoint p0, TPoint p1, TPoint p2) : P0(p0) {
    const double dx1 = p1.X - p0.X, dy1 = p1.Y - p0.Y;
    const double dx2 = p2.X - p0.X, dy2 = p2.Y - p0.Y;
    Distance1 = RoundToPixel(std::sqrt(dx1 * dx1 + dy1 * dy1));
    Distance2 = RoundToPixel(std::sqrt(dx2 * dx2 + dy2 * dy2));
    Angle1 = std::atan2(dy1, dx1);
    Angle2 = std::atan2(dy2, dx2);
}

bool TTimingPattern::Check(const TPlaneBoolean& binary, int version) const {
    const double span = 4.0 * version + 10.0;
    const double q1 = Distance1 / span;
    const double q2 = Distance2 / span;
    const double c1 = std::cos(Angle1), s1 = std::sin(Angle1);
    const double c2 = std::cos(Angle2), s2 = std::sin(Angle2);
    // Centre of module (6, 6), where both timing lines start.
    const TPoint start{P0.X + RoundToPixel(3 * q2 * c2 + 3 * q1 * c1),
                       P0.Y + RoundToPixel(3 * q2 * s2 + 3 * q1 * s1)};
    const int samples = 4 * version + 5;
    auto walk = [&](double q, double c, double s) {
        int good = 0;
        for (int i = 0; i < samples; ++i) {
            const long long x = start.X + static_cast<long long>(RoundToPixel(i * q * c));
            const long long y = start.Y + static_cast<long long>(RoundToPixel(i * q * s));
            if (binary.ValueOr(x, y, false) == (i % 2 == 0))
                ++good;
        }
        return good > 0.9 * samples;
    };
    return walk(q1, c1, s1) || walk(q2, c2, s2);
}

} // namespace pendlar
