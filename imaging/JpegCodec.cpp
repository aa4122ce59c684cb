#include "imaging/JpegCodec.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <memory>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "imaging/ExifOrientation.h"

namespace velmora {

namespace {

// ---- libjpeg error handling: longjmp out of the library to a setjmp in a function that holds
// no C++ objects, which then reports failure; the caller throws. ------------------------------

struct TJpegError {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr info) {
    TJpegError* error = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// Warnings (corrupt data that libjpeg can work around) are not shown to anyone.
extern "C" void JpegEmitMessage(j_common_ptr, int) {}

void InitError(TJpegError& error) {
    jpeg_std_error(&error.Base);
    error.Base.error_exit = JpegErrorExit;
    error.Base.emit_message = JpegEmitMessage;
    error.Message[0] = 0;
}

/// Owns a decompressor; destroyed on every path.
struct TDecompressor {
    jpeg_decompress_struct Info{};
    TJpegError Error{};
    bool Created = false;
    ~TDecompressor() {
        if (Created) jpeg_destroy_decompress(&Info);
    }
};

bool ReadHeaderPhase(TDecompressor* d, const std::uint8_t* data, std::size_t size) {
    d->Info.err = &d->Error.Base;
    if (setjmp(d->Error.Jump)) return false;
    jpeg_create_decompress(&d->Info);
    d->Created = true;
    jpeg_mem_src(&d->Info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&d->Info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d->Info, TRUE);
    return true;
}

bool IsCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

/// Sets the output scale and colour space and computes the output size.
bool PreparePhase(TDecompressor* d, int scaleNum) {
    if (setjmp(d->Error.Jump)) return false;
    d->Info.scale_num = unsigned(scaleNum);
    d->Info.scale_denom = 8;
    d->Info.out_color_space = IsCmyk(d->Info) ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&d->Info);
    return true;
}

/// CMYK samples of one row to blue, green, red. Adobe files store the samples inverted.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        bgr[0] = std::uint8_t(y * k / 255);
        bgr[1] = std::uint8_t(m * k / 255);
        bgr[2] = std::uint8_t(c * k / 255);
    }
}

/// Decodes every row into rows[]; cmykRow is a work row of 4 x width bytes for CMYK files.
bool DecodePhase(TDecompressor* d, JSAMPROW* rows, JSAMPLE* cmykRow) {
    if (setjmp(d->Error.Jump)) return false;
    jpeg_start_decompress(&d->Info);
    const unsigned height = d->Info.output_height;
    while (d->Info.output_scanline < height) {
        const unsigned at = d->Info.output_scanline;
        if (cmykRow) {
            JSAMPROW work[1] = {cmykRow};
            if (jpeg_read_scanlines(&d->Info, work, 1) != 1) return false;
            CmykRowToBgr(cmykRow, rows[at], d->Info.output_width, d->Info.saw_Adobe_marker);
        } else if (jpeg_read_scanlines(&d->Info, rows + at, height - at) == 0) {
            return false;
        }
    }
    jpeg_finish_decompress(&d->Info);
    return true;
}

int OrientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        const int orientation = ExifOrientation({m->data, m->data_length});
        if (orientation != 1) return orientation;
    }
    return 1;
}

}  // namespace

int JpegScaleFor(int width, int height, int orientation, int minWidth, int minHeight) noexcept {
    if (minWidth <= 0 || minHeight <= 0) return 8;
    // The stored picture is turned afterwards: compare its sides with the turned request.
    if (OrientationSwapsSides(orientation)) std::swap(minWidth, minHeight);
    for (int n = 1; n < 8; ++n) {
        const std::int64_t w = (std::int64_t(width) * n + 7) / 8;
        const std::int64_t h = (std::int64_t(height) * n + 7) / 8;
        if (w >= minWidth && h >= minHeight) return n;
    }
    return 8;
}

