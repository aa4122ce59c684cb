#include "effects/TransitionDriver.h"

#include <stdexcept>
#include <string>

#include "base/Errors.h"

namespace velmora {

int TTransitionDriver::Begin(Bitmap& display, const Bitmap& image, int effectIndex) {
    if (display.Width() != image.Width() || display.Height() != image.Height()) {
        throw InvalidArgument(
            "transition between pictures of different sizes (" + std::to_string(display.Width()) +
            " x " + std::to_string(display.Height()) + " and " + std::to_string(image.Width()) +
            " x " + std::to_string(image.Height()) + ")");
    }
    FDisplay = &display;
    FImage = &image;
    FEffect = ResolveEffect(effectIndex);
    return FEffect;
}

void TTransitionDriver::Step(int progress) {
    if (!FDisplay) throw std::logic_error("transition step without Begin");
    const TRect frame{0, 0, FDisplay->Width(), FDisplay->Height()};
    Effects[FEffect].Proc(*FDisplay, *FImage, frame, Granularity, progress);
}

void TTransitionDriver::Finish() {
    if (!FDisplay) throw std::logic_error("transition finished without Begin");
    *FDisplay = *FImage;
    FDisplay = nullptr;
    FImage = nullptr;
    FEffect = 0;
}

}  // namespace velmora
