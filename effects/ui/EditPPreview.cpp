#include "effects/ui/EditPPreview.h"

#include <string>

#include "base/Errors.h"

namespace velmora::ui {

namespace {

void CheckSize(const Bitmap& bitmap, const char* what) {
    if (bitmap.Width() != TEditPPreview::Width || bitmap.Height() != TEditPPreview::Height) {
        throw InvalidArgument(std::string("the preview's ") + what + " picture is " +
                              std::to_string(bitmap.Width()) + " x " +
                              std::to_string(bitmap.Height()) + ", not 185 x 153");
    }
}

}  // namespace

void TEditPPreview::Start(const Bitmap& incoming, const Bitmap& outgoing, int effectLine) {
    CheckSize(incoming, "incoming");
    CheckSize(outgoing, "outgoing");
    Cancel();
    FNew = incoming;
    FOld = outgoing;
    FEffectLine = effectLine;
    FEffect = 0;
    FProgress = 0;
    FTagged = true;
    FPhase = TPhase::Holding;
}

void TEditPPreview::HoldElapsed() {
    if (FPhase != TPhase::Holding) return;
    FEffect = FDriver.Begin(FOld, FNew, FEffectLine);
    // A stop during the hold already set the progress to 100: the first tick ends the preview.
    if (FTagged) FProgress = 0;
    FPhase = TPhase::Running;
}

void TEditPPreview::Stop() noexcept {
    FProgress = 100;
    FTagged = false;
}

bool TEditPPreview::Tick() {
    if (FPhase != TPhase::Running) return false;
    FProgress += ProgressStep;
    if (FProgress < 100) {
        FDriver.Step(FProgress);
        return true;
    }
    FDriver.Finish();
    FPhase = TPhase::Idle;
    FTagged = false;
    return true;
}

void TEditPPreview::Cancel() noexcept {
    if (FDriver.Running()) FDriver.Finish();
    FPhase = TPhase::Idle;
    FTagged = false;
}

}  // namespace velmora::ui
