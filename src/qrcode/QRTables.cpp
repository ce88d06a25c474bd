#include "qrcode/QRTables.h"

#include "qrcode/Segmentation.h"

namespace pendlar {
namespace {

// Codewords per symbol, versions 1 to 40.
constexpr int kTotalCodewords[40] = {26,   44,   70,   100,  134,  172,  196,  242,  292,  346,
                                     404,  466,  532,  581,  655,  733,  815,  901,  991,  1085,
                                     1156, 1258, 1364, 1474, 1588, 1706, 1828, 1921, 2051, 2185,
                                     2323, 2465, 2611, 2761, 2876, 3034, 3196, 3362, 3532, 3706};

constexpr int kRemainderBits[40] = {0, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 3,
                                    4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 0, 0, 0, 0, 0, 0};

// Error correction codewords per block, by level L, M, Q, H and version.
constexpr int kEcPerBlock[4][40] = {
    {7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}};

// Number of blocks, by level and version.
constexpr int kBlocks[4][40] = {
    {1, 1, 1, 1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7,  8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81}};

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

int QRTotalCodewords(int version) {
    return kTotalCodewords[Clamp(version, kQRMinVersion, kQRMaxVersion) - 1];
}

int QRRemainderBits(int version) {
    return kRemainderBits[Clamp(version, kQRMinVersion, kQRMaxVersion) - 1];
}

QRBlockLayout QRBlocks(int version, int level) {
    version = Clamp(version, kQRMinVersion, kQRMaxVersion);
    level = Clamp(level, 0, 3);
    QRBlockLayout b;
    b.TotalCodewords = kTotalCodewords[version - 1];
    b.EcPerBlock = kEcPerBlock[level][version - 1];
    const int blocks = kBlocks[level][version - 1];
    b.DataCodewords = b.TotalCodewords - blocks * b.EcPerBlock;
    b.LongBlocks = b.TotalCodewords % blocks;
    b.ShortBlocks = blocks - b.LongBlocks;
    b.ShortBlockData = b.TotalCodewords / blocks - b.EcPerBlock;
    return b;
}

int QRDataCodewords(int version, int level) {
    return QRBlocks(version, level).DataCodewords;
}

int QRCharCountBits(QRDataMode mode, int version) {
    static constexpr int kBits[3][4] = {{10, 9, 8, 8}, {12, 11, 16, 10}, {14, 13, 16, 12}};
    const int range = version <= 9 ? 0 : (version <= 26 ? 1 : 2);
    return kBits[range][Clamp(mode, 0, 3)];
}

std::vector<int> QRAlignmentCentres(int version) {
    if (version < 2 || version > kQRMaxVersion)
        return {};
    // The centres run from 6 to side - 7 in equal even steps counted from the far end;
    // only the first gap may be wider. Version 32 is the one exception to the rounding.
    const int count = version / 7 + 2;
    const int last = QRSide(version) - 7;
    int step = version == 32 ? 26 : ((last - 6) + (count - 1) - 1) / (count - 1);
    if (step % 2 != 0)
        ++step;
    std::vector<int> centres(static_cast<std::size_t>(count));
    centres[0] = 6;
    for (int i = count - 1, pos = last; i >= 1; --i, pos -= step)
        centres[static_cast<std::size_t>(i)] = pos;
    return centres;
}

std::uint32_t QRFormatBits(int level, int mask) {
    static constexpr std::uint32_t kLevelBits[4] = {1, 0, 3, 2}; // L 01, M 00, Q 11, H 10
    const std::uint32_t data = (kLevelBits[Clamp(level, 0, 3)] << 3) | (mask & 7);
    std::uint32_t rem = data;
    for (int i = 0; i < 10; ++i)
        rem = (rem << 1) ^ (((rem >> 9) & 1) * 0x537);
    return ((data << 10) | (rem & 0x3FF)) ^ 0x5412;
}

std::uint32_t QRVersionBits(int version) {
    std::uint32_t rem = static_cast<std::uint32_t>(version);
    for (int i = 0; i < 12; ++i)
        rem = (rem << 1) ^ (((rem >> 11) & 1) * 0x1F25);
    return (static_cast<std::uint32_t>(version) << 12) | (rem & 0xFFF);
}

int QRCapacity(int version, int level, QRDataMode mode, int headerBits) {
    const long available = 8L * QRDataCodewords(version, level) - headerBits;
    const long unit = mode == qrKanji ? 2 : 1; // bytes per character
    // The largest character count whose segment still fits; segment cost grows with length.
    int lo = 0, hi = 8000;
    if (QRSegmentCost(mode, 0, version) > available)
        return 0;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (QRSegmentCost(mode, static_cast<std::size_t>(mid * unit), version) <= available)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

} // namespace pendlar
