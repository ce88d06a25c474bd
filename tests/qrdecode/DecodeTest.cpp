// Whole-decoder tests on symbols from qrencode: what goes in must come out byte for byte,
// and a damaged symbol must fail rather than give another text.
#include "SymbolMaker.h"
#include "TempDir.h"
#include "qrdecode/Decorder.h"
#include "qrdecode/QRDecode.h"
#include "qrdecode/SymbolTables.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

#include <random>

namespace pendlar {
namespace {

using test::Encode;
using test::QrMode;
using test::Render;
using test::RenderOptions;

std::string Sjis(const char* utf8) {
    return Utf8ToSjis(utf8).value();
}

const std::string kNotLocated = Sjis("位置検出パターンがみつかりません。");
const std::string kUnreadable = Sjis("セルの読み込みでエラーが発生しました。");

struct RoundTrip {
    const char* Name;
    std::string Data; // bytes as encoded (Shift-JIS for the Japanese cases)
    int Version;
    char Level;
    QrMode Mode;
    double ModuleSize;
    double Angle;
    int ForceVersion = 0;
};

std::ostream& operator<<(std::ostream& os, const RoundTrip& c) {
    return os << c.Name;
}

class RoundTripTest : public testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTripTest, DecodesExactlyTheEncodedBytes) {
    const RoundTrip& c = GetParam();
    ASSERT_TRUE(test::HaveProgram("qrencode"));
    const auto symbol = Encode(c.Data, c.Version, c.Level, c.Mode);
    ASSERT_TRUE(symbol);
    ASSERT_EQ(symbol->Size, SymbolSize(c.Version)) << "qrencode chose another version";

    TQRDecode decoder;
    decoder.SetForceVersion(c.ForceVersion);
    RenderOptions options;
    options.ModuleSize = c.ModuleSize;
    options.Angle = c.Angle;
    ASSERT_TRUE(decoder.Decode(Render(*symbol, options)))
        << "code " << decoder.ErrorCode() << " " << decoder.InternalError();
    EXPECT_EQ(decoder.Text(), c.Data);
    EXPECT_EQ(decoder.ErrorText(), "");
    EXPECT_EQ(decoder.Decorder().Version(), c.Version);
    EXPECT_EQ(decoder.Decorder().Level(), std::string("LMQH").find(c.Level));
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, RoundTripTest,
    testing::Values(
        // The cover sheet's patient number in every level; leading zeros stay.
        RoundTrip{"V1L_numeric", "00123", 1, 'L', QrMode::Auto, 3, 0},
        RoundTrip{"V1M_numeric", "00123", 1, 'M', QrMode::Auto, 2, 90},
        RoundTrip{"V1Q_numeric", "00123", 1, 'Q', QrMode::Auto, 4, 180},
        RoundTrip{"V1H_numeric", "00123", 1, 'H', QrMode::Auto, 5, 270},
        RoundTrip{"V1L_four_digits", "1234", 1, 'L', QrMode::Auto, 4, 0},
        RoundTrip{"V1L_byte_cover_sheet", "99999999", 1, 'L', QrMode::Byte, 3, 0},
        RoundTrip{"V1L_byte_full", "12345678901234567", 1, 'L', QrMode::Byte, 8, 270},
        RoundTrip{"V2M_alphanumeric", "HELLO WORLD $%*+-./:", 2, 'M', QrMode::Auto, 4, 90},
        RoundTrip{"V2H_byte", "abc", 2, 'H', QrMode::Byte, 7, 0},
        RoundTrip{"V7Q_sjis_bytes", Sjis("患者番号0012345 山田太郎"), 7, 'Q', QrMode::Byte, 4, 270},
        RoundTrip{"V7L_alphanumeric", "PENDLAR QR DECODER 0042", 7, 'L', QrMode::Auto, 6, 180},
        RoundTrip{"V10H_kanji", Sjis("漢字モードの試験です"), 10, 'H', QrMode::Kanji, 2, 0},
        RoundTrip{"V10M_numeric", "0000012345678901234567890123456789", 10, 'M', QrMode::Auto, 3,
                  90},
        RoundTrip{"V10Q_mixed", Sjis("カルテ番号 A-0012 検査"), 10, 'Q', QrMode::Kanji, 2, 180},
        RoundTrip{"V27L_forced_byte", "version 27", 27, 'L', QrMode::Byte, 2, 0, 27},
        RoundTrip{"V27H_forced_kanji", Sjis("二十七型"), 27, 'H', QrMode::Kanji, 2, 90, 27},
        // A scanned sheet: tilted, soft edges, a module size that is no whole pixel count.
        RoundTrip{"V1L_tilted_scan", "00012345", 1, 'L', QrMode::Byte, 4.6, 2.5},
        RoundTrip{"V2Q_tilted_scan", "00098765", 2, 'Q', QrMode::Auto, 5.3, -3},
        // Turned a little with a light bottom-right module: the corner lies outside a
        // one-module window a module inside the symbol.
        RoundTrip{"V1L_turned_light_corner", "00010000", 1, 'L', QrMode::Byte, 9.3, -3},
        RoundTrip{"V1M_turned_light_corner", "00010000", 1, 'M', QrMode::Byte, 3.6, 267},
        RoundTrip{"V1Q_turned_light_corner", "00017919", 1, 'Q', QrMode::Byte, 6, 1.5}),
    [](const testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.Name); });

