#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>

#include "base/Errors.h"
#include "imaging/ExifOrientation.h"
#include "imaging/JpegCodec.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

TEST(JpegCodec, WrittenFileIsBaselineColourQuality90ReadByDjpeg) {
    test::TempDir dir;
    Bitmap picture(64, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) picture.SetRgb(x, y, std::uint32_t(x * 4) << 16 | y * 5);
    }
    const std::string path = (dir / "out.jpg").string();
    WriteJpegFile(picture, path);
    // ImageMagick reads the header: baseline (not progressive), 3 components, quality 90.
    std::string out;
    ASSERT_EQ(test::RunProgram({"identify", "-format", "%w %h %[colorspace] %Q %[interlace]", path},
                               &out),
              0);
    EXPECT_EQ(out, "64 48 sRGB 90 None");
    const Bitmap back = DecodeJpeg(test::ReadBytes(path), path);
    ASSERT_EQ(back.Width(), 64);
    EXPECT_NEAR(int(back.RgbAt(40, 20) >> 16), 160, 6);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left
}

TEST(JpegCodec, SameBytesAsCjpegAtQuality90) {
    // libjpeg-turbo's own cjpeg with only -quality 90 shows the codec's defaults.
    test::TempDir dir;
    const std::string ppm = (dir / "in.ppm").string();
    ASSERT_EQ(test::RunProgram({"convert", "-size", "37x21", "gradient:teal-orange", ppm}), 0);
    const std::string theirs = (dir / "cjpeg.jpg").string();
    ASSERT_EQ(test::RunProgram({"cjpeg", "-quality", "90", "-outfile", theirs, ppm}), 0);
    const std::string ours = (dir / "ours.jpg").string();
    WriteJpegFile(Bitmap::FromQImage(QImage(QString::fromStdString(ppm))), ours);
    EXPECT_EQ(test::ReadBytes(ours), test::ReadBytes(theirs));
}

TEST(JpegCodec, FailedWriteLeavesNoFile) {
    test::TempDir dir;
    Bitmap picture(8, 8);
    const auto missingFolder = dir / "none" / "x.jpg";
    EXPECT_THROW(WriteJpegFile(picture, missingFolder.string()), IoError);
    EXPECT_THROW(WriteJpegFile(Bitmap(), (dir / "empty.jpg").string()), InvalidArgument);
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.jpg"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(JpegCodec, GreyAndCmykJpegsDecodeToColour) {
    test::TempDir dir;
    const std::string grey = (dir / "g.jpg").string();
    const std::string cmyk = (dir / "c.jpg").string();
    ASSERT_EQ(
        test::RunProgram({"convert", "-size", "16x16", "xc:gray50", "-colorspace", "Gray", grey}),
        0);
    ASSERT_EQ(
        test::RunProgram({"convert", "-size", "16x16", "xc:red", "-colorspace", "CMYK", cmyk}), 0);
    const Bitmap g = DecodeJpeg(test::ReadBytes(grey), grey);
    EXPECT_NEAR(int(g.RgbAt(8, 8) & 0xFF), 128, 4);
    EXPECT_EQ(g.RgbAt(8, 8) >> 16, g.RgbAt(8, 8) & 0xFF);
    const Bitmap c = DecodeJpeg(test::ReadBytes(cmyk), cmyk);
    EXPECT_NEAR(int(c.RgbAt(8, 8) >> 16), 255, 8);
    EXPECT_NEAR(int(c.RgbAt(8, 8) & 0xFF), 0, 8);
}

// EXIF payloads: the orientation tag in either byte order, and damaged payloads giving 1.
TEST(ExifOrientation, ParsesTheTagAndRejectsDamage) {
    const std::vector<std::uint8_t> le =
        test::FromHex("45786966 0000 49492a00 08000000 0100 1201 0300 01000000 0600 0000 00000000");
    const std::vector<std::uint8_t> be =
        test::FromHex("45786966 0000 4d4d002a 00000008 0001 0112 0003 00000001 0008 0000 00000000");
    EXPECT_EQ(ExifOrientation(le), 6);
    EXPECT_EQ(ExifOrientation(be), 8);
    struct TCase {
        const char* What;
        std::vector<std::uint8_t> Bytes;
    };
    auto patched = [&](std::size_t at, std::uint8_t v) {
        auto b = le;
        b[at] = v;
        return b;
    };
    const TCase damaged[] = {
        {"cut in the entry", std::vector<std::uint8_t>(le.begin(), le.end() - 8)},
        {"no signature", patched(0, 'e')},
        {"bad order", patched(6, 'X')},
        {"not 42", patched(8, 43)},
        {"ifd beyond", patched(10, 0xF0)},
        {"long type", patched(18, 4)},
        {"value 9", patched(24, 9)},
        {"value 0", patched(24, 0)},
        {"empty", {}},
    };
    for (const TCase& c : damaged) EXPECT_EQ(ExifOrientation(c.Bytes), 1) << c.What;
}

TEST(ExifOrientation, TurnsEveryOrientationUpright) {
    // Stored 3 x 2:  a b c / d e f.
    Bitmap stored(3, 2);
    for (int i = 0; i < 6; ++i) stored.SetRgb(i % 3, i / 3, std::uint32_t('a' + i));
    struct TCase {
        int Orientation;
        const char* Rows;  ///< upright rows, separated by '/'
    };
    const TCase cases[] = {{1, "abc/def"},  {2, "cba/fed"},  {3, "fed/cba"},  {4, "def/abc"},
                           {5, "ad/be/cf"}, {6, "da/eb/fc"}, {7, "fc/eb/da"}, {8, "cf/be/ad"}};
    for (const TCase& c : cases) {
        const Bitmap upright = ApplyOrientation(stored, c.Orientation);
        std::string rows;
        for (int y = 0; y < upright.Height(); ++y) {
            if (y) rows += '/';
            for (int x = 0; x < upright.Width(); ++x) rows += char(upright.RgbAt(x, y));
        }
        EXPECT_EQ(rows, c.Rows) << c.Orientation;
    }
}

}  // namespace
}  // namespace velmora
