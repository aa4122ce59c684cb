#pragma once
// Text overlay of the media conversion layer: a text style (font face by name, size in pixels,
// colours, outline, shadow) drawn into 24-bit images. The calls are a thin layer over the
// program's one text renderer (imaging/TextRenderer.h): faces that lack a character of the text
// are replaced so no text shows boxes, and rasterised texts are cached in the style, so a title
// drawn on many frames is rendered once.
//
// Typical use:
//     MclTextHandle t = MclTextCreate();
//     MclTextSetFont(*t, "宋体", 24, 1, 1);
//     MclTextSetColor(*t, MclRGB(255, 255, 0), MclRGB(0, 0, 0), 8421504, -1);
//     MclTextShadow(*t, 2, 1, 1);
//     MclImgText(frame, *t, 10, 250, "春天 Spring");
//     MclTextFree(t);

#include <memory>
#include <string>

#include "imaging/Bitmap.h"
#include "imaging/TextRenderer.h"

namespace velmora {

class TMclText;

struct TMclTextDeleter {
    void operator()(TMclText* t) const noexcept;
};

/// A text style, owned by the caller.
using MclTextHandle = std::unique_ptr<TMclText, TMclTextDeleter>;

/// A colour as 0xRRGGBB (the form of Bitmap::RgbAt). -1 where a colour is optional means none.
using TMclColor = TTextColor;

/// A style with the default font (sans, 16 px), white text, no outline, no shadow.
MclTextHandle MclTextCreate();
/// Chooses the face by family name (e.g. "宋体", "DejaVu Sans"; matched by fontconfig with
/// lang=zh-cn) and the size in pixels (the em height). antialias 1 = grey-level edges,
/// 0 = one-bit glyphs; hinting 1 = hinted outlines, 0 = unhinted. Throws InvalidArgument for a
/// size outside 1..1000.
void MclTextSetFont(TMclText& t, const std::string& face, int size, int antialias, int hinting);
/// The colour of red, green and blue (0..255 each, clamped).
TMclColor MclRGB(int red, int green, int blue) noexcept;
/// color: the text; outline: the colour of the outline drawn around each glyph (-1 = none);
/// shadow: the colour of the shadow (-1 = none); back: a box filled behind the text (-1 = none).
void MclTextSetColor(TMclText& t, TMclColor color, TMclColor outline, TMclColor shadow,
                     TMclColor back);
/// outlineWidth: the outline's width in pixels (0..16); (dx, dy): the shadow's offset in pixels
/// (-64..64). The run uses (2, 1, 1).
void MclTextShadow(TMclText& t, int outlineWidth, int dx, int dy);
/// Glyph width as a fraction of the height, for frames whose pixels are not square: a frame
/// shown wider than its pixel count draws its glyphs narrower, so they keep their shape on
/// the screen. 1 (the default) for square pixels; 0.1 to 10.
void MclTextSetWidthScale(TMclText& t, double scale);
/// Draws UTF-8 text into the image with (x, y) as the top-left of the text's box (the outline
/// included); the shadow falls (dx, dy) from the text and may reach beyond the box. Parts
/// outside the image are clipped. Line breaks start new lines. Throws Error when no font can
/// be found or opened.
void MclImgText(Bitmap& image, TMclText& t, int x, int y, const std::string& text);
/// The size of the text's box (outline included, shadow not): lines x line height high, the
/// widest line wide.
void MclTextExtent(TMclText& t, const std::string& text, int& width, int& height);
void MclTextFree(MclTextHandle& t) noexcept;

}  // namespace velmora
