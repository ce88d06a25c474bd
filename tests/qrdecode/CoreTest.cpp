// The parts below the sampling grid: format words and data segments.
#include "qrdecode/BCH15.h"
#include "qrdecode/DataBlockReader.h"
#include "qrdecode/SymbolTables.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

TEST(FormatWordTest, CorrectsThreeBitsAndRefusesFarWords) {
    const std::uint16_t code = FormatCode(0b01101); // level L, mask 5
    TBCH15_5 three(static_cast<std::uint16_t>(code ^ 0b100000100000001));
    EXPECT_FALSE(three.Error());
    EXPECT_EQ(three.Corrected(), code);
    EXPECT_EQ(three.Level(), 0);
    EXPECT_EQ(three.MaskPattern(), 5);
    // Four bits from 0x0000 and at least four from every other code.
    EXPECT_TRUE(TBCH15_5(0x000F).Error());
    EXPECT_EQ(FormatCode(1), 0x0537);
    EXPECT_EQ(FormatCode(31), 0x7FFF);
}

// Bits written most significant first, padded with zeros to whole codewords.
std::vector<std::uint8_t> Codewords(const std::vector<std::pair<std::uint32_t, int>>& fields) {
    std::vector<std::uint8_t> out;
    int used = 8;
    for (auto [value, bits] : fields)
        for (int b = bits - 1; b >= 0; --b) {
            if (used == 8) {
                out.push_back(0);
                used = 0;
            }
            out.back() = static_cast<std::uint8_t>(out.back() | (((value >> b) & 1) << (7 - used)));
            ++used;
        }
    return out;
}

TEST(SegmentTest, ReadsSegmentsAndRefusesBrokenOnes) {
    struct Case {
        const char* Name;
        int Version;
        std::vector<std::pair<std::uint32_t, int>> Fields;
        bool Ok;
        std::string Text;
    };
    const Case cases[] = {
        // Three digits that end exactly with the last codeword are still read.
        {"numeric filling the data", 1, {{1, 4}, {3, 10}, {123, 10}}, true, "123"},
        {"numeric groups with zeros",
         1,
         {{1, 4}, {5, 10}, {1, 10}, {23, 7}, {0, 4}},
         true,
         "00123"},
        {"alphanumeric pair and single",
         1,
         {{2, 4}, {3, 9}, {45 * 10 + 11, 11}, {36, 6}, {0, 4}},
         true,
         "AB "},
        {"kanji to Shift-JIS",
         1,
         {{8, 4}, {2, 8}, {0xD9F, 13}, {0x1AAA, 13}, {0, 4}},
         true,
         "\x93\x5F\xE4\xAA"},
        {"byte then terminator cut short", 1, {{4, 4}, {1, 8}, {'Z', 8}}, true, "Z"},
        {"unsupported mode ends the text",
         1,
         {{4, 4}, {1, 8}, {'A', 8}, {7, 4}, {3, 8}},
         true,
         "A"},
        {"count widths of version 27",
         27,
         {{1, 4}, {2, 14}, {42, 7}, {4, 4}, {1, 16}, {'x', 8}},
         true,
         "42x"},
        {"count widths of version 10", 10, {{2, 4}, {1, 11}, {35, 6}, {0, 4}}, true, "Z"},
        {"count beyond the data", 1, {{4, 4}, {5, 8}, {'A', 8}}, false, ""},
        {"numeric group above 999", 1, {{1, 4}, {3, 10}, {1000, 10}, {0, 4}}, false, ""},
        {"alphanumeric value above the set", 1, {{2, 4}, {1, 9}, {45, 6}, {0, 4}}, false, ""},
    };
    for (const Case& c : cases) {
        TDataBlockReader reader(Codewords(c.Fields), c.Version);
        std::string text;
        EXPECT_EQ(reader.Read(text), c.Ok) << c.Name;
        if (c.Ok) {
            EXPECT_EQ(text, c.Text) << c.Name;
        }
    }
}

} // namespace
} // namespace pendlar
