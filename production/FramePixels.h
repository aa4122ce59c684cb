#pragma once
// The pixel work of frame composition on 24-bit bitmaps: fitting a picture into the composition
// canvas, the nearest-pixel stretch, the 3 x 3 box reduction and the in-place softening of the
// fade option. Each works directly on the rows, with integer arithmetic only.

#include "effects/Geometry.h"
#include "imaging/Bitmap.h"

namespace velmora {

/// Where a pw x ph picture goes on a canvasWidth x canvasHeight canvas, aspect kept: when the
/// canvas ratio is at least the picture's, the picture takes the full height and its width is
/// pw x canvasHeight div ph, otherwise the full width and height ph x canvasWidth div pw. The
/// margins are (canvas - size) div 2 and the rectangle runs from the margins to canvas - margins,
/// so an odd margin makes it one pixel larger than the fitted size. pw, ph > 0.
TRect FitPicture(int canvasWidth, int canvasHeight, int pw, int ph) noexcept;

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
