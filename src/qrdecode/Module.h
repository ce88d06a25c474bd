// A square grid of module cells: what was read, the data mask, the unmasked value and
// what the module is for.
#pragma once

#include <cstdint>
#include <vector>

namespace pendlar {

struct TModuleCell {
    std::uint8_t Raw = 0;      // 1 = dark in the image
    std::uint8_t Mask = 0;     // 1 where the data mask inverts
    std::uint8_t Unmasked = 0; // Raw XOR Mask
    std::uint8_t Kind = 0;     // one of the kinds below
};

class TModule {
public:
    static constexpr std::uint8_t kData = 0;
    static constexpr std::uint8_t kCentre = 1; // centre of a finder or alignment pattern
    static constexpr std::uint8_t kTiming = 2;
    static constexpr std::uint8_t kFunction = 3; // finder, separator, format, version, alignment

    explicit TModule(int size);

    int Size() const { return size_; }
    // A cell of zeros outside the grid.
    TModuleCell Cell(int x, int y) const;
    // Writes outside the grid are ignored.
    void SetCell(int x, int y, const TModuleCell& cell);

    std::uint8_t Raw(int x, int y) const { return Cell(x, y).Raw; }
    std::uint8_t Kind(int x, int y) const { return Cell(x, y).Kind; }
    std::uint8_t Unmasked(int x, int y) const { return Cell(x, y).Unmasked; }
    void SetRaw(int x, int y, std::uint8_t v);
    void SetMask(int x, int y, std::uint8_t v);
    void SetUnmasked(int x, int y, std::uint8_t v);
    void SetKind(int x, int y, std::uint8_t v);

private:
    TModuleCell* At(int x, int y);

    int size_;
    std::vector<TModuleCell> cells_;
};

} // namespace pendlar
