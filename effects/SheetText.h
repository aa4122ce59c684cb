#pragma once
// TSheetText: draws short labels (Chinese included) onto a Bitmap with FreeType, for the
// effect contact sheet. The face is a Song-style CJK font for simplified Chinese that covers
// every character the caller names (FindFontFor), so that no label shows boxes.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/Bitmap.h"
#include "imaging/Fonts.h"

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
    TFtLibraryPtr FLibrary;
    TFtFacePtr FFace;
    std::string FFontFile;
    int FAscent = 0;
    int FLineHeight = 0;
};

}  // namespace velmora
