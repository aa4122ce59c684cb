// The text overlay: where the text lands, its outline and shadow, CJK faces and the cache.

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "imaging/Fonts.h"
#include "production/MclText.h"

namespace velmora {
namespace {

struct TBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;  // Right, Bottom inclusive
    int Count = 0;
    void Add(int x, int y) {
        Left = std::min(Left, x), Top = std::min(Top, y);
        Right = std::max(Right, x), Bottom = std::max(Bottom, y);
        ++Count;
    }
};

// The pixels of the image for which `match` (on 0xRRGGBB) holds.
template <class F>
TBox Find(const Bitmap& image, F match) {
    TBox box;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (match(image.RgbAt(x, y))) box.Add(x, y);
        }
    }
    return box;
}

int Red(std::uint32_t c) { return int(c >> 16 & 0xff); }
int Green(std::uint32_t c) { return int(c >> 8 & 0xff); }
int Blue(std::uint32_t c) { return int(c & 0xff); }

MclTextHandle Style(const char* face, int size, TMclColor color, TMclColor outline,
                    TMclColor shadow, int outlineWidth, int dx, int dy) {
    MclTextHandle t = MclTextCreate();
    MclTextSetFont(*t, face, size, 1, 1);
    MclTextSetColor(*t, color, outline, shadow, -1);
    MclTextShadow(*t, outlineWidth, dx, dy);
    return t;
}

TEST(MclTextTest, TextStaysInsideItsBoxAtTheGivenTopLeft) {
    for (const char* text : {"Hello", "春天 Spring", "two\nlines"}) {
        Bitmap image(400, 200);
        MclTextHandle t = Style("宋体", 32, MclRGB(255, 255, 255), MclRGB(255, 0, 0), -1, 2, 0, 0);
        int w = 0, h = 0;
        MclTextExtent(*t, text, w, h);
        MclImgText(image, *t, 20, 30, text);
        const TBox lit = Find(image, [](std::uint32_t c) { return c != 0; });
        ASSERT_GT(lit.Count, 0) << text;
        EXPECT_GE(lit.Left, 20) << text;
        EXPECT_GE(lit.Top, 30) << text;
        EXPECT_LT(lit.Right, 20 + w) << text;
        EXPECT_LT(lit.Bottom, 30 + h) << text;
        EXPECT_LE(lit.Left, 20 + 6) << text;  // the box is not loose either
        EXPECT_GE(lit.Right, 20 + w - 8) << text;
    }
    int oneLine = 0, twoLines = 0, w = 0;
    MclTextHandle t = Style("DejaVu Sans", 20, 0xffffff, -1, -1, 0, 0, 0);
    MclTextExtent(*t, "two", w, oneLine);
    MclTextExtent(*t, "two\nlines", w, twoLines);
    EXPECT_EQ(twoLines, 2 * oneLine);
}

TEST(MclTextTest, ShadowFallsAtItsOffsetAndOutlineSurroundsTheText) {
    const char* text = "Photo 相册";
    Bitmap plain(300, 100), shaded(300, 100), outlined(300, 100);
    MclImgText(plain, *Style("宋体", 28, 0xffffff, -1, -1, 0, 0, 0), 10, 10, text);
    // Text in the background colour, so that only its shadow shows.
    MclImgText(shaded, *Style("宋体", 28, 0x000000, -1, 0x0000ff, 0, 3, 2), 10, 10, text);
    // The outline widens the box by 2 on each side: drawn 2 up and left, the glyphs meet.
    MclImgText(outlined, *Style("宋体", 28, 0xffffff, 0xff0000, -1, 2, 0, 0), 8, 8, text);

    const TBox white = Find(plain, [](auto c) { return c == 0xffffff; });
    const TBox lit = Find(plain, [](auto c) { return c != 0; });
    const TBox blue = Find(shaded, [](auto c) { return Blue(c) > 0; });
    ASSERT_GT(lit.Count, 0);
    ASSERT_GT(blue.Count, 0);
    EXPECT_EQ(blue.Right, lit.Right + 3);
    EXPECT_EQ(blue.Bottom, lit.Bottom + 2);
    EXPECT_EQ(Find(shaded, [](auto c) { return Red(c) != 0 || Green(c) != 0; }).Count, 0);

    const TBox red = Find(outlined, [](auto c) { return Red(c) > 200 && Green(c) < 60; });
    ASSERT_GT(red.Count, 0);
    EXPECT_NEAR(red.Left, lit.Left - 2, 1);
    EXPECT_NEAR(red.Right, lit.Right + 2, 1);
    EXPECT_NEAR(red.Top, lit.Top - 2, 1);
    EXPECT_NEAR(red.Bottom, lit.Bottom + 2, 1);
    // The text itself is still white inside its outline.
    EXPECT_GT(Find(outlined, [](auto c) { return c == 0xffffff; }).Count, white.Count / 2);
}

