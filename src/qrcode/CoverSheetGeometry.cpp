#include "qrcode/CoverSheetGeometry.h"

#include <climits>
#include <cmath>

namespace pendlar {

int ScaleToPrinter(int v, double printDensity, double panelDensity) {
    const double scaled = static_cast<double>(v) * (printDensity / panelDensity);
    if (!std::isfinite(scaled))
        return 0;
    // nearbyint rounds in the current mode; the program never leaves round-to-nearest,
    // which sends halves to the even neighbour.
    const double rounded = std::nearbyint(scaled);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

int SymbolMagnification(int w, double printDensity, double panelDensity) {
    if (w <= 0)
        return 0;
    const int scaled = ScaleToPrinter(w, printDensity, panelDensity);
    return scaled <= 0 ? 0 : scaled / w;
}

} // namespace pendlar
