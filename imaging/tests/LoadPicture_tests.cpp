#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "imaging/ExifOrientation.h"
#include "imaging/JpegCodec.h"
#include "imaging/LoadPicture.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::SourcePath;

std::string Data(const std::string& name) {
    return SourcePath("imaging/tests/data/" + name).string();
}

/// Colour distance within a tolerance per channel (JPEG is lossy).
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 40) {
    for (int shift : {0, 8, 16}) {
        const int a = int(actual >> shift & 0xFF);
        const int e = int(expected >> shift & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not near 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

constexpr std::uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF;

struct TOrientationCase {
    const char* File;
    int Width;
    int Height;
    std::uint32_t TopLeft, TopRight, BottomLeft, BottomRight;
};

TEST(LoadPicture, JpegTurnedUprightByExifOrientation) {
    // quad.jpg is 32 x 16: red, green over blue, white.
    const TOrientationCase cases[] = {
        {"quad.jpg", 32, 16, Red, Green, Blue, White},
        {"quad-o6.jpg", 16, 32, Blue, Red, White, Green},
        {"quad-o8.jpg", 16, 32, Green, White, Red, Blue},
        {"quad-o3.jpg", 32, 16, White, Blue, Green, Red},
    };
    for (const TOrientationCase& c : cases) {
        SCOPED_TRACE(c.File);
        const Bitmap picture = LoadPictureToBitmap(Data(c.File), {});
        ASSERT_EQ(picture.Width(), c.Width);
        ASSERT_EQ(picture.Height(), c.Height);
        const int w = c.Width, h = c.Height;
        EXPECT_TRUE(Near(picture.RgbAt(w / 4, h / 4), c.TopLeft));
        EXPECT_TRUE(Near(picture.RgbAt(3 * w / 4, h / 4), c.TopRight));
        EXPECT_TRUE(Near(picture.RgbAt(w / 4, 3 * h / 4), c.BottomLeft));
        EXPECT_TRUE(Near(picture.RgbAt(3 * w / 4, 3 * h / 4), c.BottomRight));
    }
}

TEST(LoadPicture, JpegReducedScaleCoversTheRequestedSize) {
    test::TempDir dir;
    const std::string path = (dir / "big.jpg").string();
    Bitmap big(800, 600);
    big.FillRgb(0x336699);
    WriteJpegFile(big, path);
    struct TCase {
        int MinW, MinH, W, H;
    };
    // 800 x 600 at n/8: 100 x 75, 200 x 150, 300 x 225, ...
    const TCase cases[] = {{0, 0, 800, 600},    {100, 75, 100, 75},   {101, 10, 200, 150},
                           {10, 226, 400, 300}, {799, 600, 800, 600}, {900, 900, 800, 600}};
    for (const TCase& c : cases) {
        const Bitmap picture = LoadPictureToBitmap(path, {}, c.MinW, c.MinH);
        EXPECT_EQ(picture.Width(), c.W) << c.MinW << "x" << c.MinH;
        EXPECT_EQ(picture.Height(), c.H) << c.MinW << "x" << c.MinH;
        EXPECT_TRUE(Near(picture.RgbAt(picture.Width() / 2, picture.Height() / 2), 0x336699, 6));
    }
}

TEST(LoadPicture, ScaleSwapsTheRequestForSidewaysPhotos) {
    // A 4000 x 3000 photo stored sideways (orientation 6) shows 3000 x 4000; asking for
    // 700 x 950 upright needs 950 of the stored width: 4000 / 4 = 1000 at n = 2.
    EXPECT_EQ(JpegScaleFor(4000, 3000, 6, 700, 950), 2);
    EXPECT_EQ(JpegScaleFor(4000, 3000, 1, 700, 950), 3);  // 1500 x 1125 covers 950 high
    EXPECT_EQ(JpegScaleFor(4000, 3000, 8, 375, 500), 1);
    EXPECT_EQ(JpegScaleFor(4000, 3000, 1, 0, 500), 8);
    EXPECT_EQ(JpegScaleFor(9, 9, 1, 2, 2), 1);  // ceil(9 x 1 / 8) = 2
    EXPECT_EQ(JpegScaleFor(9, 9, 1, 3, 3), 2);  // ceil(9 x 2 / 8) = 3
}

TEST(LoadPicture, OtherDecodersAndTheTiffFallback) {
    struct TCase {
        const char* File;
        int Width, Height;
        int X, Y;
        std::uint32_t Colour;
        int Tolerance;
    };
    const TCase cases[] = {
        {"A.bmp", 24, 12, 5, 5, 0xFFA500, 0},     // orange
        {"icon.ico", 16, 16, 8, 8, 0x800080, 0},  // purple
        {"grey8-le.tif", 10, 6, 9, 5, 0xF1F1F1 * 0 + ((25 * 9 + 40 * 5) % 256) * 0x010101u, 0},
        {"half-red.wmf", 96, 48, 20, 24, Red, 8},
        {"half-red.wmf", 96, 48, 75, 24, White, 8},
        // libemf2svg sizes the picture by the bounds 0..99 as 99 pixels.
        {"half-blue.emf", 99, 99, 20, 50, Blue, 8},
        {"half-blue.emf", 99, 99, 80, 50, White, 8},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        std::vector<std::string> messages;
        const Bitmap picture =
            LoadPictureToBitmap(Data(c.File), [&](const std::string& m) { messages.push_back(m); });
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(picture.Width(), c.Width);
        ASSERT_EQ(picture.Height(), c.Height);
        EXPECT_TRUE(Near(picture.RgbAt(c.X, c.Y), c.Colour, c.Tolerance));
    }
}

TEST(LoadPicture, TiffNamedOtherwiseIsStillRead) {
    test::TempDir dir;
    const auto path = dir / "grey.jpg";
    std::filesystem::copy_file(Data("grey8-be.tif"), path);
    const Bitmap picture = LoadPictureToBitmap(path.string(), {});
    EXPECT_EQ(picture.Width(), 10);
}

TEST(LoadPicture, DamagedFileFallsBackToTheTiffReaderAndItsMessage) {
    std::vector<std::string> messages;
    Bitmap dest(2, 2);
    const std::string path = Data("B.jpg");
    LoadPictureToBitmap(path, dest, [&](const std::string& m) { messages.push_back(m); });
    EXPECT_TRUE(dest.Empty());
    EXPECT_EQ(messages, std::vector<std::string>{"<" + path + "> is not a valid TIFF file"});
}

TEST(LoadPicture, MissingFileLeavesTheTargetAsItWas) {
    Bitmap dest(3, 3);
    dest.FillRgb(0xABCDEF);
    const Bitmap before = dest;
    std::vector<std::string> messages;
    LoadPictureToBitmap(Data("no-such.jpg"), dest,
                        [&](const std::string& m) { messages.push_back(m); });
    EXPECT_EQ(dest, before);
    EXPECT_TRUE(messages.empty());
}

// Damaged copies of JPEG, BMP and ICO files (made by pack_fixtures.py) must fail cleanly or
// decode; never crash. Those that fail reach the TIFF reader, which says the file is not TIFF.
TEST(LoadPicture, DamagedCorpusFailsCleanly) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Data("damaged"))) {
        ++files;
        std::vector<std::string> messages;
        const std::string path = entry.path().string();
        const Bitmap picture =
            LoadPictureToBitmap(path, [&](const std::string& m) { messages.push_back(m); });
        if (picture.Empty()) {
            EXPECT_EQ(messages, std::vector<std::string>{"<" + path + "> is not a valid TIFF file"})
                << path;
        } else {
            EXPECT_LE(std::int64_t(picture.Width()) * picture.Height(), Bitmap::MaxPixels);
        }
    }
    EXPECT_EQ(files, 25);
}

TEST(LoadPicture, HugeHeadersAreRefused) {
    for (const char* name : {"damaged/quad-huge.jpg", "damaged/A-huge.bmp"}) {
        EXPECT_TRUE(LoadPictureToBitmap(Data(name), {}).Empty()) << name;
    }
}

}  // namespace
}  // namespace velmora
