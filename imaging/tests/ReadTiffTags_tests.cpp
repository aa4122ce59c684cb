#include <gtest/gtest.h>

#include <functional>

#include "base/Errors.h"
#include "imaging/ReadTiffTags.h"
#include "imaging/tests/TiffBuilder.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::SourcePath;

std::string Data(const std::string& name) {
    return SourcePath("imaging/tests/data/" + name).string();
}

struct TDecoded {
    Bitmap Picture;
    std::vector<std::string> Messages;
};

TDecoded Decode(const std::string& path, Bitmap start = Bitmap()) {
    TDecoded result{std::move(start), {}};
    ReadTiffToBitmap(path, result.Picture,
                     [&](const std::string& text) { result.Messages.push_back(text); });
    return result;
}

std::uint32_t Grey(int v) { return std::uint32_t(v) * 0x010101; }

// Expected pixels worked out from the sample formulas of make-fixtures.sh and
// pack_fixtures.py, following the reader's rules (no inversion for WhiteIsZero grey, 16-bit
// palette values divided by 256).
std::uint32_t GreyFormula(int x, int y) { return Grey((25 * x + 40 * y) % 256); }
std::uint32_t RgbFormula(int x, int y) {
    return std::uint32_t((40 * x + y) % 256) << 16 | std::uint32_t((60 * y + 5) % 256) << 8 |
           std::uint32_t((9 * x * y) % 256);
}
std::uint32_t PackedRgb(int x, int y) {  // pack_fixtures.py's rgb_pixels
    return std::uint32_t((x * 40 + y) % 256) << 16 | std::uint32_t((y * 60 + 5) % 256) << 8 |
           std::uint32_t((x * y * 9) % 256);
}
std::function<std::uint32_t(int, int)> PaletteFormula(int k) {
    return [k](int x, int y) {
        const int i = (x + 2 * y) % k;
        return std::uint32_t(13 * i) << 16 | std::uint32_t(255 - 11 * i) << 8 |
               std::uint32_t(i * i % 256);
    };
}
std::uint32_t Palette4Formula(int x, int y) {
    const std::uint32_t i = std::uint32_t((x + 2 * y) % 16);
    const std::uint32_t red = i * 0x1000 + 0xAB;
    const std::uint32_t green = 0xFFFF - i * 0x1000;
    const std::uint32_t blue = (i * 0x0F0F) ^ 0x00FF;
    return (red >> 8) << 16 | (green >> 8) << 8 | (blue >> 8);
}
bool BilevelBlack(int x, int y) { return (x + y) % 3 == 0; }

struct TPictureCase {
    const char* File;
    int Width;
    int Height;
    std::function<std::uint32_t(int, int)> Expected;
};

class TiffPictures : public ::testing::TestWithParam<TPictureCase> {};

