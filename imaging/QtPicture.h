#pragma once
// BMP and ICO pictures through Qt's image reader (QtGui, no display needed).

#include <string>

#include "imaging/Bitmap.h"

namespace velmora {

/// Decodes the file with Qt's reader for the given format ("bmp", "ico"); transparent parts
/// are drawn over white. Pictures whose header claims more than Bitmap::MaxPixels pixels are
/// refused before they are read. Throws InvalidFile.
Bitmap DecodeWithQt(const std::string& path, const char* format);

}  // namespace velmora
