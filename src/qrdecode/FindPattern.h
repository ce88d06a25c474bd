// The finder search: scans every row and column of the binary image for the 1:1:3:1:1
// run pattern, finds the three finder centres where the hits cross, and orders them.
//
// Of the crossings, the heaviest three that pass a closer look (the pattern holds along
// both diagonals as well and is framed by light, and the three make the right isosceles
// triangle of one symbol) are taken; when no three pass, simply the heaviest three. The
// data of a large symbol is full of chance crossings as heavy as a true finder. The plain
// choice of the heaviest three stays available as a second try (UsePlainChoice).
//
// After a successful search P0 is the corner finder (top-left of the symbol), P1 the
// finder along the symbol's first row and P2 the one along its first column, whatever
// the symbol's rotation in the image: the turn from P1 to P2 around P0 is clockwise in
// image coordinates (y down) and less than a half turn.
#pragma once

#include "qrdecode/CenterDots.h"
#include "qrdecode/Lines.h"
#include "qrdecode/Planes.h"

namespace pendlar {

// True when five runs, oldest first from index current + 1, are within half a module of
// the widths 1, 1, 3, 1, 1, the module being their sum over seven.
bool FinderRatio(const int (&counters)[5], int current);

class TFindPattern {
public:
    // 0 when three finder centres were found, 1 when not.
    int Search(const TPlaneBoolean& binary);

    // Finder centre 0, 1 or 2; (0,0) for any other index.
    TPoint Center(int i) const { return i >= 0 && i < 3 ? centres_[i] : TPoint{}; }
    // The module size in pixels measured at finder centre i; 0 when that centre did not
    // pass the closer look (or for any other index).
    double Module(int i) const { return i >= 0 && i < 3 ? modules_[i] : 0; }
    // Switches to the plain choice of the three heaviest crossings when the closer look
    // chose other centres; false (and nothing changes) when it did not.
    bool UsePlainChoice();

    const TLines& RowHits() const { return rowHits_; }
    const TLines& ColumnHits() const { return columnHits_; }
    const TCenterDots& Dots() const { return dots_; }

private:
    bool ChooseConfirmed(const TPlaneBoolean& binary);
    void Order(TPoint q0, TPoint q1, TPoint q2);

    TLines rowHits_;
    TLines columnHits_;
    TCenterDots dots_;
    TPoint centres_[3];
    double modules_[3] = {0, 0, 0};
    TPoint plainCentres_[3];
    double plainModules_[3] = {0, 0, 0};
};

} // namespace pendlar
