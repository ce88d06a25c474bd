// The alignment-pattern coordinates of a version: every pair (c_i, c_j) of them is the
// centre of an alignment pattern unless a finder covers it. Version 1 carries the pair
// 6, 14, whose only pattern off the finders (14, 14) the arrangement leaves out.
#pragma once

#include <vector>

namespace pendlar {

class TSeedModule {
public:
    explicit TSeedModule(int version);

    int Count() const { return static_cast<int>(coordinates_.size()); }
    int Coordinate(int i) const { return coordinates_[static_cast<std::size_t>(i)]; }
    const std::vector<int>& Coordinates() const { return coordinates_; }

private:
    std::vector<int> coordinates_;
};

} // namespace pendlar
