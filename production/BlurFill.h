#pragma once
// The blurred fill: the space around a fitted picture filled with the picture itself, scaled
// to cover the whole frame, blurred strongly and slightly darkened (the common look for
// portrait photos on wide screens). The fill is made at a small size first (an eighth of the
// frame) and blurred there, so it costs a few milliseconds even for a 24-megapixel photo.

#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"

namespace velmora {

/// Brightness of the fill relative to the picture, in 256ths (3/4).
constexpr int BlurFillBrightness = 192;

/// fill (resized to width x height) receives the blurred fill of picture: the picture scaled
/// to cover the frame with its aspect kept (the overflow cut evenly on both sides), averaged
/// down to an eighth of the frame, blurred by a box filter run three times (close to a
/// Gaussian of a twentieth of the frame's width), scaled back up bilinearly and darkened. An
/// empty picture or size leaves fill empty.
void MakeBlurredFill(const Bitmap& picture, int width, int height, Bitmap& fill);

/// Writes every pixel of frame as a 3 x 3 block of canvas (3 x frame's size), except inside
/// the rectangle keep of the canvas, which is left as it is.
void ExpandBy3Around(const Bitmap& frame, Bitmap& canvas, const TRect& keep) noexcept;

}  // namespace velmora
