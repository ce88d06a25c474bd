// A page image made ready for its page: the size it gets, the cut that decodes only the
// kept part, the area-averaging reduction and the baseline JPEG it is encoded to.
#include "pdf/chart/PageImage.h"

#include "ChartTestSupport.h"

#include <cstdio>
#include <jpeglib.h>

namespace pendlar {
namespace {

struct PlaceCase {
    int Width, Height;
    bool Stretch;
    int ExpectedWidth, ExpectedHeight;
};

class PlacementTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlacementTest, FitsOrCutsToTheDefaultPageArea) {
    const PlaceCase& c = GetParam();
    PagePlacement p = PlacePageImage(c.Width, c.Height, 634, 934, c.Stretch);
    EXPECT_EQ(p.Width, c.ExpectedWidth);
    EXPECT_EQ(p.Height, c.ExpectedHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PlacementTest,
    ::testing::Values(PlaceCase{2000, 3000, false, 634, 934}, PlaceCase{500, 400, false, 500, 400},
                      PlaceCase{1268, 1000, true, 634, 500}, PlaceCase{317, 200, true, 634, 400},
                      PlaceCase{2480, 3508, true, 634, 896}, PlaceCase{634, 934, true, 634, 934},
                      // Never below one pixel.
                      PlaceCase{1, 50000, true, 1, 934}));

TEST(PageImageTest, QualityIsClampedToFiftyToHundred) {
    EXPECT_EQ(ClampQuality(30), 50);
    EXPECT_EQ(ClampQuality(120), 100);
    EXPECT_EQ(ClampQuality(80), 80);
    PixelImage image = PlacePagePixels(test::PagePicture(64, 48), {});
    auto at = [&](int q) { return EncodeBaselineJpeg(image, q)->Bytes; };
    EXPECT_EQ(at(30), at(50));
    EXPECT_EQ(at(120), at(100));
    EXPECT_NE(at(50), at(51));
}

// A JPEG of the picture with the given chroma sampling (h, v of the luma component; 0
// for a grey file), optionally progressive.
std::string EncodeJpeg(const Bitmap& rgb, int h, int v, bool progressive = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.Width());
    info.image_height = static_cast<JDIMENSION>(rgb.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (h == 0) {
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    } else {
        info.comp_info[0].h_samp_factor = h;
        info.comp_info[0].v_samp_factor = v;
    }
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < rgb.Height(); ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.Row(y));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

// A colourful picture, so that chroma upsampling matters at every column.
Bitmap Colourful(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y,
                       {static_cast<std::uint8_t>((x * 7 + y) & 0xFF),
                        static_cast<std::uint8_t>((x * y) >> 3 & 0xFF),
                        static_cast<std::uint8_t>(x % 13 < 6 ? 220 : 30)});
    return b;
}

PixelImage TopLeft(const PixelImage& full, int width, int height) {
    PixelImage cut{width, height, full.Channels, {}};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row =
            full.Data.data() + static_cast<std::size_t>(y) * full.Width * full.Channels;
        cut.Data.insert(cut.Data.end(), row, row + static_cast<std::size_t>(width) * full.Channels);
    }
    return cut;
}

struct CutCase {
    const char* What;
    int H, V;
    bool Progressive;
};

class JpegCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(JpegCutTest, DecodingOnlyTheKeptPartGivesTheFullDecodeCut) {
    const CutCase& c = GetParam();
    // Odd sizes, so that neither the cut nor the picture ends on a block edge.
    const std::string jpeg = EncodeJpeg(Colourful(1001, 1203), c.H, c.V, c.Progressive);
    std::optional<PixelImage> full = DecodeJpegPixels(jpeg);
    ASSERT_TRUE(full);
    for (auto [w, h] : {std::pair{634, 934}, std::pair{17, 9}, std::pair{1000, 5}}) {
        PageImageSettings settings{w, h, false, 80};
        std::optional<PixelImage> cut = PlacePagePixels(jpeg, settings);
        ASSERT_TRUE(cut);
        PixelImage expected = TopLeft(*full, w, h);
        EXPECT_EQ(cut->Width, w);
        EXPECT_EQ(cut->Height, h);
        EXPECT_EQ(cut->Channels, c.H == 0 ? 1 : 3);
        EXPECT_TRUE(cut->Data == expected.Data) << c.What << " " << w << "x" << h;
    }
}

INSTANTIATE_TEST_SUITE_P(Samplings, JpegCutTest,
                         ::testing::Values(CutCase{"s420", 2, 2, false},
                                           CutCase{"s422", 2, 1, false},
                                           CutCase{"s444", 1, 1, false},
                                           CutCase{"grey", 0, 0, false},
                                           CutCase{"progressive420", 2, 2, true}),
                         [](const auto& info) { return std::string(info.param.What); });

TEST(PageImageTest, ADamagedFileIsRefusedEvenWhenTheDamageLiesBelowTheCut) {
    std::string jpeg = EncodeJpeg(Colourful(400, 800), 2, 2);
    jpeg.resize(jpeg.size() * 3 / 4); // the lower quarter of the entropy data is gone
    std::string error;
    EXPECT_FALSE(DecodeJpegPixels(jpeg));
    EXPECT_FALSE(PlacePagePixels(jpeg, {400, 800, false, 80}, &error));
    EXPECT_FALSE(PlacePagePixels(jpeg, {100, 100, false, 80}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ComposePageImage(std::string("not a picture"), {}));
}

PixelImage Grey(int width, int height, std::uint8_t value) {
    return {width, height, 1,
            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, value)};
}

