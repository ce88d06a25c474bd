// Rounding and angle helpers of the QR decoder's geometry.
#pragma once

#include <cmath>
#include <numbers>

namespace pendlar {

// A coordinate rounded to a pixel, half to even. Points far off any image are clamped
// to a value that is still far off, so that later integer arithmetic cannot overflow; a
// value that is not a number at all means the geometry broke down and raises
// EQRDecodeError("Program Error").
int RoundToPixel(double value);

// An angle moved into [0, 2π).
inline double PositiveAngle(double a) {
    return a < 0 ? a + 2 * std::numbers::pi : a;
}

} // namespace pendlar
