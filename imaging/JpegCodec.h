#pragma once
// JPEG through libjpeg-turbo: decoding into an upright bitmap (EXIF orientation applied,
// optionally at a reduced DCT scale) and writing a baseline colour JPEG file.

#include <cstdint>
#include <span>
#include <string>

#include "imaging/Bitmap.h"

namespace velmora {

/// Decodes JPEG bytes. When minWidth and minHeight are above 0 the picture is decoded at the
/// smallest scale n/8 (n = 1..8) whose upright size still covers minWidth x minHeight.
/// Throws InvalidFile (with nameForErrors) when the data is not a decodable JPEG or its header
/// claims more than Bitmap::MaxPixels pixels; the check comes before any large allocation.
Bitmap DecodeJpeg(std::span<const std::uint8_t> data, const std::string& nameForErrors,
                  int minWidth = 0, int minHeight = 0);

/// The scale numerator n (1..8, over 8) chosen for a picture of width x height stored with
/// the given EXIF orientation, so that the upright result covers minWidth x minHeight.
/// libjpeg rounds scaled sides up: ceil(side * n / 8).
int JpegScaleFor(int width, int height, int orientation, int minWidth, int minHeight) noexcept;

/// Writes bitmap to path as a baseline colour JPEG (4:2:0) at the given quality. The file is
/// written under a temporary name in the same folder and renamed at the end, so a failure
/// leaves no partial file. Throws IoError or InvalidArgument (empty bitmap).
void WriteJpegFile(const Bitmap& bitmap, const std::string& path, int quality = 90);

}  // namespace velmora