TEST(PageImageTest, ReductionAveragesSoThinStrokesStayVisible) {
    // One-pixel black strokes every 8 columns on white. Halving puts half a stroke into
    // every fourth target column; a quarter puts a quarter into every other one. Picking
    // the nearest pixel would instead keep or lose every stroke whole.
    PixelImage source = Grey(1264, 40, 255);
    for (int y = 0; y < source.Height; ++y)
        for (int x = 0; x < source.Width; x += 8)
            source.Data[static_cast<std::size_t>(y) * source.Width + x] = 0;
    struct Case {
        int Factor, StrokeEvery;
        int Stroke;
    };
    for (Case c : {Case{2, 4, 128}, Case{4, 2, 191}}) {
        PixelImage small =
            ResamplePixels(source, source.Width / c.Factor, source.Height / c.Factor);
        for (int x = 0; x < small.Width; ++x) {
            int expected = x % c.StrokeEvery == 0 ? c.Stroke : 255;
            EXPECT_NEAR(small.Data[static_cast<std::size_t>(small.Width) + x], expected, 1)
                << "factor " << c.Factor << " column " << x;
        }
    }
}

TEST(PageImageTest, AFittedScanKeepsEveryThinStroke) {
    // One-pixel strokes every 16 columns of a 1600-pixel page that shrinks to 634: each
    // must still darken its place, where picking pixels would drop most of them.
    Bitmap page(1600, 1200);
    for (int y = 0; y < page.Height(); ++y)
        for (int x = 0; x < page.Width(); ++x)
            page.SetPixel(x, y, x % 16 == 8 ? Rgb{0, 0, 0} : Rgb{255, 255, 255});
    std::optional<PixelImage> fitted =
        PlacePagePixels(EncodeJpeg(page, 1, 1), {634, 934, true, 80});
    ASSERT_TRUE(fitted);
    ASSERT_EQ(fitted->Width, 634);
    const std::uint8_t* row =
        fitted->Data.data() + static_cast<std::size_t>(fitted->Width) * 3 * 200;
    // The ink of a stroke (255 minus the grey, summed around its place) is kept: about
    // 255 * 634 / 1600 = 101 per stroke, whichever target pixels it falls into.
    for (int stroke = 8; stroke < 1600; stroke += 16) {
        const int x = stroke * 634 / 1600;
        int ink = 0;
        for (int dx = -2; dx <= 2; ++dx)
            if (x + dx >= 0 && x + dx < 634)
                ink += 255 - row[3 * (x + dx)];
        EXPECT_NEAR(ink, 101, 25) << "stroke at " << stroke;
    }
}

TEST(PageImageTest, EnlargementInterpolatesAndKeepsFlatAreasExact) {
    PixelImage source = Grey(4, 2, 200);
    source.Data[2] = source.Data[3] = source.Data[6] = source.Data[7] = 0; // right half dark
    PixelImage big = ResamplePixels(source, 8, 4);
    const std::vector<std::uint8_t> row(big.Data.begin(), big.Data.begin() + 8);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{200, 200, 200, 150, 50, 0, 0, 0}));
    PixelImage flat = ResamplePixels(Grey(317, 200, 77), 634, 400);
    EXPECT_TRUE(std::all_of(flat.Data.begin(), flat.Data.end(), [](auto v) { return v == 77; }));
}

// The start-of-frame marker of a JPEG and its component count.
std::pair<int, int> FrameOf(const std::string& jpeg) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF) {
            int marker = static_cast<unsigned char>(jpeg[i + 1]);
            if (marker >= 0xC0 && marker <= 0xC2)
                return {marker, static_cast<unsigned char>(jpeg[i + 9])};
        }
    return {0, 0};
}

TEST(PageImageTest, EveryPageBecomesABaselineJpegOfThreeComponents) {
    test::TempDir dir;
    Bitmap grey(120, 80, PixelFormat::Bits8);
    Bitmap bilevel(120, 80, PixelFormat::Bits1);
    for (const Bitmap* picture : {&grey, &bilevel}) {
        std::optional<JpegPicture> jpeg = ComposePageImage(*picture, {});
        ASSERT_TRUE(jpeg);
        EXPECT_EQ(FrameOf(jpeg->Bytes), (std::pair{0xC0, 3}));
        EXPECT_EQ(jpeg->Width, 120);
    }
    const std::string progressiveGrey = EncodeJpeg(Colourful(90, 60), 0, 0, true);
    std::optional<JpegPicture> jpeg = ComposePageImage(progressiveGrey, {634, 934, true, 80});
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(FrameOf(jpeg->Bytes), (std::pair{0xC0, 3}));
    EXPECT_EQ(jpeg->Width, 634);
    EXPECT_EQ(jpeg->Height, 422);
}

} // namespace
} // namespace pendlar
