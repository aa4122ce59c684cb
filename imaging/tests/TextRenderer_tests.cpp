// The text renderer's own choices beyond the media layer's calls: where the baseline lies in the
// box, and glyphs drawn from outlines where a face carries one-bit bitmaps.

#include <gtest/gtest.h>

#include <set>

#include "base/Errors.h"
#include "imaging/TextRenderer.h"

namespace velmora {
namespace {

TTextStyle Black(const char* face, int size) {
    TTextStyle style;
    style.Face = face;
    style.Size = size;
    style.Color = 0x000000;
    return style;
}

// The lowest row holding a pixel other than white, or -1.
int LowestInkedRow(const Bitmap& image) {
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.RgbAt(x, y) != 0xffffff) return y;
        }
    }
    return -1;
}

TEST(TextRendererTest, AscentPlacesTheBaselineBelowTheBoxTop) {
    for (int outline : {0, 3}) {
        TTextStyle style = Black("DejaVu Sans", 40);
        style.Outline = outline > 0 ? 0x808080 : -1;
        style.OutlineWidth = outline;
        TTextRenderer text(style);
        const TTextBox box = text.Measure("HE");
        Bitmap image(120, 80);
        image.FillRgb(0xffffff);
        text.Draw(image, 5, 7, "HE");
        // Flat-bottomed capitals sit on the baseline; the outline reaches `outline` below it.
        EXPECT_EQ(LowestInkedRow(image), 7 + box.Ascent - 1 + outline) << outline;
        EXPECT_GT(box.Ascent, outline + 20);
        EXPECT_LT(box.Ascent, box.Height);
    }
}

TEST(TextRendererTest, OutlinesInsteadOfEmbeddedBitmapsGiveGreyEdges) {
    // The installed Song-style face carries one-bit strikes for small sizes.
    auto greys = [](bool embedded) {
        TTextStyle style = Black("AR PL UMing CN", 16);
        style.EmbeddedBitmaps = embedded;
        TTextRenderer text(style);
        Bitmap image(80, 30);
        image.FillRgb(0xffffff);
        text.Draw(image, 2, 2, "淡入淡出");
        std::set<std::uint32_t> levels;
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) levels.insert(image.RgbAt(x, y));
        }
        return levels.size();
    };
    EXPECT_GT(greys(false), 10u);
    EXPECT_EQ(greys(true), 2u);
}

TEST(TextRendererTest, NewStyleIsCheckedAndDropsTheCache) {
    TTextRenderer text(Black("DejaVu Sans", 20));
    const TTextBox small = text.Measure("Size");
    TTextStyle bad = text.Style();
    bad.Size = 1001;
    EXPECT_THROW(text.SetStyle(bad), InvalidArgument);
    EXPECT_EQ(text.Style().Size, 20);
    TTextStyle large = text.Style();
    large.Size = 40;
    text.SetStyle(large);
    EXPECT_GT(text.Measure("Size").Width, small.Width * 3 / 2);
}

}  // namespace
}  // namespace velmora
