#include "imaging/ExifOrientation.h"

#include <cstring>

namespace velmora {

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;

struct TExifReader {
    std::span<const std::uint8_t> Tiff;
    bool Little = true;

    bool Has(std::size_t at, std::size_t size) const noexcept {
        return at <= Tiff.size() && size <= Tiff.size() - at;
    }
    std::uint16_t U16(std::size_t at) const noexcept {
        return Little ? std::uint16_t(Tiff[at] | Tiff[at + 1] << 8)
                      : std::uint16_t(Tiff[at] << 8 | Tiff[at + 1]);
    }
    std::uint32_t U32(std::size_t at) const noexcept {
        const std::uint32_t a = U16(at);
        const std::uint32_t b = U16(at + 2);
        return Little ? (b << 16 | a) : (a << 16 | b);
    }
};

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> payload) noexcept {
    static const std::uint8_t Signature[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (payload.size() < 6 || std::memcmp(payload.data(), Signature, 6) != 0) return 1;
    TExifReader reader{payload.subspan(6)};
    if (!reader.Has(0, 8)) return 1;
    if (reader.Tiff[0] == 'I' && reader.Tiff[1] == 'I') {
        reader.Little = true;
    } else if (reader.Tiff[0] == 'M' && reader.Tiff[1] == 'M') {
        reader.Little = false;
    } else {
        return 1;
    }
    if (reader.U16(2) != 42) return 1;
    const std::size_t ifd = reader.U32(4);
    if (!reader.Has(ifd, 2)) return 1;
    const std::size_t count = reader.U16(ifd);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (!reader.Has(entry, 12)) return 1;
        if (reader.U16(entry) != OrientationTag) continue;
        // SHORT, one value, standing in the first two bytes of the value field.
        if (reader.U16(entry + 2) != 3 || reader.U32(entry + 4) < 1) return 1;
        const int value = reader.U16(entry + 8);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

Bitmap ApplyOrientation(Bitmap picture, int orientation) {
    if (orientation < 2 || orientation > 8 || picture.Empty()) return picture;
    const int w = picture.Width();
    const int h = picture.Height();
    const bool swap = OrientationSwapsSides(orientation);
    Bitmap out(swap ? h : w, swap ? w : h);
    const int ow = out.Width();
    const int oh = out.Height();
    // Pixel (x, y) of the stored picture lands at origin + x * stepX + y * stepY of the
    // upright one (byte offsets).
    const std::ptrdiff_t stride = out.Stride();
    std::ptrdiff_t originX = 0, originY = 0, stepX = 3, stepY = stride;
    switch (orientation) {
        case 2:
            originX = ow - 1;
            stepX = -3;
            break;
        case 3:
            originX = ow - 1;
            originY = oh - 1;
            stepX = -3;
            stepY = -stride;
            break;
        case 4:
            originY = oh - 1;
            stepY = -stride;
            break;
        case 5:
            stepX = stride;
            stepY = 3;
            break;
        case 6:
            originX = ow - 1;
            stepX = stride;
            stepY = -3;
            break;
        case 7:
            originX = ow - 1;
            originY = oh - 1;
            stepX = -stride;
            stepY = -3;
            break;
        case 8:
            originY = oh - 1;
            stepX = -stride;
            stepY = 3;
            break;
    }
    std::uint8_t* origin = out.Bits() + originY * stride + originX * 3;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* source = picture.Row(y);
        std::uint8_t* dest = origin + y * stepY;
        for (int x = 0; x < w; ++x, source += 3, dest += stepX) {
            dest[0] = source[0];
            dest[1] = source[1];
            dest[2] = source[2];
        }
    }
    return out;
}

}  // namespace velmora
