// Fuzz target: the EXIF orientation parser on the payload of a JPEG APP1 segment, and turning
// a small bitmap by whatever orientation it yields.

#include <cstddef>
#include <cstdint>

#include "imaging/ExifOrientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int orientation = velmora::ExifOrientation({data, size});
    if (orientation < 1 || orientation > 8) __builtin_trap();
    velmora::Bitmap picture(3, 2);
    picture.SetRgb(2, 1, 0xFFFFFF);
    const velmora::Bitmap upright = velmora::ApplyOrientation(picture, orientation);
    if (upright.Width() * upright.Height() != 6) __builtin_trap();
    return 0;
}
