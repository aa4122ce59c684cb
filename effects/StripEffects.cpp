// Bars, criss-cross bands, uneven shreds and speckles: effects that draw the image through a
// region of many rectangles. Each builder has a row pass (pieces spanning rows, growing along
// x) and a column pass (the same with the axes exchanged); one routine per builder serves both
// passes by writing its rectangles through TPieces, which exchanges the axes for the column
// pass and cuts every piece to the frame.

#include "effects/StripEffects.h"

#include <cstdint>
#include <vector>

#include "effects/EffectHelpers.h"
#include "effects/EffectProcs.h"
#include "effects/EffectRandom.h"

namespace velmora {

namespace {

// The rectangles of one region under construction, in frame coordinates.
class TPieces {
public:
    TPieces(int w, int h) : FFrame{0, 0, w, h} {}

    // Adds the rectangle (l, t, r, b) of a pass; a column pass gives it with the axes
    // exchanged (l, r along y and t, b along x).
    void Add(bool columns, int l, int t, int r, int b) {
        const TRect piece = columns ? TRect{t, l, b, r} : TRect{l, t, r, b};
        const TRect cut = Intersect(piece, FFrame);
        if (!cut.IsEmpty()) FRects.push_back(cut);
    }

    Region Build() const { return Region::FromRects(FRects); }

private:
    TRect FFrame;
    std::vector<TRect> FRects;
};

// A draw below n from the shared generator, as a signed number for the formulas.
int Draw(int n) noexcept { return int(RandomBelow(std::uint32_t(Max(n, 0)))); }

// One pass of BandRegion. Bands of height b lie across the 'across' axis every 2b; they grow
// along the 'along' axis by p pixels.
void AddBandPass(TPieces& pieces, bool columns, int p, int along, int across, int snap, int mode,
                 int b) {
    if (b <= 0) return;
    const int step = 2 * b;
    if (p > along) {
        // Second phase: the first set of bands is full, the next one grows by the excess.
        for (int i = b; i < across + b; i += step) {
            pieces.Add(columns, 0, i - b, along, i);
            if (mode == 1 || mode == 4) pieces.Add(columns, 2 * along - p, i, along, i + b);
            if (mode == 2 || mode == 5) pieces.Add(columns, 0, i, p - along, i + b);
        }
        return;
    }
    if (p + snap > along) p = along;
    for (int i = 0; i < across + b; i += step) {
        if (mode == 1 || mode == 5) pieces.Add(columns, along - p, i, along, i + b);
        if (mode == 2 || mode == 4) pieces.Add(columns, 0, i, p, i + b);
        if (mode == 3) {
            pieces.Add(columns, 0, i + b, p, i + step);
            pieces.Add(columns, along - p, i, along, i + b);
        }
    }
}

// One pass of ShredRegion: strips 5 pixels thick across the 'across' axis, each reaching
// H mod 5 pixels into the next, their ends moved by random amounts below a jitter range.
void AddShredPass(TPieces& pieces, bool columns, int p, int along, int across, int mode) {
    if (mode < 1 || mode > 4) return;
    const int jitter = p < along ? along / 7 : 0;
    const int overlap = across % 5;
    for (int off = 0; off < across; off += 5) {
        const int end = off + 5 + overlap;
        const int r1 = Draw(jitter);
        const int r2 = Draw(jitter);
        if (mode == 1) {
            pieces.Add(columns, along - p + r1 - r2, off, along, end);
        } else if (mode == 2) {
            pieces.Add(columns, 0, off, p + r1 - r2, end);
        } else if (mode == 3) {
            const int r3 = Draw(jitter);
            const int r4 = Draw(jitter);
            pieces.Add(columns, (along - p + r1 - r2) / 2, off, along / 2, end);
            pieces.Add(columns, along / 2, off, (along + p + r3 - r4) / 2, end);
        } else {
            const int r3 = Draw(jitter);
            const int r4 = Draw(jitter);
            pieces.Add(columns, along - (p + r1 - r2) / 2, off, along, end);
            pieces.Add(columns, 0, off, (p + r3 - r4) / 2, end);
        }
    }
}

// Joins touching speckle squares of one row into runs, so a row gives a few rectangles.
class TRun {
public:
    TRun(TPieces& pieces, bool columns, int top, int bottom)
        : FPieces(pieces), FColumns(columns), FTop(top), FBottom(bottom) {}
    ~TRun() { Flush(); }
    void Add(int l, int r) {
        if (FLeft < FRight && (l == FRight || r == FLeft)) {
            FLeft = Min(FLeft, l);
            FRight = Max(FRight, r);
            return;
        }
        Flush();
        FLeft = l;
        FRight = r;
    }

private:
    void Flush() {
        if (FLeft < FRight) FPieces.Add(FColumns, FLeft, FTop, FRight, FBottom);
        FLeft = FRight = 0;
    }
    TPieces& FPieces;
    bool FColumns;
    int FTop;
    int FBottom;
    int FLeft = 0;
    int FRight = 0;
};

// One pass of SpeckleRegion: overlapping rows of speckle size s, every s / 2 pixels, each with
// a solid part up to the edge and squares up to depth pixels ahead of it.
void AddSpecklePass(TPieces& pieces, bool columns, int p, int along, int across, int mode) {
    if (mode == 0) return;
    const bool fromFar = mode == 1;
    const int depth = p < along ? along / 10 : 0;
    const int size = Max(depth / 20, 2);
    const int count = depth / size;
    const int nearCount = (3 * depth / size) / 4;
    // The solid parts of all rows overlap and reach past the last row, so together they are
    // one rectangle across the whole frame.
    if (fromFar) {
        pieces.Add(columns, along - p, 0, along, across);
    } else {
        pieces.Add(columns, 0, 0, p, across);
    }
    for (int off = 0; off < across; off += size / 2) {
        TRun run(pieces, columns, off, off + size);
        for (int k = count; k >= 1; --k) {
            // A near square (k <= nearCount) is drawn with chance 2/k, a farther one with 1/k.
            const int near = k <= nearCount ? 1 : 0;
            if (near < Draw(k)) continue;
            if (fromFar) {
                const int x = along - p - k * size;
                run.Add(x, x + size);
            } else {
                const int x = p + k * size;
                run.Add(x - size, x);
            }
        }
    }
}

}  // namespace

Region BandRegion(int xp, int yp, int w, int h, int snap, int hMode, int vMode, int b) {
    TPieces pieces(w, h);
    AddBandPass(pieces, false, xp, w, h, snap, hMode, b);
    AddBandPass(pieces, true, yp, h, w, snap, vMode, b);
    return pieces.Build();
}

Region ShredRegion(int xp, int yp, int w, int h, int hMode, int vMode) {
    TPieces pieces(w, h);
    AddShredPass(pieces, false, xp, w, h, hMode);
    AddShredPass(pieces, true, yp, h, w, vMode);
    return pieces.Build();
}

Region SpeckleRegion(int xp, int yp, int w, int h, int hMode, int vMode) {
    TPieces pieces(w, h);
    AddSpecklePass(pieces, false, xp, w, h, hMode);
    AddSpecklePass(pieces, true, yp, h, w, vMode);
    return pieces.Build();
}

namespace effects {

namespace {

// Bars and criss-cross: progress multipliers (1 or 2, 0 for an unused axis), modes, band height.
struct TBands {
    int XMul, YMul, HMode, VMode, Band;
};

void DrawBands(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p, TBands s) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    ClipDraw(
        display,
        BandRegion(s.XMul * m.X, s.YMul * m.Y, m.W, m.H, m.Divisions, s.HMode, s.VMode, s.Band),
        image);
}

void DrawShreds(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p, int hMode,
                int vMode) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    // An unused axis gets progress 0.
    const int xp = hMode != 0 ? m.X : 0;
    const int yp = vMode != 0 ? m.Y : 0;
    ClipDraw(display, ShredRegion(xp, yp, m.W, m.H, hMode, vMode), image);
}

void DrawSpeckles(Bitmap& display, const Bitmap& image, const TRect& r, int g, int p, int hMode,
                  int vMode) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    ClipDraw(display, SpeckleRegion(m.X, m.Y, m.W, m.H, hMode, vMode), image);
}

}  // namespace

void BarsInFromRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {2, 0, 1, 0, 10});
}
void BarsInFromLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {2, 0, 2, 0, 10});
}
void BarsLeftThenRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {2, 0, 4, 0, 10});
}
void BarsRightThenLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {2, 0, 5, 0, 10});
}
void BarsFromBottom(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {0, 2, 0, 1, 10});
}
void BarsBottomThenTop(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {0, 2, 0, 5, 10});
}
void CrissCrossRevealFromBottomRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {2, 2, 1, 1, 20});
}
void CrissCrossRevealFromTopRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {2, 2, 1, 2, 20});
}
void CrissCrossRevealBounceFromBottomLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g,
                                          int p) {
    DrawBands(d, i, r, g, p, {2, 2, 4, 5, 20});
}
void CrissCrossRevealBounceFromBottomRight(Bitmap& d, const Bitmap& i, const TRect& r, int g,
                                           int p) {
    DrawBands(d, i, r, g, p, {2, 2, 5, 5, 20});
}
void CrissCrossRevealFromRightTopAndBottom(Bitmap& d, const Bitmap& i, const TRect& r, int g,
                                           int p) {
    DrawBands(d, i, r, g, p, {1, 1, 1, 3, 20});
}
void CrissCrossRevealFromLeftTopAndBottom(Bitmap& d, const Bitmap& i, const TRect& r, int g,
                                          int p) {
    DrawBands(d, i, r, g, p, {1, 1, 2, 3, 20});
}
void CrissCrossRevealFromLeftRightAndBottom(Bitmap& d, const Bitmap& i, const TRect& r, int g,
                                            int p) {
    DrawBands(d, i, r, g, p, {1, 1, 3, 1, 20});
}
void CrissCrossRevealFromLeftRightAndTop(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawBands(d, i, r, g, p, {1, 1, 3, 2, 20});
}

void UnevenShredFromRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 1, 0);
}
void UnevenShredFromLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 2, 0);
}
void UnevenShredOutFromMiddleHoriz(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 3, 0);
}
void UnevenShredInToMiddleHoriz(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 4, 0);
}
void UnevenShredFromBottom(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 0, 1);
}
void UnevenShredFromTop(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 0, 2);
}
void UnevenShredFromHorizon(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 0, 3);
}
void UnevenShredInToHorizon(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 0, 4);
}
void UnevenShredFromBottomAndRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 1, 1);
}
void UnevenShredFromTopAndRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 1, 2);
}
void UnevenShredFromBottomAndLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 2, 1);
}
void UnevenShredFromHorizAndRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 1, 3);
}
void UnevenShredFromHorizAndLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 2, 3);
}
void UnevenShredFromBottomAndVertMiddle(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 3, 1);
}
void UnevenShredFromTopAndVertMiddle(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 3, 2);
}
void UnevenShredFromCentre(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 3, 3);
}
void UnevenShredToCentre(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawShreds(d, i, r, g, p, 4, 4);
}

void SpeckleAppearFromRight(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawSpeckles(d, i, r, g, p, 1, 0);
}
void SpeckleAppearFromLeft(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawSpeckles(d, i, r, g, p, 2, 0);
}
void SpeckleAppearFromBottom(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawSpeckles(d, i, r, g, p, 0, 1);
}
void SpeckleAppearFromTop(Bitmap& d, const Bitmap& i, const TRect& r, int g, int p) {
    DrawSpeckles(d, i, r, g, p, 0, 2);
}

void CrissCrossRevealFromBottomLeftTopRight(Bitmap& display, const Bitmap& image, const TRect& r,
                                            int g, int p) {
    const TFrameMetrics m = FrameMetrics(r, p, g);
    Region region = BandRegion(2 * m.X, 2 * m.Y, m.W, m.H, m.Divisions, 1, 1, 20);
    region &= BandRegion(2 * m.X, 2 * m.Y, m.W, m.H, m.Divisions, 2, 2, 20);
    ClipDraw(display, region, image);
}

}  // namespace effects

}  // namespace velmora
