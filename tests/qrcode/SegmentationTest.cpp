#include "qrcode/Segmentation.h"
#include "qrcode/QRSymbolEncoder.h"
#include "qrcode/QRTables.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

TEST(QRCapacity, MatchesTheStandardTables) {
    struct Case {
        int Version;
        QRDataMode Mode;
        int Characters;
    } cases[] = {
        {1, qrNumeric, 41},    {1, qrAlphanumeric, 25},    {1, qrByte, 17},    {1, qrKanji, 10},
        {40, qrNumeric, 7089}, {40, qrAlphanumeric, 4296}, {40, qrByte, 2953}, {40, qrKanji, 1817},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QRCapacity(c.Version, 0, c.Mode), c.Characters)
            << "version " << c.Version << " mode " << c.Mode;
    // The codeword table and the function patterns agree on every version.
    for (int v = kQRMinVersion; v <= kQRMaxVersion; ++v)
        EXPECT_EQ(QRMatrix(v).DataModules(), 8 * QRTotalCodewords(v) + QRRemainderBits(v))
            << "version " << v;
}

struct SegCase {
    const char* Name;
    std::string Data;
    std::vector<QRSegment> Expected;
};

TEST(SegmentQRData, ChoosesTheCheaperSegments) {
    const std::string kanji = "\x8a\xbf\x8e\x9a"; // 漢字
    const SegCase cases[] = {
        {"capitals then digits stay one alphanumeric segment", "ABC123", {{qrAlphanumeric, 0, 6}}},
        {"lower case is bytes", "abc", {{qrByte, 0, 3}}},
        {"a kanji text is one kanji segment", kanji, {{qrKanji, 0, 4}}},
        // 7 digits + A: numeric then alphanumeric costs 38 + 19 bits, one alphanumeric
        // segment 57 too, and the tie goes to the longer segment.
        {"equal cost keeps one segment", "1234567A", {{qrAlphanumeric, 0, 8}}},
        // 8 digits + A: 41 + 19 bits against 63.
        {"cheaper split", "12345678A", {{qrNumeric, 0, 8}, {qrAlphanumeric, 8, 1}}},
        // 14 digits inside bytes: 36 + 61 + 12 bits against 148 for one byte segment.
        {"a long digit run leaves the bytes",
         "abc12345678901234def",
         {{qrByte, 0, 3}, {qrNumeric, 3, 14}, {qrByte, 17, 3}}},
        // Two digits are not worth a segment of their own.
        {"a short digit run is absorbed", "ab12cd", {{qrByte, 0, 6}}},
        {"bytes around kanji end at the kanji",
         "a" + kanji + "b",
         {{qrByte, 0, 1}, {qrKanji, 1, 4}, {qrByte, 5, 1}}},
        // 0xEBC0 and above would overflow the 13 bits of kanji mode.
        {"a pair beyond the kanji range is bytes", "\xeb\xc0", {{qrByte, 0, 2}}},
        {"a lead byte without a trail byte is a byte",
         "\x8a"
         "1",
         {{qrByte, 0, 2}}},
        {"empty data", "", {}},
    };
    for (const SegCase& c : cases)
        EXPECT_EQ(SegmentQRData(c.Data, 1), c.Expected) << c.Name;
}

TEST(EncodeQRSymbol, FixedModesRefuseUnsuitableData) {
    struct Case {
        int Emode;
        std::string Data;
        bool Ok;
    } cases[] = {
        {qrNumeric, "0123456789", true},
        {qrNumeric, "12a4", false},
        {qrAlphanumeric, "HELLO WORLD $%*+-./:", true},
        {qrAlphanumeric, "Hello", false},
        {qrKanji, "\x8a\xbf\x8e\x9a", true},
        {qrKanji, "\x8a\xbf\x8e", false}, // odd length
        {qrKanji,
         "\x8a\xbf"
         "AB",
         false},                      // not a kanji pair
        {qrKanji, "\xeb\xbf", true},  // last value of kanji mode
        {qrKanji, "\xeb\xc0", false}, // beyond it
        {qrByte, std::string("\0\xff", 2), true},
        {qrByte, std::string(17, 'x'), true},  // version 1-L holds 17 bytes
        {qrByte, std::string(18, 'x'), false}, // the version is never raised
        {-1, std::string(17, 'x'), true},
        {-1, std::string(18, 'x'), false},
    };
    for (const Case& c : cases) {
        QRSymbolRequest r;
        r.Data = c.Data;
        r.Emode = c.Emode;
        const QRSymbol s = EncodeQRSymbol(r);
        EXPECT_EQ(s.Ok, c.Ok) << "emode " << c.Emode << " data " << c.Data;
        EXPECT_EQ(s.Matrix.Empty(), !c.Ok);
    }
}

