#include "qrdecode/FinderShape.h"

#include "qrdecode/FindPattern.h"

#include <algorithm>
#include <cmath>

namespace pendlar {
namespace {

// The light frame beyond the outer dark ring, in modules. A finder has at least the one
// module of its separator there; ink that spreads in print or scan eats into it as it eats
// into the light ring, so only part of it is asked for.
constexpr double kFrame = 0.4;

// Runs along one ray from the centre (excluded): the rest of the dark core, the light
// ring, the dark ring. Outside the image counts as light, so a ray that leaves the image
// in a light run can stop: that run has no end.
struct Ray {
    int Core = 0, Ring = 0, Outer = 0;
    bool Complete = false;
};

Ray WalkRay(const TPlaneBoolean& binary, TPoint centre, int dx, int dy) {
    Ray ray;
    int* runs[3] = {&ray.Core, &ray.Ring, &ray.Outer};
    int phase = 0; // 0 core (dark), 1 ring (light), 2 outer ring (dark)
    for (long long k = 1;; ++k) {
        const long long x = centre.X + k * dx, y = centre.Y + k * dy;
        const bool inside = binary.Contains(x, y);
        const bool dark = inside && binary.At(static_cast<int>(x), static_cast<int>(y));
        const bool wanted = phase != 1;
        if (dark == wanted) {
            ++*runs[phase];
        } else if (phase == 2) {
            ray.Complete = true;
            return ray;
        } else {
            ++phase;
            *runs[phase] = 1;
        }
        if (!inside && !dark && phase == 1)
            return ray; // the light ring would run on for ever
    }
}

// Light pixels along the ray beyond `start` steps, counted up to `wanted`.
int FrameLength(const TPlaneBoolean& binary, TPoint centre, int dx, int dy, int start, int wanted) {
    int light = 0;
    for (int k = start + 1; light < wanted; ++k) {
        const long long x = centre.X + static_cast<long long>(k) * dx;
        const long long y = centre.Y + static_cast<long long>(k) * dy;
        if (binary.ValueOr(x, y, false))
            break;
        ++light;
    }
    return light;
}

// The middle of the dark run through `p` along (dx, dy), rounded towards `p`.
TPoint CoreMiddle(const TPlaneBoolean& binary, TPoint p, int dx, int dy) {
    auto run = [&](int sign) {
        int k = 0;
        while (binary.ValueOr(p.X + static_cast<long long>(k + 1) * sign * dx,
                              p.Y + static_cast<long long>(k + 1) * sign * dy, false))
            ++k;
        return k;
    };
    const int shift = (run(1) - run(-1)) / 2;
    return {p.X + shift * dx, p.Y + shift * dy};
}

} // namespace

double FinderModule(const TPlaneBoolean& binary, TPoint centre) {
    if (!binary.ValueOr(centre.X, centre.Y, false))
        return 0;
    // The candidate lies somewhere in the core; the diagonals pass through the rings'
    // corners only from its middle.
    centre = CoreMiddle(binary, centre, 1, 0);
    centre = CoreMiddle(binary, centre, 0, 1);
    static constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    double module = 0;
    for (const auto& d : kDirections) {
        const Ray ahead = WalkRay(binary, centre, d[0], d[1]);
        const Ray behind = WalkRay(binary, centre, -d[0], -d[1]);
        if (!ahead.Complete || !behind.Complete)
            return 0;
        // Oldest run first, as the scan-line test takes them.
        const int runs[5] = {behind.Outer, behind.Ring, behind.Core + 1 + ahead.Core, ahead.Ring,
                             ahead.Outer};
        if (!FinderRatio(runs, 4))
            return 0;
        const double steps = runs[0] + runs[1] + runs[2] + runs[3] + runs[4];
        const int frame = std::max(1, static_cast<int>(std::ceil(kFrame * steps / 7)));
        if (FrameLength(binary, centre, d[0], d[1], ahead.Core + ahead.Ring + ahead.Outer, frame) <
                frame ||
            FrameLength(binary, centre, -d[0], -d[1], behind.Core + behind.Ring + behind.Outer,
                        frame) < frame)
            return 0;
        // A diagonal step is √2 pixels long. Across a turned square the line through the
        // centre is longest on the square's diagonals, so the shortest of the four lines is
        // the nearest to the module size.
        const double pixels = steps / 7 * (d[0] != 0 && d[1] != 0 ? std::sqrt(2.0) : 1.0);
        module = module == 0 ? pixels : std::min(module, pixels);
    }
    return module;
}

bool FinderTriangle(const TPoint (&centres)[3], const double (&modules)[3]) {
    const double smallest = std::min({modules[0], modules[1], modules[2]});
    const double largest = std::max({modules[0], modules[1], modules[2]});
    if (smallest <= 0 || largest > 1.5 * smallest)
        return false;
    const double module = (modules[0] + modules[1] + modules[2]) / 3;

    auto squared = [&](int i, int j) {
        const double dx = centres[j].X - centres[i].X, dy = centres[j].Y - centres[i].Y;
        return dx * dx + dy * dy;
    };
    // The corner finder faces the longest side.
    int corner = 0;
    double longest = -1;
    for (int i = 0; i < 3; ++i) {
        const double opposite = squared((i + 1) % 3, (i + 2) % 3);
        if (opposite > longest) {
            longest = opposite;
            corner = i;
        }
    }
    const TPoint p0 = centres[corner], a = centres[(corner + 1) % 3], b = centres[(corner + 2) % 3];
    const double ax = a.X - p0.X, ay = a.Y - p0.Y, bx = b.X - p0.X, by = b.Y - p0.Y;
    const double la = std::sqrt(ax * ax + ay * ay), lb = std::sqrt(bx * bx + by * by);
    if (la == 0 || lb == 0)
        return false;
    // Sides of nearly equal length, nearly square to each other, and 14 (version 1) to 170
    // (version 40) modules long, with room for a scan that is not quite true.
    if (std::max(la, lb) > 1.25 * std::min(la, lb))
        return false;
    if (std::abs(ax * bx + ay * by) > 0.3 * la * lb)
        return false;
    const double span = (la + lb) / 2 / module;
    return span >= 0.75 * 14 && span <= 1.25 * 170;
}

} // namespace pendlar
