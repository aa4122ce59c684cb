#pragma once
// Text drawn into 24-bit pictures with FreeType: a style (font face by name, size in pixels,
// colours, outline, shadow, a box behind the text), laid out and rasterised once per text and
// cached, then blended into bitmaps. Faces are chosen by FindFontFor, so a face that lacks a
// character of the text is replaced by one that has them all and no text shows boxes. The titles
// on video frames and the labels of the effect contact sheet are both drawn here.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/Fonts.h"

namespace velmora {

/// A colour as 0xRRGGBB (the form of Bitmap::RgbAt). -1 where a colour is optional means none.
using TTextColor = std::int32_t;

/// How a text looks.
struct TTextStyle {
    /// Family name matched by fontconfig with lang=zh-cn ("宋体", "DejaVu Sans", ...).
    std::string Face = "sans";
    /// The em height in pixels, 1..1000.
    int Size = 16;
    /// Grey-level edges (true) or one-bit glyphs.
    bool Antialias = true;
    /// Hinted outlines (true) or unhinted.
    bool Hinting = true;
    /// The face's own bitmap glyphs where it has them at this size (true), or always the
    /// outlines: some CJK faces carry one-bit bitmaps for small sizes.
    bool EmbeddedBitmaps = true;
    /// Glyph width as a fraction of the height (0.1..10): below 1 for pixels wider than tall.
    double WidthScale = 1.0;
    /// The text's colour (never -1).
    TTextColor Color = 0xffffff;
    /// The outline around each glyph, the shadow, the box behind the text; -1 = none.
    TTextColor Outline = -1;
    TTextColor Shadow = -1;
    TTextColor Back = -1;
    /// The outline's width in pixels (0..16).
    int OutlineWidth = 0;
    /// The shadow's offset in pixels (-64..64 each).
    int ShadowDx = 0;
    int ShadowDy = 0;
};

/// Throws InvalidArgument when a value of the style is outside its range.
void CheckTextStyle(const TTextStyle& style);

/// The box of a laid-out text, outline included and shadow not.
struct TTextBox {
    /// The widest line.
    int Width = 0;
    /// Lines x line height, plus the outline.
    int Height = 0;
    /// From the box's top to the first line's baseline.
    int Ascent = 0;
};

/// Draws texts in one style. Not copyable (it owns FreeType faces); one per thread.
class TTextRenderer {
public:
    /// Throws InvalidArgument for a style outside its ranges.
    explicit TTextRenderer(const TTextStyle& style = {});

    const TTextStyle& Style() const noexcept { return FStyle; }
    /// Takes a new style (checked as by the constructor) and forgets the texts drawn so far.
    void SetStyle(const TTextStyle& style);

    /// The box of the UTF-8 text; line breaks start new lines. Throws Error when no font can be
    /// found or opened.
    TTextBox Measure(const std::string& utf8);
    /// Draws the UTF-8 text with (x, y) as the top-left of its box; the shadow falls (dx, dy)
    /// from the text and may reach beyond the box. Parts outside the image are clipped.
    void Draw(Bitmap& image, int x, int y, const std::string& utf8);

private:
    /// A text composed with its back, shadow, outline and colour: premultiplied BGRA.
    struct TRendered {
        TTextBox Box;
        int OriginX = 0, OriginY = 0;  // the box's top-left inside the layer
        int LayerWidth = 0, LayerHeight = 0;
        std::vector<std::uint8_t> Bgra;
    };

    const TRendered& Render(const std::string& utf8);
    TRendered Compose(const std::string& utf8);

    TTextStyle FStyle;
    TFaceCache FFaces;
    std::map<std::string, TRendered> FCache;
};

}  // namespace velmora
