#include "imaging/Fonts.h"

#include <mutex>

#include "base/Errors.h"

namespace velmora {

namespace {

// fontconfig's configuration is loaded once per process; its calls are not thread-safe, so
// every search holds this lock.
std::mutex FontconfigMutex;

FcConfig* Config() {
    static FcConfig* config = [] {
        if (!FcInit()) throw Error("fontconfig cannot load its configuration");
        return FcConfigGetCurrent();
    }();
    return config;
}

bool NeedsGlyph(char32_t c) { return c > U' ' && c != 0x7f && !(c >= 0x80 && c < 0xa0); }

int CoveredCount(const FcPattern* font, const std::vector<char32_t>& characters) {
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch) return 0;
    int count = 0;
    for (char32_t c : characters) {
        if (!NeedsGlyph(c) || FcCharSetHasChar(charset, FcChar32(c))) ++count;
    }
    return count;
}

TFontFile FileOf(const FcPattern* font) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return {};
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    return {reinterpret_cast<const char*>(file), index};
}

}  // namespace

TFontFile FindFontFor(const std::string& family, const std::vector<char32_t>& characters) {
    std::lock_guard lock(FontconfigMutex);
    FcConfig* config = Config();
    TFcPatternPtr pattern(FcPatternCreate());
    if (!pattern) throw std::bad_alloc();
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.empty() ? "sans" : family.c_str()));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    TFcFontSetPtr fonts(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
    if (!fonts || fonts->nfont == 0) throw Error("fontconfig knows no font");

    // The sorted list starts with the best match for the family; the first font that has
    // every character wins, else the one that has the most.
    const int wanted = int(characters.size());
    int bestCount = -1;
    TFontFile best;
    for (int i = 0; i < fonts->nfont; ++i) {
        const int count = CoveredCount(fonts->fonts[i], characters);
        TFontFile file = FileOf(fonts->fonts[i]);
        if (file.Path.empty()) continue;
        if (count == wanted) return file;
        if (count > bestCount) {
            bestCount = count;
            best = std::move(file);
        }
    }
    if (best.Path.empty()) throw Error("fontconfig knows no font file");
    return best;
}

TFaceCache::TFaceCache() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw Error("FreeType cannot start");
    FLibrary.reset(library);
}

FT_Face TFaceCache::Face(const TFontFile& file) {
    auto it = FFaces.find(file);
    if (it != FFaces.end()) return it->second.get();
    FT_Face face = nullptr;
    if (FT_New_Face(FLibrary.get(), file.Path.c_str(), file.Index, &face) != 0) {
        throw InvalidFile("FreeType cannot open the font", file.Path);
    }
    TFtFacePtr owned(face);
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    return FFaces.emplace(file, std::move(owned)).first->second.get();
}

}  // namespace velmora
