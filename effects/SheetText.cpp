#include "effects/SheetText.h"

#include <vector>

#include "base/Errors.h"

namespace velmora {

TSheetText::TSheetText(int pixelSize, std::string_view coverText) {
    const TFontFile font = FindFontFor("AR PL UMing CN", DecodeUtf8(std::string(coverText)));
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw Error("FreeType cannot be initialised");
    FLibrary.reset(library);
    FT_Face face = nullptr;
    if (FT_New_Face(library, font.Path.c_str(), font.Index, &face) != 0) {
        throw Error("cannot open font " + font.Path);
    }
    FFace.reset(face);
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        throw Error("font " + font.Path + " has no size " + std::to_string(pixelSize));
    }
    FFontFile = font.Path;
    FAscent = int(face->size->metrics.ascender >> 6);
    FLineHeight = int(face->size->metrics.height >> 6);
}

int TSheetText::Width(std::string_view utf8) const {
    int width = 0;
    for (char32_t c : DecodeUtf8(std::string(utf8))) {
        if (FT_Load_Char(FFace.get(), c, FT_LOAD_NO_BITMAP) == 0) {
            width += int(FFace->glyph->advance.x >> 6);
        }
    }
    return width;
}

void TSheetText::Draw(Bitmap& target, int x, int y, std::string_view utf8,
                      std::uint32_t rgb) const {
    const int colour[3] = {int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF)};
    for (char32_t c : DecodeUtf8(std::string(utf8))) {
        if (FT_Load_Char(FFace.get(), c, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0) continue;
        const FT_GlyphSlot glyph = FFace->glyph;
        const FT_Bitmap& g = glyph->bitmap;
        const int left = x + glyph->bitmap_left;
        const int top = y - glyph->bitmap_top;
        for (int row = 0; row < int(g.rows); ++row) {
            const int ty = top + row;
            if (ty < 0 || ty >= target.Height()) continue;
            const unsigned char* coverage = g.buffer + std::ptrdiff_t(row) * g.pitch;
            for (int col = 0; col < int(g.width); ++col) {
                const int tx = left + col;
                const int a = coverage[col];
                if (tx < 0 || tx >= target.Width() || a == 0) continue;
                std::uint8_t* p = target.Pixel(tx, ty);
                for (int k = 0; k < 3; ++k)
                    p[k] = std::uint8_t((p[k] * (255 - a) + colour[k] * a) / 255);
            }
        }
        x += int(glyph->advance.x >> 6);
    }
}

}  // namespace velmora
