// Shape effects: the image is drawn through one growing shape, or a union of a few: curved
// fronts (rounded rectangles far larger than the frame, so only one curved side crosses it),
// ellipses, corner triangles, sweeping diagonals, a starburst, a clock-hand sweep and a
// rotating rectangle or star.

#include <array>
#include <cmath>
#include <numbers>

#include "effects/EffectHelpers.h"
#include "effects/EffectProcs.h"

namespace velmora::effects {

namespace {

void Draw(Bitmap& display, const Bitmap& image, const Region& region) {
    ClipDraw(display, region, image);
}

// Tri((x1, y1), (x2, y2), (x3, y3)).
Region Tri(int x1, int y1, int x2, int y2, int x3, int y3) {
    return TriangleRegion(x1, y1, x2, y2, x3, y3);
}

// One clock-hand sweep: a pie slice about the centre from straight up, turning by progress
// times 3.6 degrees in the given direction (+1 clockwise, -1 anticlockwise), with one arc
// vertex per percent. The radius reaches the frame's corners.
void Sweep(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p, int direction) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    const int cx = m.W / 2;
    const int cy = m.H / 2;
    const double reach = std::sqrt(double(cx) * cx + double(cy) * cy);
    const int radius = int(std::ceil(reach));
    const double a = -std::numbers::pi / 2;
    const double b = a + direction * p * std::numbers::pi / 50;
    Draw(display, image, SectorRegion(cx, cy, radius, a, b, p));
}

// A polygon centred on the frame, turned clockwise by progress times 3.6 degrees.
template <std::size_t N>
void Rotating(Bitmap& display, const Bitmap& image, int p, std::array<TPoint, N> points, int cx,
              int cy) {
    RotatePoints(points, cx, cy, p * std::numbers::pi / 50);
    Draw(display, image, Region::Polygon(points));
}

}  // namespace

// Curved fronts.

void CurvedRevealFromLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(-2 * W, -5, 2 * X, H + 5, 2 * W, 2 * W));
}

void CurvedRevealFromRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(W - 2 * X, -5, 3 * W, H + 5, 2 * W, 2 * W));
}

void CurvedRevealFromTop(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(-5, -2 * H, W + 5, 2 * Y, 2 * H, 2 * H));
}

void CurvedRevealFromBottom(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(-5, H - 2 * Y, W + 5, 3 * H, 2 * H, 2 * H));
}

void CurvedRevealFromTopLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(-2 * W, -2 * H, 2 * X, 2 * Y, 2 * W, 2 * H));
}

void CurvedRevealFromTopRight(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(W - 2 * X, -2 * H, 3 * W, 2 * Y, 2 * W, 2 * H));
}

void CurvedRevealFromBottomLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Region::RoundRect(-2 * W, H - 2 * Y, 2 * X, 3 * H, 2 * W, 2 * H));
}

void CurvedRevealFromBottomRight(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                 int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    // This corner is rounded by a 2H x 2H ellipse, the other three by 2W x 2H.
    Draw(display, image, Region::RoundRect(W - 2 * X, H - 2 * Y, 3 * W, 3 * H, 2 * H, 2 * H));
}

// Ellipses.

void CircularRevealFromCentre(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image,
         Region::RoundRect(W / 2 - X, H / 2 - Y, W / 2 + X, H / 2 + Y, 9 * X / 5, 9 * Y / 5));
}

void CircularRevealToCentre(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    // The image shows outside a rounded hole that closes on the centre.
    Region region(r);
    region ^= Region::RoundRect(X - W / 2, Y - H / 2, 3 * W / 2 - X, 3 * H / 2 - Y, (W - X) * 9 / 5,
                                (H - Y) * 9 / 5);
    Draw(display, image, region);
}

// Corner triangles.

void RevealDiagonalFromTopLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Tri(0, 0, 2 * X, 0, 0, 2 * Y));
}

void RevealDiagonalFromTopRight(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Tri(W, 0, W - 2 * X, 0, W, 2 * Y));
}

void RevealDiagonalFromBottomLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                  int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Tri(0, H, 2 * X, H, 0, H - 2 * Y));
}

void RevealDiagonalFromBottomRight(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                   int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Draw(display, image, Tri(W, H, W - 2 * X, H, W, H - 2 * Y));
}

// Diagonal sweeps: two triangles hinged at opposite corners.

void DiagonalSweepAnticlockwise(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Region region = Tri(0, H, 0, 0, X, H);
    region |= Tri(W, H, W, 0, W - X, 0);
    Draw(display, image, region);
}

void DiagonalSweepClockwise(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    Region region = Tri(W, 0, 0, 0, W, Y);
    region |= Tri(W, H, 0, H, 0, H - Y);
    Draw(display, image, region);
}

// Starburst: four triangles from the centre, each sweeping one edge clockwise.

void StarburstClockwiseFromCenter(Bitmap& display, const Bitmap& image, const TRect& r, int g,
                                  int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int cx = W / 2;
    const int cy = H / 2;
    Region region = Tri(cx, cy, 0, H, 0, H - Y);
    region |= Tri(0, 0, X, 0, cx, cy);
    region |= Tri(W - X, H, cx, cy, W, H);
    region |= Tri(cx, cy, W, 0, W, Y);
    Draw(display, image, region);
}

// Clock-hand sweeps.

void SweepClockwise(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    Sweep(display, image, r, g, p, +1);
}

void SweepAnticlockwise(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    Sweep(display, image, r, g, p, -1);
}

// Rotating shapes: one clockwise turn over the transition.

void RotationalRectangle(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int cx = W / 2;
    const int cy = H / 2;
    const int dx = X / 2;
    const int dy = Y / 2;
    Rotating<4>(display, image, p,
                {{{cx - dx, cy - dy}, {cx + dx, cy - dy}, {cx + dx, cy + dy}, {cx - dx, cy + dy}}},
                cx, cy);
}

void RotationalStar(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const auto [W, H, X, Y, n] = FrameMetrics(r, p, g);
    const int cx = W / 2;
    const int cy = H / 2;
    // Tips at twice the progress, inner corners at half of it.
    const int dx = X / 2;
    const int dy = Y / 2;
    Rotating<8>(display, image, p,
                {{{cx - 2 * X, cy},
                  {cx - dx, cy - dy},
                  {cx, cy - 2 * Y},
                  {cx + dx, cy - dy},
                  {cx + 2 * X, cy},
                  {cx + dx, cy + dy},
                  {cx, cy + 2 * Y},
                  {cx - dx, cy + dy}}},
                cx, cy);
}

}  // namespace velmora::effects
