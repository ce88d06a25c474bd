#include "qrdecode/PixelMath.h"

#include "qrdecode/QRDecodeError.h"

namespace pendlar {

int RoundToPixel(double value) {
    if (!std::isfinite(value))
        throw EQRDecodeError("Program Error");
    constexpr double kFar = 1 << 28;
    if (value > kFar)
        return static_cast<int>(kFar);
    if (value < -kFar)
        return -static_cast<int>(kFar);
    return static_cast<int>(std::nearbyint(value));
}

} // namespace pendlar
