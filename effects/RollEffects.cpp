// Unrolls, build-ups and pushes: the revealed part copied flat next to a moving edge, with a
// mirrored roll, a stretched strip of the image, or the previous frame pushed aside.

#include "effects/EffectHelpers.h"
#include "effects/EffectProcs.h"

namespace velmora::effects {

namespace {

// Width of the roll at progress p pixels along an axis of length l: it grows with the
// progress during the first fifth, shrinks during the last fifth and is l / 10 between.
int RollWidth(int p, int l) noexcept {
    if (p < l / 5) return p / 2;
    if (p + l / 5 > l) return (l - p) / 2;
    return l / 10;
}

// Thickness of the stretched strip of a build-up: the axis length over the divisions. Frames
// whose longer side is below 9 pixels have 0 divisions; they count as one division there, so
// the strip is the whole axis instead of a division by zero.
int StripThickness(int l, int divisions) noexcept { return l / Max(divisions, 1); }

void Same(Bitmap& display, const Bitmap& image, const TRect& rect) {
    CopyRect(display, rect, image, rect);
}

}  // namespace

// Unrolls: the roll first, then the flat part.

void UnrollFromLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int roll = RollWidth(X, W);
    StretchMirror(display, {X, r.Top, X + roll, r.Bottom}, image,
                  {X + roll, r.Top, X + 2 * roll, r.Bottom}, true, false);
    Same(display, image, {0, r.Top, X, r.Bottom});
}

void UnrollFromRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int roll = RollWidth(X, W);
    const int e = W - X;
    StretchMirror(display, {e - roll, r.Top, e, r.Bottom}, image,
                  {e - 2 * roll, r.Top, e - roll, r.Bottom}, true, false);
    Same(display, image, {W - X, r.Top, W, r.Bottom});
}

void UnrollFromTop(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int roll = RollWidth(Y, H);
    StretchMirror(display, {r.Left, Y, r.Right, Y + roll}, image,
                  {r.Left, Y + roll, r.Right, Y + 2 * roll}, false, true);
    Same(display, image, {r.Left, 0, r.Right, Y});
}

void UnrollFromBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int roll = RollWidth(Y, H);
    const int e = H - Y;
    StretchMirror(display, {r.Left, e - roll, r.Right, e}, image,
                  {r.Left, e - 2 * roll, r.Right, e - roll}, false, true);
    Same(display, image, {r.Left, H - Y, r.Right, H});
}

// Build-ups: the flat part, then the rest of the frame filled with the strip beyond the edge.

void BuildUpFromRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, r.Top, X, r.Bottom});
    CopyRect(display, {X, r.Top, W, r.Bottom}, image,
             {X, r.Top, Min(X + StripThickness(W, n), W), r.Bottom});
}

void BuildUpFromLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {W - X, r.Top, W, r.Bottom});
    CopyRect(display, {0, r.Top, W - X, r.Bottom}, image,
             {Max(W - X - StripThickness(W, n), 0), r.Top, W - X, r.Bottom});
}

void ExpandFromBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {r.Left, 0, r.Right, Y});
    CopyRect(display, {r.Left, Y, r.Right, H}, image,
             {r.Left, Y, r.Right, Min(Y + StripThickness(H, n), H)});
}

void ExpandInFromTopBuildUp(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {r.Left, H - Y, r.Right, H});
    CopyRect(display, {r.Left, 0, r.Right, H - Y}, image,
             {r.Left, Max(H - Y - StripThickness(H, n), 0), r.Right, H - Y});
}

// Pushes: the display's own content moved by the current offset, then the opened edge filled
// with the matching end of the image.

void PushRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    CopyRect(display, {X, r.Top, W, r.Bottom}, display, {0, r.Top, W - X, r.Bottom});
    CopyRect(display, {0, r.Top, X, r.Bottom}, image, {W - X, r.Top, W, r.Bottom});
}

void PushLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    CopyRect(display, {0, r.Top, W - X, r.Bottom}, display, {X, r.Top, W, r.Bottom});
    CopyRect(display, {W - X, r.Top, W, r.Bottom}, image, {0, r.Top, X, r.Bottom});
}

void PushDown(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    CopyRect(display, {r.Left, Y, r.Right, H}, display, {r.Left, 0, r.Right, H - Y});
    CopyRect(display, {r.Left, 0, r.Right, Y}, image, {r.Left, H - Y, r.Right, H});
}

void PushUp(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    CopyRect(display, {r.Left, 0, r.Right, H - Y}, display, {r.Left, Y, r.Right, H});
    CopyRect(display, {r.Left, H - Y, r.Right, H}, image, {r.Left, 0, r.Right, Y});
}

}  // namespace velmora::effects
