#pragma once
// The shared geometry and drawing helpers that every effect family is built from: frame
// metrics, the whole-number arithmetic of the effect formulas, the blend, the stretch copies,
// the clipped draw and the region shapes.

#include <cstdint>
#include <span>

#include "effects/Region.h"
#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"

namespace velmora {

/// Frame metrics of one effect call: the frame's width and height, the horizontal and vertical
/// progress in pixels and the number of divisions of the banded and gridded effects.
struct TFrameMetrics {
    int W = 0;
    int H = 0;
    int X = 0;
    int Y = 0;
    int Divisions = 0;
    friend bool operator==(const TFrameMetrics&, const TFrameMetrics&) = default;
};

/// a x b / c with a 64-bit intermediate, rounded to the nearest whole number with halves away
/// from zero. A divisor of 0 gives 0 (a frame of no pixels has no progress).
int MulDiv(int a, int b, int c) noexcept;

/// The nearest whole number, halves to the even number (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int Round(double value) noexcept;

/// The metrics of frame rectangle r at progress percent: the longer side moves by exact
/// percent steps (MulDiv(side, progress, 100)), the shorter one follows in proportion, and
/// Divisions = MulDiv(longer side, granularity, 90).
TFrameMetrics FrameMetrics(const TRect& r, int progress, int granularity) noexcept;

/// Mixes the image into the display, p percent of the image (0 to 100): for every colour
/// byte, display = (display x (100 - p) + image x p) / 100. The loop covers the image's size
/// (limited to the display's).
void BlendBitmaps(Bitmap& display, const Bitmap& image, int p) noexcept;

/// Copies rectangle s of the source into rectangle d of the display, scaling each axis by
/// nearest pixel (destination pixel centres sampled in the source) when the sizes differ. A
/// negative width or height of d draws that axis mirrored: d = (l, t, r, b) with r < l covers
/// the columns r <= x < l, the first source column landing in column l - 1. Destination pixels
/// outside the display, or whose source pixel lies outside the source, are left unchanged; a
/// zero-sized s or d draws nothing. The source may be the display itself: the result is as if
/// the whole of s had been read before anything was written.
void CopyRect(Bitmap& display, const TRect& d, const Bitmap& source, const TRect& s);

/// CopyRect with optional mirroring: s is first limited to the source bitmap; mirrorX replaces
/// d's Left and Right by (Right + 1, Left - 1), so the copy runs right to left and covers one
/// extra column on each side (Left - 1 to Right); mirrorY does the same with Top and Bottom.
void StretchMirror(Bitmap& display, TRect d, const Bitmap& source, TRect s, bool mirrorX,
                   bool mirrorY);

/// Draws the whole image at (0, 0), unscaled, onto the display where the region allows; an
/// empty region leaves the display unchanged. Only pixels inside both bitmaps are touched.
void ClipDraw(Bitmap& display, const Region& region, const Bitmap& image) noexcept;

/// The polygon region of the triangle through the three points.
Region TriangleRegion(int x1, int y1, int x2, int y2, int x3, int y3);

/// The pie slice from angle a towards angle b (radians, y down, so a growing angle turns
/// clockwise): the polygon of (cx, cy) and the n arc points (cx + Round(radius x cos t),
/// cy + Round(radius x sin t)) for t = a + k x (b - a) / n, k = 0 .. n - 1. Empty when n < 1.
Region SectorRegion(int cx, int cy, int radius, double a, double b, int n);

/// Turns every point about (cx, cy) by angle radians (clockwise on the y-down screen):
/// x = cx + Round(dx cos - dy sin), y = cy + Round(dx sin + dy cos).
void RotatePoints(std::span<TPoint> points, int cx, int cy, double angle) noexcept;

/// The smaller of two whole numbers.
constexpr int Min(int a, int b) noexcept { return a < b ? a : b; }
/// The larger of two whole numbers.
constexpr int Max(int a, int b) noexcept { return a > b ? a : b; }

}  // namespace velmora
