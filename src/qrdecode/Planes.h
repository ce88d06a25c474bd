// The image and module planes shared by every stage of the QR decoder.
//
// A plane is indexed [x][y], column first, like the matrices the stages describe: x runs
// over the width, y over the height. The cells are kept row by row, the order in which
// bitmaps arrive and rows are scanned. Reading outside a plane is the caller's business;
// ValueOr gives the common "outside counts as light" rule in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace pendlar {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

template <typename T> class TPlane {
    // Booleans are kept one per byte: std::vector<bool> would make every access a bit
    // operation and the binary plane is the decoder's hottest data.
    using Cell = std::conditional_t<std::is_same_v<T, bool>, std::uint8_t, T>;

public:
    TPlane() = default;
    TPlane(int width, int height, T fill = T{})
        : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
          cells_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                 static_cast<Cell>(fill)) {}

    // Gives the plane a new size with every cell `fill`, reusing its memory.
    void Reset(int width, int height, T fill = T{}) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        cells_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                      static_cast<Cell>(fill));
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return cells_.empty(); }

    bool Contains(long long x, long long y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    // Coordinates must be inside.
    T At(int x, int y) const { return static_cast<T>(cells_[Index(x, y)]); }
    void Set(int x, int y, T value) { cells_[Index(x, y)] = static_cast<Cell>(value); }
    // The value at (x, y), or `outside` for a point off the plane.
    T ValueOr(long long x, long long y, T outside) const {
        return Contains(x, y) ? At(static_cast<int>(x), static_cast<int>(y)) : outside;
    }

    friend bool operator==(const TPlane&, const TPlane&) = default;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Cell> cells_;
};

// Colours (red in the low byte, blue in the high byte), then grey levels.
using TPlaneInteger = TPlane<std::int32_t>;
// true = dark.
using TPlaneBoolean = TPlane<bool>;
using TPlanePoint = TPlane<TPoint>;
using TBooleans = std::vector<bool>;
using TIntegers = std::vector<std::int32_t>;

} // namespace pendlar
