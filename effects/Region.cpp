#include "effects/Region.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace velmora {

namespace {

void Check(pixman_bool_t ok) {
    if (!ok) throw std::bad_alloc();
}

pixman_box32_t Box(const TRect& r) noexcept { return {r.Left, r.Top, r.Right, r.Bottom}; }

// First pixel whose centre lies at or right of edge position v: ceil(v - 0.5).
int FirstCentreAtOrAfter(double v) noexcept { return int(std::ceil(v - 0.5)); }

// Collects the row spans of a shape, merging runs of rows with identical spans into one taller
// rectangle so that straight-sided shapes stay a handful of boxes.
class TRowCollector {
public:
    // Spans of row y, each [left, right), sorted and not overlapping.
    void AddRow(int y, const std::vector<std::pair<int, int>>& spans) {
        if (y == FOpenBottom && spans == FOpenSpans) {
            for (std::size_t i = FOpenStart; i < FBoxes.size(); ++i) FBoxes[i].y2 = y + 1;
            FOpenBottom = y + 1;
            return;
        }
        FOpenStart = FBoxes.size();
        FOpenSpans = spans;
        FOpenBottom = y + 1;
        for (const auto& [l, r] : spans) FBoxes.push_back({l, y, r, y + 1});
    }
    Region Build() const {
        std::vector<TRect> rects;
        rects.reserve(FBoxes.size());
        for (const auto& b : FBoxes) rects.push_back({b.x1, b.y1, b.x2, b.y2});
        return Region::FromRects(rects);
    }

private:
    std::vector<pixman_box32_t> FBoxes;
    std::vector<std::pair<int, int>> FOpenSpans;
    std::size_t FOpenStart = 0;
    int FOpenBottom = 0;
};

}  // namespace

Region::Region() noexcept { pixman_region32_init(&FRegion); }

Region::Region(const TRect& rect) noexcept {
    if (rect.IsEmpty()) {
        pixman_region32_init(&FRegion);
    } else {
        pixman_region32_init_rect(&FRegion, rect.Left, rect.Top, unsigned(rect.Width()),
                                  unsigned(rect.Height()));
    }
}

Region::Region(const Region& other) {
    pixman_region32_init(&FRegion);
    if (!pixman_region32_copy(&FRegion, &other.FRegion)) {
        pixman_region32_fini(&FRegion);
        throw std::bad_alloc();
    }
}

Region::Region(Region&& other) noexcept {
    // A pixman region holds no pointer to itself, so its fields can change hands.
    pixman_region32_init(&FRegion);
    std::swap(FRegion, other.FRegion);
}

Region& Region::operator=(const Region& other) {
    if (this != &other) Check(pixman_region32_copy(&FRegion, &other.FRegion));
    return *this;
}

Region& Region::operator=(Region&& other) noexcept {
    std::swap(FRegion, other.FRegion);
    return *this;
}

Region::~Region() { pixman_region32_fini(&FRegion); }

Region Region::FromRects(std::span<const TRect> rects) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const TRect& r : rects) {
        if (!r.IsEmpty()) boxes.push_back(Box(r));
    }
    Region result;
    if (boxes.empty()) return result;
    pixman_region32_fini(&result.FRegion);
    // init_rects sorts and merges any collection of (overlapping) boxes in one pass.
    if (!pixman_region32_init_rects(&result.FRegion, boxes.data(), int(boxes.size()))) {
        pixman_region32_init(&result.FRegion);
        throw std::bad_alloc();
    }
    return result;
}

Region Region::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
    if (x2 <= x1 || y2 <= y1) return Region();
    w = std::clamp(w, 0, x2 - x1);
    h = std::clamp(h, 0, y2 - y1);
    if (w == 0 || h == 0) return Region(TRect{x1, y1, x2, y2});
    const double a = w / 2.0;
    const double b = h / 2.0;
    TRowCollector rows;
    std::vector<std::pair<int, int>> span(1);
    for (int y = y1; y < y2; ++y) {
        const double yc = y + 0.5;
        double dy = 0;
        if (yc < y1 + b) dy = (y1 + b) - yc;
        if (yc > y2 - b) dy = yc - (y2 - b);
        const double t = dy / b;
        const double dx = t >= 1 ? 0 : a * std::sqrt(1 - t * t);
        const int left = FirstCentreAtOrAfter(x1 + a - dx);
        const int right = FirstCentreAtOrAfter(x2 - a + dx);
        span[0] = {left, right};
        if (right > left) rows.AddRow(y, span);
    }
    return rows.Build();
}

