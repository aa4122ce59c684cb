#pragma once
// TEditPPreview: the picture editor's effect preview as a state machine, without the window.
//
//   idle --Start--> holding (the outgoing picture stands for one second)
//        --HoldElapsed--> running (one Tick every 50 ms: progress 4, 8, ..., 96 draws an
//        effect frame; the 25th tick shows the finished picture) --> idle
//
// Stop during a preview sets the progress to 100, so the next tick ends it at once; a stop
// during the hold lets the hold end and then ends on the first tick. The window owns the two
// timers and shows Shown() after every call that returns true.

#include "effects/TransitionDriver.h"
#include "imaging/Bitmap.h"

namespace velmora::ui {

class TEditPPreview {
public:
    /// Size of the preview surface ImgShow and of PreviewRect.
    static constexpr int Width = 185;
    static constexpr int Height = 153;
    /// The tick timer's interval and the progress added per tick.
    static constexpr int TickMs = 50;
    static constexpr int ProgressStep = 4;
    /// How long the outgoing picture stands before the first frame.
    static constexpr int HoldMs = 1000;

    enum class TPhase { Idle, Holding, Running };

    /// Starts a preview from `outgoing` to `incoming` (both Width x Height) with the effect
    /// of list line `effectLine` (0 picks a random effect when the hold ends). Shown() becomes
    /// the outgoing picture. A preview still finishing is ended first. Throws InvalidArgument
    /// when a picture has the wrong size.
    void Start(const Bitmap& incoming, const Bitmap& outgoing, int effectLine);

    /// The hold is over: resolves the effect (ResolveEffect) and sets the progress to 0, or
    /// keeps 100 when the preview was stopped meanwhile. The tick timer runs from now on.
    void HoldElapsed();

    /// "停止预览": progress 100; the preview is no longer tagged as running, and the next tick
    /// ends it.
    void Stop() noexcept;

    /// One tick of the 50 ms timer: progress + 4; below 100 the effect draws one more frame
    /// onto PreviewOld, otherwise PreviewOld becomes PreviewNew and the preview is idle.
    /// Returns true when there is something new to show; false when no preview was running.
    bool Tick();

    /// Ends a running preview at once (the window closes).
    void Cancel() noexcept;

    TPhase Phase() const noexcept { return FPhase; }
    /// The integer tag of BtnLookXG: true from Start until Stop or the end of the preview
    /// (the button then reads "停止预览").
    bool Tagged() const noexcept { return FTagged; }
    /// Whether the tick timer must run.
    bool TickTimerEnabled() const noexcept { return FPhase == TPhase::Running; }
    /// Whether the one-second hold is under way.
    bool Holding() const noexcept { return FPhase == TPhase::Holding; }
    int Progress() const noexcept { return FProgress; }
    /// The effect drawn (1 .. 105) once the hold is over; 0 before.
    int Effect() const noexcept { return FEffect; }
    /// What ImgShow shows now: PreviewOld (the outgoing picture, then every frame).
    const Bitmap& Shown() const noexcept { return FOld; }
    const Bitmap& PreviewNew() const noexcept { return FNew; }

private:
    Bitmap FNew;
    Bitmap FOld;
    TTransitionDriver FDriver;
    TPhase FPhase = TPhase::Idle;
    bool FTagged = false;
    int FProgress = 0;
    int FEffect = 0;
    int FEffectLine = 0;
};

}  // namespace velmora::ui
