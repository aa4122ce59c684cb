// The editor's preview as a state machine: the hold, 24 frames at 4, 8, ..., 96 percent drawn
// by the effect over the previous frame, the finished picture on the 25th tick, the stop that
// ends it on the next tick, and a random effect drawn anew for every preview of line 0.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/Errors.h"
#include "effects/EffectRandom.h"
#include "effects/EffectTable.h"
#include "effects/ui/BuiltinPicture.h"
#include "effects/ui/EditPPreview.h"

namespace velmora::ui {
namespace {

constexpr int W = TEditPPreview::Width;
constexpr int H = TEditPPreview::Height;

Bitmap Plain(std::uint32_t rgb) {
    Bitmap b(W, H);
    b.FillRgb(rgb);
    return b;
}

// A picture with detail, so that frames of different effects differ.
Bitmap Pattern() {
    Bitmap b(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            b.SetRgb(x, y, std::uint32_t((x * 7) << 16 | (y * 5) << 8 | (x ^ y)));
    }
    return b;
}

TEST(EditPPreview, BuiltinPictureIsOursAndSixteenColours) {
    const Bitmap builtin = BuiltinOutgoingPicture();
    ASSERT_EQ(builtin.Width(), W);
    ASSERT_EQ(builtin.Height(), H);
    EXPECT_EQ(builtin, BuiltinOutgoingPicture());
    const std::uint32_t vga[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                 0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::set<std::uint32_t> used;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) used.insert(builtin.RgbAt(x, y));
    }
    for (const std::uint32_t colour : used) {
        EXPECT_NE(std::find(std::begin(vga), std::end(vga), colour), std::end(vga)) << colour;
    }
    EXPECT_GE(used.size(), 8u);  // a picture, not a flat fill
}

TEST(EditPPreview, DrawsTwentyFourFramesThenTheFinishedPicture) {
    const Bitmap outgoing = Pattern();
    const Bitmap incoming = Plain(0x2060A0);
    TEditPPreview preview;
    preview.Start(incoming, outgoing, 4);
    EXPECT_TRUE(preview.Tagged());
    EXPECT_TRUE(preview.Holding());
    EXPECT_FALSE(preview.TickTimerEnabled());
    EXPECT_EQ(preview.Shown(), outgoing);  // the outgoing picture stands during the hold
    EXPECT_FALSE(preview.Tick());          // no frames before the hold is over

    preview.HoldElapsed();
    EXPECT_EQ(preview.Effect(), 4);
    EXPECT_TRUE(preview.TickTimerEnabled());
    Bitmap expected = outgoing;
    const TRect frame{0, 0, W, H};
    for (int k = 1; k <= 24; ++k) {
        ASSERT_TRUE(preview.Tick());
        EXPECT_EQ(preview.Progress(), 4 * k);
        Effects[4].Proc(expected, incoming, frame, 5, 4 * k);
        ASSERT_EQ(preview.Shown(), expected) << "tick " << k;
        ASSERT_TRUE(preview.Tagged());
    }
    EXPECT_NE(preview.Shown(), incoming);  // the reveal from the left stops short at 96 %
    ASSERT_TRUE(preview.Tick());           // the 25th tick
    EXPECT_EQ(preview.Shown(), incoming);
    EXPECT_EQ(preview.Phase(), TEditPPreview::TPhase::Idle);
    EXPECT_FALSE(preview.Tagged());
    EXPECT_FALSE(preview.TickTimerEnabled());
    EXPECT_FALSE(preview.Tick());
}

TEST(EditPPreview, StopEndsOnTheNextTick) {
    const Bitmap incoming = Plain(0xFF8000);
    TEditPPreview preview;
    preview.Start(incoming, Pattern(), 1);
    preview.HoldElapsed();
    for (int k = 0; k < 5; ++k) preview.Tick();
    preview.Stop();
    EXPECT_FALSE(preview.Tagged());
    EXPECT_TRUE(preview.TickTimerEnabled());  // still running until the next tick
    EXPECT_NE(preview.Shown(), incoming);
    ASSERT_TRUE(preview.Tick());
    EXPECT_EQ(preview.Shown(), incoming);
    EXPECT_FALSE(preview.TickTimerEnabled());

    // Stopped during the hold: the hold ends as usual and the first tick finishes.
    preview.Start(incoming, Pattern(), 1);
    preview.Stop();
    preview.HoldElapsed();
    ASSERT_TRUE(preview.Tick());
    EXPECT_EQ(preview.Shown(), incoming);
    EXPECT_FALSE(preview.TickTimerEnabled());
}

TEST(EditPPreview, RandomLineDrawsAFreshEffectForEveryPreview) {
    std::vector<int> drawn;
    {
        const TScopedSeed seed(77);
        TEditPPreview preview;
        for (int run = 0; run < 6; ++run) {
            preview.Start(Plain(0), Plain(0xFFFFFF), 0);
            preview.HoldElapsed();
            drawn.push_back(preview.Effect());
            while (preview.Tick()) {
            }
        }
    }
    // The same reseed sequence drawn directly: one ResolveEffect(0) per preview.
    const TScopedSeed seed(77);
    for (const int effect : drawn) {
        EXPECT_TRUE(IsEffectIndex(effect));
        EXPECT_EQ(effect, ResolveEffect(0));
    }
    EXPECT_GT(std::set<int>(drawn.begin(), drawn.end()).size(), 1u);
}

TEST(EditPPreview, RestartWhileFinishingAndWrongSizes) {
    TEditPPreview preview;
    preview.Start(Plain(0x00FF00), Pattern(), 2);
    preview.HoldElapsed();
    preview.Tick();
    preview.Stop();
    // Started again before the ending tick: a new hold from the new outgoing picture.
    preview.Start(Plain(0x0000FF), Plain(0xFF0000), 3);
    EXPECT_TRUE(preview.Holding());
    EXPECT_EQ(preview.Shown(), Plain(0xFF0000));
    preview.HoldElapsed();
    EXPECT_EQ(preview.Progress(), 0);
    EXPECT_THROW(preview.Start(Bitmap(10, 10), Plain(0), 1), InvalidArgument);
}

}  // namespace
}  // namespace velmora::ui
