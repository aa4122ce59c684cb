#include "imaging/Metafile.h"

#include <cairo.h>
#include <emf2svg.h>
#include <librsvg/rsvg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/Errors.h"

namespace velmora {

namespace {

constexpr double Dpi = 96.0;

void CheckSize(double width, double height, const std::string& name) {
    if (!(width >= 1 && height >= 1) || width * height > double(Bitmap::MaxPixels)) {
        throw InvalidFile("metafile has no usable size", name);
    }
}

struct TWmfDeleter {
    void operator()(wmfAPI* api) const noexcept { wmf_api_destroy(api); }
};
struct TWmfStreamCloser {
    void operator()(wmfAPI* api) const noexcept { wmf_mem_close(api); }
};

/// The head of libwmf's gd image (gdImage of <libwmf/gd/gd.h>, which cannot be included
/// without libwmf's private include path), up to the fields the deleter needs; 7288 bytes.
struct TGdImage {
    unsigned char** Pixels;
    int Sx, Sy, ColorsTotal;
    int Red[256], Green[256], Blue[256], Open[256];
    int Transparent;
    int* PolyInts;
    int PolyAllocated;
    TGdImage* Brush;
    TGdImage* Tile;
    int BrushColorMap[256], TileColorMap[256];
    int StyleLength, StylePos;
    int* Style;
    int Interlace, Thick;
    int Alpha[256];
    int TrueColor;
    int** TPixels;
    int AlphaBlendingFlag, SaveAlphaFlag;
    struct TClip {
        int Max, Count;
        void* List;
    } * Clip;
    int* ContiguousPixels;
};
static_assert(sizeof(TGdImage) == 7288 || sizeof(void*) != 8);

/// Releases the raster image that libwmf's gd device hands over after playing: the player
/// keeps no hold on it and the library exports no gd function to release it.
struct TGdImageDeleter {
    void operator()(void* raw) const noexcept {
        TGdImage* image = static_cast<TGdImage*>(raw);
        if (image->ContiguousPixels) {
            std::free(image->ContiguousPixels);
        } else if (image->TrueColor && image->TPixels) {
            for (int y = 0; y < image->Sy; ++y) std::free(image->TPixels[y]);
        }
        std::free(image->TPixels);
        if (image->Pixels) {
            for (int y = 0; y < image->Sy; ++y) std::free(image->Pixels[y]);
            std::free(image->Pixels);
        }
        if (image->Clip) {
            std::free(image->Clip->List);
            std::free(image->Clip);
        }
        std::free(image->PolyInts);
        std::free(image->Style);
        std::free(image);
    }
};

/// gd's true-colour pixel (7-bit alpha, 0 opaque) drawn over white into blue, green, red.
inline void GdOverWhite(unsigned pixel, std::uint8_t* bgr) noexcept {
    const unsigned alpha = 127 - ((pixel >> 24) & 0x7F);  // 0 transparent .. 127 opaque
    const unsigned channel[3] = {pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF};
    for (int i = 0; i < 3; ++i) {
        bgr[i] = std::uint8_t((channel[i] * alpha + 255 * (127 - alpha) + 63) / 127);
    }
}

/// The frame of a placeable metafile's header in points (libwmf's device units), so that the
/// picture covers the frame the file declares and not only the part that is drawn on.
bool PlaceableFrame(std::span<const std::uint8_t> data, wmfD_Rect& frame) {
    if (data.size() < 22) return false;
    auto u16 = [&](std::size_t at) { return unsigned(data[at] | data[at + 1] << 8); };
    auto s16 = [&](std::size_t at) { return double(std::int16_t(u16(at))); };
    if (u16(0) != 0xCDD7 || u16(2) != 0x9AC6 || u16(14) == 0) return false;
    const double scale = 72.0 / u16(14);
    frame.TL.x = float(s16(6) * scale);
    frame.TL.y = float(s16(8) * scale);
    frame.BR.x = float(s16(10) * scale);
    frame.BR.y = float(s16(12) * scale);
    return frame.BR.x > frame.TL.x && frame.BR.y > frame.TL.y;
}

/// True when the metafile header's largest record fits inside the file: the player allocates
/// a buffer of that size before reading any record, so a forged header could ask for gigabytes.
bool PlausibleWmfHeader(std::span<const std::uint8_t> data) {
    auto u16 = [&](std::size_t at) { return unsigned(data[at] | data[at + 1] << 8); };
    std::size_t header = 0;
    if (data.size() >= 22 && u16(0) == 0xCDD7 && u16(2) == 0x9AC6) header = 22;
    if (data.size() < header + 18) return false;
    const std::uint64_t maxRecordWords = u16(header + 12) | std::uint64_t(u16(header + 14)) << 16;
    return 2 * maxRecordWords <= data.size();
}

}  // namespace

Bitmap DecodeWmf(std::span<const std::uint8_t> data, const std::string& nameForErrors) {
    if (!PlausibleWmfHeader(data)) throw InvalidFile("damaged metafile", nameForErrors);
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* raw = nullptr;
    const wmf_error_t created = wmf_api_create(&raw, flags, &options);
    std::unique_ptr<wmfAPI, TWmfDeleter> api(raw);
    if (created != wmf_E_None || !api)
        throw InvalidFile("metafile player unavailable", nameForErrors);
    wmf_gd_t* device = WMF_GD_GetData(api.get());
    device->type = wmf_gd_image;
    // libwmf only reads the buffer; its interface lacks the const.
    std::vector<unsigned char> bytes(data.begin(), data.end());
    wmfD_Rect box{};
    unsigned int width = 0;
    unsigned int height = 0;
    if (bytes.empty() || wmf_mem_open(api.get(), bytes.data(), long(bytes.size())) != wmf_E_None) {
        throw InvalidFile("not a metafile", nameForErrors);
    }
    // Closes the memory stream on every path, before the player is destroyed.
    const std::unique_ptr<wmfAPI, TWmfStreamCloser> stream(api.get());
    const bool scanned = wmf_scan(api.get(), 0, &box) == wmf_E_None &&
                         wmf_display_size(api.get(), &width, &height, Dpi, Dpi) == wmf_E_None;
    if (!scanned) throw InvalidFile("damaged metafile", nameForErrors);
    CheckSize(width, height, nameForErrors);
    PlaceableFrame(data, box);
    device->bbox = box;
    device->width = width;
    device->height = height;
    const bool played = wmf_play(api.get(), 0, &box) == wmf_E_None;
    const std::unique_ptr<void, TGdImageDeleter> image(device->gd_image);
    device->gd_image = nullptr;
    const int* pixels = played && image ? wmf_gd_image_pixels(image.get()) : nullptr;
    if (!pixels) throw InvalidFile("metafile could not be drawn", nameForErrors);
    Bitmap picture(static_cast<int>(width), static_cast<int>(height));
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) GdOverWhite(unsigned(*pixels++), row + 3 * x);
    }
    return picture;
}

