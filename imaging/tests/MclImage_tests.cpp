#include <gtest/gtest.h>

#include "imaging/MclImage.h"

namespace velmora {
namespace {

Bitmap Pattern(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b.SetRgb(x, y, std::uint32_t(x * 7919 + y * 104729) & 0xFFFFFF);
    }
    return b;
}

TEST(MclImage, RoundTripGivesANewFaithfulBitmapOwnedByTheCaller) {
    for (int w : {1, 5, 33}) {
        const Bitmap original = Pattern(w, 7);
        MclImg img = MclImgCreate();
        ASSERT_TRUE(img);
        MclDIBToImg(*img, original);
        Bitmap copy = MclImgToDIB(*img);
        EXPECT_EQ(copy, original) << w;
        EXPECT_NE(copy.Bits(), img->Picture.Bits());
        // The image keeps its own picture: changing the returned bitmap leaves it alone.
        copy.SetRgb(0, 0, 0x123456);
        EXPECT_EQ(MclImgToDIB(*img), original);
        MclImgFree(img);
        EXPECT_FALSE(img);
        MclImgFree(img);  // freeing an empty handle is allowed
    }
}

TEST(MclImage, MovingABitmapInTakesItsPixels) {
    const Bitmap original = Pattern(9, 4);
    Bitmap moved = original;
    MclImg img = MclImgCreate();
    MclDIBToImg(*img, std::move(moved));
    EXPECT_TRUE(moved.Empty());
    EXPECT_EQ(MclImgToDIB(*img), original);
    MclDIBToImg(*img, Pattern(2, 2));  // replaces the previous picture
    EXPECT_EQ(img->Picture.Width(), 2);
}

}  // namespace
}  // namespace velmora
