#pragma once
// Fonts for text drawn on pictures (titles, contact sheet labels): FreeType and fontconfig
// handles in owning types, and the choice of a font file that has every character of a text.

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Utf8.h"  // DecodeUtf8, for the callers that lay out text

namespace velmora {

struct TFtLibraryDeleter {
    void operator()(FT_Library p) const noexcept { FT_Done_FreeType(p); }
};
struct TFtFaceDeleter {
    void operator()(FT_Face p) const noexcept { FT_Done_Face(p); }
};
struct TFcPatternDeleter {
    void operator()(FcPattern* p) const noexcept { FcPatternDestroy(p); }
};
struct TFcFontSetDeleter {
    void operator()(FcFontSet* p) const noexcept { FcFontSetDestroy(p); }
};
struct TFcCharSetDeleter {
    void operator()(FcCharSet* p) const noexcept { FcCharSetDestroy(p); }
};

using TFtLibraryPtr = std::unique_ptr<FT_LibraryRec_, TFtLibraryDeleter>;
using TFtFacePtr = std::unique_ptr<FT_FaceRec_, TFtFaceDeleter>;
using TFcPatternPtr = std::unique_ptr<FcPattern, TFcPatternDeleter>;
using TFcFontSetPtr = std::unique_ptr<FcFontSet, TFcFontSetDeleter>;
using TFcCharSetPtr = std::unique_ptr<FcCharSet, TFcCharSetDeleter>;

/// A font file and the face's number inside it.
struct TFontFile {
    std::string Path;
    int Index = 0;
    bool operator<(const TFontFile& other) const {
        return std::tie(Path, Index) < std::tie(other.Path, other.Index);
    }
};

/// The font for family `family` (asked with lang=zh-cn) that has every character of
/// `characters` (blanks and control characters need none): fontconfig's best match when it
/// has them all, otherwise the first font of its sorted fallback list that does, otherwise
/// the one that has the most. Throws Error when fontconfig knows no font at all.
TFontFile FindFontFor(const std::string& family, const std::vector<char32_t>& characters);

/// The FreeType faces of one text style, opened once per font file.
class TFaceCache {
public:
    TFaceCache();
    /// The face of the file (opened on first use). Throws InvalidFile.
    FT_Face Face(const TFontFile& file);

private:
    TFtLibraryPtr FLibrary;
    std::map<TFontFile, TFtFacePtr> FFaces;  // declared after FLibrary: freed before it
};

}  // namespace velmora
