// Page images made by ImageMagick in every format and depth the clinic's scanners write,
// loaded by our codecs and compared pixel by pixel with the pattern they were made from;
// our saved files read back by ImageMagick; broken files refused.
#include "intake/ImageFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace pendlar {
namespace {

using test::ReadFile;
using test::RunCommand;
using test::TempDir;
using test::WriteFile;

constexpr int kW = 13, kH = 7; // odd sizes catch row padding mistakes

// The source patterns: few colours (fits a 16-entry palette), many colours, 16 grey
// levels, 4 grey levels, black and white, and a smooth ramp for lossy JPEG.
enum Pattern { Few, Many, Grey16, Grey4, Bilevel, Smooth };

Rgb PatternAt(Pattern p, int x, int y) {
    static const Rgb kFew[8] = {{0, 0, 0},   {255, 255, 255}, {255, 0, 0},   {0, 255, 0},
                                {0, 0, 255}, {255, 255, 0},   {128, 64, 32}, {10, 200, 150}};
    auto g = [](int v) {
        return Rgb{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v),
                   static_cast<std::uint8_t>(v)};
    };
    switch (p) {
    case Few:
        return kFew[(x * 3 + y * 5) % 8];
    case Many:
        return {static_cast<std::uint8_t>(x * 19), static_cast<std::uint8_t>(y * 37 + x),
                static_cast<std::uint8_t>((x * y * 11) % 256)};
    case Grey16:
        return g(((x + 2 * y) % 16) * 17);
    case Grey4:
        return g(((x + y) % 4) * 85);
    case Bilevel:
        return g((x * y + x) % 3 == 0 ? 0 : 255);
    case Smooth:
        return {static_cast<std::uint8_t>(40 + x * 12), static_cast<std::uint8_t>(60 + y * 20),
                static_cast<std::uint8_t>(128)};
    }
    return {};
}

bool IsGreyPattern(Pattern p) {
    return p == Grey16 || p == Grey4 || p == Bilevel;
}

// The pattern as a binary PPM (colour), PGM (grey) or PBM (bilevel) for convert.
std::string PatternFile(Pattern p) {
    std::string head = p == Bilevel ? "P4" : IsGreyPattern(p) ? "P5" : "P6";
    std::string out = head + " " + std::to_string(kW) + " " + std::to_string(kH) + "\n";
    if (p != Bilevel)
        out += "255\n";
    for (int y = 0; y < kH; ++y) {
        if (p == Bilevel) {
            for (int x = 0; x < kW; x += 8) {
                unsigned char b = 0;
                for (int i = 0; i < 8 && x + i < kW; ++i)
                    if (PatternAt(p, x + i, y).R == 0)
                        b |= static_cast<unsigned char>(0x80 >> i);
                out.push_back(static_cast<char>(b));
            }
            continue;
        }
        for (int x = 0; x < kW; ++x) {
            Rgb c = PatternAt(p, x, y);
            out.push_back(static_cast<char>(c.R));
            if (!IsGreyPattern(p)) {
                out.push_back(static_cast<char>(c.G));
                out.push_back(static_cast<char>(c.B));
            }
        }
    }
    return out;
}

Bitmap PatternBitmap(Pattern p, PixelFormat format) {
    Bitmap b(kW, kH, format);
    if (format == PixelFormat::Rgb24) {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                b.SetPixel(x, y, PatternAt(p, x, y));
        return b;
    }
    // Indexed: build the palette from the colours met, in order.
    b.Palette().assign(b.Palette().size(), 0);
    std::size_t used = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            Rgb c = PatternAt(p, x, y);
            std::uint32_t v = (c.R << 16) | (c.G << 8) | c.B;
            std::size_t i = 0;
            while (i < used && b.Palette()[i] != v)
                ++i;
            if (i == used)
                b.Palette()[used++] = v;
            std::uint8_t* row = b.Row(y);
            if (format == PixelFormat::Bits8)
                row[x] = static_cast<std::uint8_t>(i);
            else if (format == PixelFormat::Bits4)
                row[x / 2] |= static_cast<std::uint8_t>(i << ((x % 2) ? 0 : 4));
            else
                row[x / 8] |= static_cast<std::uint8_t>((i & 1) << (7 - x % 8));
        }
    }
    return b;
}

