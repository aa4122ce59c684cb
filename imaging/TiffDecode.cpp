// ReadTiffToBitmap: decoding the uncompressed strip images of a TIFF file into a bitmap.

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "base/Errors.h"
#include "imaging/ReadTiffTags.h"

namespace velmora {

namespace {

enum class TKind { Bilevel, Gray, Palette, Rgb };

constexpr std::uint32_t MaxSide = 65535;

const char* const MsgWidth = "Error reading tag Image Width";
const char* const MsgHeight = "Error reading tag Image Height";
const char* const MsgCompression = "Error reading tag Compression";
const char* const MsgBits = "Error reading tag Bits Per Sample";
const char* const MsgColorMap = "Error reading tag Color Table Offset";
const char* const MsgRgbBits = "Error: Bits Per Sample (RGB) not 8";
const char* const MsgImageData = "Error reading image data";
const char* const MsgOutOfMemory = "Out Of Memory ";

std::string CompressionMessage(TKind kind) {
    static const char* const Heads[] = {
        "Cant read compressed bilevel image", "Cant read compressed Gray Scale Image",
        "Cant read compressed ColorPaletImage", "Cant read compressed RGB Full Color Image"};
    return std::string(Heads[int(kind)]) +
           "\n\nfeel free to implement this type of image\n"
           "and send the result to the Velmora developers.";
}

/// One image being decoded: its tags, its palette (0xRRGGBB) and its pixel data.
struct TImageJob {
    const TFileTiff& File;
    const TGraphicTiff& Image;
    const MessageSink& Messages;
    TKind Kind;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    int Depth = 0;  ///< bits per pixel of the rows: 1, 2, 4, 8 or 24
    std::array<std::uint32_t, 256> Palette{};
    std::vector<std::uint8_t> Data;
};

/// Checks the tags of the table in order; false after showing the first failed check.
bool CheckTags(TImageJob& job) {
    const TGraphicTiff& image = job.Image;
    const TTiffEntry* width = image.FindTag(TagImageWidth);
    if (!width) return Notify(job.Messages, MsgWidth), false;
    const TTiffEntry* height = image.FindTag(TagImageLength);
    if (!height) return Notify(job.Messages, MsgHeight), false;
    if (width->Value > MaxSide || height->Value > MaxSide) {
        throw InvalidFile("TIFF image larger than 65535 pixels", job.File.FileName());
    }
    job.Width = width->Value;
    job.Height = height->Value;
    const TTiffEntry* compression = image.FindTag(TagCompression);
    if (!compression) return Notify(job.Messages, MsgCompression), false;
    if (compression->Value != 1) return Notify(job.Messages, CompressionMessage(job.Kind)), false;
    if (job.Kind == TKind::Bilevel) {
        job.Depth = 1;
        return true;
    }
    const TTiffEntry* bits = image.FindTag(TagBitsPerSample);
    if (!bits) return Notify(job.Messages, MsgBits), false;
    job.Depth = int(std::min<std::uint32_t>(bits->Value, 255));
    if (job.Kind == TKind::Palette && !image.FindTag(TagColorMap)) {
        return Notify(job.Messages, MsgColorMap), false;
    }
    if (job.Kind == TKind::Rgb) {
        // Three samples of 8 bits; a single value stands for all three.
        std::vector<std::uint32_t> samples;
        bool ok = false;
        if (bits->Count == 1) {
            ok = bits->Value == 8;
        } else if (bits->Count >= 3) {
            const bool inPlace = std::uint64_t(bits->Count) * TiffTypeSize(bits->Type) <= 4;
            ok = (inPlace
                      ? job.File.EntryValues(*bits, samples)
                      : job.File.ReadValues(job.File.U32(bits->Field), bits->Type, 3, samples)) &&
                 samples[0] == 8 && samples[1] == 8 && samples[2] == 8;
        }
        if (!ok) return Notify(job.Messages, MsgRgbBits), false;
        job.Depth = 24;
    }
    return true;
}

/// Fills the palette of the image kind. False when a colour map outside the file.
bool MakePalette(TImageJob& job, bool whiteIsZero) {
    for (std::uint32_t i = 0; i < 256; ++i) job.Palette[i] = i << 16 | i << 8 | i;
    switch (job.Kind) {
        case TKind::Bilevel:
            job.Palette[0] = whiteIsZero ? 0xFFFFFF : 0x000000;
            job.Palette[1] = whiteIsZero ? 0x000000 : 0xFFFFFF;
            return true;
        case TKind::Gray:
            if (job.Depth == 4) {
                for (std::uint32_t i = 0; i < 16; ++i) job.Palette[i] = (i * 17) * 0x010101;
            }
            return true;
        case TKind::Rgb:
            return true;
        case TKind::Palette:
            break;
    }
    const TTiffEntry& map = *job.Image.FindTag(TagColorMap);
    const std::uint32_t n = map.Count / 3;
    if (n < 1 || n > 256) return true;
    std::vector<std::uint32_t> values;
    if (!job.File.ReadValues(job.File.U32(map.Field), TypeShort, 3 * n, values)) return false;
    for (std::uint32_t i = 0; i < n; ++i) {
        // 16-bit colour values divided by 256.
        job.Palette[i] =
            (values[i] >> 8) << 16 | (values[n + i] >> 8) << 8 | values[2 * n + i] >> 8;
    }
    return true;
}

/// Appends every strip to job.Data. False when one is not wholly inside the file.
bool ReadStrips(TImageJob& job) {
    const TGraphicTiff& image = job.Image;
    if (!image.StripsReadable()) return false;
    std::uint64_t total = 0;
    for (int i = 0; i < image.StripCount(); ++i) {
        const TTiffStrip& strip = *image.Strip(i);
        // Checked before the buffer is made, so a damaged count cannot ask for more memory
        // than the file holds.
        if (std::uint64_t(strip.Offset) + strip.ByteCount > job.File.FileSize()) return false;
        total += strip.ByteCount;
    }
    job.Data.resize(total);
    std::uint64_t at = 0;
    for (int i = 0; i < image.StripCount(); ++i) {
        const TTiffStrip& strip = *image.Strip(i);
        if (job.File.ReadAt(strip.Offset, job.Data.data() + at, strip.ByteCount) !=
            strip.ByteCount) {
            return false;
        }
        at += strip.ByteCount;
    }
    return true;
}

/// Copies rows of the stored length (strip 0's byte count over RowsPerStrip) into rows padded
/// to 4 bytes. False when the data holds fewer rows than the image.
bool PadRows(TImageJob& job) {
    const TTiffEntry* rowsEntry = job.Image.FindTag(TagRowsPerStrip);
    std::uint32_t rows = rowsEntry ? rowsEntry->Value : job.Height;
    if (rows > job.Height || rows == 0) rows = job.Height;
    const std::uint64_t stored = job.Image.Strip(0)->ByteCount / rows;
    const std::uint64_t padded = (stored + 3) & ~std::uint64_t(3);
    if (padded == stored) return true;
    if (stored * job.Height > job.Data.size()) return false;
    std::vector<std::uint8_t> out(padded * job.Height, 0);
    for (std::uint32_t y = 0; y < job.Height; ++y) {
        std::memcpy(out.data() + y * padded, job.Data.data() + y * stored, stored);
    }
    job.Data.swap(out);
    return true;
}

/// The palette index of pixel x in a row of packed samples, most significant bits first.
inline std::uint32_t SampleAt(const std::uint8_t* row, std::uint32_t x, int depth) noexcept {
    const std::uint64_t bit = std::uint64_t(x) * depth;
    const int shift = 8 - depth - int(bit & 7);
    return (row[bit >> 3] >> shift) & ((1u << depth) - 1);
}

/// Makes the 24-bit bitmap from the padded rows, read with the stride of a device-independent
/// bitmap of the image's depth, and puts it into target.
void MakeBitmap(TImageJob& job, Bitmap& target) {
    const std::uint64_t stride = (std::uint64_t(job.Width) * job.Depth + 31) / 32 * 4;
    if (stride * job.Height > job.Data.size()) return Notify(job.Messages, MsgImageData);
    Bitmap bitmap;
    try {
        bitmap.SetSize(int(job.Width), int(job.Height));
    } catch (const std::bad_alloc&) {
        target = Bitmap();
        return Notify(job.Messages, MsgOutOfMemory);
    }
    for (std::uint32_t y = 0; y < job.Height; ++y) {
        const std::uint8_t* source = job.Data.data() + y * stride;
        std::uint8_t* dest = bitmap.Row(int(y));
        if (job.Depth == 24) {
            std::memcpy(dest, source, std::size_t(job.Width) * 3);
            continue;
        }
        for (std::uint32_t x = 0; x < job.Width; ++x, dest += 3) {
            const std::uint32_t rgb = job.Palette[SampleAt(source, x, job.Depth)];
            dest[0] = std::uint8_t(rgb);
            dest[1] = std::uint8_t(rgb >> 8);
            dest[2] = std::uint8_t(rgb >> 16);
        }
    }
    target = std::move(bitmap);
}

/// One image of any kind: checks, palette, strips, RGB order, row padding, bitmap.
void DecodeImage(TImageJob& job, bool whiteIsZero, Bitmap& target) {
    if (!CheckTags(job)) return;
    if (job.Kind == TKind::Gray && job.Depth != 4 && job.Depth != 8) return;
    if (job.Kind == TKind::Palette && job.Depth != 1 && job.Depth != 2 && job.Depth != 4 &&
        job.Depth != 8) {
        return;  // other palette depths are not decoded
    }
    if (job.Image.StripCount() == 0) {
        throw InvalidFile("TIFF image without strips", job.File.FileName());
    }
    // A picture larger than a bitmap may be is refused before its data is read.
    if (std::uint64_t(job.Width) * job.Height > std::uint64_t(Bitmap::MaxPixels)) {
        target = Bitmap();
        return Notify(job.Messages, MsgOutOfMemory);
    }
    // Strips that hold fewer bytes than the image's rows count as not read whole.
    const std::uint64_t rowBytes = (std::uint64_t(job.Width) * job.Depth + 7) / 8;
    if (!MakePalette(job, whiteIsZero) || !ReadStrips(job) || job.Width == 0 || job.Height == 0 ||
        job.Data.size() < rowBytes * job.Height) {
        return Notify(job.Messages, MsgImageData);
    }
    if (job.Kind == TKind::Rgb) {
        const std::uint64_t pixels = std::uint64_t(job.Width) * job.Height;
        if (pixels * 3 > job.Data.size()) return Notify(job.Messages, MsgImageData);
        std::uint8_t* p = job.Data.data();
        for (std::uint64_t i = 0; i < pixels; ++i, p += 3) std::swap(p[0], p[2]);
    }
    if (!PadRows(job)) return Notify(job.Messages, MsgImageData);
    MakeBitmap(job, target);
}

}  // namespace

void DecodeTiffImages(const TFileTiff& file, Bitmap& target, const MessageSink& messages) {
    if (!file.Valid()) {
        return Notify(messages, "<" + file.FileName() + "> is not a valid TIFF file");
    }
    const int count = std::min(file.ImageCount(), TFileTiff::MaxImages);
    for (int i = 0; i < count; ++i) {
        const TGraphicTiff& image = *file.Image(i);
        const TTiffEntry* photometric = image.FindTag(TagPhotometric);
        if (!photometric) {
            return Notify(messages, "Error reading tag Photometric interpretation");
        }
        const std::int32_t value = std::int32_t(photometric->Value);
        if (value < 0 || value > 3) {
            return Notify(messages,
                          "Error evaluating Photometric interpretation: " + std::to_string(value));
        }
        TKind kind = value == 2 ? TKind::Rgb : value == 3 ? TKind::Palette : TKind::Gray;
        if (kind == TKind::Gray) {
            const TTiffEntry* bits = image.FindTag(TagBitsPerSample);
            if (!bits || bits->Value == 1) {
                kind = TKind::Bilevel;
            } else if (bits->Value != 4 && bits->Value != 8) {
                continue;  // other grey depths are not decoded
            }
        }
        TImageJob job{file, image, messages, kind, 0, 0, 0, {}, {}};
        DecodeImage(job, value == 0, target);
    }
    if (file.ImageCount() > TFileTiff::MaxImages) {
        throw InvalidFile("TIFF file with more than 256 images", file.FileName());
    }
}

void ReadTiffToBitmap(const std::string& path, Bitmap& target, const MessageSink& messages) {
    TFileTiff file;
    file.SetFileName(path);
    DecodeTiffImages(file, target, messages);
}

void ReadTiffToBitmap(std::span<const std::uint8_t> data, const std::string& name, Bitmap& target,
                      const MessageSink& messages) {
    TFileTiff file;
    file.SetData(data, name);
    DecodeTiffImages(file, target, messages);
}

}  // namespace velmora
