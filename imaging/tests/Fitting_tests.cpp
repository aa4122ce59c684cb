#include <gtest/gtest.h>

#include "imaging/Fitting.h"

namespace velmora {
namespace {

TEST(Fitting, FitImageControlRoundsLikeTheControl) {
    struct TCase {
        int Pw, Ph, Bw, Bh;
        TRect Expected;
    };
    const TCase cases[] = {
        // 600 x 173 div 800 = 129; (138 - 129) / 2 = 4.5 rounds to 4.
        {800, 600, 173, 138, TRect::Sized(0, 4, 173, 129)},
        // Tall: 138 x 600 div 800 = 103 wide; (173 - 103) / 2 = 35.
        {600, 800, 173, 138, TRect::Sized(35, 0, 103, 138)},
        // Equal aspect takes the first branch: 200 x 100 div 100.
        {100, 50, 200, 100, TRect::Sized(0, 0, 200, 100)},
        // (10 - 7) / 2 = 1.5 rounds to 2 (halves to even).
        {7, 10, 10, 10, TRect::Sized(2, 0, 7, 10)},
        // (10 - 5) / 2 = 2.5 rounds to 2.
        {5, 10, 10, 10, TRect::Sized(2, 0, 5, 10)},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(FitImageControl(c.Pw, c.Ph, c.Bw, c.Bh), c.Expected) << c.Pw << "x" << c.Ph;
    }
    EXPECT_FALSE(FitImageControl(0, 5, 10, 10));
    EXPECT_FALSE(FitImageControl(5, 0, 10, 10));
}

TEST(Fitting, DrawPictureFittedGeometry) {
    struct TCase {
        int W, H, Cw, Ch;
        TRect Expected;
    };
    const TCase cases[] = {
        // 800 x 138 / 600 = 184 > 173: width-bound, 600 x 173 / 800 = 129.75 -> 130;
        // (138 - 130) div 2 = 4.
        {800, 600, 173, 138, TRect::Sized(0, 4, 173, 130)},
        // Tall picture: 3 x 100 / 4 = 75 wide, bars of 12 left and 13 right.
        {3, 4, 100, 100, TRect::Sized(12, 0, 75, 100)},
        // 5 x 2 / 4 = 2.5 rounds to 2 (even).
        {5, 4, 100, 2, TRect::Sized(49, 0, 2, 2)},
        // 7 x 2 / 4 = 3.5 rounds to 4 (even).
        {7, 4, 100, 2, TRect::Sized(48, 0, 4, 2)},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(FittedPictureRect(c.W, c.H, c.Cw, c.Ch), c.Expected) << c.W << "x" << c.H;
    }
    EXPECT_EQ(FittedPictureRect(0, 4, 10, 10), TRect{});
}

TEST(FitPicture, PlacesPicturesByAspect) {
    struct Case {
        const char* name;
        int pw, ph;
        TRect expected;
    };
    // VCD canvas 960 x 864 (ratio 1.111).
    const Case cases[] = {
        {"equal ratio fills the canvas", 320, 288, {0, 0, 960, 864}},
        {"equal ratio, larger picture", 3200, 2880, {0, 0, 960, 864}},
        // w' = 960, h' = 500 x 960 div 1000 = 480, top = (864 - 480) div 2 = 192.
        {"wider: bands above and below", 1000, 500, {0, 192, 960, 672}},
        // h' = 864, w' = 300 x 864 div 600 = 432, left = (960 - 432) div 2 = 264.
        {"taller: bands left and right", 300, 600, {264, 0, 696, 864}},
        // w' = 301 x 864 div 600 = 433 (433.44 truncated), left = 527 div 2 = 263; the drawn
        // rectangle is 434 wide, one more than w'.
        {"odd margin widens by one", 301, 600, {263, 0, 697, 864}},
        // Ratio 1.001 <= 1.111, so the height rules: h' = 864, w' = 1000 x 864 div 999 = 864
        // (864.86 truncated), left = 48.
        {"nearly square", 1000, 999, {48, 0, 912, 864}},
        // w' = 960, h' = 1 x 960 div 4000 = 0, top = 432: an empty rectangle, nothing drawn.
        {"extremely wide", 4000, 1, {0, 432, 960, 432}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitPicture(960, 864, c.pw, c.ph), c.expected) << c.name;
    }
    // DVD canvas 2160 x 1728 (ratio 1.25); a 4:3 photo (1.333) is wider: w' = 2160,
    // h' = 3000 x 2160 div 4000 = 1620, top = (1728 - 1620) div 2 = 54.
    EXPECT_EQ(FitPicture(2160, 1728, 4000, 3000), (TRect{0, 54, 2160, 1674}));
    // Odd vertical margin: h' = 1001 x 2160 div 2000 = 1081 (1081.08), top = 647 div 2 = 323,
    // bottom = 1728 - 323 = 1405, so 1082 rows are drawn.
    EXPECT_EQ(FitPicture(2160, 1728, 2000, 1001), (TRect{0, 323, 2160, 1405}));
}

TEST(Fitting, TallPictureLeavesBlackBarsLeftAndRight) {
    Bitmap picture(30, 40);
    picture.FillRgb(0x20C040);
    Bitmap canvas(100, 100);
    canvas.FillRgb(0xFFFFFF);
    DrawPictureFitted(picture, canvas);
    // 30 x 100 / 40 = 75 wide at x = 12.
    EXPECT_EQ(canvas.RgbAt(0, 50), 0u);
    EXPECT_EQ(canvas.RgbAt(11, 50), 0u);
    EXPECT_EQ(canvas.RgbAt(12, 50), 0x20C040u);
    EXPECT_EQ(canvas.RgbAt(86, 0), 0x20C040u);
    EXPECT_EQ(canvas.RgbAt(87, 99), 0u);
    EXPECT_EQ(canvas.RgbAt(99, 50), 0u);
}

TEST(Fitting, StretchKeepsSharpHalvesApart) {
    // Left half red, right half blue, shrunk by 4 and grown by 3.
    for (int size : {8, 96}) {
        Bitmap picture(32, 32);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) picture.SetRgb(x, y, x < 16 ? 0xFF0000 : 0x0000FF);
        }
        Bitmap canvas(size, size);
        DrawPictureFitted(picture, canvas);
        EXPECT_EQ(canvas.RgbAt(0, size / 2), 0xFF0000u) << size;
        EXPECT_EQ(canvas.RgbAt(size - 1, size / 2), 0x0000FFu) << size;
    }
}

TEST(Fitting, PathThatDecodesToNothingLeavesBlack) {
    Bitmap canvas(10, 10);
    canvas.FillRgb(0xFFFFFF);
    DrawPictureFitted(std::string("/no/such/file.jpg"), canvas, {});
    EXPECT_EQ(canvas.RgbAt(5, 5), 0u);
}

}  // namespace
}  // namespace velmora
