// Frame composition pixel work: stretching, the 3 x 3 reduction and the softening.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "production/FramePixels.h"

namespace velmora {
namespace {

// A grey bitmap from rows of values (red = green = value); blue holds a constant so that the
// channels are seen to be handled separately.
Bitmap GreyGrid(const std::vector<std::vector<int>>& rows, int blue) {
    Bitmap bitmap(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const auto v = std::uint32_t(rows[y][x]);
            bitmap.SetRgb(x, y, (v << 16) | (v << 8) | std::uint32_t(blue));
        }
    }
    return bitmap;
}

void ExpectGrey(const Bitmap& bitmap, const std::vector<std::vector<int>>& rows, int blue) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t rgb = bitmap.RgbAt(x, y);
            EXPECT_EQ(int(rgb >> 16), rows[y][x]) << "red at " << x << "," << y;
            EXPECT_EQ(int((rgb >> 8) & 0xff), rows[y][x]) << "green at " << x << "," << y;
            EXPECT_EQ(int(rgb & 0xff), blue) << "blue at " << x << "," << y;
        }
    }
}

TEST(StretchBitmap, SamplesThePixelUnderEachCentre) {
    // A 2 x 2 source doubled into a 4 x 4 target at (1, 1): each source pixel becomes 2 x 2.
    Bitmap src(2, 2);
    src.SetRgb(0, 0, 0x010203);
    src.SetRgb(1, 0, 0x040506);
    src.SetRgb(0, 1, 0x070809);
    src.SetRgb(1, 1, 0x0a0b0c);
    Bitmap dst(6, 6);
    dst.FillRgb(0xffffff);
    StretchBitmap(src, dst, {1, 1, 5, 5});
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            std::uint32_t expected = 0xffffff;
            if (x >= 1 && x < 5 && y >= 1 && y < 5) {
                expected = src.RgbAt((x - 1) / 2, (y - 1) / 2);
            }
            EXPECT_EQ(dst.RgbAt(x, y), expected) << x << "," << y;
        }
    }
    // Shrinking 6 columns into 3 takes source columns 1, 3, 5 (centres 0.5, 1.5, 2.5 x 2).
    Bitmap row(6, 1);
    for (int x = 0; x < 6; ++x) row.SetRgb(x, 0, std::uint32_t(x));
    Bitmap small(3, 1);
    StretchBitmap(row, small, {0, 0, 3, 1});
    EXPECT_EQ(small.RgbAt(0, 0), 1u);
    EXPECT_EQ(small.RgbAt(1, 0), 3u);
    EXPECT_EQ(small.RgbAt(2, 0), 5u);
    // A rectangle reaching outside the target is clipped.
    Bitmap clipped(2, 2);
    StretchBitmap(src, clipped, {-2, -2, 2, 2});
    EXPECT_EQ(clipped.RgbAt(0, 0), 0x0a0b0cu);
}

TEST(ReduceBy3, AveragesNinePixelsWithTruncation) {
    // Canvas 6 x 3 -> 2 x 1. Left block red values sum to 0+1+...+8 = 36 -> 4; right block all
    // 255 except one 0: 2040 / 9 = 226.67 -> 226 (truncated, not rounded).
    Bitmap canvas(6, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            canvas.SetRgb(x, y, std::uint32_t(3 * y + x) << 16 | 0x0000ff);
            canvas.SetRgb(x + 3, y, 0xff00ff);
        }
    }
    canvas.SetRgb(4, 1, 0x000000);
    Bitmap dest(2, 1);
    ReduceBy3(canvas, dest);
    EXPECT_EQ(dest.RgbAt(0, 0), 0x0400ffu);
    EXPECT_EQ(dest.RgbAt(1, 0), 0xe200e2u);
}

TEST(BlurBitmap, SoftensInPlaceInVisitingOrder) {
    const std::vector<std::vector<int>> before = {
        {0, 9, 18, 27},
        {9, 90, 0, 36},
        {18, 0, 45, 9},
        {27, 72, 9, 0},
    };
    // Worked out by hand, visiting (1,1), (2,1), (1,2), (2,2):
    // (1,1): 0+9+18 + 9+90+0 + 18+0+45 = 189 -> 21
    // (2,1): 9+18+27 + 21(new)+0+36 + 0+45+9 = 165 -> 18 (from old values it would be 26)
    // (1,2): 9+21+18 (row above new) + 18+0+45 + 27+72+9 = 219 -> 24
    // (2,2): 21+18+36 + 24(new)+45+9 + 72+9+0 = 234 -> 26
    const std::vector<std::vector<int>> after = {
        {0, 9, 18, 27},
        {9, 21, 18, 36},
        {18, 24, 26, 9},
        {27, 72, 9, 0},
    };
    Bitmap bitmap = GreyGrid(before, 200);
    BlurBitmap(bitmap);
    ExpectGrey(bitmap, after, 200);
}

