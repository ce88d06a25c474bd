// Locating a symbol: from the three finder centres to its version and its four outer
// corners, and from there to the pixel of every module.
//
// The finder centres give two axes. The version comes from the timing patterns (versions
// below 15 only, unless a version is forced) and, from version 7 on, from a version
// information block. The corners are refined locally; the bottom-right one, which has no
// finder, is searched within a chosen radius and then checked against the crossing of the
// bottom and right edges. A bilinear map over the four corners places the modules, so a
// symbol that is not an exact parallelogram in the image is still sampled at its modules.
#pragma once

#include "qrdecode/FindPattern.h"
#include "qrdecode/Planes.h"
#include "qrdecode/PrincipalPattern.h"

#include <optional>
#include <utility>

namespace pendlar {

class TCoordinates {
public:
    // 0 when the symbol was located, 1 when not (no three finders, no version, unreadable
    // version information). Raises EQRDecodeError ("Base Angle Error", "Program Error")
    // when the corners found make no grid.
    int Locate(const TPlaneBoolean& binary);
    // After a located symbol failed to decode: the next way of placing the grid that
    // locates it (another corner, or the plain choice of finders). False when none is
    // left. Raises EQRDecodeError as Locate does.
    bool LocateAgain(const TPlaneBoolean& binary);

    // 0 = decide the version; 1-40 = take this one. Values outside 0..40 are brought inside.
    void SetForcedVersion(int version);
    int ForcedVersion() const { return forcedVersion_; }
    // Radius of the bottom-right corner search in modules, kept within 1..6.
    void SetCornerRadius(int modules);
    int CornerRadius() const { return cornerRadius_; }

    int Version() const { return version_; }
    // The pixel of the centre of module (column, row) of the located symbol.
    TPoint ModuleToPixel(int column, int row) const;

    TPoint Finder(int i) const { return finder_.Center(i); }
    const TFindPattern& Finders() const { return finder_; }
    TPoint TL, TR, BL, BR;
    double Top = 0, Left = 0;
    double AngleTop = 0, AngleLeft = 0;
    double Deviation = 0, AngleDeviation = 0;

private:
    int EstimateVersion(const TPlaneBoolean& binary) const;
    std::optional<std::pair<int, int>> PlausibleVersions() const;
    int ReadVersionInformation(const TPlaneBoolean& binary) const;
    int LocateFromFinders(const TPlaneBoolean& binary);
    void FindCorners(const TPlaneBoolean& binary, bool outerCorner);
    bool Refine(const TPlaneBoolean& binary, TPoint& estimate, double radius,
                TPoint reference) const;
    double EdgeAngle(const TPlaneBoolean& binary, TPoint reference, TPoint other,
                     bool largest) const;

    TFindPattern finder_;
    TPrincipalPattern axes_;
    static constexpr int kStages = 4;
    int stage_ = kStages;
    int version_ = 0;
    int forcedVersion_ = 0;
    int cornerRadius_ = 1;
};

} // namespace pendlar
