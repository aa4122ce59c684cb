#pragma once
// TTransitionDriver: drives one transition frame by frame, the same way for the editor's
// preview (one step every 50 ms at progress 4, 8, ..., 96) and for video production (one step
// per output frame at progress 2, 4, ..., 100).
//
//   TTransitionDriver driver;
//   driver.Begin(display, image, picture.Effect);   // resolves 0 to a random effect once
//   for (int k = 1; k <= 50; ++k) driver.Step(2 * k); // each frame drawn over the previous
//   driver.Finish();                                 // the display becomes the image
//
// The display and the image are borrowed: they must stay alive and keep their size from Begin
// to Finish. The display is never restored between steps.

#include "effects/EffectTable.h"
#include "imaging/Bitmap.h"

namespace velmora {

class TTransitionDriver {
public:
    /// Granularity that every caller passes to the effects.
    static constexpr int Granularity = 5;

    /// Starts a transition from the display's current content to the image: resolves the
    /// effect index once with ResolveEffect (0, or any value outside 1 .. 105, picks a random
    /// effect) and returns the effect that will be drawn. Throws InvalidArgument when the two
    /// bitmaps differ in size.
    int Begin(Bitmap& display, const Bitmap& image, int effectIndex);

    /// Draws one frame: the effect once at the given progress (percent) on the display.
    /// Throws std::logic_error when no transition has begun.
    void Step(int progress);

    /// Ends the transition: the display becomes a copy of the whole image.
    void Finish();

    /// The resolved effect (1 .. 105), 0 before Begin and after Finish.
    int Effect() const noexcept { return FEffect; }
    bool Running() const noexcept { return FDisplay != nullptr; }

private:
    Bitmap* FDisplay = nullptr;
    const Bitmap* FImage = nullptr;
    int FEffect = 0;
};

}  // namespace velmora
