#include "qrcode/DataSplit.h"
#include "qrcode/TildeEscapes.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace pendlar {
namespace {

std::vector<std::size_t> PartLengths(const QRSplit& s) {
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i + 1 < s.Offsets.size(); ++i)
        lengths.push_back(s.Offsets[i + 1] - s.Offsets[i]);
    return lengths;
}

TEST(SplitQRData, PartsAndMode) {
    const std::string kanji = "\x82\xa0"; // あ
    struct Case {
        const char* Name;
        std::string Data;
        int Count;
        TQRMode Mode;
        std::vector<std::size_t> Lengths;
        TQRMode ResultMode;
    } cases[] = {
        {"10 bytes over 3", "0123456789", 3, qrConnect, {4, 4, 2}, qrConnect},
        {"5 bytes over 4", "01234", 4, qrConnect, {1, 1, 1, 2}, qrConnect},
        {"count lowered to the length", "abc", 10, qrConnect, {1, 1, 1}, qrConnect},
        {"a single symbol asked for parts links them", "abcd", 2, qrSingle, {2, 2}, qrConnect},
        {"independent symbols stay so", "abcd", 2, qrPlus, {2, 2}, qrPlus},
        {"one part is a single symbol", "abcd", 1, qrPlus, {4}, qrSingle},
        {"more than 16 parts are independent", std::string(20, 'x'), 20, qrConnect,
         std::vector<std::size_t>(20, 1), qrPlus},
        // The split point 3 is the second byte of あ: it moves back onto the character.
        {"split point moved off a trail byte",
         "AB" + kanji + "CD",
         2,
         qrConnect,
         {2, 4},
         qrConnect},
        // Back would not lie after the previous start, so the start moves forward; the
        // third start falls at the end, so only two parts are made.
        {"moved forward when back is taken", kanji + kanji, 4, qrConnect, {2, 2}, qrConnect},
        {"empty data make one empty part", "", 5, qrConnect, {0}, qrSingle},
    };
    for (const Case& c : cases) {
        const QRSplit s = SplitQRData(c.Data, c.Count, c.Mode);
        EXPECT_EQ(PartLengths(s), c.Lengths) << c.Name;
        EXPECT_EQ(s.Count, static_cast<int>(c.Lengths.size())) << c.Name;
        EXPECT_EQ(s.Mode, c.ResultMode) << c.Name;
        EXPECT_NO_THROW(
            CheckQRSplit(static_cast<long>(c.Data.size()), s.Count, s.Mode, 16, s.Offsets))
            << c.Name;
    }
}

TEST(SplitQRData, ParityOfLinkedSymbols) {
    const QRSplit linked = SplitQRData("\x01\x02\x04\xf0", 2, qrConnect);
    EXPECT_TRUE(linked.ParitySet);
    EXPECT_EQ(linked.Parity, 0xF7);
    EXPECT_FALSE(SplitQRData("\x01\x02\x04\xf0", 2, qrPlus).ParitySet);
}

TEST(SplitQRData, EverySplitPassesTheCheckAndKeepsCharactersWhole) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string data(rng() % 60, '\0');
        for (char& b : data)
            b = static_cast<char>(rng() % 3 == 0 ? 0x82 : rng() % 256);
        const int count = 1 + static_cast<int>(rng() % 40);
        const TQRMode mode = static_cast<TQRMode>(rng() % 3);
        const QRSplit s = SplitQRData(data, count, mode);
        ASSERT_NO_THROW(
            CheckQRSplit(static_cast<long>(data.size()), s.Count, s.Mode, 16, s.Offsets));
        // No part but the first starts right after a lead byte that began a character.
        for (int i = 1; i < s.Count; ++i) {
            const std::size_t start = s.Offsets[static_cast<std::size_t>(i)];
            std::size_t pos = 0;
            while (pos < start) {
                const unsigned char c = static_cast<unsigned char>(data[pos]);
                const bool pair = ((c >= 0x81 && c <= 0x9F) || c >= 0xE0) && c <= 0xFC &&
                                  pos + 1 < data.size() &&
                                  static_cast<unsigned char>(data[pos + 1]) >= 0x40 &&
                                  static_cast<unsigned char>(data[pos + 1]) != 0x7F &&
                                  static_cast<unsigned char>(data[pos + 1]) <= 0xFC;
                pos += pair ? 2 : 1;
            }
            ASSERT_EQ(pos, start) << "part " << i << " starts inside a character";
        }
    }
}

TEST(CheckQRSplit, ReportsTheBadItem) {
    struct Case {
        long Len;
        int Count;
        int Mode;
        int Column;
        std::vector<std::size_t> Offsets;
        const char* Message;
    } cases[] = {
        {-1, 1, qrSingle, 16, {0, 0}, "Illegal Len : -1"},
        {4, 0, qrSingle, 16, {0, 4}, "Illegal Count : 0"},
        {4, 1025, qrPlus, 16, {0, 4}, "Illegal Count : 1025"},
        {4, 1, qrSingle, 0, {0, 4}, "Illegal Column : 0"},
        {4, 1, 3, 16, {0, 4}, "Illegal Mode : 3"},
        {4, 2, qrSingle, 16, {0, 2, 4}, "Illegal Count : 2"},
        {40, 17, qrConnect, 16, {}, "Illegal Count : 17"},
        {4, 1, qrConnect, 16, {0, 4}, "Illegal Count : 1"},
        {4, 5, qrPlus, 16, {0, 1, 2, 3, 4, 4}, "Illegal Count : 5"},
        {4, 2, qrPlus, 16, {1, 2, 4}, "Illegal Offset[0] : 1"},
        {4, 3, qrPlus, 16, {0, 2, 2, 4}, "Illegal Offset[2] : 2"},
        {9, 2, qrPlus, 16, {0, 4, 8}, "Illegal Offset[2] : 8"},
        {4, 2, qrPlus, 16, {0, 2}, "Illegal Offset[2] : -1"},
    };
    for (const Case& c : cases) {
        try {
            CheckQRSplit(c.Len, c.Count, c.Mode, c.Column, c.Offsets);
            ADD_FAILURE() << "no exception for " << c.Message;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
}

TEST(DecodeTildeEscapes, Escapes) {
    struct Case {
        std::string Code;
        std::optional<std::string> Data;
    } cases[] = {
        {"A~41~B", "AAB"},
        {"~~", "~"},
        {"a~~b~0D0a~", "a~b\r\n"},
        {"~00ff~", std::string("\0\xff", 2)},
        {"plain", "plain"},
        {"A~4~B", std::nullopt},  // odd number of digits
        {"A~41B", std::nullopt},  // no closing tilde
        {"A~4G~B", std::nullopt}, // not hexadecimal
        // The second byte of × is 0x7E: it is part of the character, not an escape.
        {"\x81\x7e~41~", "\x81\x7e"
                         "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeTildeEscapes(c.Code), c.Data) << c.Code;
}

TEST(HoldsControlBytes, TabLineFeedAndReturnAreText) {
    EXPECT_FALSE(HoldsControlBytes("a\tb\r\nc \x7f\x80\xff"));
    for (int b : {0x00, 0x08, 0x0B, 0x0C, 0x0E, 0x1F})
        EXPECT_TRUE(HoldsControlBytes(std::string(1, static_cast<char>(b)))) << b;
}

} // namespace
} // namespace pendlar
