// The text overlay: a style object, layout and rasterisation with FreeType, outline and
// shadow layers composed once per text and cached, then blended into 24-bit images.

#include "production/MclText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "base/Errors.h"
#include "imaging/Fonts.h"

namespace velmora {

namespace {

/// A grey coverage raster (0 = nothing, 255 = fully covered).
struct TCoverage {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> A;
    TCoverage(int w, int h) : Width(w), Height(h), A(std::size_t(w) * std::size_t(h), 0) {}
    std::uint8_t At(int x, int y) const noexcept {
        return x < 0 || y < 0 || x >= Width || y >= Height ? 0 : A[std::size_t(y) * Width + x];
    }
};

/// A text composed with its back, shadow, outline and colour: premultiplied BGRA.
struct TRendered {
    int Width = 0, Height = 0;     // the text's box, outline included
    int OriginX = 0, OriginY = 0;  // the box's top-left inside the layer
    int LayerWidth = 0, LayerHeight = 0;
    std::vector<std::uint8_t> Bgra;
};

/// One rendered glyph waiting to be placed.
struct TPlacedGlyph {
    int X = 0, Y = 0;  // top-left of its bitmap relative to the text's origin
    TCoverage Bitmap{0, 0};
};

constexpr std::size_t MaxCachedTexts = 64;

// Copies FreeType's glyph bitmap (grey or one-bit) into a coverage raster.
TCoverage CopyGlyph(const FT_Bitmap& bitmap) {
    TCoverage glyph(int(bitmap.width), int(bitmap.rows));
    for (int y = 0; y < glyph.Height; ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        for (int x = 0; x < glyph.Width; ++x) {
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            glyph.A[std::size_t(y) * glyph.Width + x] =
                mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
        }
    }
    return glyph;
}

// The largest coverage within `radius` of each pixel: the outline around the glyphs.
TCoverage Dilate(const TCoverage& in, int radius) noexcept {
    TCoverage out(in.Width, in.Height);
    for (int y = 0; y < in.Height; ++y) {
        for (int x = 0; x < in.Width; ++x) {
            std::uint8_t best = 0;
            for (int dy = -radius; dy <= radius && best < 255; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy > radius * radius + radius) continue;
                    best = std::max(best, in.At(x + dx, y + dy));
                }
            }
            out.A[std::size_t(y) * out.Width + x] = best;
        }
    }
    return out;
}

// Lays `coverage` in colour `rgb` over the layer at (left, top) ("over" in premultiplied form).
void Over(TRendered& layer, const TCoverage& coverage, TMclColor rgb, int left, int top) noexcept {
    const int channel[3] = {rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff};  // B, G, R
    for (int y = 0; y < coverage.Height; ++y) {
        for (int x = 0; x < coverage.Width; ++x) {
            const int a = coverage.A[std::size_t(y) * coverage.Width + x];
            if (a == 0) continue;
            std::uint8_t* p =
                layer.Bgra.data() + (std::size_t(top + y) * layer.LayerWidth + left + x) * 4;
            for (int c = 0; c < 3; ++c)
                p[c] = std::uint8_t((channel[c] * a + p[c] * (255 - a)) / 255);
            p[3] = std::uint8_t(a + p[3] * (255 - a) / 255);
        }
    }
}

}  // namespace

class TMclText {
public:
    std::string Face = "sans";
    int Size = 16;
    bool Antialias = true;
    bool Hinting = true;
    TMclColor Color = 0xffffff;
    TMclColor Outline = -1;
    TMclColor Shadow = -1;
    TMclColor Back = -1;
    int OutlineWidth = 0;
    int ShadowDx = 0;
    int ShadowDy = 0;
    double WidthScale = 1.0;

    const TRendered& Render(const std::string& text);
    void StyleChanged() noexcept { FCache.clear(); }

private:
    std::vector<TPlacedGlyph> Layout(const std::string& text, int& width, int& height);
    TRendered Compose(const std::string& text);

    TFaceCache FFaces;
    std::map<std::string, TRendered> FCache;
};

