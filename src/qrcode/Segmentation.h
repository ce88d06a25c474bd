// Character classes, segment costs and the automatic choice of segments for the data of
// one symbol.
#pragma once

#include "qrcode/QRTypes.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace pendlar {

// One run of the data written in one mode: `Length` bytes from `Offset`.
struct QRSegment {
    QRDataMode Mode = qrByte;
    std::size_t Offset = 0;
    std::size_t Length = 0;
    friend bool operator==(const QRSegment&, const QRSegment&) = default;
};

// True for a Shift-JIS trail byte (0x40-0x7E, 0x80-0xFC).
constexpr bool IsQRTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// True for a byte of the alphanumeric set: digits, A-Z, space and $ % * + - . / :
bool IsQRAlphanumeric(unsigned char c);

// The 13-bit kanji-mode value of the double-byte character at `pos`, or -1 when the two
// bytes there cannot be written in kanji mode. Kanji mode holds 0x8140-0x9FFC and
// 0xE040-0xEBBF; a pair above 0xEBBF would overflow the 13 bits and corrupt the data.
int QRKanjiValue(std::string_view data, std::size_t pos);

// The class of the character starting at `pos` (numeric, alphanumeric, byte or kanji) and
// its length in bytes (2 for kanji, else 1).
QRDataMode QRCharClass(std::string_view data, std::size_t pos, std::size_t* charBytes = nullptr);

// Bits of a segment of `length` bytes in `mode`: mode indicator, character count field and
// data bits.
long QRSegmentCost(QRDataMode mode, std::size_t length, int version);

// Segments for the data of one symbol of the version, chosen by comparing the cost of
// ending a segment with the cost of letting it absorb the next run; ties go to the longer
// segment. Empty data give no segment.
std::vector<QRSegment> SegmentQRData(std::string_view data, int version);

// True when every byte suits the mode (digits; the alphanumeric set; kanji pairs).
bool SuitsQRMode(std::string_view data, QRDataMode mode);

} // namespace pendlar
