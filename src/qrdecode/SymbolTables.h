// The fixed tables of QR Code Model 2 that the decoder needs, for versions 1 to 40.
// Levels are numbered 0 = L, 1 = M, 2 = Q, 3 = H.
#pragma once

#include <cstdint>

namespace pendlar {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;

constexpr int SymbolSize(int version) {
    return 4 * version + 17;
}

// Error-correction codewords in each block and the number of blocks.
int EccCodewordsPerBlock(int version, int level);
int BlockCount(int version, int level);

// Codewords of a block that only detect errors: the small symbols keep a few of their
// error-correction codewords back so that a damaged symbol is not silently misread.
int MisdecodeProtection(int version, int level);

// The 18-bit version information code of versions 7 to 40; 0 for any other version.
std::uint32_t VersionInformationCode(int version);

// The 15-bit format code (before the 0x5412 mask) of the 5-bit value 0-31.
std::uint16_t FormatCode(int value);

enum class TSegmentMode { Numeric, Alphanumeric, Byte, Kanji };

// Width of the character-count field of a segment in a symbol of this version.
int CharacterCountBits(int version, TSegmentMode mode);

// The 45 characters of the alphanumeric mode in value order.
inline constexpr char kAlphanumericSet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";

} // namespace pendlar
