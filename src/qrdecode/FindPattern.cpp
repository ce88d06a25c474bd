#include "qrdecode/FindPattern.h"

#include "qrdecode/FinderShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace pendlar {
namespace {

// Walks one line of `length` pixels and reports every pattern that ends where a dark run
// gives way to light; `emit(first, last)` gets the pattern's pixel range along the line. A
// dark run that reaches the end of the line reports nothing.
template <typename DarkFn, typename EmitFn> void ScanLine(int length, DarkFn dark, EmitFn emit) {
    int counters[5] = {0, 0, 0, 0, 0};
    int current = 0;
    bool colour = false;
    for (int k = 0; k < length; ++k) {
        const bool pixel = dark(k);
        if (pixel == colour) {
            ++counters[current];
            continue;
        }
        if (!pixel && FinderRatio(counters, current)) {
            const int sum = counters[0] + counters[1] + counters[2] + counters[3] + counters[4];
            emit(k - sum, k - 1);
        }
        current = (current + 1) % 5;
        counters[current] = 1;
        colour = pixel;
    }
}

double SideLength(TPoint a, TPoint b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    return std::trunc(std::sqrt(dx * dx + dy * dy));
}

} // namespace

bool FinderRatio(const int (&counters)[5], int current) {
    static constexpr int kExpected[5] = {1, 1, 3, 1, 1};
    const std::int64_t sum = static_cast<std::int64_t>(counters[0]) + counters[1] + counters[2] +
                             counters[3] + counters[4];
    // m·e − m/2 ≤ r ≤ m·e + m/2 with m = sum / 7, multiplied out by 14 so that the limits
    // (for example a centre run of exactly 3.5 modules) are decided without rounding.
    for (int n = 0; n < 5; ++n) {
        const std::int64_t run = counters[(current + 1 + n) % 5];
        const std::int64_t e = kExpected[n];
        if (14 * run < sum * (2 * e - 1) || 14 * run > sum * (2 * e + 1))
            return false;
    }
    return true;
}

int TFindPattern::Search(const TPlaneBoolean& binary) {
    rowHits_.Clear();
    columnHits_.Clear();
    for (int i = 0; i < 3; ++i) {
        centres_[i] = plainCentres_[i] = {};
        modules_[i] = plainModules_[i] = 0;
    }
    const int w = binary.Width();
    const int h = binary.Height();

    for (int y = 0; y < h; ++y)
        ScanLine(
            w, [&](int x) { return binary.At(x, y); },
            [&](int first, int last) {
                rowHits_.Add({1, 0, first, y, last, y});
            });
    for (int x = 0; x < w; ++x)
        ScanLine(
            h, [&](int y) { return binary.At(x, y); },
            [&](int first, int last) {
                columnHits_.Add({1, 0, x, first, x, last});
            });

    if (!dots_.Find(rowHits_, columnHits_))
        return 1;
    Order(dots_.Point(0), dots_.Point(1), dots_.Point(2));
    for (int i = 0; i < 3; ++i) {
        plainCentres_[i] = centres_[i];
        plainModules_[i] = FinderModule(binary, centres_[i]);
    }
    if (ChooseConfirmed(binary)) {
        for (int i = 0; i < 3; ++i)
            modules_[i] = FinderModule(binary, centres_[i]);
    } else {
        for (int i = 0; i < 3; ++i)
            modules_[i] = plainModules_[i];
    }
    return 0;
}

bool TFindPattern::UsePlainChoice() {
    if (std::equal(centres_, centres_ + 3, plainCentres_))
        return false;
    for (int i = 0; i < 3; ++i) {
        centres_[i] = plainCentres_[i];
        modules_[i] = plainModules_[i];
    }
    return true;
}

// The first three candidates in order of weight (the first of equal weights in list
// order, as the plain choice takes them) that pass the closer look and make one symbol.
bool TFindPattern::ChooseConfirmed(const TPlaneBoolean& binary) {
    // Enough for every true finder, even when chance crossings outweigh them; it bounds
    // the triples tried on a crop full of look-alikes.
    constexpr std::size_t kMostCandidates = 40;
    const std::vector<TCenterDot>& dots = dots_.Dots();
    std::vector<std::size_t> order(dots.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return dots[a].Weight > dots[b].Weight; });
    std::vector<TPoint> points;
    std::vector<double> modules;
    for (std::size_t i : order) {
        const TPoint p{dots[i].X, dots[i].Y};
        if (std::find(points.begin(), points.end(), p) != points.end())
            continue;
        const double m = FinderModule(binary, p);
        if (m > 0) {
            points.push_back(p);
            modules.push_back(m);
            if (points.size() == kMostCandidates)
                break;
        }
    }
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            for (std::size_t k = j + 1; k < n; ++k) {
                const TPoint triple[3] = {points[i], points[j], points[k]};
                const double sizes[3] = {modules[i], modules[j], modules[k]};
                if (FinderTriangle(triple, sizes)) {
                    Order(triple[0], triple[1], triple[2]);
                    return true;
                }
            }
    return false;
}

void TFindPattern::Order(TPoint q0, TPoint q1, TPoint q2) {
    const TPoint q[3] = {q0, q1, q2};
    // The longest side joins P1 and P2; the point off it is the corner. Ties keep the
    // earlier side.
    int longest = 0;
    double longestLength = SideLength(q[0], q[1]);
    for (int side = 1; side < 3; ++side) {
        const double length = SideLength(q[side], q[(side + 1) % 3]);
        if (length > longestLength) {
            longest = side;
            longestLength = length;
        }
    }
    const TPoint end1 = q[longest];
    const TPoint end2 = q[(longest + 1) % 3];
    int corner = 0;
    for (int i = 0; i < 3; ++i)
        if (!(q[i] == end1) && !(q[i] == end2)) {
            corner = i;
            break;
        }

    const TPoint p0 = q[corner];
    TPoint a, b;
    bool haveA = false;
    for (int i = 0; i < 3; ++i) {
        if (i == corner)
            continue;
        if (!haveA) {
            a = q[i];
            haveA = true;
        } else {
            b = q[i];
        }
    }

    auto angle = [&](TPoint p) {
        double t = std::atan2(static_cast<double>(p.Y - p0.Y), static_cast<double>(p.X - p0.X));
        return t < 0 ? t + 2 * std::numbers::pi : t;
    };
    const double angleA = angle(a);
    const double angleB = angle(b);
    bool aFirst;
    if (angleA < angleB)
        aFirst = angleB - angleA < std::numbers::pi;
    else
        aFirst = !(angleA - angleB < std::numbers::pi);
    centres_[0] = p0;
    centres_[1] = aFirst ? a : b;
    centres_[2] = aFirst ? b : a;
}

} // namespace pendlar