TEST(MclTextTest, CjkGlyphsAreDistinctAndNotEmpty) {
    MclTextHandle t = Style("宋体", 40, 0xffffff, -1, -1, 0, 0, 0);
    std::vector<Bitmap> drawn;
    for (const char* ch : {"春", "天", "相"}) {
        Bitmap image(60, 60);
        MclImgText(image, *t, 5, 5, ch);
        const int lit = Find(image, [](auto c) { return c != 0; }).Count;
        EXPECT_GT(lit, 100) << ch;
        EXPECT_LT(lit, 60 * 60 / 2) << ch;  // a filled box is no glyph
        drawn.push_back(image);
    }
    // A font without them would draw the same empty box for each.
    EXPECT_FALSE(drawn[0] == drawn[1]);
    EXPECT_FALSE(drawn[1] == drawn[2]);
}

TEST(MclTextTest, StyleChangesReachTextsDrawnBefore) {
    MclTextHandle t = Style("DejaVu Sans", 24, 0xffffff, -1, -1, 0, 0, 0);
    Bitmap first(200, 50), again(200, 50), recoloured(200, 50);
    MclImgText(first, *t, 0, 0, "Cached");
    MclImgText(again, *t, 0, 0, "Cached");
    EXPECT_EQ(first, again);
    MclTextSetColor(*t, 0x00ff00, -1, -1, -1);
    MclImgText(recoloured, *t, 0, 0, "Cached");
    EXPECT_EQ(Find(recoloured, [](auto c) { return c == 0xffffff; }).Count, 0);
    EXPECT_GT(Find(recoloured, [](auto c) { return c == 0x00ff00; }).Count, 0);
}

TEST(MclTextTest, TextBeyondTheImageIsClipped) {
    MclTextHandle t = Style("宋体", 40, 0xffffff, 0xff0000, 0x808080, 2, -3, -3);
    Bitmap image(50, 30);
    for (auto [x, y] : {std::pair{-20, -15}, {30, 10}, {-500, 0}, {0, 500}}) {
        MclImgText(image, *t, x, y, "Wide 标题");
    }
    EXPECT_GT(Find(image, [](auto c) { return c != 0; }).Count, 0);
}

TEST(MclTextTest, BackColourFillsTheBox) {
    MclTextHandle t = MclTextCreate();
    MclTextSetFont(*t, "DejaVu Sans", 20, 0, 0);  // one-bit glyphs, unhinted
    MclTextSetColor(*t, 0xffffff, -1, -1, 0x123456);
    Bitmap image(200, 60);
    int w = 0, h = 0;
    MclTextExtent(*t, "Box", w, h);
    MclImgText(image, *t, 4, 4, "Box");
    const TBox back = Find(image, [](auto c) { return c == 0x123456; });
    EXPECT_EQ(back.Left, 4);
    EXPECT_EQ(back.Top, 4);
    EXPECT_EQ(Find(image, [](auto c) { return c != 0; }).Count, w * h);
    // One-bit glyphs: only the two colours appear.
    EXPECT_EQ(Find(image, [](auto c) { return c != 0 && c != 0x123456 && c != 0xffffff; }).Count,
              0);
}

