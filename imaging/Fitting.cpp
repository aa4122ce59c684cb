#include "imaging/Fitting.h"

#include <pixman.h>

#include <cmath>
#include <memory>

#include "imaging/LoadPicture.h"

namespace velmora {

std::optional<TFitRect> FitImageControl(int pw, int ph, int boxWidth, int boxHeight) noexcept {
    if (pw < 1 || ph < 1) return std::nullopt;
    TFitRect r;
    if (double(boxWidth) / boxHeight >= double(pw) / ph) {
        r.Width = int(std::int64_t(pw) * boxHeight / ph);
        r.Height = boxHeight;
    } else {
        r.Width = boxWidth;
        r.Height = int(std::int64_t(ph) * boxWidth / pw);
    }
    // lrint rounds to nearest with halves to even in the default rounding mode.
    r.Left = int(std::lrint((boxWidth - r.Width) / 2.0));
    r.Top = int(std::lrint((boxHeight - r.Height) / 2.0));
    return r;
}

TFitRect FittedPictureRect(int w, int h, int controlWidth, int controlHeight) noexcept {
    if (w < 1 || h < 1) return TFitRect{};
    TFitRect r;
    if (double(controlWidth) / controlHeight >= double(w) / h) {
        r.Height = controlHeight;
        r.Width = int(std::lrint(double(w) * controlHeight / h));
    } else {
        r.Width = controlWidth;
        r.Height = int(std::lrint(double(h) * controlWidth / w));
    }
    r.Left = (controlWidth - r.Width) / 2;
    r.Top = (controlHeight - r.Height) / 2;
    return r;
}

namespace {

struct TPixmanDeleter {
    void operator()(pixman_image_t* image) const noexcept { pixman_image_unref(image); }
};
using TPixmanImage = std::unique_ptr<pixman_image_t, TPixmanDeleter>;

/// A pixman view of a bitmap: r8g8b8 is 24-bit 0xRRGGBB stored little-endian, that is blue,
/// green, red in memory, with rows padded to 4 bytes like ours.
TPixmanImage View(const Bitmap& bitmap) {
    return TPixmanImage(pixman_image_create_bits(
        PIXMAN_r8g8b8, bitmap.Width(), bitmap.Height(),
        reinterpret_cast<uint32_t*>(const_cast<std::uint8_t*>(bitmap.Bits())), bitmap.Stride()));
}

}  // namespace

void StretchDraw(const Bitmap& source, Bitmap& dest, const TFitRect& rect) {
    if (source.Empty() || dest.Empty() || rect.Width < 1 || rect.Height < 1) return;
    TPixmanImage from = View(source);
    TPixmanImage to = View(dest);
    const double sx = double(source.Width()) / rect.Width;
    const double sy = double(source.Height()) / rect.Height;
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy));
    pixman_image_set_transform(from.get(), &transform);
    pixman_image_set_repeat(from.get(), PIXMAN_REPEAT_PAD);
    if (sx > 1 || sy > 1) {
        // Shrinking: a box filter over the covered source pixels, so no detail aliases.
        int count = 0;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(
            &count, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy), PIXMAN_KERNEL_BOX,
            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
        pixman_image_set_filter(from.get(), PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
        std::free(params);
    } else {
        pixman_image_set_filter(from.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    pixman_image_composite32(PIXMAN_OP_SRC, from.get(), nullptr, to.get(), 0, 0, 0, 0, rect.Left,
                             rect.Top, rect.Width, rect.Height);
}

void DrawPictureFitted(const Bitmap& picture, Bitmap& canvas) {
    canvas.FillRgb(0);
    StretchDraw(
        picture, canvas,
        FittedPictureRect(picture.Width(), picture.Height(), canvas.Width(), canvas.Height()));
}

void DrawPictureFitted(const std::string& path, Bitmap& canvas, const MessageSink& messages) {
    // Decoded at full size: the geometry's rounding depends on the picture's own sides.
    const Bitmap picture = LoadPictureToBitmap(path, messages);
    DrawPictureFitted(picture, canvas);
}

}  // namespace velmora
