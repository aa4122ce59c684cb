#include "imaging/LoadPicture.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "base/Errors.h"
#include "base/RegularFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/Metafile.h"
#include "imaging/QtPicture.h"
#include "imaging/ReadTiffTags.h"

namespace velmora {

namespace {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    const TUniqueFd fd = OpenRegularFileAt(AT_FDCWD, path, false, path);
    if (fd.Get() < 0) throw IoError("cannot open", path, errno);
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw IoError("cannot read", path, errno);
        if (n == 0) return bytes;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

/// True when `path` names a regular file (through links); anything else is never opened.
bool IsRegularFile(const std::string& path) {
    try {
        RequireRegularFile(path);
        return true;
    } catch (const Error&) {
        return false;
    }
}

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

/// The decoder chosen by the extension; an empty bitmap when the extension has none or the
/// decoder refused the file.
Bitmap DecodeByExtension(const std::string& path, int minWidth, int minHeight) {
    const std::string ext = LowerExtension(path);
    try {
        if (ext == ".jpg" || ext == ".jpeg") {
            return DecodeJpeg(ReadFileBytes(path), path, minWidth, minHeight);
        }
        if (ext == ".bmp") return DecodeWithQt(path, "bmp");
        if (ext == ".ico") return DecodeWithQt(path, "ico");
        if (ext == ".wmf") return DecodeWmf(ReadFileBytes(path), path);
        if (ext == ".emf") return DecodeEmf(ReadFileBytes(path), path);
    } catch (const Error&) {
        // A damaged file goes on to the TIFF reader like an unknown extension.
    }
    return Bitmap();
}

}  // namespace

Bitmap LoadPictureToBitmap(const std::string& path, const MessageSink& messages, int minWidth,
                           int minHeight) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) || !IsRegularFile(path)) return Bitmap();
    Bitmap picture = DecodeByExtension(path, minWidth, minHeight);
    if (!picture.Empty()) return picture;
    try {
        ReadTiffToBitmap(path, picture, messages);
    } catch (const Error&) {
        // The TIFF reader's failures without a message: the file is unreadable.
        picture = Bitmap();
    }
    return picture;
}

void LoadPictureToBitmap(const std::string& path, Bitmap& dest, const MessageSink& messages,
                         int minWidth, int minHeight) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return;
    dest = LoadPictureToBitmap(path, messages, minWidth, minHeight);
}

}  // namespace velmora