TEST_P(TiffPictures, DecodesEveryPixel) {
    const TPictureCase& c = GetParam();
    const TDecoded decoded = Decode(Data(c.File));
    EXPECT_TRUE(decoded.Messages.empty()) << decoded.Messages.front();
    ASSERT_EQ(decoded.Picture.Width(), c.Width);
    ASSERT_EQ(decoded.Picture.Height(), c.Height);
    for (int y = 0; y < c.Height; ++y) {
        for (int x = 0; x < c.Width; ++x) {
            ASSERT_EQ(decoded.Picture.RgbAt(x, y), c.Expected(x, y)) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, TiffPictures,
    ::testing::Values(
        TPictureCase{"grey8-le.tif", 10, 6, GreyFormula},
        TPictureCase{"grey8-be.tif", 10, 6, GreyFormula},
        TPictureCase{"grey8-wiz.tif", 10, 6, GreyFormula},
        TPictureCase{"grey4.tif", 7, 4, [](int x, int y) { return Grey((x + 3 * y) % 16 * 17); }},
        TPictureCase{"bilevel-biz.tif", 13, 5,
                     [](int x, int y) { return BilevelBlack(x, y) ? 0u : 0xFFFFFFu; }},
        TPictureCase{"bilevel-wiz.tif", 13, 5,
                     [](int x, int y) { return BilevelBlack(x, y) ? 0xFFFFFFu : 0u; }},
        TPictureCase{"palette-k20.tif", 9, 5, PaletteFormula(20)},
        TPictureCase{"palette-k4.tif", 9, 5, PaletteFormula(4)},
        TPictureCase{"palette4-be.tif", 5, 3, Palette4Formula},
        TPictureCase{"rgb.tif", 7, 3, RgbFormula}, TPictureCase{"rows-max.tif", 5, 3, PackedRgb},
        TPictureCase{"loop.tif", 2, 1, [](int x, int) { return Grey(x == 0 ? 10 : 200); }}),
    [](const auto& info) {
        std::string name = info.param.File;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

struct TMessageCase {
    const char* File;
    const char* Message;  ///< expected start of the one message
};

class TiffMessages : public ::testing::TestWithParam<TMessageCase> {};

TEST_P(TiffMessages, ShowsOneMessageAndLeavesTheTarget) {
    const TMessageCase& c = GetParam();
    Bitmap start(3, 2);
    start.FillRgb(0x123456);
    const TDecoded decoded = Decode(Data(c.File), start);
    ASSERT_EQ(decoded.Messages.size(), 1u);
    EXPECT_EQ(decoded.Messages[0].rfind(c.Message, 0), 0u) << decoded.Messages[0];
    EXPECT_EQ(decoded.Picture, start);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TiffMessages,
    ::testing::Values(TMessageCase{"rgb-lzw.tif",
                                   "Cant read compressed RGB Full Color Image\n\n"
                                   "feel free to implement this type of image\n"},
                      TMessageCase{"cmyk.tif", "Error evaluating Photometric interpretation: 5"},
                      TMessageCase{"rgb-8-8-16.tif", "Error: Bits Per Sample (RGB) not 8"},
                      TMessageCase{"strip-beyond.tif", "Error reading image data"},
                      TMessageCase{"strip-short.tif", "Error reading image data"},
                      TMessageCase{"palette-beyond.tif", "Error reading image data"}));

TEST(TiffReader, CmyKMessageIsExact) {
    EXPECT_EQ(Decode(Data("cmyk.tif")).Messages,
              std::vector<std::string>{"Error evaluating Photometric interpretation: 5"});
}

TEST(TiffReader, LzwLeavesAFreshTargetEmpty) {
    const TDecoded decoded = Decode(Data("rgb-lzw.tif"));
    EXPECT_TRUE(decoded.Picture.Empty());
}

TEST(TiffReader, InvalidHeaderNamesThePath) {
    const std::string path = Data("bad-magic.tif");
    EXPECT_EQ(Decode(path).Messages,
              std::vector<std::string>{"<" + path + "> is not a valid TIFF file"});
    const std::string missing = Data("no-such-file.tif");
    EXPECT_EQ(Decode(missing).Messages,
              std::vector<std::string>{"<" + missing + "> is not a valid TIFF file"});
}

TEST(TiffReader, TwoPagesKeepTheFirstWhenTheSecondIsCompressed) {
    const TDecoded decoded = Decode(Data("two-page.tif"));
    ASSERT_EQ(decoded.Messages.size(), 1u);
    EXPECT_EQ(decoded.Messages[0].rfind("Cant read compressed RGB Full Color Image", 0), 0u);
    ASSERT_EQ(decoded.Picture.Width(), 10);
    EXPECT_EQ(decoded.Picture.RgbAt(9, 5), GreyFormula(9, 5));
}

TEST(TiffReader, FailuresRaisedToTheCaller) {
    Bitmap target;
    EXPECT_THROW(ReadTiffToBitmap(Data("too-wide.tif"), target, {}), InvalidFile);
    test::TTiffPage page = test::GreyPage(2, 2, 7);
    page.Tags.erase(273);
    page.Tags.erase(279);
    const auto noStrips = test::PackTiff({page});
    EXPECT_THROW(ReadTiffToBitmap(noStrips, "mem", target, {}), InvalidFile);
}

TEST(TiffReader, TooManyPixelsIsOutOfMemoryAndEmptiesTheTarget) {
    Bitmap start(2, 2);
    const TDecoded decoded = Decode(Data("too-many-pixels.tif"), start);
    EXPECT_EQ(decoded.Messages, std::vector<std::string>{"Out Of Memory "});
    EXPECT_TRUE(decoded.Picture.Empty());
}

TEST(TiffReader, MoreThan256ImagesFailAfterDecodingThe256th) {
    std::vector<test::TTiffPage> pages;
    for (int i = 0; i < 258; ++i) pages.push_back(test::GreyPage(1, 1, std::uint8_t(i)));
    const auto bytes = test::PackTiff(pages);
    TFileTiff file;
    file.SetData(bytes, "mem");
    EXPECT_EQ(file.ImageCount(), TFileTiff::MaxImages + 1);
    Bitmap target;
    EXPECT_THROW(DecodeTiffImages(file, target, {}), InvalidFile);
    EXPECT_EQ(target.RgbAt(0, 0), Grey(255));
    pages.resize(256);
    const auto exact = test::PackTiff(pages);
    EXPECT_NO_THROW(ReadTiffToBitmap(exact, "mem", target, {}));
}

struct TMissingTag {
    std::uint16_t Photometric;
    std::uint16_t Removed;
    const char* Message;
};

TEST(TiffReader, TagChecksInOrder) {
    const TMissingTag cases[] = {
        {1, 256, "Error reading tag Image Width"},
        {1, 257, "Error reading tag Image Height"},
        {1, 259, "Error reading tag Compression"},
        {2, 258, "Error reading tag Bits Per Sample"},
        {3, 258, "Error reading tag Bits Per Sample"},
        {3, 320, "Error reading tag Color Table Offset"},
        {1, 262, "Error reading tag Photometric interpretation"},
    };
    for (const TMissingTag& c : cases) {
        test::TTiffPage page = test::GreyPage(4, 2, 9);
        page.Tags[262] = {3, {c.Photometric}};
        if (c.Photometric == 3) page.Tags[320] = {3, std::vector<std::uint32_t>(768, 0x8000)};
        if (c.Photometric == 2) {
            page.Tags[258] = {3, {8, 8, 8}};
            page.Pixels.resize(24);
            page.Tags[279] = {4, {24}};
        }
        page.Tags.erase(c.Removed);
        std::vector<std::string> messages;
        Bitmap target;
        ReadTiffToBitmap(test::PackTiff({page}), "mem", target,
                         [&](const std::string& m) { messages.push_back(m); });
        EXPECT_EQ(messages, std::vector<std::string>{c.Message}) << c.Removed;
        // Without BitsPerSample a grey image is bilevel; every other case decodes nothing.
        EXPECT_TRUE(target.Empty()) << c.Removed;
    }
}

TEST(TiffReader, GreyWithoutBitsPerSampleIsBilevel) {
    test::TTiffPage page = test::GreyPage(8, 1, 0);
    page.Tags.erase(258);
    page.Pixels = {0xA5};
    page.Tags[279] = {4, {1}};
    Bitmap target;
    ReadTiffToBitmap(test::PackTiff({page}), "mem", target, {});
    ASSERT_EQ(target.Width(), 8);
    const std::uint32_t expected[] = {0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0, 0xFFFFFF};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(target.RgbAt(x, 0), expected[x]) << x;
}

TEST(TiffFile, FindTagReturnsTheLastEntryAndStripsByIndex) {
    TFileTiff file;
    file.SetFileName(Data("grey8-be.tif"));
    ASSERT_TRUE(file.Valid());
    EXPECT_FALSE(file.LittleEndian());
    ASSERT_EQ(file.ImageCount(), 1);
    EXPECT_EQ(file.Image(1), nullptr);
    const TGraphicTiff& image = *file.Image(0);
    ASSERT_EQ(image.StripCount(), 3);
    EXPECT_EQ(image.Strip(2)->ByteCount, 20u);
    EXPECT_EQ(image.Strip(3), nullptr);
    EXPECT_EQ(image.FindTag(TagImageWidth)->Value, 10u);
    EXPECT_EQ(image.FindTag(999), nullptr);
    file.SetFileName("");
    EXPECT_FALSE(file.Valid());
    EXPECT_EQ(file.ImageCount(), 0);
}

}  // namespace
}  // namespace velmora
