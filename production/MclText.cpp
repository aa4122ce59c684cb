// The text overlay's calls: each changes one part of the style of its renderer or draws with it.

#include "production/MclText.h"

#include <algorithm>

namespace velmora {

/// A text style: the renderer that holds it and its rasterised texts.
class TMclText {
public:
    TTextRenderer Renderer;

    /// Applies change to a copy of the style and takes it (checked; the cache is dropped).
    template <typename Change>
    void Restyle(Change change) {
        TTextStyle style = Renderer.Style();
        change(style);
        Renderer.SetStyle(style);
    }
};

void TMclTextDeleter::operator()(TMclText* t) const noexcept { delete t; }

MclTextHandle MclTextCreate() { return MclTextHandle(new TMclText); }

void MclTextSetFont(TMclText& t, const std::string& face, int size, int antialias, int hinting) {
    t.Restyle([&](TTextStyle& s) {
        s.Face = face;
        s.Size = size;
        s.Antialias = antialias != 0;
        s.Hinting = hinting != 0;
    });
}

TMclColor MclRGB(int red, int green, int blue) noexcept {
    return std::clamp(red, 0, 255) << 16 | std::clamp(green, 0, 255) << 8 |
           std::clamp(blue, 0, 255);
}

void MclTextSetColor(TMclText& t, TMclColor color, TMclColor outline, TMclColor shadow,
                     TMclColor back) {
    t.Restyle([&](TTextStyle& s) {
        s.Color = color;
        s.Outline = outline;
        s.Shadow = shadow;
        s.Back = back;
    });
}

void MclTextShadow(TMclText& t, int outlineWidth, int dx, int dy) {
    t.Restyle([&](TTextStyle& s) {
        s.OutlineWidth = outlineWidth;
        s.ShadowDx = dx;
        s.ShadowDy = dy;
    });
}

void MclTextSetWidthScale(TMclText& t, double scale) {
    t.Restyle([&](TTextStyle& s) { s.WidthScale = scale; });
}

void MclImgText(Bitmap& image, TMclText& t, int x, int y, const std::string& text) {
    t.Renderer.Draw(image, x, y, text);
}

void MclTextExtent(TMclText& t, const std::string& text, int& width, int& height) {
    const TTextBox box = t.Renderer.Measure(text);
    width = box.Width;
    height = box.Height;
}

void MclTextFree(MclTextHandle& t) noexcept { t.reset(); }

}  // namespace velmora
