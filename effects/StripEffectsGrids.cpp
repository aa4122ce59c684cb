// Blinds and the grid shreds: slats that widen side by side, and a grid of rectangles or right
// triangles that grow about the grid points. All three divide the frame by the frame's
// Divisions, which is 0 for frames whose longer side is under 9 pixels; such frames are
// treated as one division, so a tiny frame still shows its transition instead of dividing by
// zero.

#include <vector>

#include "effects/EffectHelpers.h"
#include "effects/EffectProcs.h"

namespace velmora::effects {

namespace {

// Grid cells per side of the grid shreds: half the divisions, or the divisions when there are
// fewer than two.
int GridCount(int divisions) noexcept { return divisions > 1 ? divisions / 2 : divisions; }

// Slats side by side, each a first slat moved by whole slat widths. The slat width is at least
// one pixel, so a frame far narrower across the slats than along them still ends the loop.
Region SlatRegion(const TRect& first, int slat, int limit, bool vertical) {
    std::vector<TRect> slats;
    TRect piece = first;
    while ((vertical ? piece.Left : piece.Top) < limit) {
        slats.push_back(piece);
        if (vertical) {
            piece.Left += slat;
            piece.Right += slat;
        } else {
            piece.Top += slat;
            piece.Bottom += slat;
        }
    }
    return Region::FromRects(slats);
}

}  // namespace

void BlindVertically(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    const int slat = Max(m.W / Max(m.Divisions, 1), 1);
    const TRect first{r.Left, r.Top, slat * p / 100, r.Bottom};
    ClipDraw(display, SlatRegion(first, slat, m.W, true), image);
}

void BlindHorizontally(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    const int slat = Max(m.H / Max(m.Divisions, 1), 1);
    const TRect first{r.Left, r.Top, r.Right, slat * p / 100};
    ClipDraw(display, SlatRegion(first, slat, m.H, false), image);
}

void RectangularShred(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    const int divisions = Max(m.Divisions, 1);
    const int halfW = m.X / divisions;
    const int halfH = m.Y / divisions;
    const int n = GridCount(divisions);
    const int cellW = m.W / n;
    const int cellH = m.H / n;
    const TRect frame{0, 0, m.W, m.H};
    std::vector<TRect> rects;
    rects.reserve(std::size_t(n + 1) * std::size_t(n + 1));
    for (int i = n; i >= 0; --i) {
        for (int j = n; j >= 0; --j) {
            const TRect cell{j * cellW - halfW, i * cellH - halfH, j * cellW + halfW,
                             i * cellH + halfH};
            const TRect cut = Intersect(cell, frame);
            if (!cut.IsEmpty()) rects.push_back(cut);
        }
    }
    ClipDraw(display, Region::FromRects(rects), image);
}

void TriangularShredToTopLeft(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    const int n = GridCount(Max(m.Divisions, 1));
    const int legX = m.X / n;
    const int legY = m.Y / n;
    const int cellW = m.W / n;
    const int cellH = m.H / n;
    // Every triangle has the same shape, so it is scan-converted once about grid point (0, 0)
    // and its rows are stamped at every grid point: a whole-pixel move of a shape moves its
    // pixels by the same amount.
    const Region shape = TriangleRegion(-legX, -legY, legX, -legY, -legX, legY);
    const std::vector<TRect> rows = shape.Rects();
    const TRect frame{0, 0, m.W, m.H};
    std::vector<TRect> rects;
    rects.reserve(rows.size() * std::size_t(n + 1) * std::size_t(n + 1));
    for (int i = 0; i <= n; ++i) {
        for (const TRect& row : rows) {
            const int top = row.Top + i * cellH;
            const int bottom = row.Bottom + i * cellH;
            if (bottom <= 0 || top >= m.H) continue;
            if (row.Width() >= cellW) {
                // Rows at least a cell wide touch or overlap their neighbours: one piece.
                rects.push_back(Intersect({row.Left, top, row.Right + n * cellW, bottom}, frame));
                continue;
            }
            for (int j = 0; j <= n; ++j) {
                const TRect placed{row.Left + j * cellW, top, row.Right + j * cellW, bottom};
                const TRect cut = Intersect(placed, frame);
                if (!cut.IsEmpty()) rects.push_back(cut);
            }
        }
    }
    ClipDraw(display, Region::FromRects(rects), image);
}

}  // namespace velmora::effects
