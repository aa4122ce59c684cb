// Frame composition of real files: solid-colour BMP pictures made by ImageMagick, so that every
// composed pixel can be worked out by hand.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "effects/EffectRandom.h"
#include "production/ComposePicture.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

/// A 24-bit BMP of one colour, written by ImageMagick.
std::string SolidBmp(const test::TempDir& dir, const std::string& name, int width, int height,
                     const std::string& colour) {
    const std::string path = (dir / name).string();
    std::string err;
    EXPECT_EQ(
        test::RunProgram({"convert", "-size", std::to_string(width) + "x" + std::to_string(height),
                          "xc:" + colour, "-type", "TrueColor", "BMP3:" + path},
                         nullptr, &err),
        0)
        << err;
    return path;
}

/// Checks that rows [top, bottom) and columns [left, right) of frame hold colour rgb.
void ExpectArea(const Bitmap& frame, int left, int top, int right, int bottom, std::uint32_t rgb,
                const char* what) {
    int wrong = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) wrong += frame.RgbAt(x, y) != rgb;
    }
    EXPECT_EQ(wrong, 0) << what << ": expected " << std::hex << rgb << " at " << std::dec << left
                        << "," << top << " first is " << std::hex << frame.RgbAt(left, top);
}

TEST(ComposePicture, FitsByAspectAsDisplayedOverTheFillColour) {
    // A VCD frame of 320 x 288 is shown at 4:3: each pixel is 6/5 as wide as it is tall, so a
    // picture's width counts 5/6 in frame pixels.
    test::TempDir dir;
    const std::uint32_t fill = 0x102030;
    const std::uint32_t pic = 0x909090;
    TFrameComposer composer(320, 288, {false, fill, {}});
    Bitmap frame;

    // A 4:3 picture fills the whole frame.
    composer.ComposePicture(SolidBmp(dir, "equal.bmp", 640, 480, "#909090"), frame);
    ASSERT_EQ(frame.Width(), 320);
    ASSERT_EQ(frame.Height(), 288);
    ExpectArea(frame, 0, 0, 320, 288, pic, "4:3 picture");

    // Wider, 1152 x 216: h' = 216 x 6 x 960 / (1152 x 5) = 216 canvas rows from row 324, frame
    // rows 108 to 179.
    composer.ComposePicture(SolidBmp(dir, "wide.bmp", 1152, 216, "#909090"), frame);
    ExpectArea(frame, 0, 0, 320, 108, fill, "band above");
    ExpectArea(frame, 0, 108, 320, 180, pic, "wide picture");
    ExpectArea(frame, 0, 180, 320, 288, fill, "band below");

    // Taller, 288 x 720: w' = 288 x 5 x 864 / (720 x 6) = 288 canvas columns from column 336,
    // frame columns 112 to 207.
    composer.ComposePicture(SolidBmp(dir, "tall.bmp", 288, 720, "#909090"), frame);
    ExpectArea(frame, 0, 0, 112, 288, fill, "band left");
    ExpectArea(frame, 112, 0, 208, 288, pic, "tall picture");
    ExpectArea(frame, 208, 0, 320, 288, fill, "band right");
    EXPECT_TRUE(composer.Failures().empty());
}

TEST(ComposePicture, ACircleStaysACircleAsDisplayedInEveryPreset) {
    test::TempDir dir;
    const std::string circle = (dir / "circle.bmp").string();
    std::string err;
    ASSERT_EQ(
        test::RunProgram({"convert", "-size", "600x400", "xc:black", "-fill", "white", "-draw",
                          "circle 300,200 300,20", "-type", "TrueColor", "BMP3:" + circle},
                         nullptr, &err),
        0)
        << err;
    for (const auto [width, height] : {std::pair{720, 576}, {480, 576}, {320, 288}}) {
        TFrameComposer composer(width, height, {});
        Bitmap frame;
        composer.ComposePicture(circle, frame);
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if ((frame.RgbAt(x, y) & 0xff) < 128) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        // Shown at 4:3, a frame pixel is 4 x height / (3 x width) as wide as it is tall.
        const double shownWidth = (right - left + 1) * 4.0 * height / (3.0 * width);
        const double shownHeight = bottom - top + 1;
        EXPECT_NEAR(shownWidth / shownHeight, 1.0, 0.03) << width << " x " << height;
        EXPECT_NEAR(shownHeight, height * 360.0 / 400, 3) << width << " x " << height;
    }
}

