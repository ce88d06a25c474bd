// A second look at the candidate finder centres before three of them are taken.
//
// The scan-line search weighs a candidate by the number of rows and columns that cross it
// in the ratio 1:1:3:1:1. The data area of a large symbol holds many such crossings by
// chance, and some of them draw as many hits as a true finder or more. Two facts tell the
// true finders apart: a finder is a set of concentric squares, so the ratio holds along
// every line through its centre (the diagonals too, whatever the symbol's rotation), and
// it is framed by light modules (separator or quiet zone) on every side; and the three
// finders of one symbol lie at the corners of a right isosceles triangle whose sides are
// many times their module.
#pragma once

#include "qrdecode/Planes.h"

namespace pendlar {

// The module size in pixels of the finder pattern centred at `centre` (within a module of
// its middle), or 0 when the pattern does not hold along the row, the column and both
// diagonals through that point, each framed by light.
double FinderModule(const TPlaneBoolean& binary, TPoint centre);

// True when three finder centres with these module sizes can be the finders of one
// symbol of version 1 to 40, seen square-on or slightly skewed.
bool FinderTriangle(const TPoint (&centres)[3], const double (&modules)[3]);

} // namespace pendlar
