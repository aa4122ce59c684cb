// Fuzz target: the JPEG decoder (libjpeg-turbo behind our size checks, EXIF orientation) on
// bytes in memory, at full size and at a reduced DCT scale. Failures must be an InvalidFile.

#include <cstddef>
#include <cstdint>

#include "base/Errors.h"
#include "fuzz/PictureFuzz.h"
#include "imaging/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (int scale : {0, 40}) {
        try {
            velmora::fuzz::TouchPicture(velmora::DecodeJpeg({data, size}, "fuzz", scale, scale));
        } catch (const velmora::Error&) {
        }
    }
    return 0;
}
