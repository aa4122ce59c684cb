#pragma once
// Region: a set of pixels made of rectangles, the clip shape of the region effects. It owns a
// pixman_region32_t (pixman does the rectangle algebra: union, intersection, symmetric
// difference); polygons and rounded rectangles are scan-converted into row rectangles by our
// own rasteriser, a pixel belonging to a shape when its centre (x + 0.5, y + 0.5) lies inside.

#include <pixman.h>

#include <cstddef>
#include <span>
#include <vector>

#include "imaging/Geometry.h"

namespace velmora {

class Region {
public:
    /// The empty region.
    Region() noexcept;
    /// The rectangle Left <= x < Right, Top <= y < Bottom; empty when Right <= Left or
    /// Bottom <= Top (coordinates are not swapped).
    explicit Region(const TRect& rect) noexcept;
    Region(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(const Region& other);
    Region& operator=(Region&& other) noexcept;
    ~Region();

    /// The union of many rectangles built in one call (pixman_region32_init_rects); the way to
    /// make a region of hundreds or thousands of pieces. Empty rectangles are skipped.
    static Region FromRects(std::span<const TRect> rects);
    /// Rectangle (x1, y1, x2, y2) with each corner rounded by a quarter of an ellipse w wide
    /// and h high; w and h are limited to the rectangle's width and height (an ellipse then).
    static Region RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    /// The polygon through the points (closed automatically), filled by the winding rule.
    static Region Polygon(std::span<const TPoint> points);

    bool IsEmpty() const noexcept;
    /// The smallest rectangle holding the region; (0, 0, 0, 0) when empty.
    TRect Extents() const noexcept;
    /// Whether pixel (x, y) belongs to the region.
    bool Contains(int x, int y) const noexcept;
    /// Number of pixels in the region.
    long long Area() const noexcept;

    /// Union.
    Region& operator|=(const Region& other);
    /// Intersection.
    Region& operator&=(const Region& other);
    /// Symmetric difference: the pixels in exactly one of the two regions.
    Region& operator^=(const Region& other);
    /// Difference: the pixels of this region that are not in the other.
    Region& operator-=(const Region& other);
    friend Region operator|(Region a, const Region& b) { return a |= b; }
    friend Region operator&(Region a, const Region& b) { return a &= b; }
    friend Region operator^(Region a, const Region& b) { return a ^= b; }
    friend Region operator-(Region a, const Region& b) { return a -= b; }
    /// Same pixels.
    bool operator==(const Region& other) const noexcept;

    /// Moves the region by (dx, dy).
    void Translate(int dx, int dy) noexcept;

    /// The region's rectangles, y-x banded (sorted by rows, then columns, not overlapping).
    std::span<const pixman_box32_t> Boxes() const noexcept;
    /// The same rectangles as TRect values.
    std::vector<TRect> Rects() const;

    /// Iteration over the rectangles as TRect values: for (TRect r : region) ...
    class Iterator {
    public:
        explicit Iterator(const pixman_box32_t* box) noexcept : FBox(box) {}
        TRect operator*() const noexcept { return {FBox->x1, FBox->y1, FBox->x2, FBox->y2}; }
        Iterator& operator++() noexcept {
            ++FBox;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

    private:
        const pixman_box32_t* FBox;
    };
    Iterator begin() const noexcept { return Iterator(Boxes().data()); }
    Iterator end() const noexcept { return Iterator(Boxes().data() + Boxes().size()); }

    /// The pixman region, for pixman calls of our own.
    const pixman_region32_t* Native() const noexcept { return &FRegion; }

private:
    pixman_region32_t FRegion;
};

}  // namespace velmora
