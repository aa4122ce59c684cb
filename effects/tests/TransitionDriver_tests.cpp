// The transition driver as the editor and the production run use it.

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/Errors.h"
#include "effects/EffectProcs.h"
#include "effects/EffectRandom.h"
#include "effects/TransitionDriver.h"
#include "effects/tests/EffectTestSupport.h"

namespace velmora {
namespace {

using namespace velmora::test;

TEST(TransitionDriverTest, StepsDrawOverThePreviousFrameAndFinishShowsTheImage) {
    Bitmap display = CodedPicture(185, 153, DisplayTag);
    const Bitmap image = CodedPicture(185, 153, ImageTag);
    Bitmap expected = display;
    TTransitionDriver driver;
    EXPECT_EQ(driver.Begin(display, image, 95), 95);
    EXPECT_TRUE(driver.Running());
    for (int progress = 4; progress <= 96; progress += 4) {  // the editor's preview
        driver.Step(progress);
        effects::PushRight(expected, image, {0, 0, 185, 153}, 5, progress);
        ASSERT_EQ(display, expected) << progress;
    }
    EXPECT_NE(display, image);
    driver.Finish();
    EXPECT_EQ(display, image);
    EXPECT_FALSE(driver.Running());
    EXPECT_EQ(driver.Effect(), 0);
}

TEST(TransitionDriverTest, RandomIndexIsResolvedOnceAtBegin) {
    const Bitmap image = CodedPicture(40, 30, ImageTag);
    Bitmap display = CodedPicture(40, 30, DisplayTag);
    int chosen = 0;
    int expected = 0;
    {
        TScopedSeed seed(3);
        expected = ResolveEffect(0);
    }
    {
        TScopedSeed seed(3);
        TTransitionDriver driver;
        chosen = driver.Begin(display, image, 0);
        for (int k = 1; k <= 50; ++k) {
            driver.Step(2 * k);
            ASSERT_EQ(driver.Effect(), chosen);
        }
    }
    EXPECT_EQ(chosen, expected);
    EXPECT_TRUE(IsEffectIndex(chosen));
}

TEST(TransitionDriverTest, RefusesMismatchedPicturesAndStepsWithoutBegin) {
    Bitmap display(10, 10);
    const Bitmap image(10, 11);
    TTransitionDriver driver;
    EXPECT_THROW(driver.Begin(display, image, 1), InvalidArgument);
    EXPECT_THROW(driver.Step(50), std::logic_error);
    EXPECT_THROW(driver.Finish(), std::logic_error);
}

}  // namespace
}  // namespace velmora
