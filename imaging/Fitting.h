#pragma once
// Fitting a picture into a box while keeping its aspect: the geometry of the main window's
// preview control, of the letterboxed drawing the picture editor uses and of the pictures on
// the production's composition canvas, each with its own exact rounding, and the drawing.

#include <optional>
#include <string>

#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"
#include "imaging/MessageSink.h"

namespace velmora {

/// Place and size of an image control that stretches a pictureWidth x pictureHeight picture
/// inside a boxWidth x boxHeight box: sides by integer division (truncated), offsets rounded
/// to nearest with halves to even. None when the picture has a side below 1 (nothing to do).
std::optional<TRect> FitImageControl(int pictureWidth, int pictureHeight, int boxWidth,
                                     int boxHeight) noexcept;

/// Where DrawPictureFitted draws a w x h picture on a controlWidth x controlHeight control:
/// the scaled side rounded to nearest (halves to even), offsets halved and truncated. An
/// empty rectangle for a picture with a side below 1.
TRect FittedPictureRect(int pictureWidth, int pictureHeight, int controlWidth,
                        int controlHeight) noexcept;

/// Where a pw x ph picture goes on a canvasWidth x canvasHeight canvas, aspect kept: when the
/// canvas ratio is at least the picture's, the picture takes the full height and its width is
/// pw x canvasHeight div ph, otherwise the full width and height ph x canvasWidth div pw. The
/// margins are (canvas - size) div 2 and the rectangle runs from the margins to canvas - margins,
/// so an odd margin makes it one pixel larger than the fitted size. pw, ph > 0.
TRect FitPicture(int canvasWidth, int canvasHeight, int pw, int ph) noexcept;

/// Draws source stretched into rect of dest (clipped to dest), filtered smoothly.
void StretchDraw(const Bitmap& source, Bitmap& dest, const TRect& rect);

/// Fills canvas black and draws picture letterboxed into it (canvas keeps its size).
void DrawPictureFitted(const Bitmap& picture, Bitmap& canvas);

/// Decodes path with LoadPictureToBitmap and draws it letterboxed; a file that decodes to
/// nothing leaves the canvas black.
void DrawPictureFitted(const std::string& path, Bitmap& canvas, const MessageSink& messages);

}  // namespace velmora