// Places every glyph of the text; width and height receive the text's box without outline.
std::vector<TPlacedGlyph> TMclText::Layout(const std::string& text, int& width, int& height) {
    const std::vector<char32_t> characters = DecodeUtf8(text);
    FT_Face face = FFaces.Face(FindFontFor(Face, characters));
    const auto pixelWidth = FT_UInt(std::max(1L, std::lround(Size * WidthScale)));
    FT_Set_Pixel_Sizes(face, pixelWidth, FT_UInt(Size));
    const int ascender = int((face->size->metrics.ascender + 63) >> 6);
    const int descender = int((-face->size->metrics.descender + 63) >> 6);
    const int lineHeight = std::max(int(face->size->metrics.height >> 6), ascender + descender);
    const FT_Int32 loadFlags = (Hinting ? FT_LOAD_DEFAULT : FT_LOAD_NO_HINTING) |
                               (Antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);

    std::vector<TPlacedGlyph> glyphs;
    int penX = 0, lineTop = 0, lines = 1;
    FT_UInt previous = 0;
    width = 0;
    for (char32_t c : characters) {
        if (c == U'\n') {
            penX = 0, lineTop += lineHeight, ++lines, previous = 0;
            continue;
        }
        if (c == U'\r') continue;
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(c));
        if (previous != 0 && index != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kerning{};
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kerning);
            penX += int(kerning.x >> 6);
        }
        previous = index;
        if (FT_Load_Glyph(face, index, loadFlags) != 0) continue;
        if (FT_Render_Glyph(face->glyph, Antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) ==
            0) {
            TPlacedGlyph glyph;
            glyph.X = penX + face->glyph->bitmap_left;
            glyph.Y = lineTop + ascender - face->glyph->bitmap_top;
            glyph.Bitmap = CopyGlyph(face->glyph->bitmap);
            width = std::max(width, glyph.X + glyph.Bitmap.Width);
            glyphs.push_back(std::move(glyph));
        }
        penX += int((face->glyph->advance.x + 32) >> 6);
        width = std::max(width, penX);
    }
    height = lines * lineHeight;
    return glyphs;
}

TRendered TMclText::Compose(const std::string& text) {
    int textWidth = 0, textHeight = 0;
    std::vector<TPlacedGlyph> glyphs = Layout(text, textWidth, textHeight);
    const int pad = Outline != -1 ? OutlineWidth : 0;
    TCoverage fill(textWidth + 2 * pad, textHeight + 2 * pad);
    for (const TPlacedGlyph& g : glyphs) {
        for (int y = 0; y < g.Bitmap.Height; ++y) {
            for (int x = 0; x < g.Bitmap.Width; ++x) {
                const int tx = g.X + x + pad, ty = g.Y + y + pad;
                if (tx < 0 || ty < 0 || tx >= fill.Width || ty >= fill.Height) continue;
                std::uint8_t& a = fill.A[std::size_t(ty) * fill.Width + tx];
                a = std::max(a, g.Bitmap.A[std::size_t(y) * g.Bitmap.Width + x]);
            }
        }
    }
    const TCoverage outline = pad > 0 ? Dilate(fill, pad) : TCoverage(0, 0);
    const TCoverage& body = pad > 0 ? outline : fill;  // what casts the shadow

    TRendered r;
    r.Width = fill.Width;
    r.Height = fill.Height;
    const bool shadow = Shadow != -1;
    r.OriginX = shadow ? std::max(0, -ShadowDx) : 0;
    r.OriginY = shadow ? std::max(0, -ShadowDy) : 0;
    r.LayerWidth = r.Width + (shadow ? std::abs(ShadowDx) : 0);
    r.LayerHeight = r.Height + (shadow ? std::abs(ShadowDy) : 0);
    r.Bgra.assign(std::size_t(r.LayerWidth) * std::size_t(r.LayerHeight) * 4, 0);
    if (Back != -1) {
        TCoverage box(r.Width, r.Height);
        std::fill(box.A.begin(), box.A.end(), 255);
        Over(r, box, Back, r.OriginX, r.OriginY);
    }
    if (shadow) Over(r, body, Shadow, r.OriginX + ShadowDx, r.OriginY + ShadowDy);
    if (pad > 0) Over(r, outline, Outline, r.OriginX, r.OriginY);
    Over(r, fill, Color, r.OriginX, r.OriginY);
    return r;
}