// Byte-mode capacity of a version and level, from the standard's count of data modules.
int ByteCapacity(int version, int level) {
    int modules = (16 * version + 128) * version + 64;
    if (version >= 2) {
        const int alignments = version / 7 + 2;
        modules -= (25 * alignments - 10) * alignments - 55;
        if (version >= 7)
            modules -= 36;
    }
    const int data =
        modules / 8 - EccCodewordsPerBlock(version, level) * BlockCount(version, level);
    return (8 * data - 4 - (version <= 9 ? 8 : 16)) / 8;
}

// Every version and level, filled to capacity so that every block carries text, straight
// from qrencode's module matrix: this checks the block, alignment, placement and version
// tables and the correction of every block shape against an independent encoder.
TEST(DecodeTest, EveryVersionAndLevelFromTheModuleMatrix) {
    ASSERT_TRUE(test::HaveProgram("qrencode"));
    TDecorder decorder;
    for (int version = 1; version <= kMaxVersion; ++version)
        for (int level = 0; level < 4; ++level) {
            const char name = "LMQH"[level];
            std::string data = "V" + std::to_string(version) + name + ":";
            const int capacity = ByteCapacity(version, level);
            for (int i = 0; static_cast<int>(data.size()) < capacity; ++i)
                data += static_cast<char>(0x20 + (i * 7 + version) % 0x5F);
            const auto symbol = Encode(data, version, name, QrMode::Byte);
            ASSERT_TRUE(symbol);
            ASSERT_EQ(symbol->Size, SymbolSize(version));
            TPlaneBoolean matrix(symbol->Size, symbol->Size);
            for (int x = 0; x < symbol->Size; ++x)
                for (int y = 0; y < symbol->Size; ++y)
                    matrix.Set(x, y, symbol->At(x, y));
            EXPECT_TRUE(decorder.DecodeMatrix(matrix) == data)
                << data.substr(0, 6) << ": code " << decorder.ErrorCode();
            EXPECT_EQ(decorder.Level(), level);
        }
}

struct Damage {
    const char* Name;
    int Version;
    char Level;
    std::vector<int> Codewords; // inverted codewords
    bool Corrected;
};

std::ostream& operator<<(std::ostream& os, const Damage& d) {
    return os << d.Name;
}

class DamageTest : public testing::TestWithParam<Damage> {};