int MaxDifference(const Bitmap& image, Pattern p) {
    int worst = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgb a = image.Pixel(x, y), b = PatternAt(p, x, y);
            worst =
                std::max({worst, std::abs(a.R - b.R), std::abs(a.G - b.G), std::abs(a.B - b.B)});
        }
    return worst;
}

enum class Kind { Bits1, Indexed, Grey8, Rgb24 };

bool HasKind(const Bitmap& b, Kind k) {
    switch (k) {
    case Kind::Bits1:
        return b.Format() == PixelFormat::Bits1;
    case Kind::Indexed:
        return b.Format() != PixelFormat::Rgb24;
    case Kind::Grey8:
        return b.Format() == PixelFormat::Bits8;
    case Kind::Rgb24:
        return b.Format() == PixelFormat::Rgb24;
    }
    return false;
}

struct LoadCase {
    const char* File;
    Pattern Source;
    const char* Args; // convert options between the source and the target
    Kind Expect;
    int Tolerance;
};

const LoadCase kLoadCases[] = {
    // BMP: every depth, both header kinds, bit fields, run-length data
    {"bw1.bmp", Bilevel, "-type bilevel BMP3:", Kind::Bits1, 0},
    {"few4.bmp", Few, "-type palette BMP3:", Kind::Indexed, 0},
    {"many8.bmp", Many, "-type palette BMP3:", Kind::Indexed, 0},
    {"rle8.bmp", Many, "-type palette -compress RLE BMP3:", Kind::Indexed, 0},
    {"few24.bmp", Few, "-type truecolor BMP3:", Kind::Rgb24, 0},
    {"os2.bmp", Many, "-type truecolor BMP2:", Kind::Rgb24, 0},
    {"v5-32.bmp", Many, "-type truecoloralpha BMP:", Kind::Rgb24, 0},
    {"565.bmp", Many, "-define bmp:subtype=RGB565 BMP:", Kind::Rgb24, 8},
    // PNG: every colour type and bit depth, interlaced, alpha
    {"g1.png", Bilevel, "-define png:color-type=0 -define png:bit-depth=1 PNG:", Kind::Bits1, 0},
    {"g2.png", Grey4, "-define png:color-type=0 -define png:bit-depth=2 PNG:", Kind::Grey8, 0},
    {"g4.png", Grey16, "-define png:color-type=0 -define png:bit-depth=4 PNG:", Kind::Grey8, 0},
    {"g8.png", Grey16, "-define png:color-type=0 -define png:bit-depth=8 PNG:", Kind::Grey8, 0},
    {"g16.png", Grey16, "-define png:color-type=0 -define png:bit-depth=16 PNG:", Kind::Grey8, 0},
    {"ga.png", Grey16, "-alpha on -define png:color-type=4 PNG:", Kind::Grey8, 0},
    {"p1.png", Bilevel, "-define png:color-type=3 -define png:bit-depth=1 PNG:", Kind::Bits1, 0},
    {"p4.png", Few, "-define png:color-type=3 -define png:bit-depth=4 PNG:", Kind::Indexed, 0},
    {"p8.png", Many, "-define png:color-type=3 -define png:bit-depth=8 PNG:", Kind::Indexed, 0},
    {"rgb8.png", Many, "-define png:color-type=2 PNG24:", Kind::Rgb24, 0},
    {"rgb16.png", Many, "-depth 16 -define png:color-type=2 PNG48:", Kind::Rgb24, 0},
    {"rgba.png", Many, "-alpha on PNG32:", Kind::Rgb24, 0},
    {"interlaced.png", Many, "-interlace PNG PNG24:", Kind::Rgb24, 0},
    // TIFF: bilevel G4 and uncompressed, grey, palette, RGB, tiles, planes, JPEG inside
    {"g4.tif", Bilevel, "-compress Group4 TIFF:", Kind::Bits1, 0},
    {"bw.tif", Bilevel, "-compress none TIFF:", Kind::Bits1, 0},
    {"grey8.tif", Grey16, "-compress lzw TIFF:", Kind::Grey8, 0},
    {"grey16.tif", Grey16, "-depth 16 -compress zip TIFF:", Kind::Grey8, 0},
    {"pal.tif", Many, "-type palette TIFF:", Kind::Indexed, 0},
    {"rgb.tif", Many, "-type truecolor -compress lzw TIFF:", Kind::Rgb24, 0},
    {"rgb16.tif", Many, "-type truecolor -depth 16 TIFF:", Kind::Rgb24, 0},
    {"tiled.tif", Many, "-type truecolor -define tiff:tile-geometry=16x16 TIFF:", Kind::Rgb24, 0},
    {"planes.tif", Many, "-type truecolor -interlace plane TIFF:", Kind::Rgb24, 0},
    {"rgba.tif", Many, "-type truecoloralpha TIFF:", Kind::Rgb24, 0},
    {"jpeg.tif", Smooth, "-type truecolor -compress jpeg -quality 100 TIFF:", Kind::Rgb24, 6},
    // JPEG: grey, colour, progressive, CMYK
    {"grey.jpg", Grey16, "-quality 100 JPEG:", Kind::Grey8, 6},
    {"colour.jpg", Smooth, "-quality 100 -sampling-factor 1x1 JPEG:", Kind::Rgb24, 6},
    {"prog.jpg", Smooth, "-quality 100 -interlace JPEG JPEG:", Kind::Rgb24, 8},
    {"cmyk.jpg", Smooth, "-colorspace CMYK -quality 100 JPEG:", Kind::Rgb24, 8},
};

class ImageFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::HaveProgram("convert"))
            return;
        dir_ = std::make_unique<TempDir>();
        for (Pattern p : {Few, Many, Grey16, Grey4, Bilevel, Smooth})
            WriteFile(Source(p), PatternFile(p));
        for (const LoadCase& c : kLoadCases) {
            std::string args = c.Args;
            std::size_t space = args.rfind(' ');
            std::string target = space == std::string::npos ? args : args.substr(space + 1);
            std::string options = space == std::string::npos ? "" : args.substr(0, space);
            RunCommand("convert '" + Source(c.Source).string() + "' " + options + " '" + target +
                       (dir_->Path() / c.File).string() + "'");
        }
    }
    static void TearDownTestSuite() { dir_.reset(); }
    void SetUp() override {
        if (!dir_)
            GTEST_SKIP() << "ImageMagick convert is not installed";
    }
    static std::filesystem::path Source(Pattern p) {
        const char* names[] = {"few.ppm", "many.ppm", "g16.pgm", "g4.pgm", "bw.pbm", "smooth.ppm"};
        return dir_->Path() / names[p];
    }
    static std::unique_ptr<TempDir> dir_;
};
std::unique_ptr<TempDir> ImageFiles::dir_;

TEST_F(ImageFiles, LoadsEveryFormatAndDepth) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.File);
        std::filesystem::path file = dir_->Path() / c.File;
        ASSERT_TRUE(std::filesystem::exists(file)) << "convert did not make it";
        std::string error;
        std::optional<Bitmap> image = LoadImageFile(file.string(), &error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->Width(), kW);
        EXPECT_EQ(image->Height(), kH);
        EXPECT_TRUE(HasKind(*image, c.Expect)) << "format " << static_cast<int>(image->Format());
        EXPECT_LE(MaxDifference(*image, c.Source), c.Tolerance);
    }
}

TEST_F(ImageFiles, TopDownBmpAndTransparentPixelsOnWhite) {
    // A top-down BMP: our own bottom-up file with the height negated and the rows turned.
    Bitmap source = PatternBitmap(Many, PixelFormat::Rgb24);
    std::optional<std::string> bmp = EncodeImage(source, ImageFormat::Bmp);
    ASSERT_TRUE(bmp);
    std::string topDown = bmp->substr(0, 54);
    std::int32_t negative = -kH;
    std::memcpy(topDown.data() + 22, &negative, 4);
    const std::size_t stride = (kW * 3 + 3) & ~3u;
    for (int y = kH - 1; y >= 0; --y)
        topDown += bmp->substr(54 + stride * y, stride);
    std::optional<Bitmap> loaded = DecodeImage(topDown);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(MaxDifference(*loaded, Many), 0);

    // Half-transparent red over white is pink; fully transparent is white.
    std::filesystem::path png = dir_->Path() / "alpha.png";
    ASSERT_EQ(RunCommand("convert -size 1x1 xc:'rgba(255,0,0,0.5)' -size 1x1 xc:none +append "
                         "PNG32:'" +
                         png.string() + "'"),
              0);
    std::optional<Bitmap> alpha = LoadImageFile(png.string());
    ASSERT_TRUE(alpha);
    Rgb pink = alpha->Pixel(0, 0);
    EXPECT_EQ(pink.R, 255);
    EXPECT_NEAR(pink.G, 128, 1);
    EXPECT_EQ(alpha->Pixel(1, 0), (Rgb{255, 255, 255}));
}

