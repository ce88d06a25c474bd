// Where the cover-sheet designer's dots land on the printer: design dots are scaled by the
// ratio of the printer density to the design-page density, and the QR symbol is enlarged
// only by whole numbers so that every module stays a block of equal printer dots.
#pragma once

namespace pendlar {

// The size of the symbol control on the design page, in design dots; it keeps this size
// whatever symbol it shows.
constexpr int kCoverSymbolArea = 121;

// S(v) = v x (printDensity / panelDensity), rounded to the nearest integer, halves to even.
int ScaleToPrinter(int v, double printDensity, double panelDensity);

// S(w) div w: the whole-number enlargement of a w-dot picture (0 when the printer is
// coarser than the design page, or w is not positive).
int SymbolMagnification(int w, double printDensity, double panelDensity);

} // namespace pendlar
