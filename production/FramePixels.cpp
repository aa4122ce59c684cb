#include "production/FramePixels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Each channel keeps three column sums sliding along a row; the left one already includes the
// softened pixel to its left, which makes each channel of a row one chain in which every value
// waits for the one before (an add, a division and an add). The sums that do not depend on the
// chain are made first for the whole row, in plain loops the compiler turns into vector code.
// The arithmetic and the visiting order per channel are exactly those of the definition.

// Scratch rows of 3 x width entries each.
class TBlurScratch {
public:
    explicit TBlurScratch(int width) : FWidth(width), FData(std::size_t(width) * 30) {}
    std::uint16_t* Row(int k) noexcept { return FData.data() + std::size_t(k) * 3 * FWidth; }

private:
    int FWidth;
    std::vector<std::uint16_t> FData;
};

// For the pixel at i of row mid: centre + right column sums (pair), and what its column sum
// becomes once the pixel itself is replaced (rest: the old value taken out; the new one is
// added in the chain). cs receives the column sums.
void RowSums(const std::uint8_t* above, const std::uint8_t* mid, const std::uint8_t* below, int n,
             std::uint16_t* cs, std::uint16_t* pair, std::uint16_t* rest) noexcept {
    for (int i = 0; i < n; ++i) cs[i] = std::uint16_t(above[i] + mid[i] + below[i]);
    for (int i = 0; i < n - 3; ++i) {
        pair[i] = std::uint16_t(cs[i] + cs[i + 3]);
        rest[i] = std::uint16_t(cs[i] - mid[i]);
    }
}

#if defined(__SSE2__)

// A pixel's three channels in the low three 16-bit lanes (the fourth lane is scratch).
inline __m128i Load3(const std::uint16_t* p) noexcept {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

inline __m128i Widen3(const std::uint8_t* p) noexcept {
    const int bytes = p[0] | p[1] << 8 | p[2] << 16;
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128());
}

// Writes the three channels and the fourth lane's byte: the caller restores the byte after the
// row's last pixel, every other one is overwritten by the next pixel.
inline void Store3(std::uint8_t* p, __m128i v) noexcept {
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(v, v));
    std::memcpy(p, &bytes, 4);
}

// x div 9 for 0 <= x <= 9 x 255, all lanes at once: (x x 7282) >> 16 is exact in that range.
inline __m128i Div9(__m128i x) noexcept { return _mm_mulhi_epu16(x, _mm_set1_epi16(7282)); }

