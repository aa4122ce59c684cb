#pragma once
// The EXIF orientation of a photograph (phones store pictures sideways and note how to turn
// them) and turning a bitmap upright by it.

#include <cstdint>
#include <span>

#include "imaging/Bitmap.h"

namespace velmora {

/// The orientation tag (0x0112) of IFD0 in the payload of a JPEG APP1 segment that begins
/// "Exif\0\0": 1 to 8, or 1 when the payload is not EXIF, has no such tag or is damaged.
int ExifOrientation(std::span<const std::uint8_t> app1Payload) noexcept;

/// True for the orientations that swap width and height (5 to 8).
constexpr bool OrientationSwapsSides(int orientation) noexcept {
    return orientation >= 5 && orientation <= 8;
}

/// The upright picture of a bitmap stored with the given EXIF orientation:
/// 2 mirrored, 3 turned half way, 4 flipped, 5 transposed, 6 turned a quarter clockwise to be
/// upright, 7 transversed, 8 turned a quarter anticlockwise. 1 and unknown values: unchanged.
Bitmap ApplyOrientation(Bitmap picture, int orientation);

}  // namespace velmora