TEST(EncodeQRSymbol, StructuredAppendHeaderAndPadding) {
    QRSymbolRequest r;
    r.Data = "AB";
    r.Emode = qrByte;
    r.Connect = true;
    r.Index = 2;
    r.Total = 5;
    r.Parity = 0xA5;
    const QRSymbol s = EncodeQRSymbol(r);
    ASSERT_TRUE(s.Ok);
    // 0011 0010 0100 10100101 | 0100 00000010 01000001 01000010 | 0000, then 236, 17, ...
    const std::vector<std::uint8_t> head = {0x32, 0x4A, 0x54, 0x02, 0x41, 0x42, 0x00, 0xEC, 0x11};
    ASSERT_GE(s.DataCodewords.size(), head.size());
    EXPECT_EQ(std::vector<std::uint8_t>(s.DataCodewords.begin(), s.DataCodewords.begin() + 9),
              head);
    EXPECT_EQ(s.DataCodewords.size(), 19u);
    EXPECT_EQ(s.DataCodewords.back(), 0x11); // twelfth pad codeword
}

TEST(EncodeQRSymbol, EqualPenaltiesGoToTheLowerMask) {
    // "67" in byte mode at 1-L scores equally under masks 1 and 7, lower than the rest.
    QRSymbolRequest r;
    r.Data = "67";
    r.Emode = qrByte;
    const QRSymbol chosen = EncodeQRSymbol(r);
    ASSERT_TRUE(chosen.Ok);
    QRMatrix unmasked(1);
    unmasked.PlaceCodewords(chosen.Codewords);
    std::vector<int> scores;
    for (int m = 0; m < 8; ++m) {
        QRMatrix candidate = unmasked;
        candidate.ApplyMask(m, 0);
        scores.push_back(candidate.Penalty());
    }
    ASSERT_EQ(scores[1], scores[7]);
    for (int m = 0; m < 8; ++m) {
        if (m != 1 && m != 7) {
            ASSERT_GT(scores[m], scores[1]) << m;
        }
    }
    EXPECT_EQ(chosen.Mask, 1);
}

TEST(QRMatrix, PenaltyCountsEachRule) {
    // Squares small enough to count by hand; rows top-down, '#' dark.
    auto grid = [](std::initializer_list<const char*> rows) {
        std::vector<bool> dark;
        for (const char* row : rows)
            for (const char* p = row; *p; ++p)
                dark.push_back(*p == '#');
        return dark;
    };
    struct Case {
        const char* Name;
        std::vector<bool> Modules;
        int Side;
        int Penalty;
    } cases[] = {
        // Runs 10 x (5 - 2), 16 blocks x 3, 0 % dark: 10 x 10.
        {"all light", grid({".....", ".....", ".....", ".....", "....."}), 5, 30 + 48 + 100},
        // The finder-like row touches both edges: 40. Light rows 6 x 5, columns 4+5+4+4+4+5+4,
        // 30 light blocks x 3, 5 of 49 dark (10 %): 8 x 10.
        {"finder-like row between the edges",
         grid({"#.###.#", ".......", ".......", ".......", ".......", ".......", "......."}), 7,
         40 + 30 + 30 + 90 + 80},
        // With a dark module directly before it the sequence does not count. Light rows
        // 8 x 7, columns 6 x 6 + 3 x 7, 56 light blocks x 3, 6 of 81 dark (7 %): 8 x 10.
        {"a dark module before it",
         grid({"##.###.#.", ".........", ".........", ".........", ".........", ".........",
               ".........", ".........", "........."}),
         9, 0 + 56 + 57 + 168 + 80},
        // Light on both sides inside the line counts: 40, columns 5 x 6 + 4 x 7.
        {"light modules on both sides",
         grid({".#.###.#.", ".........", ".........", ".........", ".........", ".........",
               ".........", ".........", "........."}),
         9, 40 + 56 + 58 + 168 + 80},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QRMatrix::Penalty(c.Modules, c.Side), c.Penalty) << c.Name;
}

} // namespace
} // namespace pendlar