const TRendered& TMclText::Render(const std::string& text) {
    auto it = FCache.find(text);
    if (it != FCache.end()) return it->second;
    if (FCache.size() >= MaxCachedTexts) FCache.clear();
    return FCache.emplace(text, Compose(text)).first->second;
}

void TMclTextDeleter::operator()(TMclText* t) const noexcept { delete t; }

MclTextHandle MclTextCreate() { return MclTextHandle(new TMclText); }

void MclTextSetFont(TMclText& t, const std::string& face, int size, int antialias, int hinting) {
    if (size < 1 || size > 1000) {
        throw InvalidArgument("text size " + std::to_string(size) + " is outside 1..1000");
    }
    t.Face = face;
    t.Size = size;
    t.Antialias = antialias != 0;
    t.Hinting = hinting != 0;
    t.StyleChanged();
}

TMclColor MclRGB(int red, int green, int blue) noexcept {
    return std::clamp(red, 0, 255) << 16 | std::clamp(green, 0, 255) << 8 |
           std::clamp(blue, 0, 255);
}

void MclTextSetColor(TMclText& t, TMclColor color, TMclColor outline, TMclColor shadow,
                     TMclColor back) {
    auto valid = [](TMclColor c) { return c >= -1 && c <= 0xffffff; };
    if (color < 0 || !valid(color) || !valid(outline) || !valid(shadow) || !valid(back)) {
        throw InvalidArgument("text colours are 0xRRGGBB (or -1 for none where optional)");
    }
    t.Color = color;
    t.Outline = outline;
    t.Shadow = shadow;
    t.Back = back;
    t.StyleChanged();
}

void MclTextShadow(TMclText& t, int outlineWidth, int dx, int dy) {
    if (outlineWidth < 0 || outlineWidth > 16 || std::abs(dx) > 64 || std::abs(dy) > 64) {
        throw InvalidArgument("outline 0..16 and shadow offsets -64..64 pixels");
    }
    t.OutlineWidth = outlineWidth;
    t.ShadowDx = dx;
    t.ShadowDy = dy;
    t.StyleChanged();
}

void MclTextSetWidthScale(TMclText& t, double scale) {
    if (!(scale >= 0.1 && scale <= 10)) throw InvalidArgument("text width scale outside 0.1..10");
    t.WidthScale = scale;
    t.StyleChanged();
}

void MclImgText(Bitmap& image, TMclText& t, int x, int y, const std::string& text) {
    const TRendered& r = t.Render(text);
    const int left = x - r.OriginX, top = y - r.OriginY;
    const int x0 = std::max(0, -left), x1 = std::min(r.LayerWidth, image.Width() - left);
    const int y0 = std::max(0, -top), y1 = std::min(r.LayerHeight, image.Height() - top);
    if (x0 >= x1 || y0 >= y1) return;
    for (int ly = y0; ly < y1; ++ly) {
        const std::uint8_t* src = r.Bgra.data() + (std::size_t(ly) * r.LayerWidth + x0) * 4;
        std::uint8_t* dst = image.Pixel(left + x0, top + ly);
        for (int lx = x0; lx < x1; ++lx, src += 4, dst += 3) {
            const int keep = 255 - src[3];
            if (keep == 255) continue;
            for (int c = 0; c < 3; ++c) dst[c] = std::uint8_t(src[c] + dst[c] * keep / 255);
        }
    }
}

void MclTextExtent(TMclText& t, const std::string& text, int& width, int& height) {
    const TRendered& r = t.Render(text);
    width = r.Width;
    height = r.Height;
}

void MclTextFree(MclTextHandle& t) noexcept { t.reset(); }

}  // namespace velmora
