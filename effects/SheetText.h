#pragma once
// TSheetText: draws short labels (Chinese included) onto a Bitmap with FreeType, for the
// effect contact sheet. The face is chosen through fontconfig: a Song-style CJK font for
// simplified Chinese, the first font of fontconfig's sorted list that covers every character
// the caller names, so that no label shows boxes for missing glyphs.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "imaging/Bitmap.h"

namespace velmora {

class TSheetText {
public:
    /// Opens a face covering every character of coverText at pixelSize pixels. Throws Error
    /// when FreeType fails or no installed font covers the characters.
    TSheetText(int pixelSize, std::string_view coverText);

    /// Width in pixels of the UTF-8 text.
    int Width(std::string_view utf8) const;
    /// Pixels from the top of a line to its baseline, and the line's height.
    int Ascent() const noexcept { return FAscent; }
    int LineHeight() const noexcept { return FLineHeight; }
    /// The font file in use.
    const std::string& FontFile() const noexcept { return FFontFile; }

    /// Draws the UTF-8 text with its baseline at y, starting at x, in colour 0xRRGGBB;
    /// anti-aliased, clipped to the bitmap.
    void Draw(Bitmap& target, int x, int y, std::string_view utf8, std::uint32_t rgb) const;

private:
    struct LibraryDeleter {
        void operator()(FT_Library library) const noexcept { FT_Done_FreeType(library); }
    };
    struct FaceDeleter {
        void operator()(FT_Face face) const noexcept { FT_Done_Face(face); }
    };
    std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter> FLibrary;
    std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter> FFace;
    std::string FFontFile;
    int FAscent = 0;
    int FLineHeight = 0;
};

}  // namespace velmora
