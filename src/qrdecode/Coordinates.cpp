#include "qrdecode/Coordinates.h"

#include "qrdecode/PixelMath.h"
#include "qrdecode/QRDecodeError.h"
#include "qrdecode/SymbolTables.h"
#include "qrdecode/TimingPattern.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <utility>

namespace pendlar {
namespace {

constexpr double kPi = std::numbers::pi;
// Automatic version detection stops here; larger symbols need a forced version (their
// version information names the version, but the timing test must pass first).
constexpr int kFirstUndetectedVersion = 15;

double Distance(TPoint a, TPoint b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    return std::sqrt(dx * dx + dy * dy);
}

int MatchVersion(std::uint32_t bits) {
    for (int v = 7; v <= kMaxVersion; ++v)
        if (std::popcount(bits ^ VersionInformationCode(v)) <= 3)
            return v;
    return 0;
}

} // namespace

void TCoordinates::SetForcedVersion(int version) {
    forcedVersion_ = std::clamp(version, 0, kMaxVersion);
}

void TCoordinates::SetCornerRadius(int modules) {
    cornerRadius_ = std::clamp(modules, 1, 6);
}

int TCoordinates::Locate(const TPlaneBoolean& binary) {
    version_ = 0;
    stage_ = kStages;
    if (finder_.Search(binary) != 0)
        return 1;
    stage_ = -1;
    return LocateAgain(binary) ? 0 : 1;
}

// The ways of placing the grid, in order: the finders chosen by the closer look with the
// corner searched where the plain geometry puts it, then with the corner at the symbol's
// outer edge; then the same with the plain choice of finders, when that differs. A
// corner stage is tried only after its finders located a symbol, and only when it moves a
// corner.
bool TCoordinates::LocateAgain(const TPlaneBoolean& binary) {
    while (++stage_ < kStages) {
        const bool outerCorner = stage_ % 2 == 1;
        if (stage_ == 2 && !finder_.UsePlainChoice()) {
            stage_ = kStages;
            return false;
        }
        if (outerCorner) {
            if (version_ == 0)
                continue;
            const TPoint before[4] = {TL, TR, BL, BR};
            FindCorners(binary, true);
            const TPoint after[4] = {TL, TR, BL, BR};
            if (std::equal(before, before + 4, after))
                continue;
            return true;
        }
        version_ = 0;
        if (LocateFromFinders(binary) == 0)
            return true;
    }
    return false;
}

int TCoordinates::LocateFromFinders(const TPlaneBoolean& binary) {
    axes_ = TPrincipalPattern(finder_.Center(0), finder_.Center(1), finder_.Center(2));

    int version = forcedVersion_;
    if (version == 0) {
        const TTimingPattern timing(finder_.Center(0), finder_.Center(1), finder_.Center(2));
        int first = EstimateVersion(binary);
        int last = kFirstUndetectedVersion - 1;
        // The finders' own module size bounds the version better than the transition count
        // beside the axis, which runs through data: a timing line sampled at a far larger
        // pitch than the module can alternate by chance, and noise can push the count past
        // the true version. Neighbouring versions are told apart by the timing test.
        if (const auto range = PlausibleVersions()) {
            first = range->first;
            last = std::min(last, range->second);
        }
        for (int v = first; v <= last; ++v)
            if (timing.Check(binary, v)) {
                version = v;
                break;
            }
        if (version == 0)
            return 1;
    }
    axes_.SetVersion(version);
    if (version > 6) {
        version = ReadVersionInformation(binary);
        if (version == 0)
            return 1;
    }
    version_ = version;
    axes_.SetVersion(version);
    FindCorners(binary, false);
    return 0;
}

// The versions whose module pitch between the finder centres lies within 30% of the
// module measured at the finders themselves; none when no finder was measured.
std::optional<std::pair<int, int>> TCoordinates::PlausibleVersions() const {
    double module = 0;
    int measured = 0;
    for (int i = 0; i < 3; ++i)
        if (finder_.Module(i) > 0) {
            module += finder_.Module(i);
            ++measured;
        }
    if (measured == 0)
        return std::nullopt;
    module /= measured;
    const double modules = (axes_.Length1 + axes_.Length2) / 2 / module;
    // The finder centres are 4v + 10 modules apart.
    const double low = (modules / 1.3 - 10) / 4, high = (modules * 1.3 - 10) / 4;
    const int first = std::max(kMinVersion, static_cast<int>(std::ceil(low)));
    const int last = std::min(kMaxVersion, static_cast<int>(std::floor(high)));
    if (first > last)
        return std::nullopt;
    return std::pair{first, last};
}

// Colour changes along each axis, walked one pixel beside the line through the finder
// centres; the larger count gives a first guess that is never above the true version of a
// clean symbol, so the timing test can go upwards from it.
int TCoordinates::EstimateVersion(const TPlaneBoolean& binary) const {
    const TTimingPattern timing(finder_.Center(0), finder_.Center(1), finder_.Center(2));
    const TPoint p0 = finder_.Center(0);
    auto changes = [&](int steps, double along, double beside) {
        int count = 0;
        bool colour = true;
        for (int k = 0; k <= steps; ++k) {
            const int x = RoundToPixel(k * std::cos(along) + std::cos(beside) + p0.X);
            const int y = RoundToPixel(k * std::sin(along) + std::sin(beside) + p0.Y);
            const bool pixel = binary.ValueOr(x, y, false);
            if (pixel != colour) {
                ++count;
                colour = pixel;
            }
        }
        return count;
    };
    const int t = std::max(changes(timing.Distance1, timing.Angle1, timing.Angle2),
                           changes(timing.Distance2, timing.Angle2, timing.Angle1));
    return std::max(1, (t - 21) / 4 + 1);
}

int TCoordinates::ReadVersionInformation(const TPlaneBoolean& binary) const {
    auto sample = [&](double a, double b, TPoint origin) {
        const TPoint p = axes_.ModuleToPixel(a, b, origin);
        return binary.ValueOr(p.X, p.Y, false);
    };
    // Beside the top-right finder: six rows of three modules, bit 3·row + column.
    std::uint32_t bits = 0;
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 3; ++col)
            if (sample(-7 + col, -3 + row, axes_.P1))
                bits |= std::uint32_t{1} << (3 * row + col);
    if (int v = MatchVersion(bits))
        return v;
    // Beside the bottom-left finder the block is transposed.
    bits = 0;
    for (int col = 0; col < 6; ++col)
        for (int row = 0; row < 3; ++row)
            if (sample(-3 + col, -7 + row, axes_.P2))
                bits |= std::uint32_t{1} << (3 * col + row);
    return MatchVersion(bits);
}

