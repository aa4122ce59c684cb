#pragma once
// The pixel work of frame composition on 24-bit bitmaps: the nearest-pixel stretch, the 3 x 3
// box reduction and the in-place softening of the fade option. Each works directly on the rows,
// with integer arithmetic only. Where a picture goes on the canvas is FitPicture
// (imaging/Fitting.h).

#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"

namespace velmora {

/// Stretches the whole of src into rectangle to of dst with nearest-pixel sampling (each target
/// pixel takes the source pixel under its centre). Parts outside dst are clipped; an empty
/// source or rectangle draws nothing.
void StretchBitmap(const Bitmap& src, Bitmap& dst, const TRect& to) noexcept;

/// dest (W x H) receives the 3 x 3 box reduction of canvas (at least 3W x 3H): each channel of
/// pixel (x, y) is the sum over canvas pixels (3x + i, 3y + j), i, j in 0..2, divided by 9 with
/// truncation.
void ReduceBy3(const Bitmap& canvas, Bitmap& dest) noexcept;

/// Softens a bitmap in place: rows 1 to H - 2 from the top, in each the columns 1 to W - 2 from
/// the left, every channel becomes the truncated mean of its 3 x 3 neighbourhood as the bitmap
/// holds it at that moment (the row above and the pixel to the left already softened). The
/// outermost rows and columns are not changed.
void BlurBitmap(Bitmap& bitmap);

}  // namespace velmora
