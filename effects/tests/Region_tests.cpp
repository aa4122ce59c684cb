// Regions: shapes scan-converted at pixel centres, drawn as ASCII art, and the rectangle
// algebra over pixman.

#include <gtest/gtest.h>

#include <numbers>

#include "effects/EffectHelpers.h"
#include "effects/Region.h"
#include "effects/tests/EffectTestSupport.h"

namespace velmora {
namespace {

using test::Ascii;
using Rows = std::vector<std::string>;

struct PolygonCase {
    const char* Name;
    std::vector<TPoint> Points;
    int Width;
    int Height;
    Rows Expected;
};

class PolygonTest : public ::testing::TestWithParam<PolygonCase> {};

TEST_P(PolygonTest, CoversThePixelsWhoseCentresLieInside) {
    const PolygonCase& c = GetParam();
    EXPECT_EQ(Ascii(Region::Polygon(c.Points), c.Width, c.Height), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PolygonTest,
    ::testing::Values(
        // A centre exactly on the slanted edge belongs to the shape on its left side only.
        PolygonCase{"RightTriangle",
                    {{0, 0}, {4, 0}, {0, 4}},
                    5,
                    5,
                    {"###..", "##...", "#....", ".....", "....."}},
        PolygonCase{"Rectangle",
                    {{1, 1}, {4, 1}, {4, 3}, {1, 3}},
                    5,
                    4,
                    {".....", ".###.", ".###.", "....."}},
        // Two triangles meeting at (2, 2); left edges take the centre, right edges do not.
        PolygonCase{
            "Bowtie", {{0, 0}, {4, 4}, {4, 0}, {0, 4}}, 4, 4, {"...#", "#.##", "#.##", "...#"}},
        // The square 2..4 is wound twice: the winding rule fills it, even-odd would not.
        PolygonCase{"WoundTwice",
                    {{0, 0}, {6, 0}, {6, 6}, {2, 6}, {2, 2}, {4, 2}, {4, 4}, {0, 4}},
                    6,
                    6,
                    {"######", "######", "######", "######", "..####", "..####"}},
        PolygonCase{"Degenerate", {{0, 0}, {4, 4}}, 4, 2, {"....", "...."}},
        // Shapes beyond the window are cut by it, not wrapped.
        PolygonCase{
            "Outside", {{-10, -10}, {2, -10}, {2, 2}, {-10, 2}}, 4, 3, {"##..", "##..", "...."}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RegionTest, RoundRectOfSquareSizeIsACircle) {
    EXPECT_EQ(Ascii(Region::RoundRect(0, 0, 8, 8, 8, 8), 8, 8),
              (Rows{"..####..", ".######.", "########", "########", "########", "########",
                    ".######.", "..####.."}));
    // Corner ellipses larger than the rectangle are limited to it.
    EXPECT_EQ(Region::RoundRect(0, 0, 8, 8, 100, 100), Region::RoundRect(0, 0, 8, 8, 8, 8));
}

TEST(RegionTest, RoundRectCornersAndDegenerateCases) {
    EXPECT_EQ(Ascii(Region::RoundRect(0, 0, 6, 4, 4, 4), 6, 4),
              (Rows{".####.", "######", "######", ".####."}));
    // A 2 x 2 corner ellipse contains the corner pixel's centre: nothing is cut.
    EXPECT_EQ(Region::RoundRect(0, 0, 6, 4, 2, 2), Region(TRect{0, 0, 6, 4}));
    EXPECT_EQ(Region::RoundRect(1, 2, 5, 6, 0, 3), Region(TRect{1, 2, 5, 6}));
    EXPECT_TRUE(Region::RoundRect(5, 0, 5, 4, 2, 2).IsEmpty());
    EXPECT_TRUE(Region::RoundRect(6, 0, 2, 4, 2, 2).IsEmpty());
}

TEST(RegionTest, RectangleCoversLeftToRightExclusive) {
    const Region r(TRect{1, 1, 3, 2});
    EXPECT_EQ(Ascii(r, 4, 3), (Rows{"....", ".##.", "...."}));
    EXPECT_EQ(r.Area(), 2);
    EXPECT_EQ(r.Extents(), (TRect{1, 1, 3, 2}));
    EXPECT_TRUE(Region(TRect{3, 1, 1, 2}).IsEmpty()) << "inverted rectangles are empty";
}

struct AlgebraCase {
    const char* Name;
    Region (*Combine)(const Region&, const Region&);
    Rows Expected;
};

class AlgebraTest : public ::testing::TestWithParam<AlgebraCase> {};

TEST_P(AlgebraTest, CombinesTwoOverlappingRectangles) {
    const Region a(TRect{0, 0, 3, 3});
    const Region b(TRect{1, 1, 4, 4});
    EXPECT_EQ(Ascii(GetParam().Combine(a, b), 4, 4), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, AlgebraTest,
    ::testing::Values(AlgebraCase{"Union",
                                  [](const Region& a, const Region& b) { return a | b; },
                                  {"###.", "####", "####", ".###"}},
                      AlgebraCase{"Intersection",
                                  [](const Region& a, const Region& b) { return a & b; },
                                  {"....", ".##.", ".##.", "...."}},
                      AlgebraCase{"SymmetricDifference",
                                  [](const Region& a, const Region& b) { return a ^ b; },
                                  {"###.", "#..#", "#..#", ".###"}},
                      AlgebraCase{"Difference",
                                  [](const Region& a, const Region& b) { return a - b; },
                                  {"###.", "#...", "#...", "...."}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RegionTest, CopiesAreIndependentAndMovesLeaveAnEmptyRegion) {
    Region a(TRect{0, 0, 2, 2});
    Region copy = a;
    a |= Region(TRect{5, 5, 6, 6});
    EXPECT_EQ(copy.Area(), 4);
    EXPECT_EQ(a.Area(), 5);
    Region moved = std::move(a);
    EXPECT_EQ(moved.Area(), 5);
    EXPECT_TRUE(a.IsEmpty());  // NOLINT(bugprone-use-after-move): a moved-from region is empty
    copy = moved;
    EXPECT_EQ(copy, moved);
    copy.Translate(-1, 2);
    EXPECT_TRUE(copy.Contains(-1, 2));
    EXPECT_FALSE(copy.Contains(0, 0));
}

TEST(RegionTest, FromRectsEqualsRepeatedUnionAndIteratesBandedRectangles) {
    std::vector<TRect> rects;
    Region united;
    for (int i = 0; i < 400; ++i) {
        const TRect r{(i * 37) % 101, (i * 53) % 97, (i * 37) % 101 + 1 + i % 9,
                      (i * 53) % 97 + 1 + i % 5};
        rects.push_back(r);
        united |= Region(r);
    }
    rects.push_back({10, 10, 5, 20});  // inverted: ignored
    const Region built = Region::FromRects(rects);
    EXPECT_EQ(built, united);
    long long area = 0;
    for (TRect r : built) {
        EXPECT_FALSE(r.IsEmpty());
        area += (long long)r.Width() * r.Height();
    }
    EXPECT_EQ(area, built.Area());
    EXPECT_TRUE(Region::FromRects({}).IsEmpty());
}

TEST(RegionTest, TriangleAndSectorRegions) {
    EXPECT_EQ(TriangleRegion(0, 0, 4, 0, 0, 4),
              Region::Polygon(std::vector<TPoint>{{0, 0}, {4, 0}, {0, 4}}));
    // A quarter turn from straight up in two steps: (5, 5), (5, 0), (5 + Round(5 cos -45deg),
    // 5 + Round(5 sin -45deg)) = (9, 1); the arc ends one step short of three o'clock.
    const Region sector = SectorRegion(5, 5, 5, -std::numbers::pi / 2, 0, 2);
    EXPECT_EQ(sector, TriangleRegion(5, 5, 5, 0, 9, 1));
    EXPECT_TRUE(SectorRegion(5, 5, 5, 0, 1, 0).IsEmpty());
}

}  // namespace
}  // namespace velmora
