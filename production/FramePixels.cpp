#include "production/FramePixels.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velmora {

void StretchBitmap(const Bitmap& src, Bitmap& dst, const TRect& to) noexcept {
    if (src.Empty() || dst.Empty() || to.Width() <= 0 || to.Height() <= 0) return;
    const int x0 = std::max(to.Left, 0);
    const int x1 = std::min(to.Right, dst.Width());
    const int y0 = std::max(to.Top, 0);
    const int y1 = std::min(to.Bottom, dst.Height());
    if (x0 >= x1 || y0 >= y1) return;
    // Source byte offset of every target column, worked out once: the source pixel under the
    // centre of target pixel dx is (2 dx + 1) sw / (2 dw).
    const std::int64_t sw = src.Width();
    const std::int64_t sh = src.Height();
    const std::int64_t dw = to.Width();
    const std::int64_t dh = to.Height();
    std::vector<std::int32_t> offsets(std::size_t(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        const std::int64_t dx = x - to.Left;
        offsets[std::size_t(x - x0)] = std::int32_t(3 * ((2 * dx + 1) * sw / (2 * dw)));
    }
    const std::int32_t* offsetData = offsets.data();
    const int count = x1 - x0;
    for (int y = y0; y < y1; ++y) {
        const std::int64_t dy = y - to.Top;
        const std::uint8_t* from = src.Row(int((2 * dy + 1) * sh / (2 * dh)));
        std::uint8_t* out = dst.Row(y) + 3 * x0;
        for (int i = 0; i < count; ++i, out += 3) {
            const std::uint8_t* p = from + offsetData[i];
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
        }
    }
}

void ReduceBy3(const Bitmap& canvas, Bitmap& dest) noexcept {
    const int width = dest.Width();
    const int height = dest.Height();
    if (canvas.Width() < 3 * width || canvas.Height() < 3 * height) return;
    const std::size_t rowBytes = std::size_t(9) * width;
    // Column sums of the three canvas rows of one output row (at most 3 x 255 each).
    std::vector<std::uint16_t> columns(rowBytes);
    std::uint16_t* sums = columns.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* r0 = canvas.Row(3 * y);
        const std::uint8_t* r1 = canvas.Row(3 * y + 1);
        const std::uint8_t* r2 = canvas.Row(3 * y + 2);
        for (std::size_t i = 0; i < rowBytes; ++i) sums[i] = std::uint16_t(r0[i] + r1[i] + r2[i]);
        std::uint8_t* out = dest.Row(y);
        const std::uint16_t* s = sums;
        for (int x = 0; x < width; ++x, s += 9, out += 3) {
            out[0] = std::uint8_t(unsigned(s[0] + s[3] + s[6]) / 9u);
            out[1] = std::uint8_t(unsigned(s[1] + s[4] + s[7]) / 9u);
            out[2] = std::uint8_t(unsigned(s[2] + s[5] + s[8]) / 9u);
        }
    }
}

namespace {

// Softens row `mid` in place between rows `above` (already softened) and `below` (old); `cs`
// and `pair`/`rest` are scratch rows of 3 x width entries.
//
// Each channel keeps three column sums sliding along; the left one already includes the
// softened pixel to its left. That makes each channel one chain in which every value waits
// for the one before, so the work is split: the sums that do not depend on the chain are made
// first for the whole row, in plain loops the compiler turns into vector code, and the chain
// itself then runs the three channels side by side, each step an add, a division and an add.
// The arithmetic and the visiting order per channel are exactly those of the definition.
void BlurRow(const std::uint8_t* above, std::uint8_t* mid, const std::uint8_t* below, int width,
             std::uint16_t* cs, std::uint16_t* pair, std::uint16_t* rest) noexcept {
    const int n = 3 * width;
    for (int i = 0; i < n; ++i) cs[i] = std::uint16_t(above[i] + mid[i] + below[i]);
    // For the pixel at i: centre + right column sums, and what its column sum becomes once
    // the pixel itself is replaced (the old value taken out; the new one is added in the chain).
    for (int i = 0; i < n - 3; ++i) {
        pair[i] = std::uint16_t(cs[i] + cs[i + 3]);
        rest[i] = std::uint16_t(cs[i] - mid[i]);
    }
    unsigned left0 = cs[0], left1 = cs[1], left2 = cs[2];
    for (int i = 3; i < n - 3; i += 3) {
        const unsigned v0 = (left0 + pair[i]) / 9u;
        const unsigned v1 = (left1 + pair[i + 1]) / 9u;
        const unsigned v2 = (left2 + pair[i + 2]) / 9u;
        left0 = rest[i] + v0;
        left1 = rest[i + 1] + v1;
        left2 = rest[i + 2] + v2;
        mid[i] = std::uint8_t(v0);
        mid[i + 1] = std::uint8_t(v1);
        mid[i + 2] = std::uint8_t(v2);
    }
}

}  // namespace

void BlurBitmap(Bitmap& bitmap) {
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (width < 3 || height < 3) return;
    std::vector<std::uint16_t> scratch(std::size_t(width) * 9);
    std::uint16_t* cs = scratch.data();
    std::uint16_t* pair = cs + 3 * width;
    std::uint16_t* rest = pair + 3 * width;
    for (int y = 1; y < height - 1; ++y) {
        BlurRow(bitmap.Row(y - 1), bitmap.Row(y), bitmap.Row(y + 1), width, cs, pair, rest);
    }
}

}  // namespace velmora
