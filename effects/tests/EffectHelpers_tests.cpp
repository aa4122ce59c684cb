// The arithmetic and drawing helpers of the effects, checked against values worked out by
// hand.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <numbers>

#include "effects/EffectHelpers.h"
#include "effects/tests/EffectTestSupport.h"

namespace velmora {
namespace {

using test::FromLetters;
using test::ToLetters;
using Rows = std::vector<std::string>;

struct MetricsCase {
    int W, H, Progress;
    TFrameMetrics Expected;
};

TEST(FrameMetricsTest, LongerSideMovesInPercentStepsShorterFollows) {
    const MetricsCase cases[] = {
        {185, 153, 4, {185, 153, 7, 6, 10}},  // editor preview
        {185, 153, 100, {185, 153, 185, 153, 10}},
        {480, 576, 50, {480, 576, 240, 288, 32}},  // portrait: the height leads
        {320, 288, 50, {320, 288, 160, 144, 18}},
        {720, 576, 50, {720, 576, 360, 288, 40}},
        {185, 153, 10, {185, 153, 19, 16, 10}},  // 18.5 -> 19, 15.71 -> 16
        {8, 8, 50, {8, 8, 4, 4, 0}},             // below 9 pixels: no divisions
        {1, 1, 0, {1, 1, 0, 0, 0}},
        {0, 0, 50, {0, 0, 0, 0, 0}},
    };
    for (const MetricsCase& c : cases) {
        EXPECT_EQ(FrameMetrics({0, 0, c.W, c.H}, c.Progress, 5), c.Expected)
            << c.W << " x " << c.H << " at " << c.Progress;
    }
    // Only the rectangle's size matters.
    EXPECT_EQ(FrameMetrics({10, 20, 195, 173}, 4, 5), (TFrameMetrics{185, 153, 7, 6, 10}));
}

TEST(ArithmeticTest, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int A, B, C, Expected;
    } cases[] = {
        {7, 1, 2, 4},
        {-7, 1, 2, -4},
        {5, 1, -2, -3},
        {-5, -1, 2, 3},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {185, 4, 100, 7},
        {185, 50, 100, 93},
        {INT_MAX, 2, 2, INT_MAX},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Expected) << c.A << " " << c.B << " " << c.C;
    }
}

TEST(ArithmeticTest, RoundTakesHalvesToEven) {
    const std::pair<double, int> cases[] = {{0.5, 0},    {1.5, 2},   {2.5, 2},       {3.5, 4},
                                            {-0.5, 0},   {-1.5, -2}, {-2.5, -2},     {2.4999, 2},
                                            {2.5001, 3}, {-7.2, -7}, {1e12, INT_MAX}};
    for (auto [value, expected] : cases) EXPECT_EQ(Round(value), expected) << value;
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Max(3, -4), 3);
}

TEST(BlendTest, MixesEveryColourBytePercentOfTheImageTruncating) {
    Bitmap display(3, 2);
    Bitmap image(3, 2);
    display.FillRgb(0xC8FF00);  // 200, 255, 0
    image.FillRgb(0x640000);    // 100, 0, 0
    BlendBitmaps(display, image, 30);
    // (200 x 70 + 100 x 30) / 100 = 170; 255 x 70 / 100 = 178.5 -> 178; 0 stays 0.
    EXPECT_EQ(display.RgbAt(2, 1), 0xAAB200u);
    BlendBitmaps(display, image, 0);
    EXPECT_EQ(display.RgbAt(0, 0), 0xAAB200u);
    BlendBitmaps(display, image, 100);
    EXPECT_EQ(display, image);
}

