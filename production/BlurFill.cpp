#include "production/BlurFill.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velmora {

namespace {

/// Samples per block side when averaging the picture down: 4 x 4 spread over each block
/// is plenty before a strong blur, and reads a small share of a large photo.
constexpr int SamplesPerSide = 4;

/// A small image of three float-free channels kept as 32-bit sums during the blur.
struct TSmall {
    int Width = 0;
    int Height = 0;
    std::vector<std::int32_t> Pixels;  // 3 per pixel, blue first
    std::int32_t* At(int x, int y) { return Pixels.data() + 3 * (std::size_t(y) * Width + x); }
};

/// The picture's centred cover crop averaged down to small.Width x small.Height.
void AverageCover(const Bitmap& picture, TSmall& small) {
    const std::int64_t pw = picture.Width();
    const std::int64_t ph = picture.Height();
    const std::int64_t sw = small.Width;
    const std::int64_t sh = small.Height;
    // The crop of the picture with the small image's ratio: full width or full height.
    std::int64_t cw = pw;
    std::int64_t ch = pw * sh / sw;
    if (ch > ph) {
        ch = ph;
        cw = std::max<std::int64_t>(1, ph * sw / sh);
    }
    ch = std::max<std::int64_t>(ch, 1);
    const std::int64_t cx = (pw - cw) / 2;
    const std::int64_t cy = (ph - ch) / 2;
    const int nx = int(std::min<std::int64_t>(SamplesPerSide, std::max<std::int64_t>(1, cw / sw)));
    const int ny = int(std::min<std::int64_t>(SamplesPerSide, std::max<std::int64_t>(1, ch / sh)));
    // Source columns of every sample, worked out once: sample s of block x sits at the centre
    // of its share of the block.
    std::vector<std::int32_t> columns(std::size_t(sw * nx));
    for (std::int64_t x = 0; x < sw; ++x) {
        for (int s = 0; s < nx; ++s) {
            const std::int64_t at = cx + ((x * nx + s) * 2 + 1) * cw / (2 * sw * nx);
            columns[std::size_t(x * nx + s)] = std::int32_t(3 * std::min(at, pw - 1));
        }
    }
    for (std::int64_t y = 0; y < sh; ++y) {
        std::int32_t* out = small.At(0, int(y));
        std::fill(out, out + 3 * sw, 0);
        for (int t = 0; t < ny; ++t) {
            const std::int64_t row = cy + ((y * ny + t) * 2 + 1) * ch / (2 * sh * ny);
            const std::uint8_t* from = picture.Row(int(std::min(row, ph - 1)));
            const std::int32_t* column = columns.data();
            for (std::int64_t x = 0; x < sw; ++x) {
                std::int32_t* o = out + 3 * x;
                for (int s = 0; s < nx; ++s, ++column) {
                    const std::uint8_t* p = from + *column;
                    o[0] += p[0];
                    o[1] += p[1];
                    o[2] += p[2];
                }
            }
        }
        const int count = nx * ny;
        for (std::int64_t i = 0; i < 3 * sw; ++i) out[i] /= count;
    }
}

/// One pass of a box filter of radius r along a line of n pixels (stride in ints between
/// pixels), edges repeated; tmp holds n pixels.
void BoxLine(std::int32_t* line, int n, int stride, int r, std::vector<std::int32_t>& tmp) {
    for (int i = 0; i < n; ++i) std::memcpy(&tmp[3 * i], line + std::ptrdiff_t(i) * stride, 12);
    const int width = 2 * r + 1;
    std::int32_t sum[3] = {0, 0, 0};
    for (int k = -r; k <= r; ++k) {
        const int i = std::clamp(k, 0, n - 1);
        for (int c = 0; c < 3; ++c) sum[c] += tmp[3 * i + c];
    }
    for (int i = 0; i < n; ++i) {
        std::int32_t* out = line + std::ptrdiff_t(i) * stride;
        for (int c = 0; c < 3; ++c) out[c] = sum[c] / width;
        const int leaving = std::clamp(i - r, 0, n - 1);
        const int entering = std::clamp(i + r + 1, 0, n - 1);
        for (int c = 0; c < 3; ++c) sum[c] += tmp[3 * entering + c] - tmp[3 * leaving + c];
    }
}

void BoxBlur(TSmall& small, int r) {
    std::vector<std::int32_t> tmp(std::size_t(3 * std::max(small.Width, small.Height)));
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < small.Height; ++y) BoxLine(small.At(0, y), small.Width, 3, r, tmp);
        for (int x = 0; x < small.Width; ++x) {
            BoxLine(small.At(x, 0), small.Height, 3 * small.Width, r, tmp);
        }
    }
}