TEST(ComposePicture, OddMarginMixesTheEdgeRows) {
    test::TempDir dir;
    // 1152 x 429 on the 960 x 864 canvas, shown at 4:3: h' = 429 x 6 x 960 / (1152 x 5) = 429,
    // top = 435 div 2 = 217, drawn rows 217 to 646 (430 rows). Frame row 72 averages canvas
    // rows 216 (black) and 217, 218 (grey 144): 6 x 144 / 9 = 96 per channel; row 215 holds
    // canvas rows 645, 646 (grey) and 647 (black).
    TFrameComposer composer(320, 288, {});
    Bitmap frame;
    composer.ComposePicture(SolidBmp(dir, "odd.bmp", 1152, 429, "#909090"), frame);
    ExpectArea(frame, 0, 0, 320, 72, 0x000000, "band above");
    ExpectArea(frame, 0, 72, 320, 73, 0x606060, "mixed top row");
    ExpectArea(frame, 0, 73, 320, 215, 0x909090, "picture");
    ExpectArea(frame, 0, 215, 320, 216, 0x606060, "mixed bottom row");
    ExpectArea(frame, 0, 216, 320, 288, 0x000000, "band below");
}

TEST(ComposePicture, BackgroundPicturesAndUndecodableFiles) {
    test::TempDir dir;
    const std::string red = (dir / "red.jpg").string();
    test::MakePicture(red, 64, 48, "xc:#ff0000");
    const std::string broken = (dir / "broken.jpg").string();
    test::WriteText(broken, "not a picture");
    const std::string picture = SolidBmp(dir, "wide.bmp", 640, 288, "#909090");

    TScopedSeed seed(3);
    TFrameComposer composer(320, 288, {true, 0x0000ff, {red}});
    Bitmap frame;
    composer.ComposePicture(picture, frame);
    const std::uint32_t band = frame.RgbAt(5, 5);
    EXPECT_GE(int(band >> 16), 245) << std::hex << band;  // JPEG red, within its tolerance
    EXPECT_LE(int(band & 0xff), 10) << std::hex << band;
    ExpectArea(frame, 0, 72, 320, 216, 0x909090, "picture over a background picture");

    // A background picture that cannot be decoded falls back to the fill colour; a picture
    // that cannot be decoded leaves the background alone. Both are reported once.
    TFrameComposer fallback(320, 288, {true, 0x0000ff, {broken}});
    fallback.ComposePicture(picture, frame);
    ExpectArea(frame, 0, 0, 320, 72, 0x0000ff, "fill colour instead of the broken background");
    fallback.ComposePicture((dir / "missing.jpg").string(), frame);
    ExpectArea(frame, 0, 0, 320, 288, 0x0000ff, "background alone");
    fallback.ComposePicture(picture, frame);
    EXPECT_EQ(fallback.BackgroundFailures(), std::vector<std::string>{broken});
    EXPECT_EQ(fallback.Failures(), std::vector<std::string>{(dir / "missing.jpg").string()});

    // Picture mode without any checked background picture uses the fill colour.
    TFrameComposer none(320, 288, {true, 0x00ff00, {}});
    none.ComposePicture(picture, frame);
    ExpectArea(frame, 0, 0, 320, 72, 0x00ff00, "no background pictures");
}

TEST(ComposePicture, BackgroundChosenAnewForEveryPicture) {
    test::TempDir dir;
    std::vector<std::string> backgrounds;
    for (const char* colour : {"#ff0000", "#00ff00", "#0000ff"}) {
        backgrounds.push_back((dir / (std::string(colour + 1) + ".jpg")).string());
        test::MakePicture(backgrounds.back(), 32, 32, std::string("xc:") + colour);
    }
    const std::string picture = SolidBmp(dir, "wide.bmp", 640, 288, "#909090");
    TScopedSeed seed(11);
    TFrameComposer composer(320, 288, {true, 0, backgrounds});
    std::set<std::uint32_t> seen;
    Bitmap frame;
    for (int i = 0; i < 12; ++i) {
        composer.ComposePicture(picture, frame);
        const std::uint32_t rgb = frame.RgbAt(0, 0);
        // The dominant channel tells which background was drawn.
        const int r = int(rgb >> 16), g = int((rgb >> 8) & 0xff), b = int(rgb & 0xff);
        seen.insert(r > 200 ? 0 : g > 200 ? 1 : b > 200 ? 2 : 3);
    }
    EXPECT_EQ(seen, (std::set<std::uint32_t>{0, 1, 2}));
}

}  // namespace
}  // namespace velmora
