#include "imaging/QtPicture.h"

#include <QImage>
#include <QImageReader>
#include <mutex>

#include "base/Errors.h"

namespace velmora {

namespace {

/// Qt refuses images above its allocation limit (128 MB by default); ours is the bitmap's own
/// pixel limit at 4 bytes per pixel, which Qt's decoders use while reading.
void RaiseQtAllocationLimit() {
    static std::once_flag once;
    std::call_once(once, [] {
        const int megabytes = int(Bitmap::MaxPixels * 4 / (1024 * 1024)) + 1;
        if (QImageReader::allocationLimit() < megabytes) {
            QImageReader::setAllocationLimit(megabytes);
        }
    });
}

/// Blends an image with alpha over white.
QImage OverWhite(const QImage& image) {
    QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(image.size(), QImage::Format_BGR888);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
        uchar* dest = out.scanLine(y);
        for (int x = 0; x < image.width(); ++x, dest += 3) {
            const int keep = 255 - qAlpha(source[x]);
            dest[0] = uchar(qBlue(source[x]) + keep);
            dest[1] = uchar(qGreen(source[x]) + keep);
            dest[2] = uchar(qRed(source[x]) + keep);
        }
    }
    return out;
}

}  // namespace

Bitmap DecodeWithQt(const std::string& path, const char* format) {
    RaiseQtAllocationLimit();
    QImageReader reader(QString::fromStdString(path), format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t(size.width()) * size.height() > Bitmap::MaxPixels) {
        throw InvalidFile("picture too large", path);
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        throw InvalidFile("cannot decode: " + reader.errorString().toStdString(), path);
    }
    if (std::int64_t(image.width()) * image.height() > Bitmap::MaxPixels) {
        throw InvalidFile("picture too large", path);
    }
    return Bitmap::FromQImage(image.hasAlphaChannel() ? OverWhite(image) : image);
}

}  // namespace velmora
