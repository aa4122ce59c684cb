#include "imaging/Fitting.h"

#include <pixman.h>

#include <cmath>
#include <memory>

#include "imaging/LoadPicture.h"

namespace velmora {

std::optional<TRect> FitImageControl(int pw, int ph, int boxWidth, int boxHeight) noexcept {
    if (pw < 1 || ph < 1) return std::nullopt;
    int width, height;
    if (double(boxWidth) / boxHeight >= double(pw) / ph) {
        width = int(std::int64_t(pw) * boxHeight / ph);
        height = boxHeight;
    } else {
        width = boxWidth;
        height = int(std::int64_t(ph) * boxWidth / pw);
    }
    // lrint rounds to nearest with halves to even in the default rounding mode.
    return TRect::Sized(int(std::lrint((boxWidth - width) / 2.0)),
                        int(std::lrint((boxHeight - height) / 2.0)), width, height);
}

TRect FittedPictureRect(int w, int h, int controlWidth, int controlHeight) noexcept {
    if (w < 1 || h < 1) return TRect{};
    int width, height;
    if (double(controlWidth) / controlHeight >= double(w) / h) {
        height = controlHeight;
        width = int(std::lrint(double(w) * controlHeight / h));
    } else {
        width = controlWidth;
        height = int(std::lrint(double(h) * controlWidth / w));
    }
    return TRect::Sized((controlWidth - width) / 2, (controlHeight - height) / 2, width, height);
}

TRect FitPicture(int canvasWidth, int canvasHeight, int pw, int ph) noexcept {
    std::int64_t fitWidth;
    std::int64_t fitHeight;
    if (double(canvasWidth) / canvasHeight >= double(pw) / ph) {
        fitHeight = canvasHeight;
        fitWidth = std::int64_t(pw) * canvasHeight / ph;
    } else {
        fitWidth = canvasWidth;
        fitHeight = std::int64_t(ph) * canvasWidth / pw;
    }
    const int left = int((canvasWidth - fitWidth) / 2);
    const int top = int((canvasHeight - fitHeight) / 2);
    return {left, top, canvasWidth - left, canvasHeight - top};
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

void StretchDraw(const Bitmap& source, Bitmap& dest, const TRect& rect) {
    if (source.Empty() || dest.Empty() || rect.Width() < 1 || rect.Height() < 1) return;
    TPixmanImage from = View(source);
    TPixmanImage to = View(dest);
    const double sx = double(source.Width()) / rect.Width();
    const double sy = double(source.Height()) / rect.Height();
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
                             rect.Top, rect.Width(), rect.Height());
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
