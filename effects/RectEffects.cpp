// Blend, slides, reveals, zooms and the quarter slide: one to four rectangle copies from the
// image into the display per frame. Coordinates that a formula leaves alone come from the
// frame rectangle r (its Top and Bottom for the horizontal effects, Left and Right for the
// vertical ones); all others are measured from 0 with the frame's width and height.

#include "effects/EffectHelpers.h"
#include "effects/EffectProcs.h"

namespace velmora::effects {

namespace {

// A copy of image rectangle s into display rectangle d.
void Put(Bitmap& display, const Bitmap& image, const TRect& d, const TRect& s) {
    CopyRect(display, d, image, s);
}

// A plain copy of image rectangle rect into the same place of the display.
void Same(Bitmap& display, const Bitmap& image, const TRect& rect) {
    CopyRect(display, rect, image, rect);
}

}  // namespace

void Fade(Bitmap& display, const Bitmap& image, const TRect&, int, int progress) {
    BlendBitmaps(display, image, progress);
}

// Horizontal slides, reveals and zooms.

void SlideInFromRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {W - X, r.Top, 2 * W - X, r.Bottom}, {0, r.Top, W, r.Bottom});
}

void SlideInFromLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {X - W, r.Top, X, r.Bottom}, {0, r.Top, W, r.Bottom});
}

void RevealFromLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, r.Top, X, r.Bottom});
}

void RevealFromRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {W - X, r.Top, W, r.Bottom});
}

void ExpandInFromRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {0, r.Top, 2 * W - X, r.Bottom}, {0, r.Top, X, r.Bottom});
}

void ExpandInFromLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {X - W, r.Top, W, r.Bottom}, {W - X, r.Top, W, r.Bottom});
}

void ExpandInToMiddle(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {X - W, r.Top, 2 * W - X, r.Bottom},
        {(W - X) / 2, r.Top, (W + X) / 2, r.Bottom});
}

void RevealOutFromMiddle(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {(W - X) / 2, r.Top, (W + X) / 2, r.Bottom});
}

void RevealInFromSides(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, r.Top, X / 2 + 1, r.Bottom});
    Same(display, image, {W - X / 2 - 1, r.Top, W, r.Bottom});
}

// Vertical slides, reveals and zooms.

void SlideInFromBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {r.Left, H - Y, r.Right, 2 * H - Y}, {r.Left, 0, r.Right, H});
}

void SlideInFromTop(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {r.Left, Y - H, r.Right, Y}, {r.Left, 0, r.Right, H});
}

void RevealFromTop(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {r.Left, 0, r.Right, Y});
}

void RevealFromBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {r.Left, H - Y, r.Right, H});
}

void ExpandInFromBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {r.Left, 0, r.Right, 2 * H - Y}, {r.Left, 0, r.Right, Y});
}

void ExpandInFromTop(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {r.Left, Y - H, r.Right, H}, {r.Left, H - Y, r.Right, H});
}

void ExpandInToMiddleHoriz(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {r.Left, Y - H, r.Right, 2 * H - Y},
        {r.Left, (H - Y) / 2, r.Right, (H + Y) / 2});
}

void RevealFromMiddleHoriz(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {r.Left, (H - Y) / 2, r.Right, (H + Y) / 2});
}

void SlideInFromTopBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {r.Left, 0, r.Right, Y / 2 + 1});
    Same(display, image, {r.Left, H - Y / 2 - 1, r.Right, H});
}

// Corner and centre reveals and zooms.

void RevealFromTopLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, 0, X, Y});
}

void RevealFromBottomLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, H - Y, X, H});
}

void RevealFromBottomRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {W - X, H - Y, W, H});
}

void RevealFromTopRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {W - X, 0, W, Y});
}

void AppearAndContractToTopLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {0, 0, 2 * W - X, 2 * H - Y}, {0, 0, X, Y});
}

void AppearAndContractToBottomLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                   int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {0, Y - H, 2 * W - X, H}, {0, H - Y, X, H});
}

void AppearAndContractToBottomRight(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                    int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {X - W, Y - H, W, H}, {W - X, H - Y, W, H});
}

void AppearAndContractToTopRight(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                 int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {X - W, 0, W, 2 * H - Y}, {W - X, 0, W, Y});
}

void AppearAndContractToMiddle(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Put(display, image, {X - W, Y - H, 2 * W - X, 2 * H - Y},
        {(W - X) / 2, (H - Y) / 2, (W + X) / 2, (H + Y) / 2});
}

void RevealOutFromCentre(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {(W - X) / 2, (H - Y) / 2, (W + X) / 2, (H + Y) / 2});
}

void RevealInToCentre(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, 0, W, Y / 2});
    Same(display, image, {0, H - Y / 2, W, H});
    Same(display, image, {0, 0, X / 2, H});
    Same(display, image, {W - X / 2, 0, W, H});
}

void QuartersRevealInToMiddle(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Same(display, image, {0, 0, X / 2 + 1, Y / 2 + 1});
    Same(display, image, {0, H - Y / 2 - 1, X / 2 + 1, H});
    Same(display, image, {W - X / 2 - 1, H - Y / 2 - 1, W, H});
    Same(display, image, {W - X / 2 - 1, 0, W, Y / 2 + 1});
}

void QuartersSlideInToMiddle(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    // Clockwise: top left from the left, top right from the top, bottom right from the right,
    // bottom left from the bottom.
    Put(display, image, {(X - W) / 2, 0, X / 2 + 1, H / 2 + 1}, {0, 0, W / 2 + 1, H / 2 + 1});
    Put(display, image, {W / 2 - 1, (Y - H) / 2, W, Y / 2 + 1}, {W / 2 - 1, 0, W, H / 2 + 1});
    Put(display, image, {W - X / 2, H / 2 - 1, W + (W - X) / 2, H}, {W / 2 + 1, H / 2 - 1, W, H});
    Put(display, image, {0, H - Y / 2, W / 2 + 1, H + (H - Y) / 2}, {0, H / 2 + 1, W / 2 + 1, H});
}

}  // namespace velmora::effects
