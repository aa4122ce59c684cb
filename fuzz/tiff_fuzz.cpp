// Fuzz target: the TIFF reader (header, directory chain, tags, strips, decoding) on bytes
// in memory. Failures must be clean: a message, an InvalidFile, never a crash.

#include <cstddef>
#include <cstdint>

#include "base/Errors.h"
#include "imaging/ReadTiffTags.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::Bitmap target;
    std::size_t messages = 0;
    try {
        velmora::ReadTiffToBitmap({data, size}, "fuzz", target,
                                  [&](const std::string& text) { messages += text.size(); });
    } catch (const velmora::Error&) {
    }
    // Touch the result so that a bad size would show.
    if (!target.Empty()) {
        volatile std::uint32_t last = target.RgbAt(target.Width() - 1, target.Height() - 1);
        (void)last;
    }
    return 0;
}