TEST(MclTextTest, WidthScaleNarrowsTheGlyphsOnly) {
    MclTextHandle t = MclTextCreate();
    MclTextSetFont(*t, "宋体", 40, 1, 1);
    int width = 0, height = 0;
    MclTextExtent(*t, "口口口口", width, height);
    MclTextSetWidthScale(*t, 0.625);  // an SVCD frame's pixels are 8/5 as wide as tall
    int narrow = 0, narrowHeight = 0;
    MclTextExtent(*t, "口口口口", narrow, narrowHeight);
    EXPECT_EQ(narrowHeight, height);
    EXPECT_NEAR(double(narrow) / width, 0.625, 0.05);
    EXPECT_THROW(MclTextSetWidthScale(*t, 0), InvalidArgument);
}

TEST(MclTextTest, RejectsOutOfRangeSettings) {
    MclTextHandle t = MclTextCreate();
    EXPECT_THROW(MclTextSetFont(*t, "sans", 0, 1, 1), InvalidArgument);
    EXPECT_THROW(MclTextShadow(*t, 17, 0, 0), InvalidArgument);
    EXPECT_THROW(MclTextShadow(*t, 2, 65, 0), InvalidArgument);
    EXPECT_THROW(MclTextSetColor(*t, -1, -1, -1, -1), InvalidArgument);
    EXPECT_EQ(MclRGB(300, -4, 128), 0xff0080);
    EXPECT_EQ(MclRGB(128, 128, 128), 8421504);
}

struct TFontCase {
    const char* Family;
    std::u32string Text;
};

class MclFontTest : public ::testing::TestWithParam<TFontCase> {};

// Whatever the family asked for, the chosen font has every character of the text.
TEST_P(MclFontTest, ChosenFontHasEveryCharacter) {
    const TFontCase& c = GetParam();
    const TFontFile file =
        FindFontFor(c.Family, std::vector<char32_t>(c.Text.begin(), c.Text.end()));
    TFaceCache faces;
    FT_Face face = faces.Face(file);
    for (char32_t ch : c.Text) {
        if (ch == U' ') continue;
        EXPECT_NE(FT_Get_Char_Index(face, ch), 0u)
            << file.Path << " lacks U+" << std::hex << unsigned(ch);
    }
}

const TFontCase FontCases[] = {
    {"宋体", U"春天的相册"},
    {"宋体", U"Album 2024"},
    {"DejaVu Sans", U"Hello 世界"},
    {"NoSuchFamily", U"标题 Title"},
    {"", U"ABC"},
};

INSTANTIATE_TEST_SUITE_P(Families, MclFontTest, ::testing::ValuesIn(FontCases));

TEST(MclFontTest, DecodesUtf8AndReplacesInvalidBytes) {
    EXPECT_EQ(DecodeUtf8("A\xe6\x98\xa5"), (std::vector<char32_t>{U'A', U'\u6625'}));
    EXPECT_EQ(DecodeUtf8("\xf0\x9f\x98\x80"), (std::vector<char32_t>{U'\U0001F600'}));
    EXPECT_EQ(DecodeUtf8("\xff"
                         "a"),
              (std::vector<char32_t>{U'\uFFFD', U'a'}));
    EXPECT_EQ(DecodeUtf8("\xe6\x98"), (std::vector<char32_t>{U'\uFFFD', U'\uFFFD'}));
    EXPECT_EQ(DecodeUtf8("\xc0\xaf"), (std::vector<char32_t>{U'\uFFFD', U'\uFFFD'}));
    EXPECT_EQ(DecodeUtf8("\xed\xa0\x80"), (std::vector<char32_t>{U'\uFFFD', U'\uFFFD', U'\uFFFD'}));
}

}  // namespace
}  // namespace velmora
