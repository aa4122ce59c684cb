#pragma once
// Fitting a picture into a box while keeping its aspect: the geometry of the main window's
// preview control and of the letterboxed drawing the picture editor uses, with their exact
// rounding, and the drawing itself.

#include <optional>
#include <string>

#include "imaging/Bitmap.h"
#include "imaging/MessageSink.h"

namespace velmora {

/// A rectangle: left, top, width, height.
struct TFitRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TFitRect&) const = default;
};

/// Place and size of an image control that stretches a pictureWidth x pictureHeight picture
/// inside a boxWidth x boxHeight box: sides by integer division (truncated), offsets rounded
/// to nearest with halves to even. None when the picture has a side below 1 (nothing to do).
std::optional<TFitRect> FitImageControl(int pictureWidth, int pictureHeight, int boxWidth,
                                        int boxHeight) noexcept;

/// Where DrawPictureFitted draws a w x h picture on a controlWidth x controlHeight control:
/// the scaled side rounded to nearest (halves to even), offsets halved and truncated. An
/// empty rectangle for a picture with a side below 1.
TFitRect FittedPictureRect(int pictureWidth, int pictureHeight, int controlWidth,
                           int controlHeight) noexcept;

/// Draws source stretched into rect of dest (clipped to dest), filtered smoothly.
void StretchDraw(const Bitmap& source, Bitmap& dest, const TFitRect& rect);

/// Fills canvas black and draws picture letterboxed into it (canvas keeps its size).
void DrawPictureFitted(const Bitmap& picture, Bitmap& canvas);

/// Decodes path with LoadPictureToBitmap and draws it letterboxed; a file that decodes to
/// nothing leaves the canvas black.
void DrawPictureFitted(const std::string& path, Bitmap& canvas, const MessageSink& messages);

}  // namespace velmora
