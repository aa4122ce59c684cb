#pragma once
// Whole-number points and rectangles: the one rectangle type of the effects, of picture fitting
// and of frame composition. A rectangle is (Left, Top, Right, Bottom) with Right and Bottom
// exclusive, the form every effect formula is written in.

namespace velmora {

/// A point in pixels, y pointing down.
struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// A rectangle covering Left <= x < Right, Top <= y < Bottom. Right < Left (or Bottom < Top)
/// is allowed in copy rectangles, where it mirrors the copy on that axis.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    /// Right - Left; negative for a mirrored rectangle.
    constexpr int Width() const noexcept { return Right - Left; }
    /// Bottom - Top; negative for a mirrored rectangle.
    constexpr int Height() const noexcept { return Bottom - Top; }
    /// The width x height rectangle with its top-left at (left, top).
    static constexpr TRect Sized(int left, int top, int width, int height) noexcept {
        return {left, top, left + width, top + height};
    }
    /// True when the rectangle covers no pixel (Right <= Left or Bottom <= Top).
    constexpr bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

/// The intersection of two rectangles; an empty rectangle when they do not overlap.
constexpr TRect Intersect(const TRect& a, const TRect& b) noexcept {
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (r.IsEmpty()) return TRect{};
    return r;
}

}  // namespace velmora
