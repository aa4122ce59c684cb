#include "imaging/Bitmap.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/AtomicFile.h"
#include "base/Errors.h"

namespace velmora {

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;

std::uint32_t ReadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t ReadU16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

}  // namespace

Bitmap::Bitmap(int width, int height) { SetSize(width, height); }

void Bitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || std::int64_t(width) * height > MaxPixels) {
        throw InvalidArgument("bitmap size " + std::to_string(width) + " x " +
                              std::to_string(height) + " is out of range");
    }
    FWidth = width;
    FHeight = height;
    FStride = DibStride(width);
    FBits.assign(std::size_t(FStride) * std::size_t(height), 0);
}

void Bitmap::Fill(std::uint8_t red, std::uint8_t green, std::uint8_t blue) noexcept {
    if (Empty()) return;
    std::uint8_t* first = Row(0);
    for (int x = 0; x < FWidth; ++x) {
        first[3 * x] = blue;
        first[3 * x + 1] = green;
        first[3 * x + 2] = red;
    }
    for (int y = 1; y < FHeight; ++y) std::memcpy(Row(y), first, std::size_t(FWidth) * 3);
}

void Bitmap::FillRgb(std::uint32_t rgb) noexcept {
    Fill(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb));
}

std::uint32_t Bitmap::RgbAt(int x, int y) const noexcept {
    const std::uint8_t* p = Pixel(x, y);
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

void Bitmap::SetRgb(int x, int y, std::uint32_t rgb) noexcept {
    std::uint8_t* p = Pixel(x, y);
    p[0] = std::uint8_t(rgb);
    p[1] = std::uint8_t(rgb >> 8);
    p[2] = std::uint8_t(rgb >> 16);
}

bool Bitmap::operator==(const Bitmap& other) const noexcept {
    if (FWidth != other.FWidth || FHeight != other.FHeight) return false;
    for (int y = 0; y < FHeight; ++y) {
        if (std::memcmp(Row(y), other.Row(y), std::size_t(FWidth) * 3) != 0) return false;
    }
    return true;
}

Bitmap Bitmap::ReadBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw IoError("cannot open", path, errno);
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    if (in.bad()) throw IoError("cannot read", path, errno);
    return ReadBmp(data, path);
}

Bitmap Bitmap::ReadBmp(std::span<const std::uint8_t> data, const std::string& nameForErrors) {
    if (data.size() < FileHeaderSize + InfoHeaderSize || data[0] != 'B' || data[1] != 'M') {
        throw InvalidFile("not a BMP file", nameForErrors);
    }
    const std::uint32_t pixelOffset = ReadU32(&data[10]);
    const std::uint32_t headerSize = ReadU32(&data[14]);
    const std::int32_t width = std::int32_t(ReadU32(&data[18]));
    const std::int32_t rawHeight = std::int32_t(ReadU32(&data[22]));
    const std::uint16_t bitCount = ReadU16(&data[28]);
    const std::uint32_t compression = ReadU32(&data[30]);
    if (headerSize < InfoHeaderSize || bitCount != 24 || compression != 0) {
        throw InvalidFile("only uncompressed 24-bit BMP files are supported", nameForErrors);
    }
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) {
        throw InvalidFile("BMP file has an invalid size", nameForErrors);
    }
    const bool bottomUp = rawHeight > 0;
    const std::int32_t height = bottomUp ? rawHeight : -rawHeight;
    if (std::int64_t(width) * height > MaxPixels) {
        throw InvalidFile("BMP image is too large", nameForErrors);
    }
    const std::size_t stride = std::size_t(DibStride(width));
    if (pixelOffset > data.size() || (data.size() - pixelOffset) / stride < std::size_t(height)) {
        throw InvalidFile("BMP file is truncated", nameForErrors);
    }
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const int sourceRow = bottomUp ? height - 1 - y : y;
        std::memcpy(bitmap.Row(y), &data[pixelOffset + sourceRow * stride], stride);
    }
    return bitmap;
}

std::vector<std::uint8_t> Bitmap::EncodeBmp() const {
    const std::size_t imageSize = ByteCount();
    std::vector<std::uint8_t> out(FileHeaderSize + InfoHeaderSize + imageSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(&out[2], std::uint32_t(out.size()));
    PutU32(&out[10], FileHeaderSize + InfoHeaderSize);
    PutU32(&out[14], InfoHeaderSize);
    PutU32(&out[18], std::uint32_t(FWidth));
    PutU32(&out[22], std::uint32_t(FHeight));
    PutU16(&out[26], 1);
    PutU16(&out[28], 24);
    PutU32(&out[34], std::uint32_t(imageSize));
    PutU32(&out[38], 2835);  // 72 dpi in pixels per metre
    PutU32(&out[42], 2835);
    std::uint8_t* pixels = out.data() + FileHeaderSize + InfoHeaderSize;
    for (int y = 0; y < FHeight; ++y) {
        std::memcpy(pixels + std::size_t(FHeight - 1 - y) * FStride, Row(y), FStride);
    }
    return out;
}

void Bitmap::WriteBmp(const std::string& path) const {
    // A temporary file renamed when complete: a failure (a full disk) leaves nothing.
    WriteFileAtomic(path, EncodeBmp());
}

void Bitmap::WritePictureFile(const std::string& path) const {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".bmp") {
        WriteBmp(path);
        return;
    }
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, ext.empty() ? QByteArray() : QByteArray(ext.c_str() + 1));
    if (!writer.write(ToQImage())) {
        throw IoError("cannot write the picture: " + writer.errorString().toStdString(), path);
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(encoded.constData());
    WriteFileAtomic(path, std::span(data, std::size_t(encoded.size())));
}

QImage Bitmap::ToQImage() const {
    if (Empty()) return QImage();
    return QImage(Bits(), FWidth, FHeight, FStride, QImage::Format_BGR888);
}

Bitmap Bitmap::FromQImage(const QImage& image) {
    if (image.isNull()) return Bitmap();
    const QImage source = image.format() == QImage::Format_BGR888
                              ? image
                              : image.convertToFormat(QImage::Format_BGR888);
    Bitmap bitmap(source.width(), source.height());
    const std::size_t rowBytes = std::size_t(bitmap.Width()) * 3;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::memcpy(bitmap.Row(y), source.constScanLine(y), rowBytes);
    }
    return bitmap;
}

}  // namespace velmora
