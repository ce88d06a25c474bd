// The patient-list line parser and the print geometry of the cover sheets.
#include "qrcode/CoverSheetGeometry.h"
#include "qrcode/CsvLine.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

TEST(TCsvLine, Lines) {
    struct Case {
        std::string Line; // UTF-8 here, parsed as Shift-JIS
        int Code;
        std::vector<std::string> Fields; // the five stored texts
    } cases[] = {
        {"123,山田 太郎,男性,1950.1.2,東京都",
         0,
         {"123", "山田 太郎", "男性", "1950.1.2", "東京都"}},
        {"7,\"山田, 太郎\",女性,2000.1.1,住所", 0, {"7", "山田, 太郎", "女性", "2000.1.1", "住所"}},
        {"00123", 0, {"00123", "", "", "", ""}},
        {"123,,,,", 0, {"123", "", "", "", ""}},
        {"99999999,a,b,c,d,extra", 0, {"99999999", "a", "b", "c", "d"}},
        {"", 1, {"", "", "", "", ""}},
        {"0,name", 2, {"0", "", "", "", ""}},
        {"100000000,name", 2, {"", "", "", "", ""}}, // 9 bytes pass the length check...
        {"abc,name", 2, {"abc", "", "", "", ""}},
        {"12345678901,name", 3, {"", "", "", "", ""}},
        {"\"12,name", 2, {"", "", "", "", ""}},
        {"5,\"unterminated,男性", 4, {"5", "", "", "", ""}},
        {"5,name,男性です,x", 7, {"5", "name", "", "", ""}},
        {"5,n,s,1234567890123456789012345", 9, {"5", "n", "s", "", ""}},
        {"5,n,s,b,\"open", 10, {"5", "n", "s", "b", ""}},
    };
    cases[7].Fields[0] = "100000000"; // ...and are stored before the number check
    for (const Case& c : cases) {
        TCsvLine line;
        const std::string sjis = SjisOf(c.Line);
        EXPECT_EQ(line.Parse(sjis), c.Code == 0) << c.Line;
        EXPECT_EQ(line.ErrorCode(), c.Code) << c.Line;
        EXPECT_EQ(line.ErrorText(), TCsvLine::Message(c.Code)) << c.Line;
        const std::string got[] = {line.IdNo(), line.Name(), line.Sex(), line.Birth(),
                                   line.Address()};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(SjisToUtf8(got[i]), c.Fields[static_cast<std::size_t>(i)]) << c.Line;
    }
    TCsvLine line;
    line.Parse("00123,x");
    EXPECT_EQ(line.Number(), 123);
    EXPECT_EQ(SjisToUtf8(TCsvLine::Message(1)), "データ行が空です。");
    EXPECT_EQ(SjisToUtf8(TCsvLine::Message(11)), "住所の長さエラーです。");
}

TEST(TCsvLine, LengthLimitsCountBytes) {
    struct Case {
        int Field; // 1 name, 2 sex, 3 birth, 4 address
        std::size_t Limit;
        int TooLong;
    } cases[] = {{1, 100, 5}, {2, 7, 7}, {3, 25, 9}, {4, 100, 11}};
    for (const Case& c : cases) {
        for (std::size_t bytes : {c.Limit - 1, c.Limit}) {
            // Double-byte characters, with an odd byte at the end where needed.
            std::string value;
            while (value.size() + 2 <= bytes)
                value += SjisOf("あ");
            if (value.size() < bytes)
                value += 'x';
            std::string line = "42";
            for (int f = 1; f <= 4; ++f)
                line += "," + (f == c.Field ? value : std::string("v"));
            TCsvLine parser;
            parser.Parse(line);
            EXPECT_EQ(parser.ErrorCode(), bytes < c.Limit ? 0 : c.TooLong)
                << "field " << c.Field << ", " << bytes << " bytes";
        }
    }
}

TEST(TCsvLine, SecondByteIsNeverAQuoteOrComma) {
    // 0x81 0x2C is not a valid character, but the parser takes any byte after a lead
    // byte as its second byte, so the comma does not split the field.
    TCsvLine line;
    EXPECT_TRUE(line.Parse(std::string("1,a\x81,b,c")));
    EXPECT_EQ(line.Name(), std::string("a\x81,b"));
    EXPECT_EQ(line.Sex(), "c");
    // A lead byte as the very last byte leaves its character unfinished.
    EXPECT_FALSE(line.Parse(std::string("1,a\x81")));
    EXPECT_EQ(line.ErrorCode(), TCsvLine::kNameUnreadable);
}

TEST(CoverSheetGeometry, ScalesDesignDotsToPrinterDots) {
    EXPECT_EQ(ScaleToPrinter(144, 600, 76.2), 1134);
    EXPECT_EQ(ScaleToPrinter(kCoverSymbolArea, 600, 76.2), 953);
    EXPECT_EQ(SymbolMagnification(kCoverSymbolArea, 600, 76.2), 7);
    EXPECT_EQ(kCoverSymbolArea * SymbolMagnification(kCoverSymbolArea, 600, 76.2), 847);
    // Halves go to the even neighbour.
    EXPECT_EQ(ScaleToPrinter(5, 1, 2), 2);
    EXPECT_EQ(ScaleToPrinter(7, 1, 2), 4);
    EXPECT_EQ(ScaleToPrinter(-5, 1, 2), -2);
    // A coarser printer cannot enlarge the symbol by a whole number.
    EXPECT_EQ(SymbolMagnification(kCoverSymbolArea, 72, 76.2), 0);
    EXPECT_EQ(SymbolMagnification(kCoverSymbolArea, 76.2, 76.2), 1);
    EXPECT_EQ(SymbolMagnification(0, 600, 76.2), 0);
}

} // namespace
} // namespace pendlar
