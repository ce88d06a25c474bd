// Encoding the data of one QR symbol into its module matrix.
#pragma once

#include "qrcode/QRMatrix.h"
#include "qrcode/Segmentation.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace pendlar {

struct QRSymbolRequest {
    std::string_view Data; // this symbol's part of the data
    int Version = 1;       // 1 to 40; never raised to make the data fit
    int Eclevel = 0;       // 0 L, 1 M, 2 Q, 3 H
    int Emode = -1;        // -1 automatic segmentation, else one segment of that QRDataMode
    int Masktype = -1;     // -1 lowest penalty, else the mask pattern 0 to 7
    // Structured append: this symbol is number Index (0-based) of Total linked symbols.
    bool Connect = false;
    int Index = 0;
    int Total = 1;
    std::uint8_t Parity = 0;
};

struct QRSymbol {
    bool Ok = false;
    QRMatrix Matrix;
    int Mask = -1; // the mask pattern used
    int Mode = -1; // the mode used (automatic: that of the last segment)
    std::vector<QRSegment> Segments;
    std::vector<std::uint8_t> DataCodewords; // before error correction
    std::vector<std::uint8_t> Codewords;     // final interleaved sequence
};

// Encodes one symbol. Ok is false (and the matrix empty) when the data do not fit the
// version and level or do not suit a fixed mode. Mode is set once the segments are known,
// even when they do not fit.
QRSymbol EncodeQRSymbol(const QRSymbolRequest& request);

// The final codeword sequence of the data codewords: error correction per block, then data
// and error correction codewords interleaved block by block.
std::vector<std::uint8_t> InterleaveQRBlocks(const std::vector<std::uint8_t>& data, int version,
                                             int eclevel);

} // namespace pendlar
