#pragma once
// Metafile pictures: WMF played by libwmf's own raster (gd) device, EMF turned into SVG by
// libemf2svg and rendered by librsvg through cairo. Both are drawn over white at 96 dpi.

#include <cstdint>
#include <span>
#include <string>

#include "imaging/Bitmap.h"

namespace velmora {

/// Decodes a Windows metafile (with or without the placeable header). Throws InvalidFile.
Bitmap DecodeWmf(std::span<const std::uint8_t> data, const std::string& nameForErrors);

/// Decodes an enhanced metafile. Throws InvalidFile.
Bitmap DecodeEmf(std::span<const std::uint8_t> data, const std::string& nameForErrors);

}  // namespace velmora