Bitmap DecodeJpeg(std::span<const std::uint8_t> data, const std::string& nameForErrors,
                  int minWidth, int minHeight) {
    TDecompressor d;
    InitError(d.Error);
    if (data.empty() || !ReadHeaderPhase(&d, data.data(), data.size())) {
        throw InvalidFile(std::string("not a JPEG picture: ") + d.Error.Message, nameForErrors);
    }
    const std::int64_t pixels = std::int64_t(d.Info.image_width) * d.Info.image_height;
    if (pixels > Bitmap::MaxPixels) throw InvalidFile("JPEG picture too large", nameForErrors);
    const int orientation = OrientationOf(d.Info);
    const int scale = JpegScaleFor(int(d.Info.image_width), int(d.Info.image_height), orientation,
                                   minWidth, minHeight);
    if (!PreparePhase(&d, scale)) {
        throw InvalidFile(std::string("JPEG decoding failed: ") + d.Error.Message, nameForErrors);
    }
    Bitmap picture(int(d.Info.output_width), int(d.Info.output_height));
    std::vector<JSAMPROW> rows(picture.Height());
    for (int y = 0; y < picture.Height(); ++y) rows[y] = picture.Row(y);
    std::vector<JSAMPLE> cmykRow(IsCmyk(d.Info) ? std::size_t(picture.Width()) * 4 : 0);
    if (!DecodePhase(&d, rows.data(), cmykRow.empty() ? nullptr : cmykRow.data())) {
        throw InvalidFile(std::string("JPEG decoding failed: ") + d.Error.Message, nameForErrors);
    }
    return ApplyOrientation(std::move(picture), orientation);
}

// ---- writing -----------------------------------------------------------------------------

namespace {

struct TCompressor {
    jpeg_compress_struct Info{};
    TJpegError Error{};
    bool Created = false;
    ~TCompressor() {
        if (Created) jpeg_destroy_compress(&Info);
    }
};

bool CompressPhase(TCompressor* c, std::FILE* file, JSAMPROW* rows, int width, int height,
                   int quality) {
    c->Info.err = &c->Error.Base;
    if (setjmp(c->Error.Jump)) return false;
    jpeg_create_compress(&c->Info);
    c->Created = true;
    jpeg_stdio_dest(&c->Info, file);
    c->Info.image_width = JDIMENSION(width);
    c->Info.image_height = JDIMENSION(height);
    c->Info.input_components = 3;
    c->Info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c->Info);
    jpeg_set_quality(&c->Info, quality, TRUE);
    jpeg_start_compress(&c->Info, TRUE);
    while (c->Info.next_scanline < c->Info.image_height) {
        const unsigned at = c->Info.next_scanline;
        jpeg_write_scanlines(&c->Info, rows + at, c->Info.image_height - at);
    }
    jpeg_finish_compress(&c->Info);
    return true;
}

struct TFileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

}  // namespace

void WriteJpegFile(const Bitmap& bitmap, const std::string& path, int quality) {
    if (bitmap.Empty()) throw InvalidArgument("cannot write an empty picture to " + path);
    std::vector<JSAMPROW> rows(bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y) {
        rows[y] = const_cast<JSAMPROW>(bitmap.Row(y));  // libjpeg only reads them
    }
    // libjpeg writes through stdio: a stream over a duplicate of the temporary file's
    // descriptor, closed before the file is committed.
    TAtomicFile temp(path);
    const int fd = ::dup(temp.Fd());
    std::unique_ptr<std::FILE, TFileCloser> file(fd >= 0 ? ::fdopen(fd, "wb") : nullptr);
    if (!file) {
        const int failure = errno;
        if (fd >= 0) ::close(fd);
        throw IoError("cannot write", path, failure);
    }
    TCompressor c;
    InitError(c.Error);
    if (!CompressPhase(&c, file.get(), rows.data(), bitmap.Width(), bitmap.Height(), quality)) {
        throw IoError(std::string("JPEG writing failed: ") + c.Error.Message, path, errno);
    }
    const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    const int flushError = errno;
    if (std::fclose(file.release()) != 0 || !flushed) {
        throw IoError("cannot write", path, flushed ? errno : flushError);
    }
    temp.Commit();
}

}  // namespace velmora
