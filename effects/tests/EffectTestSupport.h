#pragma once
// Helpers of the effects tests: pictures whose every pixel tells where it came from, padding
// sentinels that reveal writes outside a row, and regions drawn as ASCII art.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "effects/Region.h"
#include "imaging/Bitmap.h"

namespace velmora::test {

/// Tag bits of a coded pixel: which picture it came from.
inline constexpr std::uint32_t ImageTag = 1;
inline constexpr std::uint32_t DisplayTag = 2;

/// The colour of pixel (x, y) of a coded picture: tag in bits 22-23, x in bits 11-21, y in
/// bits 0-10 (pictures up to 2048 x 2048).
inline std::uint32_t Code(std::uint32_t tag, int x, int y) {
    return tag << 22 | std::uint32_t(x) << 11 | std::uint32_t(y);
}
inline std::uint32_t TagOf(std::uint32_t rgb) { return rgb >> 22; }
inline int XOf(std::uint32_t rgb) { return int(rgb >> 11 & 0x7FF); }
inline int YOf(std::uint32_t rgb) { return int(rgb & 0x7FF); }

/// A width x height picture whose pixels are Code(tag, x, y), with the row padding filled with
/// the sentinel byte 0xA5.
Bitmap CodedPicture(int width, int height, std::uint32_t tag);

/// Whether every padding byte still holds the sentinel 0xA5.
bool PaddingIntact(const Bitmap& bitmap);

/// The pixels of a region inside (0, 0, width, height) as rows of '#' (inside) and '.'.
std::vector<std::string> Ascii(const Region& region, int width, int height);

/// A bitmap from rows of letters, each letter one pixel whose colour is the letter's code.
Bitmap FromLetters(const std::vector<std::string>& rows);
/// The rows of letters of a bitmap made by FromLetters (and copies of its pixels).
std::vector<std::string> ToLetters(const Bitmap& bitmap);

using Predicate = std::function<bool(int x, int y)>;

/// One frame of an effect drawn over a coded outgoing picture: which pixels show the image.
/// Clean is false when a pixel shows neither its own outgoing nor its own image pixel, or the
/// row padding was written.
class TFrameResult {
public:
    TFrameResult(int effect, int w, int h, int progress);
    bool Revealed(int x, int y) const { return FRevealed[Index(x, y)]; }
    const std::vector<bool>& Mask() const { return FRevealed; }
    /// "" when exactly the pixels of the predicate are revealed, else a description.
    std::string Differences(const Predicate& expected) const;

    int W;
    int H;
    bool Clean = true;

private:
    std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(W) + x; }
    std::vector<bool> FRevealed;
};

/// Draws the frames of an effect at the given progress values, one over the other; true when
/// every pixel afterwards is its own outgoing or image pixel and the row padding is untouched:
/// no frame read or wrote outside the display.
bool StaysInside(int effect, const Bitmap& outgoing, const Bitmap& image,
                 const std::vector<int>& progresses);

/// "720x576".
std::string SizeName(int w, int h);

}  // namespace velmora::test
