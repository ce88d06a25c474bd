// The module matrix of one QR symbol.
//
// Each module is one byte: bit 0 is the data bit before masking, bit 1 the final colour
// (1 = dark) and bit 2 marks a module of a function pattern or of the reserved format and
// version areas. Rows and columns count from the top-left corner.
#pragma once

#include <cstdint>
#include <vector>

namespace pendlar {

class QRMatrix {
public:
    static constexpr std::uint8_t kData = 1;
    static constexpr std::uint8_t kDark = 2;
    static constexpr std::uint8_t kFunction = 4;

    QRMatrix() = default;
    // A matrix of the version (1 to 40) holding its function patterns, the dark module and
    // the version information; the format areas are reserved and light.
    explicit QRMatrix(int version);

    int Version() const { return version_; }
    int Side() const { return side_; }
    bool Empty() const { return side_ == 0; }

    std::uint8_t Cell(int row, int col) const {
        return cells_[static_cast<std::size_t>(row * side_ + col)];
    }
    bool Dark(int row, int col) const { return (Cell(row, col) & kDark) != 0; }
    bool IsFunction(int row, int col) const { return (Cell(row, col) & kFunction) != 0; }

    // Modules that carry codeword bits (all that are not function modules).
    int DataModules() const;

    // Writes the codeword bits into the data modules in the placement order: two-module
    // columns from the right, upwards and downwards in turn, skipping the vertical timing
    // pattern. Modules left over stay 0.
    void PlaceCodewords(const std::vector<std::uint8_t>& codewords);

    // Sets the final colour of every data module from its data bit and the mask pattern
    // (0 to 7), and writes the format information for the level and mask.
    void ApplyMask(int mask, int level);

    // True where mask pattern `mask` inverts the module.
    static bool MaskInverts(int mask, int row, int col);

    // The penalty of the matrix as it stands, function patterns included: runs of five or
    // more of one colour (length - 2), 2 x 2 blocks of one colour (3 each, overlapping),
    // 1:1:3:1:1 finder-like sequences with a light module or the edge on both sides (40
    // each), and 10 for each full 5 percent the dark share lies away from half.
    int Penalty() const;
    // The same penalty for any square of modules, row by row (true = dark).
    static int Penalty(const std::vector<bool>& dark, int side);

private:
    void Set(int row, int col, bool dark, std::uint8_t flags = kFunction);
    void PlaceFinder(int row, int col);
    void PlaceAlignment(int row, int col);

    int version_ = 0;
    int side_ = 0;
    std::vector<std::uint8_t> cells_;
};

} // namespace pendlar
