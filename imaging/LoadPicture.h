#pragma once
// Picture decoding by file extension: JPEG (.jpg, .jpeg) through libjpeg-turbo with the EXIF
// orientation applied, BMP and ICO through Qt's image reader, WMF through libwmf's raster
// device, EMF through libemf2svg and librsvg. Every other extension, and every file those
// decoders refuse, goes to the TIFF reader (ReadTiffToBitmap), whose notices reach `messages`.

#include <string>

#include "imaging/Bitmap.h"
#include "imaging/MessageSink.h"

namespace velmora {

/// Decodes the picture at path into a new bitmap; empty when the file does not exist or no
/// decoder could read it. When minWidth and minHeight are above 0, a JPEG that is much larger
/// may be decoded at a reduced size (a DCT scale of 1/8 to 8/8): the smallest scale whose
/// upright result is still at least minWidth x minHeight. Other formats ignore the hint.
/// Pictures whose header claims more than Bitmap::MaxPixels pixels are refused before any
/// large allocation. Never throws for a bad file; throws only std::bad_alloc.
Bitmap LoadPictureToBitmap(const std::string& path, const MessageSink& messages, int minWidth = 0,
                           int minHeight = 0);

/// The same into dest: when no file path exists dest keeps its content; otherwise dest
/// becomes the decoded picture, or an empty bitmap when nothing could be decoded.
void LoadPictureToBitmap(const std::string& path, Bitmap& dest, const MessageSink& messages,
                         int minWidth = 0, int minHeight = 0);

}  // namespace velmora
