#include "qrdecode/SymbolTables.h"

namespace pendlar {
namespace {

// Index 0 is unused so that the tables read by version.
constexpr int kEccPerBlock[4][41] = {
    {0,  7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0,  13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};

constexpr int kBlocks[4][41] = {
    {0, 1, 1, 1,  1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0,  1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0,  1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0,  1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

bool Valid(int version, int level) {
    return version >= kMinVersion && version <= kMaxVersion && level >= 0 && level <= 3;
}

// Remainder of value·x^shift divided by the generator, in GF(2)[x].
constexpr std::uint32_t BchRemainder(std::uint32_t value, int shift, std::uint32_t generator,
                                     int generatorDegree) {
    std::uint32_t r = value << shift;
    for (int bit = shift + generatorDegree; bit >= generatorDegree; --bit)
        if (r & (std::uint32_t{1} << bit))
            r ^= generator << (bit - generatorDegree);
    return r;
}

} // namespace

int EccCodewordsPerBlock(int version, int level) {
    return Valid(version, level) ? kEccPerBlock[level][version] : 0;
}

int BlockCount(int version, int level) {
    return Valid(version, level) ? kBlocks[level][version] : 0;
}

int MisdecodeProtection(int version, int level) {
    if (version == 1)
        return level == 0 ? 3 : level == 1 ? 2 : 1;
    if (version == 2 && level == 0)
        return 2;
    if (version == 3 && level == 0)
        return 1;
    return 0;
}

std::uint32_t VersionInformationCode(int version) {
    if (version < 7 || version > kMaxVersion)
        return 0;
    const auto v = static_cast<std::uint32_t>(version);
    return (v << 12) | BchRemainder(v, 12, 0x1F25, 12);
}

std::uint16_t FormatCode(int value) {
    const auto v = static_cast<std::uint32_t>(value & 0x1F);
    return static_cast<std::uint16_t>((v << 10) | BchRemainder(v, 10, 0x537, 10));
}

int CharacterCountBits(int version, TSegmentMode mode) {
    static constexpr int kBits[3][4] = {{10, 9, 8, 8}, {12, 11, 16, 10}, {14, 13, 16, 12}};
    const int range = version <= 9 ? 0 : version <= 26 ? 1 : 2;
    return kBits[range][static_cast<int>(mode)];
}

} // namespace pendlar