TEST_P(DamageTest, CorrectsWithinCapacityAndFailsBeyond) {
    const Damage& d = GetParam();
    const std::string data = "00123";
    auto symbol = Encode(data, d.Version, d.Level, QrMode::Byte);
    ASSERT_TRUE(symbol);
    test::DamageCodewords(*symbol, d.Codewords);

    TQRDecode decoder;
    const bool decoded = decoder.Decode(Render(*symbol));
    if (d.Corrected) {
        EXPECT_TRUE(decoded) << "code " << decoder.ErrorCode();
        EXPECT_EQ(decoder.Text(), data);
    } else {
        EXPECT_FALSE(decoded);
        EXPECT_EQ(decoder.ErrorCode(), 3);
        EXPECT_EQ(decoder.ErrorText(), kUnreadable);
        EXPECT_EQ(decoder.Text(), "");
    }
}

// Version 1 corrects 2, 4, 6 and 8 codewords at L, M, Q and H: the rest of its 7, 10, 13
// and 17 error-correction codewords only detect.
INSTANTIATE_TEST_SUITE_P(
    Codewords, DamageTest,
    testing::Values(
        Damage{"V1L_one", 1, 'L', {0}, true}, Damage{"V1M_one", 1, 'M', {5}, true},
        Damage{"V1Q_one", 1, 'Q', {12}, true}, Damage{"V1H_one", 1, 'H', {25}, true},
        Damage{"V1L_two", 1, 'L', {0, 20}, true}, Damage{"V1L_three", 1, 'L', {0, 10, 20}, false},
        Damage{"V1L_four", 1, 'L', {0, 1, 2, 3}, false},
        Damage{"V1M_four", 1, 'M', {0, 1, 2, 3}, true},
        Damage{"V1M_five", 1, 'M', {0, 1, 2, 3, 4}, false},
        Damage{"V1Q_six", 1, 'Q', {0, 3, 6, 9, 12, 15}, true},
        Damage{"V1Q_seven", 1, 'Q', {0, 3, 6, 9, 12, 15, 18}, false},
        Damage{"V1H_eight", 1, 'H', {0, 1, 2, 3, 4, 5, 6, 7}, true},
        Damage{"V1H_nine", 1, 'H', {0, 1, 2, 3, 4, 5, 6, 7, 8}, false},
        // Interleaved blocks: ten neighbouring codewords are two per block.
        Damage{"V7H_spread", 7, 'H', {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
        Damage{"V7L_one_block_too_many", 7, 'L', {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20}, false}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.Name); });

// Random specks over the data of a cover-sheet symbol: whatever they hit, the decoder
// gives the true number or no number.
TEST(DecodeTest, RandomDamageNeverYieldsAnotherText) {
    const std::string data = "00012345";
    const auto clean = Encode(data, 1, 'L', QrMode::Byte);
    ASSERT_TRUE(clean);
    std::mt19937 random(20240503);
    TQRDecode decoder;
    int failed = 0;
    for (int trial = 0; trial < 150; ++trial) {
        auto symbol = *clean;
        std::vector<int> codewords;
        const int count = 1 + trial % 8;
        for (int i = 0; i < count; ++i)
            codewords.push_back(static_cast<int>(random() % 26));
        for (int index : codewords)
            for (auto [column, row] : test::CodewordModules(1, index))
                if (random() % 2)
                    symbol.Flip(column, row);
        RenderOptions options;
        options.ModuleSize = 2;
        if (decoder.Decode(Render(symbol, options))) {
            EXPECT_EQ(decoder.Text(), data) << "trial " << trial;
        } else {
            ++failed;
        }
    }
    EXPECT_GT(failed, 0); // the damage did reach beyond the capacity
}

TEST(DecodeTest, FormatInformationFromEitherCopy) {
    const std::string data = "00123";
    const auto clean = Encode(data, 2, 'M', QrMode::Byte);
    ASSERT_TRUE(clean);
    // 0x0000 unmasked is a valid code; 0x000F (raw 0x541D) lies four bits from it and at
    // least four from every other code.
    const std::uint16_t farRaw = 0x000F ^ 0x5412;

    TQRDecode decoder;
    auto firstBroken = *clean;
    test::WriteFormatBits(firstBroken, 1, farRaw);
    ASSERT_TRUE(decoder.Decode(Render(firstBroken))) << "code " << decoder.ErrorCode();
    EXPECT_EQ(decoder.Text(), data);
    EXPECT_EQ(decoder.Decorder().FormatCopy(), 2);

    auto bothBroken = firstBroken;
    test::WriteFormatBits(bothBroken, 2, farRaw);
    EXPECT_FALSE(decoder.Decode(Render(bothBroken)));
    EXPECT_EQ(decoder.ErrorCode(), 3);
    EXPECT_EQ(decoder.ErrorText(), kUnreadable);
    EXPECT_EQ(decoder.Text(), "");
}

TEST(DecodeTest, NothingToLocateFailsWithCodeOne) {
    const auto symbol = Encode("00123", 1, 'L', QrMode::Byte);
    ASSERT_TRUE(symbol);
    const Bitmap whole = Render(*symbol);
    // The upper half holds only the two top finders.
    Bitmap twoFinders(whole.Width(), whole.Height() / 2);
    for (int y = 0; y < twoFinders.Height(); ++y)
        for (int x = 0; x < twoFinders.Width(); ++x)
            twoFinders.SetPixel(x, y, whole.Pixel(x, y));
    Bitmap white(120, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            white.SetPixel(x, y, {255, 255, 255});

    struct Case {
        const char* Name;
        Bitmap Image;
    };
    const Case cases[] = {{"two finders", twoFinders},
                          {"white", white},
                          {"black", Bitmap(50, 50)},
                          {"one pixel wide", Bitmap(1, 40)},
                          {"empty", Bitmap()}};
    TQRDecode decoder;
    for (const Case& c : cases) {
        int errors = 0;
        decoder.OnError = [&](TQRDecode&) { ++errors; };
        decoder.OnDecoded = [&](TQRDecode&) { ADD_FAILURE() << c.Name << ": OnDecoded"; };
        EXPECT_FALSE(decoder.Decode(c.Image)) << c.Name;
        EXPECT_EQ(decoder.ErrorCode(), 1) << c.Name;
        EXPECT_EQ(decoder.ErrorText(), kNotLocated) << c.Name;
        EXPECT_EQ(decoder.Text(), "") << c.Name;
        EXPECT_EQ(errors, 1) << c.Name;
    }
}

TEST(DecodeTest, EventsAndKeptImage) {
    const auto symbol = Encode("00123", 1, 'L', QrMode::Byte);
    ASSERT_TRUE(symbol);
    const Bitmap image = Render(*symbol);
    TQRDecode decoder;
    int decoded = 0, errors = 0;
    decoder.OnDecoded = [&](TQRDecode& sender) {
        EXPECT_EQ(&sender, &decoder);
        ++decoded;
    };
    decoder.OnError = [&](TQRDecode&) { ++errors; };
    EXPECT_TRUE(decoder.Decode(image));
    EXPECT_EQ(decoded, 1);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(decoder.BinaryImage().Width(), image.Width());
    // The top-left module of the symbol sits after four quiet modules of four pixels.
    EXPECT_FALSE(decoder.BinaryImage().At(15, 15));
    EXPECT_TRUE(decoder.BinaryImage().At(16, 16));
}

// A picture in the fuzz target's layout (six header bytes, then one bit per cell).
Bitmap FromCells(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    const int cells = bytes[0] % 64 + 1, scale = bytes[2] % 4 + 1;
    Bitmap image(cells * scale, cells * scale);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::size_t bit = static_cast<std::size_t>((y / scale) * cells + x / scale);
            const bool dark =
                6 + bit / 8 < bytes.size() && (bytes[6 + bit / 8] >> (7 - bit % 8)) & 1;
            const std::uint8_t v = dark ? 0 : 255;
            image.SetPixel(x, y, {v, v, v});
        }
    return image;
}

// Found by fuzzing: finders whose corners make no grid. The read fails without an error
// text, as internal failures do, and tells its listener so; the previous text stays.
TEST(DecodeTest, InternalFailureIsReportedAsFailure) {
    const auto symbol = Encode("00123", 1, 'L', QrMode::Byte);
    ASSERT_TRUE(symbol);
    const std::pair<const char*, const char*> cases[] = {
        {"Base Angle Error",
         "1c1c010703feff540000006098028ac8b3ee5421dee8209bdd1508f13f98bebabababababaa928a6e6371c"
         "00000004b6fe0d07931b1118891d16ad050000000000000042ebff80183f820f16176192a7aebc414f9452"
         "b74148b7b7b7e7e7e7e7e7e7e7e7e7e70000fe"},
        {"Program Error",
         "1c1c010703feff540000006098028ac8b3ee5421dee8209bdd1508f13f98bebabababababaa928a6e6331c"
         "00000004b6fe0d07931b1118891de7e7e7e7e7e7e7e7e7e7e7e7e7e7e7e7e7e700"}};
    for (auto [reason, hex] : cases) {
        TQRDecode decoder;
        decoder.SetWarp(3);
        ASSERT_TRUE(decoder.Decode(Render(*symbol)));
        decoder.SetForceVersion(3); // as the header bytes of both pictures ask
        int decoded = 0, errors = 0;
        decoder.OnDecoded = [&](TQRDecode&) { ++decoded; };
        decoder.OnError = [&](TQRDecode&) { ++errors; };
        EXPECT_FALSE(decoder.Decode(FromCells(hex))) << reason;
        EXPECT_EQ(decoder.InternalError(), reason);
        EXPECT_EQ(decoder.ErrorCode(), 0);
        EXPECT_EQ(decoder.ErrorText(), "");
        EXPECT_EQ(decoder.Text(), "00123");
        EXPECT_EQ(decoded, 0);
        EXPECT_EQ(errors, 1);
    }
}

TEST(DecodeTest, SettingsAreKeptInRange) {
    TQRDecode decoder;
    EXPECT_EQ(decoder.Resolver(), 7);
    const std::pair<int, int> warps[] = {{0, 1}, {1, 1}, {4, 4}, {6, 6}, {9, 6}, {-3, 1}};
    for (auto [given, kept] : warps) {
        decoder.SetWarp(given);
        EXPECT_EQ(decoder.Warp(), kept) << given;
    }
    const std::pair<int, int> resolvers[] = {{0, 1}, {1, 1}, {128, 128}, {255, 255}, {300, 255}};
    for (auto [given, kept] : resolvers) {
        decoder.SetResolver(given);
        EXPECT_EQ(decoder.Resolver(), kept) << given;
    }
    decoder.SetForceVersion(41);
    EXPECT_EQ(decoder.ForceVersion(), 40);
    decoder.SetForceVersion(-1);
    EXPECT_EQ(decoder.ForceVersion(), 0);
}

// A second finder-like mark of smaller modules beside the symbol draws fewer hits; the
// three true finders still win.
TEST(DecodeTest, SmallerFinderLikeMarkIsOutweighed) {
    auto symbol = Encode("00123", 1, 'L', QrMode::Byte);
    ASSERT_TRUE(symbol);
    RenderOptions options;
    options.QuietZone = 8;
    Bitmap image = Render(*symbol, options);
    // A 7 × 7 finder of 2-pixel modules in the right margin, level with the symbol's middle.
    const int left = 4 * (8 + 21) + 8, top = 4 * (8 + 10) - 7;
    for (int j = 0; j < 14; ++j)
        for (int i = 0; i < 14; ++i) {
            const int mi = i / 2, mj = j / 2;
            const bool ring = mi == 0 || mi == 6 || mj == 0 || mj == 6;
            const bool core = mi >= 2 && mi <= 4 && mj >= 2 && mj <= 4;
            const std::uint8_t v = ring || core ? 0 : 255;
            image.SetPixel(left + i, top + j, {v, v, v});
        }
    TQRDecode decoder;
    ASSERT_TRUE(decoder.Decode(image)) << "code " << decoder.ErrorCode();
    EXPECT_EQ(decoder.Text(), "00123");
}

} // namespace
} // namespace pendlar