// Softens K consecutive rows, first..first + K - 1, together: the row above them is softened,
// the row below them old. Each row's chain carries its three channels in one vector, and each
// row trails the one above it by one pixel, so K chains are in flight at once. Row k's pixel q
// needs row k - 1's new pixels q - 1 .. q + 1; with the lag, q + 1 was made in the same step and
// q in the step before, and both are kept in registers (q - 1 is inside the left sum).
template <int K>
void BlurRows(Bitmap& bitmap, int first, TBlurScratch& scratch) noexcept {
    const int width = bitmap.Width();
    const int n = 3 * width;
    std::uint8_t* row[K + 2];
    for (int k = 0; k < K + 2; ++k) row[k] = bitmap.Row(first - 1 + k);
    std::uint16_t* cs = scratch.Row(0);
    std::uint16_t* pair = scratch.Row(1);
    std::uint16_t* rest = scratch.Row(2);
    RowSums(row[0], row[1], row[2], n, cs, pair, rest);
    // For each lower row k (1..K-1): low = the row + the one below it, lowPair = low at a pixel
    // and at the one to its right, under = the row below it.
    std::uint16_t* lowPair[K];
    std::uint16_t* under[K];
    __m128i left[K];      // each row's left sum
    __m128i previous[K];  // each row's new pixel before the last one made
    __m128i last[K];      // each row's last new pixel
    __m128i end[K];       // each row's last column, which never changes
    std::uint8_t endByte[K];
    for (int k = 0; k < K; ++k) {
        std::uint8_t* mid = row[k + 1];
        end[k] = Widen3(mid + n - 3);
        endByte[k] = mid[n - 3];
        last[k] = Widen3(mid);
        previous[k] = last[k];
        if (k == 0) {
            left[k] = Load3(cs);
            continue;
        }
        std::uint16_t* low = scratch.Row(3);
        lowPair[k] = scratch.Row(2 + 2 * k);
        under[k] = scratch.Row(3 + 2 * k);
        const std::uint8_t* below = row[k + 2];
        for (int i = 0; i < n; ++i) {
            low[i] = std::uint16_t(mid[i] + below[i]);
            under[k][i] = below[i];
        }
        for (int i = 0; i < n - 3; ++i) lowPair[k][i] = std::uint16_t(low[i] + low[i + 3]);
        left[k] = _mm_add_epi16(Widen3(row[k]), Load3(low));
    }
    // Step p makes pixel p - k of row k, for the rows where that pixel is inside.
    const auto step = [&](int k, int q) noexcept {
        const int i = 3 * q;
        __m128i v;
        if (k == 0) {
            v = Div9(_mm_add_epi16(left[0], Load3(pair + i)));
            left[0] = _mm_add_epi16(Load3(rest + i), v);
        } else {
            const __m128i above = _mm_add_epi16(previous[k - 1], last[k - 1]);
            v = Div9(_mm_add_epi16(_mm_add_epi16(left[k], Load3(lowPair[k] + i)), above));
            left[k] = _mm_add_epi16(_mm_add_epi16(previous[k - 1], Load3(under[k] + i)), v);
        }
        Store3(row[k + 1] + i, v);
        previous[k] = last[k];
        last[k] = v;
    };
    const auto edgeStep = [&](int p) noexcept {
        for (int k = 0; k < K; ++k) {
            const int q = p - k;
            if (q >= 1 && q <= width - 2) {
                step(k, q);
            } else if (q == width - 1) {
                previous[k] = last[k];
                last[k] = end[k];
            }
        }
    };
    int p = 1;
    for (; p < K && p <= width - 2; ++p) edgeStep(p);
    for (; p <= width - 2; ++p) {
        for (int k = 0; k < K; ++k) step(k, p - k);
    }
    for (; p <= width - 2 + K - 1; ++p) edgeStep(p);
    for (int k = 0; k < K; ++k) row[k + 1][n - 3] = endByte[k];
}

#else

// Softens row `mid` alone between `above` (already softened) and `below` (old); the three
// channels' chains run side by side.
void BlurRow(const std::uint8_t* above, std::uint8_t* mid, const std::uint8_t* below, int width,
             TBlurScratch& scratch) noexcept {
    const int n = 3 * width;
    std::uint16_t* cs = scratch.Row(0);
    std::uint16_t* pair = scratch.Row(1);
    std::uint16_t* rest = scratch.Row(2);
    RowSums(above, mid, below, n, cs, pair, rest);
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

#endif

}  // namespace

void BlurBitmap(Bitmap& bitmap) {
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (width < 3 || height < 3) return;
    TBlurScratch scratch(width);
    int y = 1;
#if defined(__SSE2__)
    // Four rows at a time, then the one to three left.
    for (; y + 3 < height - 1; y += 4) BlurRows<4>(bitmap, y, scratch);
    switch (height - 1 - y) {
        case 3:
            BlurRows<3>(bitmap, y, scratch);
            return;
        case 2:
            BlurRows<2>(bitmap, y, scratch);
            return;
        case 1:
            BlurRows<1>(bitmap, y, scratch);
            return;
        default:
            return;
    }
#else
    for (; y < height - 1; ++y) {
        BlurRow(bitmap.Row(y - 1), bitmap.Row(y), bitmap.Row(y + 1), width, scratch);
    }
#endif
}

}  // namespace velmora
