// The blurred fill: its colours (the picture's own, darkened to 3/4), its cover geometry, its
// strength, the 3 x 3 expansion around the picture, and a composed frame in which the picture
// is exactly as with a plain fill while the margins carry the blurred picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "imaging/Fitting.h"
#include "production/BlurFill.h"
#include "production/ComposePicture.h"
#include "production/FramePixels.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

Bitmap Solid(int width, int height, std::uint32_t rgb) {
    Bitmap b(width, height);
    b.FillRgb(rgb);
    return b;
}

int Channel(std::uint32_t rgb, int shift) { return int(rgb >> shift & 0xFF); }

TEST(BlurFillTest, ASolidPictureGivesItsColourAtThreeQuarters) {
    Bitmap fill;
    MakeBlurredFill(Solid(37, 500, 0xC86428), 160, 90, fill);
    ASSERT_EQ(fill.Width(), 160);
    ASSERT_EQ(fill.Height(), 90);
    for (int y = 0; y < 90; y += 7) {
        for (int x = 0; x < 160; x += 9) {
            const std::uint32_t c = fill.RgbAt(x, y);
            // 200, 100, 40 times 192/256, truncated, with a step's rounding of the filter.
            EXPECT_NEAR(Channel(c, 16), 150, 1) << x << "," << y;
            EXPECT_NEAR(Channel(c, 8), 75, 1);
            EXPECT_NEAR(Channel(c, 0), 30, 1);
        }
    }
    MakeBlurredFill(Bitmap(), 160, 90, fill);
    EXPECT_TRUE(fill.Empty());
}

TEST(BlurFillTest, CoversTheFrameWithTheCentreOfTheAndBlursItsDetailAway) {
    // A wide picture: black left third, white middle, black right third. Covering a 16:9 frame
    // keeps its middle, so the fill is bright at its centre and not black at its edges.
    Bitmap wide = Solid(900, 100, 0x000000);
    for (int y = 0; y < 100; ++y) {
        for (int x = 300; x < 600; ++x) wide.SetRgb(x, y, 0xFFFFFF);
    }
    Bitmap fill;
    MakeBlurredFill(wide, 320, 180, fill);
    EXPECT_GT(Channel(fill.RgbAt(160, 90), 8), 150);
    EXPECT_GT(Channel(fill.RgbAt(0, 90), 8), 20) << "the black thirds lie outside the cover";

    // A fine checkerboard leaves an even grey: no detail survives.
    Bitmap checker(640, 360);
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 640; ++x) checker.SetRgb(x, y, (x / 4 + y / 4) % 2 ? 0xFFFFFF : 0);
    }
    MakeBlurredFill(checker, 320, 180, fill);
    int low = 255;
    int high = 0;
    for (int y = 0; y < 180; ++y) {
        for (int x = 0; x < 320; ++x) {
            low = std::min(low, Channel(fill.RgbAt(x, y), 0));
            high = std::max(high, Channel(fill.RgbAt(x, y), 0));
        }
    }
    EXPECT_LE(high - low, 12);
    EXPECT_NEAR((high + low) / 2, 96, 12);  // mid grey at 3/4
}

TEST(BlurFillTest, ExpandsEveryPixelIntoAThreeByThreeBlockAroundTheKeptRectangle) {
    Bitmap frame(3, 2);
    const std::uint32_t colours[2][3] = {{0x010101, 0x020202, 0x030303},
                                         {0x040404, 0x050505, 0x060606}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) frame.SetRgb(x, y, colours[y][x]);
    }
    Bitmap canvas = Solid(9, 6, 0xEEEEEE);
    ExpandBy3Around(frame, canvas, TRect{2, 1, 7, 4});
    // '.' kept (0xEE), digits: the frame pixel written there.
    const char* expected[6] = {
        "111222333",  //
        "11.....33",  //
        "11.....33",  //
        "44.....66",  //
        "444555666",  //
        "444555666",
    };
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 9; ++x) {
            const char e = expected[y][x];
            const int value = e == '.' ? 0xEE : e - '0';
            EXPECT_EQ(Channel(canvas.RgbAt(x, y), 0), value) << x << "," << y;
        }
    }
}

TEST(BlurFillTest, ComposedFrameKeepsThePictureAndFillsTheMarginsFromIt) {
    // A portrait picture, red on the left and blue on the right with a gradient between,
    // on a 16:9 frame.
    Bitmap picture(300, 600);
    for (int x = 0; x < 300; ++x) {
        const int red = 255 - x * 255 / 299;
        for (int y = 0; y < 600; ++y) picture.SetRgb(x, y, std::uint32_t(red << 16 | (255 - red)));
    }
    const int w = 640;
    const int h = 360;
    TBackgroundFill plain;
    plain.Colour = 0x00FF00;
    TBackgroundFill blur = plain;
    blur.Blur = true;
    Bitmap withColour;
    Bitmap withBlur;
    TFrameComposer(w, h, plain).Compose(picture, "p", withColour);
    TFrameComposer(w, h, blur).Compose(picture, "p", withBlur);

    const TRect fit = FitPicture(3 * w, 3 * h, 300, 600);
    const int left = fit.Left / 3 + 1;  // the first frame column wholly inside the picture
    const int right = (fit.Right - 1) / 3;
    ASSERT_LT(left, right);
    for (int y = 0; y < h; ++y) {
        for (int x = left; x < right; ++x) {
            ASSERT_EQ(withBlur.RgbAt(x, y), withColour.RgbAt(x, y)) << x << "," << y;
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x : {0, left / 2, left - 2, right + 1, w - 1}) {
            const std::uint32_t c = withBlur.RgbAt(x, y);
            EXPECT_NE(c, 0x00FF00u) << x << "," << y;
            EXPECT_GT(Channel(c, 16) + Channel(c, 8) + Channel(c, 0), 60) << x << "," << y;
        }
    }
    // The margins follow the picture, which covers the frame at its full width: reddish on
    // the left, bluish on the right, and darker.
    const std::uint32_t leftSide = withBlur.RgbAt(5, h / 2);
    const std::uint32_t rightSide = withBlur.RgbAt(w - 6, h / 2);
    EXPECT_GT(Channel(leftSide, 16), Channel(leftSide, 0) + 60);
    EXPECT_GT(Channel(rightSide, 0), Channel(rightSide, 16) + 60);
    EXPECT_LE(Channel(leftSide, 16), 192);
}

TEST(BlurFillTest, CommandLineComposesAnHdFrameWithTheBlurredFill) {
    test::TempDir dir;
    test::MakePicture(dir.Dir() + "p.jpg", 200, 400, "gradient:yellow-purple");
    const std::string out = dir.Dir() + "f.bmp";
    const auto result = test::RunCli({"compose", dir.Dir() + "p.jpg", "--preset", "mp4-1080p",
                                      "--background-blur", "--out", out});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const Bitmap frame = Bitmap::ReadBmp(out);
    ASSERT_EQ(frame.Width(), 1920);
    ASSERT_EQ(frame.Height(), 1080);
    const std::uint32_t corner = frame.RgbAt(10, 10);
    EXPECT_GT(Channel(corner, 16), 100) << "yellow, darkened, not the black default colour";
}

}  // namespace
}  // namespace velmora
