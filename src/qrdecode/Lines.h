// Scan-line hits of the finder search: runs of dark and light pixels in the ratio
// 1:1:3:1:1, found along rows and columns, and their cluster representatives.
#pragma once

#include <cstdint>
#include <vector>

namespace pendlar {

struct TLine {
    std::uint8_t Live = 1;       // 1 until the line is taken into a cluster
    std::int32_t Count = 0;      // 0 for a raw hit; lines in the cluster for a representative
    std::int32_t X1 = 0, Y1 = 0; // first pixel (left end of a row hit, top of a column hit)
    std::int32_t X2 = 0, Y2 = 0; // last pixel
};

// A row hit and a column hit cross when each passes strictly through the other.
inline bool Cross(const TLine& row, const TLine& column) {
    return row.X1 < column.X1 && column.X1 < row.X2 && column.Y1 < row.Y1 && row.Y1 < column.Y2;
}

class TLines {
public:
    void Add(const TLine& line) { lines_.push_back(line); }
    const TLine& operator[](std::size_t i) const { return lines_[i]; }
    TLine& operator[](std::size_t i) { return lines_[i]; }
    void Put(std::size_t i, const TLine& line) { lines_[i] = line; }
    std::size_t Count() const { return lines_.size(); }
    void Clear() { lines_.clear(); }
    // Largest count first; equal counts keep their order.
    void SortByCount();

    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

private:
    std::vector<TLine> lines_;
};

} // namespace pendlar
