#pragma once
// Shared part of the picture decoders' fuzz targets: the bytes as a file in memory for the
// decoders that read paths, and the check that a decoded picture is whole.

#include <QImageReader>
#include <QString>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Errors.h"
#include "imaging/Bitmap.h"
#include "imaging/QtPicture.h"

namespace velmora::fuzz {

/// An in-memory file holding the fuzzer's bytes, closed on destruction.
class TMemoryFile {
public:
    TMemoryFile(const std::uint8_t* data, std::size_t size)
        : FFd(::memfd_create("picture", MFD_CLOEXEC)) {
        std::size_t done = 0;
        while (FFd >= 0 && done < size) {
            const ssize_t n = ::write(FFd, data + done, size - done);
            if (n <= 0) break;
            done += std::size_t(n);
        }
    }
    ~TMemoryFile() {
        if (FFd >= 0) ::close(FFd);
    }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;

    bool Ok() const noexcept { return FFd >= 0; }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(FFd); }

private:
    int FFd;
};

/// Reads the corners of a decoded picture, so that a wrong size or a short buffer shows.
inline void TouchPicture(const Bitmap& picture) {
    if (picture.Empty()) return;
    if (picture.Width() <= 0 || picture.Height() <= 0 ||
        std::int64_t(picture.Width()) * picture.Height() > Bitmap::MaxPixels) {
        __builtin_trap();
    }
    volatile std::uint32_t corners = picture.RgbAt(0, 0) ^
                                     picture.RgbAt(picture.Width() - 1, picture.Height() - 1);
    (void)corners;
}

/// One input for Qt's reader in `format` ("bmp", "ico") as the picture loader calls it.
inline void FuzzQtPicture(const std::uint8_t* data, std::size_t size, const char* format) {
    // Headers whose declared size Qt cannot tell before reading still make the reader allocate
    // the picture: Qt's own allocation limit is lowered to 64 MB for the fuzzer, after the
    // loader's first call has raised it to the program's limit.
    static const bool limited = [format] {
        try {
            DecodeWithQt("/nonexistent", format);
        } catch (const Error&) {
        }
        QImageReader::setAllocationLimit(64);
        return true;
    }();
    (void)limited;
    TMemoryFile file(data, size);
    if (!file.Ok()) return;
    {
        // Pictures of many megapixels are legal but take seconds each under the sanitizers;
        // the parsing faults the fuzzer looks for are reached with small declared sizes too.
        constexpr std::int64_t FuzzMaxPixels = 4'000'000;
        QImageReader reader(QString::fromStdString(file.Path()), format);
        const QSize declared = reader.size();
        if (declared.isValid() && std::int64_t(declared.width()) * declared.height() > FuzzMaxPixels)
            return;
    }
    try {
        TouchPicture(DecodeWithQt(file.Path(), format));
    } catch (const Error&) {
    }
}

}  // namespace velmora::fuzz
