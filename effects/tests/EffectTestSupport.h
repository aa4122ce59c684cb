#pragma once
// Helpers of the effects tests: pictures whose every pixel tells where it came from, padding
// sentinels that reveal writes outside a row, and regions drawn as ASCII art.

#include <cstdint>
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

}  // namespace velmora::test
