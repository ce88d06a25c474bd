// Rotations of TImageUnit and the palette match used when an edited page is saved.
#include "intake/ImageControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pendlar {
namespace {

// Rows of single letters: each letter is one pixel, 'a' + n standing for value n.
using Rows = std::vector<std::string>;

std::uint32_t Raw(const Bitmap& b, int x, int y) {
    const std::uint8_t* r = b.Row(y);
    switch (b.Format()) {
    case PixelFormat::Bits1:
        return (r[x / 8] >> (7 - x % 8)) & 1;
    case PixelFormat::Bits4:
        return x % 2 ? r[x / 2] & 15 : r[x / 2] >> 4;
    case PixelFormat::Bits8:
        return r[x];
    case PixelFormat::Rgb24:
        return (r[3 * x] << 16) | (r[3 * x + 1] << 8) | r[3 * x + 2];
    }
    return 0;
}

void SetRaw(Bitmap& b, int x, int y, std::uint32_t v) {
    std::uint8_t* r = b.Row(y);
    switch (b.Format()) {
    case PixelFormat::Bits1:
        r[x / 8] = static_cast<std::uint8_t>((r[x / 8] & ~(0x80 >> (x % 8))) |
                                             ((v & 1) ? 0x80 >> (x % 8) : 0));
        break;
    case PixelFormat::Bits4:
        r[x / 2] = static_cast<std::uint8_t>(x % 2 ? (r[x / 2] & 0xF0) | (v & 15)
                                                   : (r[x / 2] & 0x0F) | ((v & 15) << 4));
        break;
    case PixelFormat::Bits8:
        r[x] = static_cast<std::uint8_t>(v);
        break;
    case PixelFormat::Rgb24:
        r[3 * x] = static_cast<std::uint8_t>(v >> 16);
        r[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        r[3 * x + 2] = static_cast<std::uint8_t>(v);
        break;
    }
}

// A spread of raw values that every format can hold.
std::uint32_t Value(PixelFormat f, char letter) {
    const std::uint32_t n = static_cast<std::uint32_t>(letter - 'a');
    switch (f) {
    case PixelFormat::Bits1:
        return n & 1;
    case PixelFormat::Bits4:
        return n & 15;
    case PixelFormat::Bits8:
        return n * 37 & 255;
    case PixelFormat::Rgb24:
        return n * 0x10305u + 0x0A0000u;
    }
    return 0;
}

Bitmap Make(PixelFormat f, const Rows& rows) {
    Bitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), f);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            SetRaw(b, x, y, Value(f, rows[y][x]));
    return b;
}

void ExpectRows(const Bitmap& b, PixelFormat f, const Rows& rows) {
    ASSERT_EQ(b.Format(), f);
    ASSERT_EQ(b.Height(), static_cast<int>(rows.size()));
    ASSERT_EQ(b.Width(), static_cast<int>(rows[0].size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            EXPECT_EQ(Raw(b, x, y), Value(f, rows[y][x])) << "at " << x << "," << y;
}

class Rotation : public ::testing::TestWithParam<PixelFormat> {};

// in = a b c / d e f (W = 3, H = 2).
TEST_P(Rotation, ThreeByTwoGivesTheExactPixelMaps) {
    const PixelFormat f = GetParam();
    // Bits1 holds one bit, so it gets a pattern of its own that still tells every
    // position apart across the three results.
    const Rows in = f == PixelFormat::Bits1 ? Rows{"bab", "aab"} : Rows{"abc", "def"};
    const Bitmap page = Make(f, in);
    TImageUnit unit;

    auto at = [&](int x, int y) { return in[y][x]; };
    // out(y, W-1-x) = in(x, y)
    unit.RotateLeft(page);
    ExpectRows(unit.Image(), f, {{at(2, 0), at(2, 1)}, {at(1, 0), at(1, 1)}, {at(0, 0), at(0, 1)}});
    // out(H-1-y, x) = in(x, y)
    unit.RotateRight(page);
    ExpectRows(unit.Image(), f, {{at(0, 1), at(0, 0)}, {at(1, 1), at(1, 0)}, {at(2, 1), at(2, 0)}});
    // out(x, y) = in(W-1-x, H-1-y)
    unit.Rotate180(page);
    ExpectRows(unit.Image(), f, {{at(2, 1), at(1, 1), at(0, 1)}, {at(2, 0), at(1, 0), at(0, 0)}});
}

// Sizes that are not multiples of the byte packing or of the block walk, checked against
// the plain definition; four turns either way and two half turns give the page back.
TEST_P(Rotation, OddSizesFollowTheDefinitionAndComeBack) {
    const PixelFormat f = GetParam();
    for (auto [w, h] : {std::pair{13, 7}, std::pair{1, 9}, std::pair{70, 131}}) {
        Bitmap page(w, h, f);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                SetRaw(page, x, y, Value(f, static_cast<char>('a' + (x * 7 + y * 3) % 26)));
        if (!page.Palette().empty())
            page.Palette()[0] = 0x123456; // the palette travels with the picture

        TImageUnit left, right, half;
        left.RotateLeft(page);
        right.RotateRight(page);
        half.Rotate180(page);
        ASSERT_EQ(left.Image().Width(), h);
        ASSERT_EQ(left.Image().Height(), w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = Raw(page, x, y);
                ASSERT_EQ(Raw(left.Image(), y, w - 1 - x), v);
                ASSERT_EQ(Raw(right.Image(), h - 1 - y, x), v);
                ASSERT_EQ(Raw(half.Image(), w - 1 - x, h - 1 - y), v);
            }
        EXPECT_EQ(left.Image().Palette(), page.Palette());

        Bitmap turned = page;
        for (int i = 0; i < 4; ++i) {
            left.RotateLeft(turned);
            turned = left.TakeImage();
        }
        EXPECT_EQ(turned, page);
        right.RotateRight(page);
        left.RotateLeft(right.Image());
        EXPECT_EQ(left.Image(), page);
        half.Rotate180(page);
        Bitmap back = half.TakeImage();
        half.Rotate180(back);
        EXPECT_EQ(half.Image(), page);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Rotation,
                         ::testing::Values(PixelFormat::Rgb24, PixelFormat::Bits8,
                                           PixelFormat::Bits4, PixelFormat::Bits1));

TEST(ImageUnit, EmptyInputGivesAnEmptyResult) {
    TImageUnit unit;
    unit.RotateLeft(Bitmap());
    EXPECT_TRUE(unit.Image().Empty());
}

TEST(MatchPalette, KeepsTheDepthOnlyWhenEveryColourIsInThePalette) {
    Bitmap bilevel(10, 3, PixelFormat::Bits1);
    SetRaw(bilevel, 3, 1, 1);
    SetRaw(bilevel, 9, 2, 1);
    Bitmap rgb = bilevel.ToRgb24();

    EXPECT_EQ(MatchPaletteOf(rgb, bilevel), bilevel);

    rgb.SetPixel(5, 0, Rgb{200, 0, 0}); // a red pen stroke
    const Bitmap kept = MatchPaletteOf(rgb, bilevel);
    EXPECT_EQ(kept.Format(), PixelFormat::Rgb24);
    EXPECT_EQ(kept, rgb);

    // A colour page stays as it is.
    EXPECT_EQ(MatchPaletteOf(rgb, Bitmap(1, 1, PixelFormat::Rgb24)), rgb);
}

} // namespace
} // namespace pendlar