Region Region::Polygon(std::span<const TPoint> points) {
    const std::size_t n = points.size();
    if (n < 3) return Region();
    int minY = points[0].Y;
    int maxY = points[0].Y;
    for (const TPoint& p : points) {
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    TRowCollector rows;
    std::vector<std::pair<double, int>> crossings;
    std::vector<std::pair<int, int>> spans;
    for (int y = minY; y < maxY; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const TPoint& p = points[i];
            const TPoint& q = points[(i + 1) % n];
            if (p.Y == q.Y) continue;
            const bool down = q.Y > p.Y;
            const double lo = down ? p.Y : q.Y;
            const double hi = down ? q.Y : p.Y;
            if (yc < lo || yc >= hi) continue;
            const double x = p.X + (yc - p.Y) * double(q.X - p.X) / double(q.Y - p.Y);
            crossings.push_back({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end());
        spans.clear();
        int winding = 0;
        double start = 0;
        for (const auto& [x, dir] : crossings) {
            const int before = winding;
            winding += dir;
            if (before == 0 && winding != 0) start = x;
            if (before != 0 && winding == 0) {
                const int l = FirstCentreAtOrAfter(start);
                const int r = FirstCentreAtOrAfter(x);
                if (r <= l) continue;
                if (!spans.empty() && spans.back().second >= l) {
                    spans.back().second = std::max(spans.back().second, r);
                } else {
                    spans.push_back({l, r});
                }
            }
        }
        if (!spans.empty()) rows.AddRow(y, spans);
    }
    return rows.Build();
}

bool Region::IsEmpty() const noexcept { return !pixman_region32_not_empty(&FRegion); }

TRect Region::Extents() const noexcept {
    if (IsEmpty()) return TRect{};
    const pixman_box32_t* e = pixman_region32_extents(&FRegion);
    return {e->x1, e->y1, e->x2, e->y2};
}

bool Region::Contains(int x, int y) const noexcept {
    return pixman_region32_contains_point(&FRegion, x, y, nullptr);
}

long long Region::Area() const noexcept {
    long long area = 0;
    for (const pixman_box32_t& b : Boxes()) area += (long long)(b.x2 - b.x1) * (b.y2 - b.y1);
    return area;
}

Region& Region::operator|=(const Region& other) {
    Check(pixman_region32_union(&FRegion, &FRegion, &other.FRegion));
    return *this;
}

Region& Region::operator&=(const Region& other) {
    Check(pixman_region32_intersect(&FRegion, &FRegion, &other.FRegion));
    return *this;
}

Region& Region::operator-=(const Region& other) {
    Check(pixman_region32_subtract(&FRegion, &FRegion, &other.FRegion));
    return *this;
}

Region& Region::operator^=(const Region& other) {
    // (A - B) | (B - A): pixman has no exclusive-or of its own.
    Region onlyOther = other;
    onlyOther -= *this;
    *this -= other;
    return *this |= onlyOther;
}

bool Region::operator==(const Region& other) const noexcept {
    return pixman_region32_equal(&FRegion, &other.FRegion);
}

void Region::Translate(int dx, int dy) noexcept { pixman_region32_translate(&FRegion, dx, dy); }

std::span<const pixman_box32_t> Region::Boxes() const noexcept {
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&FRegion, &count);
    return {boxes, std::size_t(count)};
}

std::vector<TRect> Region::Rects() const {
    std::vector<TRect> rects;
    for (TRect r : *this) rects.push_back(r);
    return rects;
}

}  // namespace velmora
