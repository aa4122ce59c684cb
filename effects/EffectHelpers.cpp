#include "effects/EffectHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {

namespace {

int ClampToInt(long long v) noexcept {
    return int(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Which source pixel every visible destination pixel of one axis reads. The destination
// interval runs from d0 towards d1 and the source interval from s0 towards s1; either may run
// backwards (mirrored). Entry k belongs to destination pixel First + k and holds the source
// pixel, or -1 when that lies outside 0 .. sourceSize - 1.
struct TAxisMap {
    int First = 0;
    std::vector<int> Source;
    // Whether the valid entries form one run of consecutive ascending source pixels.
    bool Unscaled = false;
};

TAxisMap MapAxis(int d0, int d1, int s0, int s1, int displaySize, int sourceSize) {
    TAxisMap map;
    const long long n = std::llabs((long long)d1 - d0);
    const long long m = std::llabs((long long)s1 - s0);
    const int lo = std::max(std::min(d0, d1), 0);
    const int hi = std::min(std::max(d0, d1), displaySize);
    map.First = lo;
    map.Unscaled = n == m && d1 > d0 && s1 > s0;
    if (hi <= lo) return map;
    map.Source.resize(std::size_t(hi - lo));
    for (int x = lo; x < hi; ++x) {
        const long long i = d1 > d0 ? (long long)x - d0 : (long long)d0 - 1 - x;
        // Nearest pixel: the destination pixel's centre sampled in the source.
        const long long j = (2 * i + 1) * m / (2 * n);
        const long long s = s1 > s0 ? s0 + j : (long long)s0 - 1 - j;
        map.Source[std::size_t(x - lo)] = (s >= 0 && s < sourceSize) ? int(s) : -1;
    }
    return map;
}

// The source rows that one copy reads, kept apart when the copy reads the display itself.
class TSourceRows {
public:
    TSourceRows(const Bitmap& source, bool copyFirst, const std::vector<int>& rows)
        : FSource(source) {
        if (!copyFirst) return;
        int lo = std::numeric_limits<int>::max();
        int hi = -1;
        for (int r : rows) {
            if (r < 0) continue;
            lo = std::min(lo, r);
            hi = std::max(hi, r);
        }
        if (hi < lo) return;
        FFirst = lo;
        FCopy.assign(source.Bits() + std::size_t(lo) * source.Stride(),
                     source.Bits() + std::size_t(hi + 1) * source.Stride());
    }
    const std::uint8_t* Row(int y) const noexcept {
        if (FCopy.empty()) return FSource.Row(y);
        return FCopy.data() + std::size_t(y - FFirst) * FSource.Stride();
    }

private:
    const Bitmap& FSource;
    std::vector<std::uint8_t> FCopy;
    int FFirst = 0;
};

// One row of the blend: d = (d x (100 - p) + s x p) / 100 for n bytes. The mix is at most
// 25500, and mix / 100 is exactly (mix x 5243) >> 19 there: a multiply and shifts, which the
// SSE2 path does on 16 bytes at a time (the high half of mix x 5243, then 3 more bits).
void BlendRow(std::uint8_t* d, const std::uint8_t* s, int n, int p) noexcept {
    const std::uint32_t keep = std::uint32_t(100 - p);
    const std::uint32_t take = std::uint32_t(p);
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i keep16 = _mm_set1_epi16(short(keep));
    const __m128i take16 = _mm_set1_epi16(short(take));
    const __m128i magic = _mm_set1_epi16(5243);
    auto mixHalf = [&](__m128i dh, __m128i sh) {
        const __m128i mix = _mm_add_epi16(_mm_mullo_epi16(dh, keep16), _mm_mullo_epi16(sh, take16));
        return _mm_srli_epi16(_mm_mulhi_epu16(mix, magic), 3);
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i lo = mixHalf(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero));
        const __m128i hi = mixHalf(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
        const std::uint32_t mix = d[i] * keep + s[i] * take;
        d[i] = std::uint8_t((mix * 5243u) >> 19);
    }
}

// dst[i] = the pixel at byte offset offsets[i] of the source row (rowBytes long), for every i.
// Pixels move as 4-byte words where the word stays inside the source row; the fourth byte
// lands on the next destination pixel, which is written right after.
void GatherPixels(std::uint8_t* dst, const std::uint8_t* src, const std::vector<int>& offsets,
                  int rowBytes) noexcept {
    const std::size_t count = offsets.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const int o = offsets[i];
        if (o + 4 <= rowBytes) {
            std::uint32_t word;
            std::memcpy(&word, src + o, 4);
            std::memcpy(dst + 3 * i, &word, 4);
        } else {
            std::memcpy(dst + 3 * i, src + o, 3);
        }
    }
    if (count > 0) std::memcpy(dst + 3 * (count - 1), src + offsets[count - 1], 3);
}

}  // namespace

int MulDiv(int a, int b, int c) noexcept {
    if (c == 0) return 0;
    const long long p = (long long)a * b;
    const bool negative = (p < 0) != (c < 0);
    const long long ap = std::llabs(p);
    const long long ac = std::llabs((long long)c);
    const long long q = (2 * ap + ac) / (2 * ac);
    return ClampToInt(negative ? -q : q);
}

int Round(double value) noexcept {
    // nearbyint rounds halves to even in the default rounding mode.
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return int(r);
}

TFrameMetrics FrameMetrics(const TRect& r, int progress, int granularity) noexcept {
    TFrameMetrics m;
    m.W = r.Right - r.Left;
    m.H = r.Bottom - r.Top;
    if (m.W >= m.H) {
        m.X = MulDiv(m.W, progress, 100);
        m.Y = MulDiv(m.X, m.H, m.W);
        m.Divisions = MulDiv(m.W, granularity, 90);
    } else {
        m.Y = MulDiv(m.H, progress, 100);
        m.X = MulDiv(m.Y, m.W, m.H);
        m.Divisions = MulDiv(m.H, granularity, 90);
    }
    return m;
}

void BlendBitmaps(Bitmap& display, const Bitmap& image, int p) noexcept {
    p = std::clamp(p, 0, 100);
    const int width = std::min(display.Width(), image.Width());
    const int height = std::min(display.Height(), image.Height());
    for (int y = 0; y < height; ++y) BlendRow(display.Row(y), image.Row(y), 3 * width, p);
}

void CopyRect(Bitmap& display, const TRect& d, const Bitmap& source, const TRect& s) {
    if (d.Width() == 0 || d.Height() == 0 || s.Width() == 0 || s.Height() == 0) return;
    const TAxisMap cols =
        MapAxis(d.Left, d.Right, s.Left, s.Right, display.Width(), source.Width());
    const TAxisMap rows =
        MapAxis(d.Top, d.Bottom, s.Top, s.Bottom, display.Height(), source.Height());
    if (cols.Source.empty() || rows.Source.empty()) return;

    // The run of valid columns; for an unscaled copy it is one block of bytes per row.
    std::size_t firstValid = 0;
    while (firstValid < cols.Source.size() && cols.Source[firstValid] < 0) ++firstValid;
    std::size_t endValid = cols.Source.size();
    while (endValid > firstValid && cols.Source[endValid - 1] < 0) --endValid;
    if (firstValid == endValid) return;

    const TSourceRows sourceRows(source, &source == &display, rows.Source);
    const int dx0 = cols.First + int(firstValid);
    const std::size_t count = endValid - firstValid;
    std::vector<int> byteOffsets;
    if (!cols.Unscaled) {
        byteOffsets.resize(count);
        for (std::size_t k = 0; k < count; ++k) {
            byteOffsets[k] = 3 * cols.Source[firstValid + k];
        }
    }
    const std::uint8_t* previousDst = nullptr;
    int previousSy = -1;
    for (std::size_t k = 0; k < rows.Source.size(); ++k) {
        const int sy = rows.Source[k];
        if (sy < 0) continue;
        std::uint8_t* dst = display.Pixel(dx0, rows.First + int(k));
        if (sy == previousSy) {
            // A magnified row repeats the row drawn just before it.
            std::memcpy(dst, previousDst, 3 * count);
            continue;
        }
        const std::uint8_t* src = sourceRows.Row(sy);
        if (cols.Unscaled) {
            std::memmove(dst, src + 3 * cols.Source[firstValid], 3 * count);
        } else {
            GatherPixels(dst, src, byteOffsets, 3 * source.Width());
        }
        previousSy = sy;
        previousDst = dst;
    }
}

void StretchMirror(Bitmap& display, TRect d, const Bitmap& source, TRect s, bool mirrorX,
                   bool mirrorY) {
    s = Intersect(s, TRect{0, 0, source.Width(), source.Height()});
    if (s.IsEmpty()) return;
    if (mirrorX) d = TRect{d.Right + 1, d.Top, d.Left - 1, d.Bottom};
    if (mirrorY) d = TRect{d.Left, d.Bottom + 1, d.Right, d.Top - 1};
    CopyRect(display, d, source, s);
}

void ClipDraw(Bitmap& display, const Region& region, const Bitmap& image) noexcept {
    const int width = std::min(display.Width(), image.Width());
    const int height = std::min(display.Height(), image.Height());
    for (const pixman_box32_t& b : region.Boxes()) {
        const int l = std::max(b.x1, 0);
        const int r = std::min(b.x2, width);
        if (r <= l) continue;
        const int top = std::max(b.y1, 0);
        const int bottom = std::min(b.y2, height);
        for (int y = top; y < bottom; ++y) {
            std::memcpy(display.Pixel(l, y), image.Pixel(l, y), std::size_t(3 * (r - l)));
        }
    }
}

Region TriangleRegion(int x1, int y1, int x2, int y2, int x3, int y3) {
    const TPoint points[] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return Region::Polygon(points);
}

Region SectorRegion(int cx, int cy, int radius, double a, double b, int n) {
    if (n < 1) return Region();
    std::vector<TPoint> points;
    points.reserve(std::size_t(n) + 1);
    points.push_back({cx, cy});
    for (int k = 0; k < n; ++k) {
        const double t = a + k * (b - a) / n;
        points.push_back({cx + Round(radius * std::cos(t)), cy + Round(radius * std::sin(t))});
    }
    return Region::Polygon(points);
}

void RotatePoints(std::span<TPoint> points, int cx, int cy, double angle) noexcept {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (TPoint& p : points) {
        const double dx = p.X - cx;
        const double dy = p.Y - cy;
        p = {cx + Round(dx * c - dy * s), cy + Round(dx * s + dy * c)};
    }
}

}  // namespace velmora
