// Fuzz target: the WMF decoder (our header checks, then the metafile library's player and
// the rasteriser) on bytes in memory. Failures must be an InvalidFile.

#include <cstddef>
#include <cstdint>

#include "base/Errors.h"
#include "fuzz/PictureFuzz.h"
#include "imaging/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        velmora::fuzz::TouchPicture(velmora::DecodeWmf({data, size}, "fuzz"));
    } catch (const velmora::Error&) {
    }
    return 0;
}
