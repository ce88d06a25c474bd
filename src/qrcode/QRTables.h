// The fixed tables of QR symbols (Model 2, versions 1 to 40): sizes, codeword counts,
// block structure, character-count field widths, alignment pattern centres and the
// BCH-coded format and version information.
//
// Error correction levels are numbered as the control numbers them: 0 L, 1 M, 2 Q, 3 H.
#pragma once

#include "qrcode/QRTypes.h"

#include <cstdint>
#include <vector>

namespace pendlar {

constexpr int kQRMinVersion = 1;
constexpr int kQRMaxVersion = 40;
constexpr int kQRMaxSide = 177;

// Modules per side of a symbol of the version.
constexpr int QRSide(int version) {
    return 17 + 4 * version;
}

// How the codewords of one symbol are cut into Reed-Solomon blocks. The short blocks come
// first; each long block holds one data codeword more.
struct QRBlockLayout {
    int TotalCodewords = 0;
    int DataCodewords = 0;
    int EcPerBlock = 0;
    int ShortBlocks = 0;
    int LongBlocks = 0;
    int ShortBlockData = 0; // data codewords of a short block
};

QRBlockLayout QRBlocks(int version, int level);

// Codewords of the whole symbol, data and error correction together.
int QRTotalCodewords(int version);

// Data codewords of a symbol (its data capacity is 8 times as many bits).
int QRDataCodewords(int version, int level);

// Bits left over after the last codeword (they stay light before masking).
int QRRemainderBits(int version);

// Width of the character-count field of a segment.
int QRCharCountBits(QRDataMode mode, int version);

// Row and column positions of the alignment pattern centres (empty for version 1).
std::vector<int> QRAlignmentCentres(int version);

// The 15 format bits (level and mask, BCH-coded and masked with 101010000010010).
std::uint32_t QRFormatBits(int level, int mask);

// The 18 version bits (version 7 and above).
std::uint32_t QRVersionBits(int version);

// Characters of one mode that one symbol holds: digits, alphanumeric characters, bytes or
// kanji characters. With `headerBits` already used (a structured-append header).
int QRCapacity(int version, int level, QRDataMode mode, int headerBits = 0);

} // namespace pendlar