TEST(BlurBitmap, LeavesTinyBitmapsAndBordersAlone) {
    const std::vector<std::vector<int>> two = {{0, 255}, {255, 0}};
    Bitmap small = GreyGrid(two, 7);
    BlurBitmap(small);
    ExpectGrey(small, two, 7);

    // A white border stays white while the inside is softened towards it.
    Bitmap framed(5, 5);
    framed.FillRgb(0xffffff);
    for (int y = 1; y < 4; ++y) {
        for (int x = 1; x < 4; ++x) framed.SetRgb(x, y, 0);
    }
    BlurBitmap(framed);
    // (1,1): five white neighbours -> 5 x 255 / 9 = 141.67 -> 141.
    EXPECT_EQ(framed.RgbAt(1, 1), 0x8d8d8du);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(framed.RgbAt(i, 0), 0xffffffu);
        EXPECT_EQ(framed.RgbAt(i, 4), 0xffffffu);
        EXPECT_EQ(framed.RgbAt(0, i), 0xffffffu);
        EXPECT_EQ(framed.RgbAt(4, i), 0xffffffu);
    }
}

// Rows are softened two at a time: every small size, odd and even row counts and the narrowest
// widths, comes out as the definition visited pixel by pixel.
TEST(BlurBitmap, SameAsTheDefinitionAtSmallSizes) {
    std::uint32_t seed = 7;
    for (int height = 3; height <= 8; ++height) {
        for (int width = 3; width <= 9; ++width) {
            Bitmap fast(width, height);
            for (int y = 0; y < height; ++y) {
                for (int i = 0; i < 3 * width; ++i) {
                    seed = seed * 1664525u + 1013904223u;
                    fast.Row(y)[i] = std::uint8_t(seed >> 24);
                }
            }
            Bitmap slow = fast;
            BlurBitmap(fast);
            for (int y = 1; y < height - 1; ++y) {
                for (int i = 3; i < 3 * (width - 1); ++i) {
                    unsigned sum = 0;
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -3; dx <= 3; dx += 3) sum += slow.Row(y + dy)[i + dx];
                    }
                    slow.Row(y)[i] = std::uint8_t(sum / 9);
                }
            }
            for (int y = 0; y < height; ++y) {
                ASSERT_EQ(std::memcmp(fast.Row(y), slow.Row(y), std::size_t(width) * 3), 0)
                    << width << " x " << height << ", row " << y;
            }
        }
    }
}

// The fade's pixels on a full DVD frame of noise, softened as many times as a five-second still:
// the same as the definition visited pixel by pixel, and the same bytes as the softening that
// shipped first (its checksum was recorded from that version before it was made faster).
TEST(BlurBitmap, SameBytesAsTheDefinitionAndAsBefore) {
    Bitmap fast(720, 576);
    std::uint32_t seed = 2026;
    for (int y = 0; y < fast.Height(); ++y) {
        for (int i = 0; i < 3 * fast.Width(); ++i) {
            seed = seed * 134775813u + 1u;
            fast.Row(y)[i] = std::uint8_t(seed >> 24);
        }
    }
    Bitmap slow = fast;
    for (int pass = 0; pass < 3; ++pass) {
        BlurBitmap(fast);
        for (int y = 1; y < slow.Height() - 1; ++y) {
            for (int x = 1; x < slow.Width() - 1; ++x) {
                for (int c = 0; c < 3; ++c) {
                    unsigned sum = 0;
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) sum += slow.Row(y + dy)[3 * (x + dx) + c];
                    }
                    slow.Row(y)[3 * x + c] = std::uint8_t(sum / 9);
                }
            }
        }
    }
    for (int y = 0; y < fast.Height(); ++y) {
        ASSERT_EQ(std::memcmp(fast.Row(y), slow.Row(y), std::size_t(fast.Width()) * 3), 0) << y;
    }
    for (int pass = 3; pass < 125; ++pass) BlurBitmap(fast);
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the rows
    for (int y = 0; y < fast.Height(); ++y) {
        for (int i = 0; i < 3 * fast.Width(); ++i)
            hash = (hash ^ fast.Row(y)[i]) * 1099511628211ull;
    }
    EXPECT_EQ(hash, 9073219768112066591ull);
}

}  // namespace
}  // namespace velmora
