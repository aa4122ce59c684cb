// Fuzz target: ICO pictures through Qt's image reader as the picture loader uses it (the
// size check before reading, transparency over white). Failures must be an InvalidFile.

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

#include "fuzz/PictureFuzz.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt finds its image plugins through the application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::FuzzQtPicture(data, size, "ico");
    return 0;
}