namespace {

struct TFreeDeleter {
    void operator()(char* p) const noexcept { std::free(p); }
};
struct TGObjectDeleter {
    void operator()(RsvgHandle* h) const noexcept { g_object_unref(h); }
};
struct TSurfaceDeleter {
    void operator()(cairo_surface_t* s) const noexcept { cairo_surface_destroy(s); }
};
struct TCairoDeleter {
    void operator()(cairo_t* c) const noexcept { cairo_destroy(c); }
};
struct TErrorDeleter {
    void operator()(GError* e) const noexcept { g_error_free(e); }
};

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

/// The header record of an enhanced metafile: type 1, " EMF" signature, sizes in the file.
bool LooksLikeEmf(std::span<const std::uint8_t> data) {
    if (data.size() < 88) return false;
    const std::uint32_t headerSize = Le32(&data[4]);
    const std::uint32_t totalSize = Le32(&data[48]);
    if (Le32(&data[0]) != 1 || Le32(&data[40]) != 0x464D4520 || headerSize < 88 ||
        headerSize > data.size() || totalSize < headerSize) {
        return false;
    }
    // The header's description (UTF-16 characters at an offset) must lie inside the header:
    // the converter reads it without checking.
    const std::uint64_t descriptionChars = Le32(&data[60]);
    const std::uint64_t descriptionOffset = Le32(&data[64]);
    return descriptionChars == 0 || descriptionOffset + 2 * descriptionChars <= headerSize;
}

/// Renders SVG text over white into a bitmap.
Bitmap RenderSvg(const char* svg, std::size_t size, const std::string& name) {
    GError* rawError = nullptr;
    std::unique_ptr<RsvgHandle, TGObjectDeleter> handle(
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg), size, &rawError));
    std::unique_ptr<GError, TErrorDeleter> error(rawError);
    if (!handle) throw InvalidFile("metafile could not be drawn", name);
    double width = 0;
    double height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height)) {
        throw InvalidFile("metafile has no usable size", name);
    }
    CheckSize(width, height, name);
    const int w = int(std::ceil(width));
    const int h = int(std::ceil(height));
    std::unique_ptr<cairo_surface_t, TSurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
    std::unique_ptr<cairo_t, TCairoDeleter> cairo(cairo_create(surface.get()));
    cairo_set_source_rgb(cairo.get(), 1, 1, 1);
    cairo_paint(cairo.get());
    const RsvgRectangle viewport{0, 0, double(w), double(h)};
    rawError = nullptr;
    const bool drawn = rsvg_handle_render_document(handle.get(), cairo.get(), &viewport, &rawError);
    error.reset(rawError);
    cairo_surface_flush(surface.get());
    if (!drawn || cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS) {
        throw InvalidFile("metafile could not be drawn", name);
    }
    const unsigned char* pixels = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    Bitmap picture(w, h);
    for (int y = 0; y < h; ++y) {
        // RGB24 keeps each pixel as a native 32-bit 0x00RRGGBB: bytes blue, green, red, unused.
        const unsigned char* source = pixels + std::size_t(y) * stride;
        std::uint8_t* dest = picture.Row(y);
        for (int x = 0; x < w; ++x, source += 4, dest += 3) std::memcpy(dest, source, 3);
    }
    return picture;
}

}  // namespace

Bitmap DecodeEmf(std::span<const std::uint8_t> data, const std::string& nameForErrors) {
    if (!LooksLikeEmf(data)) throw InvalidFile("not an enhanced metafile", nameForErrors);
    // The converter reads UTF-16 texts up to a terminating zero: the copy it reads ends with
    // zeros beyond the file's own bytes, and a header without a description points to none.
    std::vector<char> bytes(data.size() + 4, 0);
    std::memcpy(bytes.data(), data.data(), data.size());
    if (Le32(&data[60]) == 0) std::memset(bytes.data() + 64, 0, 4);
    generatorOptions options{};
    char svgNamespace[] = "svg";
    options.nameSpace = svgNamespace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* raw = nullptr;
    std::size_t size = 0;
    const int converted = emf2svg(bytes.data(), data.size(), &raw, &size, &options);
    std::unique_ptr<char, TFreeDeleter> svg(raw);
    if (!converted || !svg || size == 0)
        throw InvalidFile("damaged enhanced metafile", nameForErrors);
    return RenderSvg(svg.get(), size, nameForErrors);
}

}  // namespace velmora
