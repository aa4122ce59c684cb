#pragma once
// Bitmap: the one raster type of Velmora. 24 bits per pixel, 3 bytes per pixel in the order
// blue, green, red, rows padded to a multiple of 4 bytes like a device-independent bitmap.
// Row 0 is the top row. Effects, frame composition, decoders and the spectrum all draw on it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QImage;

namespace velmora {

class Bitmap {
public:
    /// Largest number of pixels a bitmap may hold (200 megapixels); larger sizes throw.
    static constexpr std::int64_t MaxPixels = 200'000'000;

    Bitmap() = default;
    /// A width x height bitmap, all black. Throws InvalidArgument for negative sizes or more
    /// than MaxPixels pixels.
    Bitmap(int width, int height);

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    /// Bytes per row including the padding to 4 bytes.
    int Stride() const noexcept { return FStride; }
    bool Empty() const noexcept { return FWidth == 0 || FHeight == 0; }

    std::uint8_t* Row(int y) noexcept { return FBits.data() + std::size_t(y) * FStride; }
    const std::uint8_t* Row(int y) const noexcept {
        return FBits.data() + std::size_t(y) * FStride;
    }
    /// The first byte (blue) of pixel (x, y).
    std::uint8_t* Pixel(int x, int y) noexcept { return Row(y) + 3 * x; }
    const std::uint8_t* Pixel(int x, int y) const noexcept { return Row(y) + 3 * x; }
    std::uint8_t* Bits() noexcept { return FBits.data(); }
    const std::uint8_t* Bits() const noexcept { return FBits.data(); }
    std::size_t ByteCount() const noexcept { return FBits.size(); }

    /// Changes the size; the content becomes black.
    void SetSize(int width, int height);
    /// Sets every pixel to one colour.
    void Fill(std::uint8_t red, std::uint8_t green, std::uint8_t blue) noexcept;
    /// Sets every pixel to a colour given as 0xRRGGBB.
    void FillRgb(std::uint32_t rgb) noexcept;
    /// The colour of pixel (x, y) as 0xRRGGBB.
    std::uint32_t RgbAt(int x, int y) const noexcept;
    void SetRgb(int x, int y, std::uint32_t rgb) noexcept;

    /// Pixels equal (padding bytes are not compared).
    bool operator==(const Bitmap& other) const noexcept;

    /// Reads an uncompressed 24-bit BMP file (bottom-up or top-down). Throws IoError when the
    /// file cannot be read and InvalidFile when it is not such a BMP.
    static Bitmap ReadBmp(const std::string& path);
    static Bitmap ReadBmp(std::span<const std::uint8_t> data, const std::string& nameForErrors);
    /// Writes a bottom-up 24-bit BMP file under a temporary name renamed when complete.
    /// Throws IoError; a failure leaves no file behind.
    void WriteBmp(const std::string& path) const;
    /// Writes a picture file in the format its extension names (.bmp, .png, .jpg, ... as
    /// Qt's image writers know them), under a temporary name renamed when complete. Throws
    /// IoError; a failure leaves no file behind.
    void WritePictureFile(const std::string& path) const;
    std::vector<std::uint8_t> EncodeBmp() const;

    /// A QImage (Format_BGR888) that views this bitmap's pixels without copying; valid while
    /// the bitmap lives and keeps its size.
    QImage ToQImage() const;
    /// A bitmap from any QImage; BGR888 rows are copied as they are, other formats converted.
    static Bitmap FromQImage(const QImage& image);

private:
    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    std::vector<std::uint8_t> FBits;
};

/// Bytes per row of a 24-bit DIB of the given width: 3 x width rounded up to a multiple of 4.
constexpr int DibStride(int width) noexcept { return (width * 3 + 3) & ~3; }

}  // namespace velmora
