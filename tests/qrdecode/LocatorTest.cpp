// The finder search and the sampling grid on drawn symbols and small hand-made planes.
#include "SymbolMaker.h"
#include "qrdecode/FindPattern.h"
#include "qrdecode/FrontImage.h"
#include "qrdecode/ImageReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace pendlar {
namespace {

TPlaneBoolean BinaryOf(const Bitmap& image) {
    TPlaneInteger colours(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb c = image.Pixel(x, y);
            colours.Set(x, y, c.R | (c.G << 8) | (c.B << 16));
        }
    TFrontImage front;
    return front.Binarise(colours);
}

// One row of runs, light first.
TPlaneBoolean Row(const std::vector<int>& runs) {
    int width = 0;
    for (int r : runs)
        width += r;
    TPlaneBoolean plane(width, 1);
    int x = 0;
    bool dark = false;
    for (int r : runs) {
        for (int i = 0; i < r; ++i)
            plane.Set(x++, 0, dark);
        dark = !dark;
    }
    return plane;
}

TEST(FinderTest, RatioAllowsHalfAModulePerRun) {
    struct Case {
        int Runs[5];
        bool Passes;
    };
    const Case cases[] = {
        {{4, 4, 12, 4, 4}, true},  {{4, 4, 16, 4, 4}, true}, // centre exactly 3.5 modules of 32/7
        {{1, 4, 12, 4, 4}, false}, {{4, 4, 8, 4, 4}, false},
        {{3, 5, 11, 4, 5}, true},  {{4, 4, 12, 4, 7}, false}};
    for (const Case& c : cases) {
        // Stored as the row scan keeps them: the newest run at the current index.
        for (int current = 0; current < 5; ++current) {
            int counters[5];
            for (int n = 0; n < 5; ++n)
                counters[(current + 1 + n) % 5] = c.Runs[n];
            EXPECT_EQ(FinderRatio(counters, current), c.Passes)
                << c.Runs[0] << "," << c.Runs[1] << "," << c.Runs[2] << "," << c.Runs[3] << ","
                << c.Runs[4] << " at " << current;
        }
    }
}

TEST(FinderTest, RowHitNeedsLightAfterTheLastDarkRun) {
    TFindPattern finder;
    finder.Search(Row({3, 4, 4, 12, 4, 4, 1}));
    ASSERT_EQ(finder.RowHits().Count(), 1u);
    EXPECT_EQ(finder.RowHits()[0].X1, 3);
    EXPECT_EQ(finder.RowHits()[0].X2, 30);
    // The same pattern ending at the crop's last pixel gives nothing.
    finder.Search(Row({3, 4, 4, 12, 4, 4}));
    EXPECT_EQ(finder.RowHits().Count(), 0u);
}

// P0 stays the corner finder in every rotation, and the turn from P1 to P2 is clockwise:
// turned by 90°, P1 lies below P0 and P2 to its left.
TEST(FinderTest, OrderFollowsTheSymbolInEveryRotation) {
    const auto symbol = test::Encode("00123", 1, 'L');
    ASSERT_TRUE(symbol);
    for (int angle : {0, 90, 180, 270}) {
        test::RenderOptions options;
        options.ModuleSize = 4;
        options.Angle = angle;
        const Bitmap image = test::Render(*symbol, options);
        TFindPattern finder;
        ASSERT_EQ(finder.Search(BinaryOf(image)), 0) << angle;

        // Finder centres in the upright symbol, turned clockwise about the image centre.
        const double side = (21 + 8) * 4.0, centre = image.Width() / 2.0;
        const double a = angle * std::numbers::pi / 180;
        const double modules[3][2] = {{3.5, 3.5}, {17.5, 3.5}, {3.5, 17.5}};
        for (int i = 0; i < 3; ++i) {
            const double ux = (4 + modules[i][0]) * 4 - side / 2;
            const double uy = (4 + modules[i][1]) * 4 - side / 2;
            const double x = centre + ux * std::cos(a) - uy * std::sin(a);
            const double y = centre + ux * std::sin(a) + uy * std::cos(a);
            EXPECT_NEAR(finder.Center(i).X, x, 2.5) << "P" << i << " at " << angle;
            EXPECT_NEAR(finder.Center(i).Y, y, 2.5) << "P" << i << " at " << angle;
        }
    }
    TFindPattern finder;
    EXPECT_EQ(finder.Center(3), TPoint{});
    EXPECT_EQ(finder.Center(-1), TPoint{});
}

TEST(GridTest, ForcedVersionSetsTheMatrixSize) {
    const auto symbol = test::Encode("forced", 2, 'L', test::QrMode::Byte);
    ASSERT_TRUE(symbol);
    const TPlaneBoolean binary = BinaryOf(test::Render(*symbol));
    TImageReader reader;
    reader.SetForcedVersion(1);
    ASSERT_EQ(reader.Read(binary), 0);
    EXPECT_EQ(reader.Size(), 21);
    reader.SetForcedVersion(0);
    ASSERT_EQ(reader.Read(binary), 0);
    EXPECT_EQ(reader.Size(), 25);
}

// With the bottom-right module light, the farthest dark pixel lies inside the symbol; the
// crossing of the bottom and right edges puts the corner back where it belongs, and every
// module is sampled right.
TEST(GridTest, LightBottomRightModuleIsPlacedByTheEdges) {
    auto symbol = test::Encode("00123", 1, 'L', test::QrMode::Byte);
    ASSERT_TRUE(symbol);
    symbol->Set(20, 20, false);
    symbol->Set(19, 20, true);
    symbol->Set(20, 19, true);
    test::RenderOptions options;
    options.ModuleSize = 5;
    TImageReader reader;
    reader.SetCornerRadius(2);
    ASSERT_EQ(reader.Read(BinaryOf(test::Render(*symbol, options))), 0);
    const int last = (4 + 21) * 5 - 1;
    EXPECT_EQ(reader.Coordinates().BR, (TPoint{last, last}));
    ASSERT_EQ(reader.Size(), 21);
    int wrong = 0;
    for (int row = 0; row < 21; ++row)
        for (int column = 0; column < 21; ++column)
            wrong += reader.Matrix().At(column, row) != symbol->At(column, row);
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace pendlar