bool TCoordinates::Refine(const TPlaneBoolean& binary, TPoint& estimate, double radius,
                          TPoint reference) const {
    const double pitch = std::max(axes_.Pitch1, axes_.Pitch2);
    const long long e = RoundToPixel(radius * pitch);
    const long long x0 = std::max<long long>(estimate.X - e, 0);
    const long long x1 = std::min<long long>(estimate.X + e, binary.Width() - 1);
    const long long y0 = std::max<long long>(estimate.Y - e, 0);
    const long long y1 = std::min<long long>(estimate.Y + e, binary.Height() - 1);
    long long best = 0;
    TPoint found;
    for (long long x = x0; x <= x1; ++x)
        for (long long y = y0; y <= y1; ++y) {
            if (!binary.At(static_cast<int>(x), static_cast<int>(y)))
                continue;
            const long long dx = x - reference.X, dy = y - reference.Y;
            const long long d = dx * dx + dy * dy;
            if (d > best) {
                best = d;
                found = {static_cast<int>(x), static_cast<int>(y)};
            }
        }
    if (best == 0)
        return false;
    estimate = found;
    return true;
}

// The direction of an outer edge seen from the corner `reference`: over the dark pixels of
// the box between the two corners, away from the reference by at least 0.3 of the box's
// diagonal, the largest (bottom edge) or smallest (right edge) angle. Those pixels lie on
// the outside of the symbol's edge, whatever the symbol's rotation.
double TCoordinates::EdgeAngle(const TPlaneBoolean& binary, TPoint reference, TPoint other,
                               bool largest) const {
    if (reference == other)
        throw EQRDecodeError("Base Angle Error");
    if (reference.Y == other.Y)
        return other.X > reference.X ? 0.0 : -kPi;
    if (reference.X == other.X)
        return other.Y > reference.Y ? kPi / 2 : -kPi / 2;

    const double least = 0.3 * Distance(reference, other);
    // A box above and to the left of its corner holds angles near −π; a pixel straight to
    // the left must count as −π there, not +π, or it would win the comparison.
    const bool aboveLeft = other.X < reference.X && other.Y < reference.Y;
    const int x0 = std::max(std::min(reference.X, other.X), 0);
    const int x1 = std::min(std::max(reference.X, other.X), binary.Width() - 1);
    const int y0 = std::max(std::min(reference.Y, other.Y), 0);
    const int y1 = std::min(std::max(reference.Y, other.Y), binary.Height() - 1);
    double best = largest ? -2 * kPi : 2 * kPi;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) {
            if (!binary.At(x, y) || Distance(reference, {x, y}) < least)
                continue;
            double a = std::atan2(static_cast<double>(y - reference.Y),
                                  static_cast<double>(x - reference.X));
            if (aboveLeft && a == kPi)
                a = -kPi;
            best = largest ? std::max(best, a) : std::min(best, a);
        }
    return best;
}