// Every kind of bitmap saved in every format, read back by us and by ImageMagick.
TEST_F(ImageFiles, SavedFilesReadBackByUsAndByImageMagick) {
    struct SaveCase {
        Pattern Source;
        PixelFormat Format;
    } kinds[] = {{Bilevel, PixelFormat::Bits1}, {Few, PixelFormat::Bits4},
                 {Many, PixelFormat::Bits8},    {Grey16, PixelFormat::Bits8},
                 {Many, PixelFormat::Rgb24},    {Smooth, PixelFormat::Rgb24}};
    for (const SaveCase& k : kinds) {
        Bitmap image = PatternBitmap(k.Source, k.Format);
        for (const char* ext : {"bmp", "png", "tif", "jpg"}) {
            bool lossy = std::string(ext) == "jpg";
            if (lossy && k.Source != Smooth && k.Source != Grey16 && k.Source != Bilevel)
                continue; // JPEG keeps only smooth colour pictures close
            int tolerance = !lossy ? 0 : k.Source == Bilevel ? 40 : 10;
            std::string name = "saved-" + std::to_string(k.Source) + "-" +
                               std::to_string(static_cast<int>(k.Format)) + "." + ext;
            SCOPED_TRACE(name);
            std::filesystem::path file = dir_->Path() / name;
            std::string error;
            ImageSaveOptions options;
            options.JpegQuality = 100;
            ASSERT_TRUE(SaveImageFile(image, file.string(), options, &error)) << error;
            std::optional<Bitmap> back = LoadImageFile(file.string(), &error);
            ASSERT_TRUE(back) << error;
            EXPECT_EQ(back->Width(), kW);
            EXPECT_LE(MaxDifference(*back, k.Source), tolerance);
            if (!lossy && k.Format == PixelFormat::Bits1) {
                EXPECT_EQ(back->Format(), PixelFormat::Bits1);
            }

            std::filesystem::path raw = dir_->Path() / (name + ".rgb");
            ASSERT_EQ(
                RunCommand("convert '" + file.string() + "' -depth 8 'rgb:" + raw.string() + "'"),
                0);
            std::string rgb = ReadFile(raw);
            ASSERT_EQ(rgb.size(), static_cast<std::size_t>(kW * kH * 3));
            Bitmap seen(kW, kH);
            std::memcpy(seen.Data().data(), rgb.data(), rgb.size());
            EXPECT_LE(MaxDifference(seen, k.Source), tolerance);
        }
    }
    std::string error;
    EXPECT_FALSE(SaveImageFile(PatternBitmap(Few, PixelFormat::Rgb24),
                               (dir_->Path() / "page.gif").string(), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ImageFiles, BrokenFilesFailWithAReason) {
    std::vector<std::pair<std::string, std::string>> broken = {
        {"empty", ""},
        {"text", "this is not a picture at all"},
        {"bmp header only", std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 18)},
        {"png signature only", "\x89PNG\r\n\x1A\n"},
        {"tiff header only", std::string("II*\0\x08\0\0\0", 8)},
        {"jpeg markers only", "\xFF\xD8\xFF\xD9"},
    };
    // Every fixture cut in half and cut after its first 40 bytes.
    for (const LoadCase& c : kLoadCases) {
        std::string bytes = ReadFile(dir_->Path() / c.File);
        broken.emplace_back(std::string(c.File) + " half", bytes.substr(0, bytes.size() / 2));
        broken.emplace_back(std::string(c.File) + " 40", bytes.substr(0, 40));
    }
    for (const auto& [name, bytes] : broken) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_FALSE(DecodeImage(bytes, &error));
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_FALSE(LoadImageFile((dir_->Path() / "missing.png").string(), &error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);
}

TEST_F(ImageFiles, ToolConvertsAndReportsFailures) {
    const std::string tool = PENDLAR_TOOL;
    std::string in = (dir_->Path() / "g4.tif").string();
    std::string out = (dir_->Path() / "tool.png").string();
    EXPECT_EQ(RunCommand(tool + " image-convert '" + in + "' '" + out + "' >/dev/null"), 0);
    std::optional<Bitmap> back = LoadImageFile(out);
    ASSERT_TRUE(back);
    EXPECT_EQ(MaxDifference(*back, Bilevel), 0);
    std::string err;
    EXPECT_EQ(
        RunCommand(tool + " image-convert '" + Source(Few).string() + "' '" + out + "' 2>&1", &err),
        1);
    EXPECT_NE(err.find("not a JPEG, TIFF, BMP or PNG file"), std::string::npos);
    EXPECT_EQ(RunCommand(tool + " image-convert '" + in + "' 2>/dev/null"), 2);
    EXPECT_EQ(
        RunCommand(tool + " image-convert '" + in + "' '" + out + "' --quality 0 2>/dev/null"), 2);
}

TEST(ImageFormats, DetectedByContentAndExtension) {
    EXPECT_EQ(DetectImageFormat("\xFF\xD8\xFF\xE0"), ImageFormat::Jpeg);
    EXPECT_EQ(DetectImageFormat("\x89PNG\r\n\x1A\n"), ImageFormat::Png);
    EXPECT_EQ(DetectImageFormat(std::string("MM\0*", 4)), ImageFormat::Tiff);
    EXPECT_EQ(DetectImageFormat(std::string("II*\0", 4)), ImageFormat::Tiff);
    EXPECT_EQ(DetectImageFormat("BM"), ImageFormat::Bmp);
    EXPECT_EQ(DetectImageFormat("GIF89a"), ImageFormat::Unknown);
    EXPECT_EQ(ImageFormatFromExtension("/scan/P1.JPEG"), ImageFormat::Jpeg);
    EXPECT_EQ(ImageFormatFromExtension("a.Tif"), ImageFormat::Tiff);
    EXPECT_EQ(ImageFormatFromExtension("a.bmp"), ImageFormat::Bmp);
    EXPECT_EQ(ImageFormatFromExtension("a.png"), ImageFormat::Png);
    EXPECT_EQ(ImageFormatFromExtension("/scan.png/page"), ImageFormat::Unknown);
}

TEST(Thumbnails, JpegIsDecodedAtTheLargestReductionThatCoversTheBox) {
    Bitmap page(400, 300, PixelFormat::Rgb24);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            page.SetPixel(
                x, y, {static_cast<std::uint8_t>(x / 2), 100, static_cast<std::uint8_t>(y / 2)});
    std::optional<std::string> jpeg = EncodeImage(page, ImageFormat::Jpeg);
    ASSERT_TRUE(jpeg);
    struct Case {
        int Box, Width, Height;
    } cases[] = {{37, 50, 38},    {38, 50, 38},    {50, 100, 75},
                 {150, 200, 150}, {151, 400, 300}, {1000, 400, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Box);
        std::optional<ThumbnailSource> t = DecodeImageForThumbnail(*jpeg, c.Box, c.Box);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Image.Width(), c.Width);
        EXPECT_EQ(t->Image.Height(), c.Height);
        EXPECT_EQ(t->FullWidth, 400);
        EXPECT_EQ(t->FullHeight, 300);
    }
}

TEST(Thumbnails, ResizeKeepsThinLinesAndGreyness) {
    // A one-pixel black line on a white bilevel page must still show after shrinking 10:1.
    Bitmap page(300, 200, PixelFormat::Bits1);
    std::fill(page.Data().begin(), page.Data().end(), 0xFF);
    for (int y = 0; y < 200; ++y)
        page.Row(y)[155 / 8] &= static_cast<std::uint8_t>(~(0x80 >> (155 % 8)));
    Bitmap small = ResizeImage(page, 30, 20);
    ASSERT_EQ(small.Format(), PixelFormat::Bits8);
    EXPECT_NEAR(small.Pixel(15, 10).R, 230, 1); // 1 of 10 pixels black
    EXPECT_EQ(small.Pixel(0, 0).R, 255);

    // Enlarging a colour picture keeps its corners and interpolates between them.
    Bitmap two(2, 1, PixelFormat::Rgb24);
    two.SetPixel(0, 0, {0, 0, 0});
    two.SetPixel(1, 0, {200, 100, 50});
    Bitmap big = ResizeImage(two, 4, 1);
    ASSERT_EQ(big.Format(), PixelFormat::Rgb24);
    EXPECT_EQ(big.Pixel(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(big.Pixel(3, 0), (Rgb{200, 100, 50}));
    EXPECT_EQ(big.Pixel(1, 0), (Rgb{50, 25, 13}));
    EXPECT_TRUE(ResizeImage(two, 0, 5).Empty());
}

} // namespace
} // namespace pendlar
