#include "qrdecode/CenterDots.h"

#include <algorithm>
#include <numeric>

namespace pendlar {
namespace {

// Crossing is tested only against the hits whose position along the other axis lies
// strictly between the ends of the line, found by binary search in an index sorted by
// that position. The hits are then taken in their list order, so the clusters are exactly
// those of a plain walk over every pair, without its quadratic cost on busy crops.
class SortedIndex {
public:
    template <typename Key> SortedIndex(const TLines& lines, Key key) : keys_(lines.Count()) {
        order_.resize(lines.Count());
        std::iota(order_.begin(), order_.end(), std::size_t{0});
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            return key(lines[a]) < key(lines[b]);
        });
        for (std::size_t i = 0; i < order_.size(); ++i)
            keys_[i] = key(lines[order_[i]]);
    }

    // Indices of the lines whose key k satisfies low < k < high, in list order.
    void Between(std::int32_t low, std::int32_t high, std::vector<std::size_t>& out) const {
        out.clear();
        auto first = std::upper_bound(keys_.begin(), keys_.end(), low);
        auto last = std::lower_bound(first, keys_.end(), high);
        for (auto it = first; it != last; ++it)
            out.push_back(order_[static_cast<std::size_t>(it - keys_.begin())]);
        std::sort(out.begin(), out.end());
    }

private:
    std::vector<std::size_t> order_;
    std::vector<std::int32_t> keys_;
};

// For every line of `outer` in order, takes the live lines of `inner` that cross it
// (in list order), marks them taken, and appends the middle one of them as the cluster's
// representative with the cluster size as its count.
template <typename CrossFn>
void Cluster(const TLines& outer, TLines& inner, const SortedIndex& index, bool innerIsRow,
             CrossFn cross, TLines& representatives) {
    std::vector<std::size_t> candidates;
    std::vector<std::size_t> taken;
    for (const TLine& o : outer) {
        if (innerIsRow)
            index.Between(o.Y1, o.Y2, candidates);
        else
            index.Between(o.X1, o.X2, candidates);
        taken.clear();
        for (std::size_t i : candidates) {
            TLine& in = inner[i];
            if (in.Live && cross(in, o)) {
                in.Live = 0;
                taken.push_back(i);
            }
        }
        if (taken.empty())
            continue;
        TLine rep = inner[taken[taken.size() / 2]];
        rep.Count = static_cast<std::int32_t>(taken.size());
        representatives.Add(rep);
    }
    representatives.SortByCount();
}

} // namespace

bool TCenterDots::Find(TLines& rowHits, TLines& columnHits) {
    dots_.clear();
    horizontal_.Clear();
    vertical_.Clear();
    for (TPoint& p : points_)
        p = {};

    // Row hits clustered around each column hit: a row hit crosses when its row lies
    // strictly inside the column hit's span.
    SortedIndex rowsByY(rowHits, [](const TLine& l) { return l.Y1; });
    Cluster(
        columnHits, rowHits, rowsByY, true,
        [](const TLine& row, const TLine& column) { return Cross(row, column); }, horizontal_);
    // Column hits around each row hit, whether or not that row hit was taken above.
    SortedIndex columnsByX(columnHits, [](const TLine& l) { return l.X1; });
    Cluster(
        rowHits, columnHits, columnsByX, false,
        [](const TLine& column, const TLine& row) { return Cross(row, column); }, vertical_);

    for (const TLine& h : horizontal_)
        for (const TLine& v : vertical_)
            if (Cross(h, v))
                dots_.push_back({h.Count + v.Count, v.X1, h.Y1});
    if (dots_.size() < 3)
        return false;

    std::vector<bool> chosen(dots_.size(), false);
    for (TPoint& p : points_) {
        std::size_t best = dots_.size();
        for (std::size_t i = 0; i < dots_.size(); ++i)
            if (!chosen[i] && (best == dots_.size() || dots_[i].Weight > dots_[best].Weight))
                best = i;
        chosen[best] = true;
        p = {dots_[best].X, dots_[best].Y};
    }
    return true;
}

TPoint TCenterDots::Point(int i) const {
    return i >= 0 && i < 3 ? points_[i] : TPoint{};
}

} // namespace pendlar
