#include "effects/SheetText.h"

#include <fontconfig/fontconfig.h>

#include <QList>
#include <QString>
#include <algorithm>
#include <vector>

#include "base/Errors.h"

namespace velmora {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const noexcept { FcPatternDestroy(p); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const noexcept { FcFontSetDestroy(s); }
};
struct CharSetDeleter {
    void operator()(FcCharSet* c) const noexcept { FcCharSetDestroy(c); }
};

std::vector<char32_t> CodePoints(std::string_view utf8) {
    const QList<uint> ucs4 = QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toUcs4();
    return std::vector<char32_t>(ucs4.begin(), ucs4.end());
}

struct TFontFile {
    std::string Path;
    int Index = 0;
};

// The first font of fontconfig's sorted list for a simplified-Chinese Song face that covers
// every character of the text.
TFontFile FindFont(std::string_view coverText) {
    if (!FcInit()) throw Error("fontconfig cannot be initialised");
    std::unique_ptr<FcPattern, PatternDeleter> pattern(
        FcNameParse(reinterpret_cast<const FcChar8*>("AR PL UMing CN:lang=zh-cn")));
    if (!pattern) throw Error("fontconfig pattern failed");
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    std::unique_ptr<FcCharSet, CharSetDeleter> needed(FcCharSetCreate());
    for (char32_t c : CodePoints(coverText)) FcCharSetAddChar(needed.get(), c);
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcCharSet* has = nullptr;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &has) != FcResultMatch ||
            FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) {
            continue;
        }
        FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
        if (FcCharSetIsSubset(needed.get(), has)) {
            return {reinterpret_cast<const char*>(file), index};
        }
    }
    throw Error("no installed font covers the effect names (install fonts-arphic-uming)");
}

}  // namespace

TSheetText::TSheetText(int pixelSize, std::string_view coverText) {
    const TFontFile font = FindFont(coverText);
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
    for (char32_t c : CodePoints(utf8)) {
        if (FT_Load_Char(FFace.get(), c, FT_LOAD_NO_BITMAP) == 0) {
            width += int(FFace->glyph->advance.x >> 6);
        }
    }
    return width;
}

void TSheetText::Draw(Bitmap& target, int x, int y, std::string_view utf8,
                      std::uint32_t rgb) const {
    const int colour[3] = {int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF)};
    for (char32_t c : CodePoints(utf8)) {
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