TEST(BlendTest, EveryPairOfByteValuesMixesExactly) {
    // Rows wide enough for the 16-byte path and its scalar tail: display byte x, image byte y.
    Bitmap image(256, 256);
    for (int y = 0; y < 256; ++y) std::memset(image.Row(y), y, 3 * 256);
    for (int p : {0, 1, 7, 33, 50, 99, 100}) {
        Bitmap display(256, 256);
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) display.SetRgb(x, y, std::uint32_t(x * 0x010101));
        }
        BlendBitmaps(display, image, p);
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                const std::uint32_t v = std::uint32_t((x * (100 - p) + y * p) / 100);
                ASSERT_EQ(display.RgbAt(x, y), v * 0x010101) << x << " " << y << " " << p;
            }
        }
    }
}

TEST(BlendTest, StaysInsideTheSmallerBitmap) {
    Bitmap display = test::CodedPicture(5, 3, test::DisplayTag);
    const Bitmap image = test::CodedPicture(3, 4, test::ImageTag);
    BlendBitmaps(display, image, 100);
    EXPECT_EQ(display.RgbAt(2, 2), image.RgbAt(2, 2));
    EXPECT_EQ(display.RgbAt(3, 0), test::Code(test::DisplayTag, 3, 0));
    EXPECT_TRUE(test::PaddingIntact(display));
}

struct CopyCase {
    const char* Name;
    TRect D;
    TRect S;
    Rows Expected;  // the 8 x 2 display "........" after copying from "abcdefgh"/"ABCDEFGH"
};

class CopyRectTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyRectTest, CopiesByNearestPixel) {
    const Bitmap source = FromLetters({"abcdefgh", "ABCDEFGH"});
    Bitmap display = FromLetters({"........", "........"});
    CopyRect(display, GetParam().D, source, GetParam().S);
    EXPECT_EQ(ToLetters(display), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyRectTest,
    ::testing::Values(
        CopyCase{"Plain", {2, 0, 5, 2}, {0, 0, 3, 2}, {"..abc...", "..ABC..."}},
        CopyCase{"DoubleWidth", {0, 0, 8, 1}, {0, 0, 4, 1}, {"aabbccdd", "........"}},
        // 3 source columns over 8: centres of 8 columns sampled at (2i + 1) x 3 / 16.
        CopyCase{"StretchThreeToEight", {0, 0, 8, 1}, {1, 1, 4, 2}, {"BBBCCDDD", "........"}},
        CopyCase{"HalfWidth", {0, 0, 4, 1}, {0, 0, 8, 1}, {"bdfh....", "........"}},
        CopyCase{"DoubleHeight", {1, 0, 2, 2}, {7, 0, 8, 1}, {".h......", ".h......"}},
        // Destination beyond the display: cut, not wrapped into the next row.
        CopyCase{"ClippedRight", {6, 0, 10, 2}, {0, 0, 4, 2}, {"......ab", "......AB"}},
        CopyCase{"ClippedLeft", {-2, 1, 2, 2}, {0, 0, 4, 1}, {"........", "cd......"}},
        // Source beyond the source bitmap: those destination pixels stay.
        CopyCase{"SourceBeyond", {0, 0, 4, 1}, {6, 0, 10, 1}, {"gh......", "........"}},
        CopyCase{"MirroredX", {4, 0, 0, 1}, {0, 0, 4, 1}, {"dcba....", "........"}},
        CopyCase{"MirroredY", {0, 2, 2, 0}, {0, 0, 2, 2}, {"AB......", "ab......"}},
        CopyCase{"ZeroWidth", {0, 0, 0, 2}, {0, 0, 4, 2}, {"........", "........"}},
        CopyCase{"ZeroSource", {0, 0, 4, 2}, {3, 0, 3, 2}, {"........", "........"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CopyRectTest, FromTheDisplayItselfReadsTheWholeSourceFirst) {
    Bitmap display = FromLetters({"abcdefgh", "ABCDEFGH"});
    CopyRect(display, {1, 0, 8, 2}, display, {0, 0, 7, 2});  // shift right by one
    EXPECT_EQ(ToLetters(display), (Rows{"aabcdefg", "AABCDEFG"}));
    CopyRect(display, {0, 0, 7, 2}, display, {1, 0, 8, 2});  // and back
    EXPECT_EQ(ToLetters(display), (Rows{"abcdefgg", "ABCDEFGG"}));
    CopyRect(display, {0, 1, 8, 2}, display, {0, 0, 8, 1});  // down one row
    EXPECT_EQ(ToLetters(display), (Rows{"abcdefgg", "abcdefgg"}));
    CopyRect(display, {0, 0, 8, 2}, display, {0, 0, 4, 1});  // stretched over itself
    EXPECT_EQ(ToLetters(display), (Rows{"aabbccdd", "aabbccdd"}));
}

TEST(StretchMirrorTest, MirroringWidensTheDestinationByOneColumnEachSide) {
    const Bitmap source = FromLetters({"abcdefgh"});
    Bitmap display = FromLetters({"........"});
    // (2, 5) becomes (6, 1): columns 1 .. 5, five columns from three source columns, right to
    // left; column 5 - k samples source (2k + 1) x 3 / 10: a a b c c.
    StretchMirror(display, {2, 0, 5, 1}, source, {0, 0, 3, 1}, true, false);
    EXPECT_EQ(ToLetters(display), (Rows{".ccbaa.."}));

    Bitmap tall = FromLetters({".", ".", ".", ".", "."});
    StretchMirror(tall, {0, 1, 1, 4}, FromLetters({"x", "y", "z"}), {0, 0, 1, 3}, false, true);
    // Rows 0 .. 4 (Top - 1 to Bottom) from z y x stretched 3 -> 5.
    EXPECT_EQ(ToLetters(tall), (Rows{"z", "z", "y", "x", "x"}));
}

TEST(StretchMirrorTest, SourceIsLimitedToTheBitmapFirst) {
    const Bitmap source = FromLetters({"abcd"});
    Bitmap display = FromLetters({"........"});
    // (2, 6) of a 4-wide source is (2, 4): two columns mirrored over columns -1 .. 4.
    StretchMirror(display, {0, 0, 4, 1}, source, {2, 0, 6, 1}, true, false);
    EXPECT_EQ(ToLetters(display), (Rows{"ddccc..."}));
    display = FromLetters({"........"});
    StretchMirror(display, {0, 0, 4, 1}, source, {4, 0, 8, 1}, false, false);
    EXPECT_EQ(ToLetters(display), (Rows{"........"}));
}

TEST(ClipDrawTest, DrawsTheImageOnlyInsideTheRegionAndTheDisplay) {
    const Bitmap image = FromLetters({"abcd", "efgh", "ijkl"});
    Bitmap display = FromLetters({"....", "....", "...."});
    ClipDraw(display, Region(TRect{-3, 1, 2, 9}) | Region(TRect{3, -1, 9, 1}), image);
    EXPECT_EQ(ToLetters(display), (Rows{"...d", "ef..", "ij.."}));
    ClipDraw(display, Region(), image);
    EXPECT_EQ(ToLetters(display), (Rows{"...d", "ef..", "ij.."}));
}

TEST(RotatePointsTest, PositiveAnglesTurnClockwiseOnScreen) {
    std::vector<TPoint> points{{15, 10}, {10, 10}, {11, 10}, {12, 13}};
    RotatePoints(points, 10, 10, std::numbers::pi / 2);
    // (5, 0) -> (0, 5); the centre stays; (1, 0) -> (0, 1); (2, 3) -> (-3, 2).
    EXPECT_EQ(points, (std::vector<TPoint>{{10, 15}, {10, 10}, {10, 11}, {7, 12}}));
    RotatePoints(points, 10, 10, std::numbers::pi);
    EXPECT_EQ(points, (std::vector<TPoint>{{10, 5}, {10, 10}, {10, 9}, {13, 8}}));
}

}  // namespace
}  // namespace velmora
