#include "qrcode/QRMatrix.h"

#include "qrcode/QRTables.h"

#include <algorithm>
#include <cstdlib>

namespace pendlar {

QRMatrix::QRMatrix(int version) {
    if (version < kQRMinVersion || version > kQRMaxVersion)
        return;
    version_ = version;
    side_ = QRSide(version);
    cells_.assign(static_cast<std::size_t>(side_ * side_), 0);

    // Finder patterns with their light separators.
    PlaceFinder(0, 0);
    PlaceFinder(0, side_ - 7);
    PlaceFinder(side_ - 7, 0);

    // Timing patterns: dark on even positions between the separators.
    for (int i = 8; i < side_ - 8; ++i) {
        Set(6, i, i % 2 == 0);
        Set(i, 6, i % 2 == 0);
    }

    // Alignment patterns wherever they do not overlap a finder pattern.
    const std::vector<int> centres = QRAlignmentCentres(version);
    const std::size_t n = centres.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0))
                continue;
            PlaceAlignment(centres[i], centres[j]);
        }

    // Format areas (written with the mask) and the dark module.
    for (int i = 0; i <= 8; ++i) {
        if (i != 6) {
            Set(8, i, false);
            Set(i, 8, false);
        }
    }
    for (int i = 0; i < 8; ++i) {
        Set(8, side_ - 1 - i, false);
        Set(side_ - 1 - i, 8, false);
    }
    Set(side_ - 8, 8, true);

    // Version information: two 6 x 3 blocks beside the upper-right and lower-left finders.
    if (version >= 7) {
        const std::uint32_t bits = QRVersionBits(version);
        for (int i = 0; i < 18; ++i) {
            const bool dark = ((bits >> i) & 1) != 0;
            const int a = side_ - 11 + i % 3;
            const int b = i / 3;
            Set(b, a, dark);
            Set(a, b, dark);
        }
    }
}

void QRMatrix::Set(int row, int col, bool dark, std::uint8_t flags) {
    cells_[static_cast<std::size_t>(row * side_ + col)] =
        static_cast<std::uint8_t>(flags | (dark ? kDark : 0));
}

void QRMatrix::PlaceFinder(int row, int col) {
    for (int dr = -1; dr <= 7; ++dr)
        for (int dc = -1; dc <= 7; ++dc) {
            const int r = row + dr, c = col + dc;
            if (r < 0 || c < 0 || r >= side_ || c >= side_)
                continue;
            const int ring = std::max(std::abs(dr - 3), std::abs(dc - 3));
            Set(r, c, ring != 2 && ring != 4);
        }
}

void QRMatrix::PlaceAlignment(int row, int col) {
    for (int dr = -2; dr <= 2; ++dr)
        for (int dc = -2; dc <= 2; ++dc)
            Set(row + dr, col + dc, std::max(std::abs(dr), std::abs(dc)) != 1);
}

int QRMatrix::DataModules() const {
    int n = 0;
    for (std::uint8_t c : cells_)
        if (!(c & kFunction))
            ++n;
    return n;
}

void QRMatrix::PlaceCodewords(const std::vector<std::uint8_t>& codewords) {
    const long bits = 8L * static_cast<long>(codewords.size());
    long i = 0;
    for (int right = side_ - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5; // the vertical timing pattern takes no part in the columns
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < side_; ++step) {
            const int row = upward ? side_ - 1 - step : step;
            for (int j = 0; j < 2; ++j) {
                const int col = right - j;
                std::uint8_t& cell = cells_[static_cast<std::size_t>(row * side_ + col)];
                if (cell & kFunction)
                    continue;
                bool bit = false;
                if (i < bits) {
                    bit = ((codewords[static_cast<std::size_t>(i >> 3)] >> (7 - (i & 7))) & 1) != 0;
                    ++i;
                }
                cell = bit ? kData : 0;
            }
        }
    }
}

bool QRMatrix::MaskInverts(int mask, int row, int col) {
    switch (mask) {
    case 0:
        return (row + col) % 2 == 0;
    case 1:
        return row % 2 == 0;
    case 2:
        return col % 3 == 0;
    case 3:
        return (row + col) % 3 == 0;
    case 4:
        return (row / 2 + col / 3) % 2 == 0;
    case 5:
        return (row * col) % 2 + (row * col) % 3 == 0;
    case 6:
        return ((row * col) % 2 + (row * col) % 3) % 2 == 0;
    case 7:
        return ((row + col) % 2 + (row * col) % 3) % 2 == 0;
    default:
        return false;
    }
}

