// Layout and rasterisation with FreeType, outline and shadow layers composed once per text and
// cached, then blended into 24-bit images.

#include "imaging/TextRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/Errors.h"

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

/// One rendered glyph waiting to be placed.
struct TPlacedGlyph {
    int X = 0, Y = 0;  // top-left of its bitmap relative to the text's origin
    TCoverage Bitmap{0, 0};
};

/// The glyphs of a text and its box without outline.
struct TLaidOut {
    std::vector<TPlacedGlyph> Glyphs;
    int Width = 0, Height = 0, Ascent = 0;
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

// Places every glyph of the text in the face: pen advances rounded to whole pixels, kerning
// where the face has it, lines one line height apart.
TLaidOut Layout(const TTextStyle& style, FT_Face face, const std::vector<char32_t>& characters) {
    const auto pixelWidth = FT_UInt(std::max(1L, std::lround(style.Size * style.WidthScale)));
    FT_Set_Pixel_Sizes(face, pixelWidth, FT_UInt(style.Size));
    const int ascender = int((face->size->metrics.ascender + 63) >> 6);
    const int descender = int((-face->size->metrics.descender + 63) >> 6);
    const int lineHeight = std::max(int(face->size->metrics.height >> 6), ascender + descender);
    const FT_Int32 loadFlags = (style.Hinting ? FT_LOAD_DEFAULT : FT_LOAD_NO_HINTING) |
                               (style.Antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO) |
                               (style.EmbeddedBitmaps ? 0 : FT_LOAD_NO_BITMAP);
    const FT_Render_Mode renderMode = style.Antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;

    TLaidOut text;
    text.Ascent = ascender;
    int penX = 0, lineTop = 0, lines = 1;
    FT_UInt previous = 0;
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
        if (FT_Render_Glyph(face->glyph, renderMode) == 0) {
            TPlacedGlyph glyph;
            glyph.X = penX + face->glyph->bitmap_left;
            glyph.Y = lineTop + ascender - face->glyph->bitmap_top;
            glyph.Bitmap = CopyGlyph(face->glyph->bitmap);
            text.Width = std::max(text.Width, glyph.X + glyph.Bitmap.Width);
            text.Glyphs.push_back(std::move(glyph));
        }
        penX += int((face->glyph->advance.x + 32) >> 6);
        text.Width = std::max(text.Width, penX);
    }
    text.Height = lines * lineHeight;
    return text;
}

// The glyphs merged into one coverage raster (the brighter wins where they overlap), with a
// margin of pad pixels on every side.
TCoverage Fill(const TLaidOut& text, int pad) {
    TCoverage fill(text.Width + 2 * pad, text.Height + 2 * pad);
    for (const TPlacedGlyph& g : text.Glyphs) {
        for (int y = 0; y < g.Bitmap.Height; ++y) {
            for (int x = 0; x < g.Bitmap.Width; ++x) {
                const int tx = g.X + x + pad, ty = g.Y + y + pad;
                if (tx < 0 || ty < 0 || tx >= fill.Width || ty >= fill.Height) continue;
                std::uint8_t& a = fill.A[std::size_t(ty) * fill.Width + tx];
                a = std::max(a, g.Bitmap.A[std::size_t(y) * g.Bitmap.Width + x]);
            }
        }
    }
    return fill;
}

// Lays `coverage` in colour `rgb` over the premultiplied BGRA layer (layerWidth pixels wide)
// at (left, top).
void Over(std::vector<std::uint8_t>& layer, int layerWidth, const TCoverage& coverage,
          TTextColor rgb, int left, int top) noexcept {
    const int channel[3] = {rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff};  // B, G, R
    for (int y = 0; y < coverage.Height; ++y) {
        for (int x = 0; x < coverage.Width; ++x) {
            const int a = coverage.A[std::size_t(y) * coverage.Width + x];
            if (a == 0) continue;
            std::uint8_t* p = layer.data() + (std::size_t(top + y) * layerWidth + left + x) * 4;
            for (int c = 0; c < 3; ++c)
                p[c] = std::uint8_t((channel[c] * a + p[c] * (255 - a)) / 255);
            p[3] = std::uint8_t(a + p[3] * (255 - a) / 255);
        }
    }
}

}  // namespace

