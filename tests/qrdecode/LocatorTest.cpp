// The finder search and the sampling grid on drawn symbols and small hand-made planes.
#include "SymbolMaker.h"
#include "qrdecode/FindPattern.h"
#include "qrdecode/FinderShape.h"
#include "qrdecode/FrontImage.h"
#include "qrdecode/ImageReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>

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

// A 9 × 9 module grid: a finder pattern in the middle 7 × 7 with a one-module light frame,
// changed by `edit` before it is drawn (upright or turned, `module` pixels per module).
TPlaneBoolean FinderPlane(
    double module, double angle, void (*edit)(test::QrMatrix&) = [](test::QrMatrix&) {}) {
    test::QrMatrix grid;
    grid.Size = 9;
    grid.Dark.assign(81, 0);
    for (int row = 1; row < 8; ++row)
        for (int column = 1; column < 8; ++column) {
            const int ring = std::max(std::abs(column - 4), std::abs(row - 4));
            grid.Set(column, row, ring != 2);
        }
    edit(grid);
    test::RenderOptions options;
    options.ModuleSize = module;
    options.Angle = angle;
    options.QuietZone = 2;
    return BinaryOf(test::Render(grid, options));
}

TPoint Middle(const TPlaneBoolean& plane) {
    return {plane.Width() / 2, plane.Height() / 2};
}

// The closer look measures the module of a finder in any rotation and turns away what
// only looks like one along rows and columns.
TEST(FinderTest, CloserLookMeasuresFindersAndTurnsAwayLookAlikes) {
    for (double angle : {0.0, 3.0, 30.0, 45.0, 90.0}) {
        const TPlaneBoolean plane = FinderPlane(6, angle);
        EXPECT_NEAR(FinderModule(plane, Middle(plane)), 6, 0.6) << angle;
    }
    // Anywhere in the core will do.
    const TPlaneBoolean upright = FinderPlane(4, 0);
    EXPECT_NEAR(FinderModule(upright, {Middle(upright).X + 4, Middle(upright).Y - 3}), 4, 0.3);

    const struct {
        const char* Name;
        void (*Edit)(test::QrMatrix&);
    } lookAlikes[] = {
        // Rows and columns through the middle read 1:1:3:1:1, the diagonals do not.
        {"open corners",
         [](test::QrMatrix& g) {
             for (int c : {1, 7})
                 for (int r : {1, 7})
                     g.Set(c, r, false);
         }},
        {"dark beside the ring", [](test::QrMatrix& g) { g.Set(8, 4, true); }},
        {"dark beyond a corner", [](test::QrMatrix& g) { g.Set(8, 8, true); }},
        {"light core", [](test::QrMatrix& g) { g.Set(4, 4, false); }},
    };
    for (const auto& l : lookAlikes) {
        const TPlaneBoolean plane = FinderPlane(4, 0, l.Edit);
        EXPECT_EQ(FinderModule(plane, Middle(plane)), 0) << l.Name;
    }
}

TEST(FinderTest, ThreeFindersMakeOneSymbolsTriangle) {
    const struct {
        const char* Name;
        TPoint Centres[3];
        double Modules[3];
        bool Passes;
    } cases[] = {
        {"version 1, 4 px", {{14, 14}, {70, 14}, {14, 70}}, {4, 4, 4}, true},
        {"any order", {{70, 14}, {14, 70}, {14, 14}}, {4, 4, 4}, true},
        {"turned 30°", {{100, 100}, {187, 150}, {50, 187}}, {4, 4, 4}, true},
        {"version 40, 4 px", {{14, 14}, {694, 14}, {14, 694}}, {4, 4, 4}, true},
        {"slightly skewed", {{14, 14}, {72, 17}, {12, 68}}, {4, 4.3, 3.8}, true},
        {"sides 3 : 2", {{14, 14}, {98, 14}, {14, 70}}, {4, 4, 4}, false},
        {"corner of 60°", {{14, 14}, {70, 14}, {42, 62}}, {4, 4, 4}, false},
        {"modules 4 and 8", {{14, 14}, {70, 14}, {14, 70}}, {4, 4, 8}, false},
        {"too close for their module", {{14, 14}, {34, 14}, {14, 34}}, {4, 4, 4}, false},
        {"one not measured", {{14, 14}, {70, 14}, {14, 70}}, {4, 0, 4}, false},
        {"two in one place", {{14, 14}, {14, 14}, {14, 70}}, {4, 4, 4}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FinderTriangle(c.Centres, c.Modules), c.Passes) << c.Name;
}

// A version 4 symbol whose timing line, sampled at the far larger pitch of version 1,
// happens to alternate: the finders' module rules version 1 out.
TEST(GridTest, VersionFollowsTheFindersModule) {
    const auto symbol = test::Encode("00168380xxxxxxxxxxxx", 4, 'L', test::QrMode::Byte);
    ASSERT_TRUE(symbol);
    for (const auto& [module, angle] : {std::pair{6.0, 0.0}, {3.6, 92.0}}) {
        test::RenderOptions options;
        options.ModuleSize = module;
        options.Angle = angle;
        TImageReader reader;
        ASSERT_EQ(reader.Read(BinaryOf(test::Render(*symbol, options))), 0) << module;
        EXPECT_EQ(reader.Coordinates().Version(), 4) << module;
        EXPECT_EQ(reader.Size(), 33) << module;
    }
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
