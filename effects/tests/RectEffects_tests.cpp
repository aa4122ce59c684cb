// The rectangle copy effects on the frame sizes of the editor and the video, checked against
// the pixels their copies must produce.

#include <gtest/gtest.h>

#include "effects/EffectHelpers.h"
#include "effects/EffectProcs.h"
#include "effects/tests/EffectTestSupport.h"

namespace velmora {
namespace {

using namespace velmora::test;
using Proc = void (*)(Bitmap&, const Bitmap&, const TRect&, int, int);

// The 185 x 153 preview frame: display and image coded by position.
struct Frame {
    explicit Frame(int w = 185, int h = 153)
        : Display(CodedPicture(w, h, DisplayTag)), Image(CodedPicture(w, h, ImageTag)) {}
    void Run(Proc proc, int progress) {
        proc(Display, Image, {0, 0, Display.Width(), Display.Height()}, 5, progress);
    }
    // The image column whose pixels column x of row y shows, or -1 for the old display.
    int ImageColumnAt(int x, int y) const {
        const std::uint32_t c = Display.RgbAt(x, y);
        return TagOf(c) == ImageTag ? XOf(c) : -1;
    }
    bool Untouched(int x, int y) const { return Display.RgbAt(x, y) == Code(DisplayTag, x, y); }
    bool FromImage(int x, int y) const { return Display.RgbAt(x, y) == Code(ImageTag, x, y); }
    Bitmap Display;
    Bitmap Image;
};

TEST(RevealTest, RevealFromLeftAtHalfCopiesColumnsUpToX) {
    Frame f;
    f.Run(effects::RevealFromLeft, 50);  // X = 93
    for (int y : {0, 76, 152}) {
        for (int x = 0; x < 185; ++x) {
            EXPECT_EQ(f.FromImage(x, y), x <= 92) << x << "," << y;
            EXPECT_EQ(f.Untouched(x, y), x > 92) << x << "," << y;
        }
    }
}

TEST(RevealTest, RevealInFromSidesAtFourPercentDrawsFourColumnBands) {
    Frame f;
    f.Run(effects::RevealInFromSides, 4);  // X = 7: columns 0-3 and 181-184
    for (int x = 0; x < 185; ++x) {
        const bool band = x <= 3 || x >= 181;
        EXPECT_EQ(f.FromImage(x, 100), band) << x;
        EXPECT_EQ(f.Untouched(x, 100), !band) << x;
    }
}

TEST(ZoomTest, ExpandInFromRightAtHalfMagnifiesTheLeftColumns) {
    Frame f;
    f.Run(effects::ExpandInFromRight, 50);  // image columns 0..92 over display columns 0..276
    EXPECT_EQ(f.ImageColumnAt(0, 10), 0);
    EXPECT_EQ(f.ImageColumnAt(184, 10), 61);
    int previous = 0;
    for (int x = 0; x < 185; ++x) {
        const int column = f.ImageColumnAt(x, 20);
        EXPECT_TRUE(column == previous || column == previous + 1) << x;  // 3 columns per 2
        previous = column;
        EXPECT_EQ(YOf(f.Display.RgbAt(x, 20)), 20) << "rows are not stretched";
    }
}

TEST(QuarterSlideTest, QuartersLandOnTheirPlacesAtFullProgressOnThePreview) {
    Frame f;
    f.Run(effects::QuartersSlideInToMiddle, 100);
    EXPECT_EQ(f.Display, f.Image);
}

TEST(QuarterSlideTest, OnEvenSizesTheLowerQuartersAreStretchedByOnePixel) {
    // Copies 3 and 4 put W/2 + 1 .. W into W - W/2 .. W (and the same for rows), one pixel
    // wider than their source when the size is even: the formula's own offset.
    Frame f(720, 576);
    f.Run(effects::QuartersSlideInToMiddle, 100);
    int differing = 0;
    for (int y = 0; y < 576; ++y) {
        for (int x = 0; x < 720; ++x) {
            const std::uint32_t c = f.Display.RgbAt(x, y);
            ASSERT_EQ(TagOf(c), ImageTag) << x << "," << y;
            if (XOf(c) == x && YOf(c) == y) continue;
            ++differing;
            EXPECT_GE(y, 287);
            EXPECT_LE(std::abs(XOf(c) - x) + std::abs(YOf(c) - y), 2) << x << "," << y;
        }
    }
    EXPECT_GT(differing, 0);
}

struct RollCase {
    int Progress;  // gives X on the 185-pixel width
    int X;
    int Roll;
};

TEST(UnrollTest, RollGrowsHoldsAndShrinks) {
    // W / 5 = 37, W / 10 = 18: X = 20 -> 10, X = 100 -> 18, X = 170 -> (185 - 170) / 2 = 7.
    for (const RollCase& c : {RollCase{11, 20, 10}, RollCase{54, 100, 18}, RollCase{92, 170, 7}}) {
        Frame f;
        f.Run(effects::UnrollFromLeft, c.Progress);
        // Flat part 0 .. X - 1, roll X .. X + r showing image columns X + r .. X + 2r - 1
        // mirrored (the widened destination ends one column after X + r - 1).
        for (int x = 0; x < c.X; ++x) EXPECT_TRUE(f.FromImage(x, 50)) << x;
        EXPECT_EQ(f.ImageColumnAt(c.X + c.Roll, 50), c.X + c.Roll) << c.X;
        EXPECT_GT(f.ImageColumnAt(c.X, 50), c.X + c.Roll) << c.X;
        EXPECT_LE(f.ImageColumnAt(c.X, 50), c.X + 2 * c.Roll - 1) << c.X;
        for (int x = c.X + 1; x <= c.X + c.Roll; ++x) {
            EXPECT_LE(f.ImageColumnAt(x, 50), f.ImageColumnAt(x - 1, 50)) << "mirrored " << x;
        }
        EXPECT_TRUE(f.Untouched(c.X + c.Roll + 1, 50)) << c.X;
    }
}

TEST(UnrollTest, UnrollFromBottomRollsAboveTheFlatPart) {
    Frame f;
    f.Run(effects::UnrollFromBottom, 50);  // Y = 77 of 153: r = 15, e = 76
    for (int y = 76; y < 153; ++y) EXPECT_TRUE(f.FromImage(10, y)) << y;
    // The roll (61, 76) widened to rows 60 .. 76 shows image rows 46 .. 60 bottom-up: row 75
    // samples (2 + 1) x 15 / 34 = 1 row into the strip, row 60 its last row.
    EXPECT_EQ(f.Display.RgbAt(10, 75), Code(ImageTag, 10, 47));
    EXPECT_EQ(f.Display.RgbAt(10, 60), Code(ImageTag, 10, 60));
    EXPECT_TRUE(f.Untouched(10, 59));
}

TEST(BuildUpTest, RemainderIsTheStripBeyondTheEdgeStretched) {
    Frame f;
    f.Run(effects::BuildUpFromRight, 50);  // X = 93, strip 185 / 10 = 18 columns 93 .. 110
    for (int x = 0; x < 93; ++x) EXPECT_TRUE(f.FromImage(x, 5)) << x;
    for (int x = 93; x < 185; ++x) {
        const int column = f.ImageColumnAt(x, 5);
        EXPECT_GE(column, 93) << x;
        EXPECT_LE(column, 110) << x;
    }
    EXPECT_EQ(f.ImageColumnAt(184, 5), 110);
}

TEST(BuildUpTest, TinyFramesWithoutDivisionsDoNotDivideByZero) {
    Frame f(8, 5);  // longer side below 9: Divisions 0
    f.Run(effects::BuildUpFromLeft, 50);
    f.Run(effects::ExpandInFromTopBuildUp, 50);
    EXPECT_TRUE(f.FromImage(7, 0));
}

TEST(PushTest, EachFrameMovesThePreviousFrameByTheCurrentOffset) {
    Frame f;
    f.Run(effects::PushRight, 10);  // X = 19
    for (int x = 0; x < 19; ++x) EXPECT_EQ(f.Display.RgbAt(x, 3), Code(ImageTag, 166 + x, 3));
    for (int x = 19; x < 185; ++x) EXPECT_EQ(f.Display.RgbAt(x, 3), Code(DisplayTag, x - 19, 3));
    f.Run(effects::PushRight, 20);  // X = 37: the previous frame moves by 37 more
    for (int x = 0; x < 37; ++x) EXPECT_EQ(f.Display.RgbAt(x, 3), Code(ImageTag, 148 + x, 3));
    for (int x = 37; x < 56; ++x) EXPECT_EQ(f.Display.RgbAt(x, 3), Code(ImageTag, 129 + x, 3));
    for (int x = 56; x < 185; ++x) EXPECT_EQ(f.Display.RgbAt(x, 3), Code(DisplayTag, x - 56, 3));
}

TEST(PushTest, PushUpMovesRowsUp) {
    Frame f;
    f.Run(effects::PushUp, 10);  // Y = 16
    EXPECT_EQ(f.Display.RgbAt(7, 0), Code(DisplayTag, 7, 16));
    EXPECT_EQ(f.Display.RgbAt(7, 136), Code(DisplayTag, 7, 152));
    EXPECT_EQ(f.Display.RgbAt(7, 137), Code(ImageTag, 7, 0));
    EXPECT_EQ(f.Display.RgbAt(7, 152), Code(ImageTag, 7, 15));
}

TEST(FadeTest, FadeAtFullProgressEqualsTheImage) {
    Frame f;
    f.Run(effects::Fade, 40);
    EXPECT_NE(f.Display, f.Image);
    f.Run(effects::Fade, 100);
    EXPECT_EQ(f.Display, f.Image);
}

}  // namespace
}  // namespace velmora
