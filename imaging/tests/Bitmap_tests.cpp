#include "imaging/Bitmap.h"

#include <gtest/gtest.h>

#include <QImage>

#include "base/Errors.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::FromHex;

// A 2 x 2 bottom-up 24-bit BMP written out by hand: bottom row blue, white; top row red, green.
const char* const TwoByTwoBmp =
    "424d 46000000 00000000 36000000"
    "28000000 02000000 02000000 0100 1800 00000000 10000000 130b0000 130b0000 00000000 00000000"
    "ff0000 ffffff 0000"   // bottom row: blue, white, 2 padding bytes
    "0000ff 00ff00 0000";  // top row: red, green

TEST(Bitmap, RowsArePaddedToFourBytesAndStartBlack) {
    Bitmap bitmap(5, 3);
    EXPECT_EQ(bitmap.Stride(), 16);  // 15 bytes rounded up
    EXPECT_EQ(bitmap.ByteCount(), 48u);
    EXPECT_EQ(bitmap.Row(2) - bitmap.Row(0), 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(bitmap.RgbAt(x, y), 0u);
    EXPECT_EQ(Bitmap(4, 1).Stride(), 12);
    EXPECT_EQ(Bitmap(1, 1).Stride(), 4);
}

TEST(Bitmap, FillStoresBlueFirst) {
    Bitmap bitmap(3, 2);
    bitmap.Fill(0x11, 0x22, 0x33);
    const std::uint8_t* p = bitmap.Pixel(2, 1);
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    bitmap.FillRgb(0xabcdef);
    EXPECT_EQ(bitmap.RgbAt(0, 0), 0xabcdefu);
}

TEST(Bitmap, RefusesImpossibleSizes) {
    EXPECT_THROW(Bitmap(-1, 5), InvalidArgument);
    EXPECT_THROW(Bitmap(20000, 20000), InvalidArgument);
    EXPECT_TRUE(Bitmap(0, 7).Empty());
}

TEST(Bitmap, ReadsHandWrittenBottomUpBmp) {
    const auto bytes = FromHex(TwoByTwoBmp);
    const Bitmap bitmap = Bitmap::ReadBmp(bytes, "memory");
    ASSERT_EQ(bitmap.Width(), 2);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.RgbAt(0, 0), 0xff0000u);
    EXPECT_EQ(bitmap.RgbAt(1, 0), 0x00ff00u);
    EXPECT_EQ(bitmap.RgbAt(0, 1), 0x0000ffu);
    EXPECT_EQ(bitmap.RgbAt(1, 1), 0xffffffu);
    // Our writer produces the same bytes as the hand-written file, apart from the header
    // fields that the hand-written one sets to other legal values.
    const auto written = bitmap.EncodeBmp();
    ASSERT_EQ(written.size(), bytes.size());
    EXPECT_TRUE(std::equal(written.begin() + 54, written.end(), bytes.begin() + 54));
}

TEST(Bitmap, RejectsDamagedBmpFiles) {
    auto bytes = FromHex(TwoByTwoBmp);
    auto truncated = bytes;
    truncated.resize(60);
    EXPECT_THROW(Bitmap::ReadBmp(truncated, "t"), InvalidFile);
    auto eightBit = bytes;
    eightBit[28] = 8;
    EXPECT_THROW(Bitmap::ReadBmp(eightBit, "t"), InvalidFile);
    auto huge = bytes;
    huge[21] = 0x7f;  // width near 2^31
    EXPECT_THROW(Bitmap::ReadBmp(huge, "t"), InvalidFile);
    auto badOffset = bytes;
    badOffset[13] = 0x7f;
    EXPECT_THROW(Bitmap::ReadBmp(badOffset, "t"), InvalidFile);
    EXPECT_THROW(Bitmap::ReadBmp(std::vector<std::uint8_t>{'B', 'M'}, "t"), InvalidFile);
}

TEST(Bitmap, FileRoundTripAndMissingFile) {
    test::TempDir dir;
    Bitmap bitmap(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) bitmap.SetRgb(x, y, std::uint32_t(x * 40 << 16 | y * 50));
    const auto path = (dir / "a.bmp").string();
    bitmap.WriteBmp(path);
    EXPECT_EQ(Bitmap::ReadBmp(path), bitmap);
    EXPECT_THROW(Bitmap::ReadBmp((dir / "missing.bmp").string()), IoError);
    EXPECT_THROW(bitmap.WriteBmp((dir / "no/such/dir.bmp").string()), IoError);
    // Qt's own reader agrees with the layout we write.
    QImage viaQt(QString::fromStdString(path));
    ASSERT_FALSE(viaQt.isNull());
    EXPECT_EQ(viaQt.pixel(6, 4) & 0xffffff, bitmap.RgbAt(6, 4));
}

TEST(Bitmap, QImageViewSharesPixelsAndConversionCopiesThem) {
    Bitmap bitmap(3, 3);
    bitmap.SetRgb(1, 2, 0x123456);
    const QImage view = bitmap.ToQImage();
    EXPECT_EQ(view.constBits(), bitmap.Bits());
    EXPECT_EQ(view.pixel(1, 2) & 0xffffff, 0x123456u);

    QImage argb(4, 2, QImage::Format_ARGB32);
    argb.fill(QColor(10, 20, 30));
    argb.setPixel(3, 1, qRgb(200, 100, 50));
    const Bitmap converted = Bitmap::FromQImage(argb);
    EXPECT_EQ(converted.RgbAt(0, 0), 0x0a141eu);
    EXPECT_EQ(converted.RgbAt(3, 1), 0xc86432u);
    EXPECT_EQ(Bitmap::FromQImage(view), bitmap);
}

}  // namespace
}  // namespace velmora
