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

TEST(ComposePicture, FitsByAspectOverTheFillColour) {
    test::TempDir dir;
    const std::uint32_t fill = 0x102030;
    const std::uint32_t pic = 0x909090;
    TFrameComposer composer(320, 288, {false, fill, {}});
    Bitmap frame;

    // Equal ratio: no background visible.
    composer.ComposePicture(SolidBmp(dir, "equal.bmp", 640, 576, "#909090"), frame);
    ASSERT_EQ(frame.Width(), 320);
    ASSERT_EQ(frame.Height(), 288);
    ExpectArea(frame, 0, 0, 320, 288, pic, "equal ratio");

    // Wider, 640 x 288: canvas rows 216 to 647 -> frame rows 72 to 215.
    composer.ComposePicture(SolidBmp(dir, "wide.bmp", 640, 288, "#909090"), frame);
    ExpectArea(frame, 0, 0, 320, 72, fill, "band above");
    ExpectArea(frame, 0, 72, 320, 216, pic, "wide picture");
    ExpectArea(frame, 0, 216, 320, 288, fill, "band below");

    // Taller, 300 x 600: canvas columns 264 to 695 -> frame columns 88 to 231.
    composer.ComposePicture(SolidBmp(dir, "tall.bmp", 300, 600, "#909090"), frame);
    ExpectArea(frame, 0, 0, 88, 288, fill, "band left");
    ExpectArea(frame, 88, 0, 232, 288, pic, "tall picture");
    ExpectArea(frame, 232, 0, 320, 288, fill, "band right");
    EXPECT_TRUE(composer.Failures().empty());
}

TEST(ComposePicture, OddMarginMixesTheEdgeRows) {
    test::TempDir dir;
    // 960 x 429 on the 960 x 864 canvas: h' = 429, top = 435 div 2 = 217, drawn rows 217 to
    // 646 (430 rows). Frame row 72 averages canvas rows 216 (black) and 217, 218 (grey 144):
    // 6 x 144 / 9 = 96 per channel; row 215 holds canvas rows 645, 646 (grey) and 647 (black).
    TFrameComposer composer(320, 288, {});
    Bitmap frame;
    composer.ComposePicture(SolidBmp(dir, "odd.bmp", 960, 429, "#909090"), frame);
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
