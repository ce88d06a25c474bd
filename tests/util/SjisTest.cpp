#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

// 日本 in Shift-JIS.
const std::string kNihon = "\x93\xfa\x96\x7b";

TEST(Sjis, RoundTripsThroughUtf8) {
    struct Case {
        std::string sjis;
        std::string utf8;
    } cases[] = {
        {"", ""},
        {"abc 123", "abc 123"},
        {kNihon, "日本"},
        {"\xb1\xb2", "ｱｲ"}, // half-width katakana are single bytes
        {"\x87\x40", "①"},  // NEC special row
        {"\xfb\xfc", "髙"}, // IBM extension
        {"\x81\x60", "～"}, // wave dash as code page 932 maps it
        {"\x82\x4f\x82\x58", "０９"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8);
        EXPECT_EQ(Utf8ToSjis(c.utf8), c.sjis);
    }
}

TEST(Sjis, InvalidBytesBecomeReplacementCharacters) {
    // A lone lead byte at the end (a byte cut) and an invalid pair in the middle.
    EXPECT_EQ(SjisToUtf8("ab\x82"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(SjisToUtf8("\x82"
                         "A" +
                         kNihon),
              "\xEF\xBF\xBD"
              "A日本");
    EXPECT_EQ(SjisToUtf16("x\x82"), std::u16string(u"x\uFFFD"));
    EXPECT_EQ(SjisToUtf16(kNihon), std::u16string(u"日本"));
}

TEST(Sjis, UnmappableUtf8) {
    EXPECT_EQ(Utf8ToSjis("a😀"), std::nullopt);
    EXPECT_EQ(Utf8ToSjis("\xff"), std::nullopt);
    EXPECT_EQ(Utf8ToSjisLossy("a😀b日本"), "a?b" + kNihon);
}

TEST(Sjis, LeadBytes) {
    for (int c = 0; c < 256; ++c) {
        bool expected = (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)), expected) << c;
    }
}

TEST(Sjis, Cuts) {
    std::string text = "A" + kNihon; // A 日 本: bytes 1 + 2 + 2
    EXPECT_EQ(FirstBytes(text, 2), "A\x93");
    EXPECT_EQ(FirstBytes(text, 10), text);
    EXPECT_EQ(CutAtCharBoundary(text, 2), "A");
    EXPECT_EQ(CutAtCharBoundary(text, 3), "A\x93\xfa");
    EXPECT_EQ(CutAtCharBoundary(text, 4), "A\x93\xfa");
    EXPECT_EQ(CutAtCharBoundary(text, 5), text);
    EXPECT_EQ(CutAtCharBoundary("\xb1\xb2\xb3", 2), "\xb1\xb2");
}

TEST(Sjis, PathsOnDisk) {
    EXPECT_EQ(SjisPathToFileName("/tmp/" + kNihon + ".pdf"), "/tmp/日本.pdf");
    EXPECT_EQ(FileNameToSjisPath("/tmp/日本.pdf"), "/tmp/" + kNihon + ".pdf");
}

} // namespace
} // namespace pendlar