/// Bilinear scaling of small to fill's size (pixel centres aligned), darkened.
void ScaleUp(TSmall& small, Bitmap& fill) {
    const int w = fill.Width();
    const int h = fill.Height();
    // 16.16 fixed-point source positions of every column: the left sample and its weight.
    std::vector<std::int32_t> left(static_cast<std::size_t>(w));
    std::vector<std::int32_t> weight(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const std::int64_t at = std::max<std::int64_t>(
            0, ((2 * x + 1) * std::int64_t(small.Width) << 16) / (2 * w) - (1 << 15));
        left[std::size_t(x)] = std::int32_t(std::min<std::int64_t>(at >> 16, small.Width - 1));
        weight[std::size_t(x)] = std::int32_t(at & 0xFFFF) >> 8;  // 0..255
    }
    std::vector<std::int32_t> row(std::size_t(3 * small.Width));
    for (int y = 0; y < h; ++y) {
        const std::int64_t at = std::max<std::int64_t>(
            0, ((2 * y + 1) * std::int64_t(small.Height) << 16) / (2 * h) - (1 << 15));
        const int top = int(std::min<std::int64_t>(at >> 16, small.Height - 1));
        const int bottom = std::min(top + 1, small.Height - 1);
        const std::int32_t wy = std::int32_t(at & 0xFFFF) >> 8;
        const std::int32_t* a = small.At(0, top);
        const std::int32_t* b = small.At(0, bottom);
        for (int i = 0; i < 3 * small.Width; ++i)
            row[std::size_t(i)] = a[i] * (256 - wy) + b[i] * wy;
        std::uint8_t* out = fill.Row(y);
        for (int x = 0; x < w; ++x, out += 3) {
            const std::int32_t* p = row.data() + 3 * left[std::size_t(x)];
            const std::int32_t* q = left[std::size_t(x)] + 1 < small.Width ? p + 3 : p;
            const std::int32_t wx = weight[std::size_t(x)];
            for (int c = 0; c < 3; ++c) {
                // 8 + 8 bits of weights, then the brightness in 256ths.
                const std::int64_t v =
                    std::int64_t(p[c] * (256 - wx) + q[c] * wx) * BlurFillBrightness;
                out[c] = std::uint8_t(std::min<std::int64_t>(255, v >> 24));
            }
        }
    }
}

}  // namespace

void MakeBlurredFill(const Bitmap& picture, int width, int height, Bitmap& fill) {
    if (picture.Empty() || width <= 0 || height <= 0) {
        fill = Bitmap();
        return;
    }
    TSmall small;
    small.Width = std::max(1, (width + 7) / 8);
    small.Height = std::max(1, (height + 7) / 8);
    small.Pixels.resize(std::size_t(3) * small.Width * small.Height);
    AverageCover(picture, small);
    // Three passes of radius w/32 in the small image: a blur of about a twentieth of the
    // frame's width, enough that no detail of the picture is left, only its colours.
    BoxBlur(small, std::max(1, small.Width / 32));
    if (fill.Width() != width || fill.Height() != height) fill.SetSize(width, height);
    ScaleUp(small, fill);
}

void ExpandBy3Around(const Bitmap& frame, Bitmap& canvas, const TRect& keep) noexcept {
    const int w = std::min(frame.Width(), canvas.Width() / 3);
    const int h = std::min(frame.Height(), canvas.Height() / 3);
    const int keepLeft = std::clamp(keep.Left, 0, 3 * w);
    const int keepRight = std::clamp(keep.Right, keepLeft, 3 * w);
    bool aboveFull = false;  // the row above was written in full from the same frame row
    for (int y = 0; y < 3 * h; ++y) {
        const std::uint8_t* from = frame.Row(y / 3);
        std::uint8_t* out = canvas.Row(y);
        const bool inside = y >= keep.Top && y < keep.Bottom && keepRight > keepLeft;
        if (!inside && aboveFull && y % 3 != 0) {
            std::memcpy(out, canvas.Row(y - 1), std::size_t(9) * w);
            continue;
        }
        aboveFull = !inside;
        for (int x = 0; x < 3 * w; ++x) {
            if (inside && x == keepLeft) {
                x = keepRight - 1;
                continue;
            }
            const std::uint8_t* p = from + 3 * (x / 3);
            out[3 * x] = p[0];
            out[3 * x + 1] = p[1];
            out[3 * x + 2] = p[2];
        }
    }
}

}  // namespace velmora