void CheckTextStyle(const TTextStyle& style) {
    if (style.Size < 1 || style.Size > 1000) {
        throw InvalidArgument("text size " + std::to_string(style.Size) + " is outside 1..1000");
    }
    auto valid = [](TTextColor c) { return c >= -1 && c <= 0xffffff; };
    if (style.Color < 0 || !valid(style.Color) || !valid(style.Outline) || !valid(style.Shadow) ||
        !valid(style.Back)) {
        throw InvalidArgument("text colours are 0xRRGGBB (or -1 for none where optional)");
    }
    if (style.OutlineWidth < 0 || style.OutlineWidth > 16 || std::abs(style.ShadowDx) > 64 ||
        std::abs(style.ShadowDy) > 64) {
        throw InvalidArgument("outline 0..16 and shadow offsets -64..64 pixels");
    }
    if (!(style.WidthScale >= 0.1 && style.WidthScale <= 10)) {
        throw InvalidArgument("text width scale outside 0.1..10");
    }
}

TTextRenderer::TTextRenderer(const TTextStyle& style) : FStyle(style) { CheckTextStyle(style); }

void TTextRenderer::SetStyle(const TTextStyle& style) {
    CheckTextStyle(style);
    FStyle = style;
    FCache.clear();
}

TTextRenderer::TRendered TTextRenderer::Compose(const std::string& utf8) {
    const std::vector<char32_t> characters = DecodeUtf8(utf8);
    const TLaidOut text =
        Layout(FStyle, FFaces.Face(FindFontFor(FStyle.Face, characters)), characters);
    const int pad = FStyle.Outline != -1 ? FStyle.OutlineWidth : 0;
    const TCoverage fill = Fill(text, pad);
    const TCoverage outline = pad > 0 ? Dilate(fill, pad) : TCoverage(0, 0);
    const TCoverage& body = pad > 0 ? outline : fill;  // what casts the shadow

    TRendered r;
    r.Box = {fill.Width, fill.Height, pad + text.Ascent};
    const bool shadow = FStyle.Shadow != -1;
    r.OriginX = shadow ? std::max(0, -FStyle.ShadowDx) : 0;
    r.OriginY = shadow ? std::max(0, -FStyle.ShadowDy) : 0;
    r.LayerWidth = r.Box.Width + (shadow ? std::abs(FStyle.ShadowDx) : 0);
    r.LayerHeight = r.Box.Height + (shadow ? std::abs(FStyle.ShadowDy) : 0);
    r.Bgra.assign(std::size_t(r.LayerWidth) * std::size_t(r.LayerHeight) * 4, 0);
    if (FStyle.Back != -1) {
        TCoverage box(r.Box.Width, r.Box.Height);
        std::fill(box.A.begin(), box.A.end(), 255);
        Over(r.Bgra, r.LayerWidth, box, FStyle.Back, r.OriginX, r.OriginY);
    }
    if (shadow) {
        Over(r.Bgra, r.LayerWidth, body, FStyle.Shadow, r.OriginX + FStyle.ShadowDx,
             r.OriginY + FStyle.ShadowDy);
    }
    if (pad > 0) Over(r.Bgra, r.LayerWidth, outline, FStyle.Outline, r.OriginX, r.OriginY);
    Over(r.Bgra, r.LayerWidth, fill, FStyle.Color, r.OriginX, r.OriginY);
    return r;
}

const TTextRenderer::TRendered& TTextRenderer::Render(const std::string& utf8) {
    auto it = FCache.find(utf8);
    if (it != FCache.end()) return it->second;
    if (FCache.size() >= MaxCachedTexts) FCache.clear();
    return FCache.emplace(utf8, Compose(utf8)).first->second;
}

TTextBox TTextRenderer::Measure(const std::string& utf8) { return Render(utf8).Box; }

void TTextRenderer::Draw(Bitmap& image, int x, int y, const std::string& utf8) {
    const TRendered& r = Render(utf8);
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

}  // namespace velmora