void QRMatrix::ApplyMask(int mask, int level) {
    for (int r = 0; r < side_; ++r)
        for (int c = 0; c < side_; ++c) {
            std::uint8_t& cell = cells_[static_cast<std::size_t>(r * side_ + c)];
            if (cell & kFunction)
                continue;
            const bool dark = ((cell & kData) != 0) != MaskInverts(mask, r, c);
            cell = static_cast<std::uint8_t>((cell & kData) | (dark ? kDark : 0));
        }

    // Format bit 0 is the least significant; both copies read towards the finders.
    const std::uint32_t bits = QRFormatBits(level, mask);
    auto bit = [bits](int i) { return ((bits >> i) & 1) != 0; };
    for (int i = 0; i <= 5; ++i)
        Set(i, 8, bit(i));
    Set(7, 8, bit(6));
    Set(8, 8, bit(7));
    Set(8, 7, bit(8));
    for (int i = 9; i < 15; ++i)
        Set(8, 14 - i, bit(i));
    for (int i = 0; i < 8; ++i)
        Set(8, side_ - 1 - i, bit(i));
    for (int i = 8; i < 15; ++i)
        Set(side_ - 15 + i, 8, bit(i));
    Set(side_ - 8, 8, true);
}

namespace {

// Runs of five or more and finder-like sequences along one line of modules, `stride`
// apart. Written without data-dependent branches: the modules of a real symbol are close
// to random, and mispredicted branches would cost more than the counting itself.
int LinePenalty(const std::uint8_t* m, int side, int stride) {
    int score = 0;
    int run = 1;
    // The last nine modules as bits, the newest lowest; before the line they are light, so
    // the edge counts as a light module.
    unsigned window = m[0];
    for (int k = 1; k < side; ++k) {
        const std::uint8_t d = m[k * stride];
        const bool same = d == m[(k - 1) * stride];
        score += (!same && run >= 5) ? run - 2 : 0;
        run = same ? run + 1 : 1;
        window = ((window << 1) | d) & 0x1FF;
        score += window == 0xBA ? 40 : 0; // light, dark-light-dark-dark-dark-light-dark, light
    }
    score += run >= 5 ? run - 2 : 0;
    window = (window << 1) & 0x1FF; // the edge after the line
    score += window == 0xBA ? 40 : 0;
    return score;
}

// The penalty of a square of modules given as 0 (light) and 1 (dark), row by row.
int SquarePenalty(const std::vector<std::uint8_t>& m, int side) {
    int score = 0;
    for (int line = 0; line < side; ++line) {
        score += LinePenalty(m.data() + line * side, side, 1);
        score += LinePenalty(m.data() + line, side, side);
    }
    // 2 x 2 blocks of one colour, overlapping.
    for (int r = 0; r + 1 < side; ++r) {
        const std::uint8_t* a = m.data() + r * side;
        const std::uint8_t* b = a + side;
        for (int c = 0; c + 1 < side; ++c) {
            const int sum = a[c] + a[c + 1] + b[c] + b[c + 1];
            score += (sum == 0 || sum == 4) ? 3 : 0;
        }
    }
    // Balance of dark and light, in whole percent.
    long darkCount = 0;
    for (std::uint8_t d : m)
        darkCount += d;
    const long percent = darkCount * 100 / static_cast<long>(m.size());
    score += static_cast<int>(std::labs(percent - 50) / 5) * 10;
    return score;
}

} // namespace

int QRMatrix::Penalty() const {
    std::vector<std::uint8_t> dark(cells_.size());
    for (std::size_t i = 0; i < cells_.size(); ++i)
        dark[i] = (cells_[i] & kDark) ? 1 : 0;
    return side_ > 0 ? SquarePenalty(dark, side_) : 0;
}

int QRMatrix::Penalty(const std::vector<bool>& modules, int side) {
    if (side <= 0 || modules.size() != static_cast<std::size_t>(side) * side)
        return 0;
    return SquarePenalty(std::vector<std::uint8_t>(modules.begin(), modules.end()), side);
}

} // namespace pendlar