// The bottom-right corner is first looked for around 4(v - 1) + 16.5 modules from the
// corner finder's centre, a module inside the symbol's outer corner (n - 3.5 modules).
// That finds it when the corner module is dark and the symbol upright, but turned a
// little the true corner leaves a one-module window around that point; the second way
// (`outerCorner`) searches around the outer corner itself and takes the crossing of the
// edges whenever it is light and within the window.
void TCoordinates::FindCorners(const TPlaneBoolean& binary, bool outerCorner) {
    const int v = version_;
    TL = axes_.ModuleToPixel(-3.5, -3.5, axes_.P0);
    TR = axes_.ModuleToPixel(3.5, -3.5, axes_.P1);
    BL = axes_.ModuleToPixel(-3.5, 3.5, axes_.P2);
    const double corner = outerCorner ? SymbolSize(v) - 3.5 : 4 * (v - 1) + 16.5;
    const TPoint brEstimate = axes_.ModuleToPixel(corner, corner, axes_.P0);
    const TPoint blEstimate = BL;
    BR = brEstimate;

    Refine(binary, TL, 2, brEstimate);
    Refine(binary, TR, 2, blEstimate);
    Refine(binary, BL, 2, TR);
    if (Refine(binary, BR, cornerRadius_, axes_.P0)) {
        // A light bottom-right module leaves the farthest dark pixel inside the symbol;
        // the crossing of the bottom and right edges then marks the corner better.
        const double bottom = EdgeAngle(binary, BL, BR, true);
        const double right = EdgeAngle(binary, TR, BR, false);
        const double cb = std::cos(bottom), sb = std::sin(bottom);
        const double cr = std::cos(right), sr = std::sin(right);
        const double det = cb * sr - sb * cr;
        if (det == 0 || !std::isfinite(det))
            throw EQRDecodeError("Program Error");
        const double ex = TR.X - BL.X, ey = TR.Y - BL.Y;
        const double s = (ex * sr - ey * cr) / det;
        const double fx = BL.X + s * cb, fy = BL.Y + s * sb;
        if (!std::isfinite(fx) || !std::isfinite(fy))
            throw EQRDecodeError("Program Error");
        const TPoint crossing{RoundToPixel(fx), RoundToPixel(fy)};
        const bool light =
            binary.Contains(crossing.X, crossing.Y) && !binary.At(crossing.X, crossing.Y);
        const double window = cornerRadius_ * std::max(axes_.Pitch1, axes_.Pitch2);
        if (light && (outerCorner ? Distance(brEstimate, crossing) <= window
                                  : Distance(BR, crossing) > 0.5 * axes_.Pitch1))
            BR = crossing;
    }

    Top = Distance(TL, TR);
    Left = Distance(TL, BL);
    if (Top == 0 || Left == 0)
        throw EQRDecodeError("Program Error");
    AngleTop = PositiveAngle(
        std::atan2(static_cast<double>(TR.Y - TL.Y), static_cast<double>(TR.X - TL.X)));
    AngleLeft = PositiveAngle(
        std::atan2(static_cast<double>(BL.Y - TL.Y), static_cast<double>(BL.X - TL.X)));
    const TPoint d{TL.X + RoundToPixel(Top * std::cos(AngleTop) + Left * std::cos(AngleLeft)),
                   TL.Y + RoundToPixel(Top * std::sin(AngleTop) + Left * std::sin(AngleLeft))};
    Deviation = Distance(d, BR);
    AngleDeviation = std::atan2(static_cast<double>(BR.Y - d.Y), static_cast<double>(BR.X - d.X));
}

TPoint TCoordinates::ModuleToPixel(int column, int row) const {
    const double n = SymbolSize(version_);
    const double w = Top / n * (column + 0.5);
    const double h = Left / n * (row + 0.5);
    const double e = (w / Top) * Deviation * (h / Left);
    return {TL.X + RoundToPixel(w * std::cos(AngleTop) + h * std::cos(AngleLeft) +
                                e * std::cos(AngleDeviation)),
            TL.Y + RoundToPixel(w * std::sin(AngleTop) + h * std::sin(AngleLeft) +
                                e * std::sin(AngleDeviation))};
}

} // namespace pendlar
