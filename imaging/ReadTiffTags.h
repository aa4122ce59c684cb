#pragma once
// The TIFF reader: the file header and the chain of image file directories (TFileTiff, one
// TGraphicTiff per directory), and ReadTiffToBitmap, which decodes uncompressed strip images:
// bilevel, 4- and 8-bit grey, palette colour and 24-bit RGB. Problems in the file are reported
// through a message sink with fixed English texts. The input is treated as hostile: nothing
// is read outside the file or written outside a buffer.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/MessageSink.h"

namespace velmora {

/// Tags the reader uses.
enum TTiffTag : std::uint16_t {
    TagImageWidth = 256,
    TagImageLength = 257,
    TagBitsPerSample = 258,
    TagCompression = 259,
    TagPhotometric = 262,
    TagStripOffsets = 273,
    TagRowsPerStrip = 278,
    TagStripByteCounts = 279,
    TagColorMap = 320,
};

/// Field types with a meaning for the reader; any other type is read as a 32-bit value.
enum TTiffType : std::uint16_t { TypeByte = 1, TypeShort = 3, TypeLong = 4, TypeSShort = 8 };

/// One directory entry: tag, type and count in host order, and the value field read by type
/// (a BYTE or SHORT from the field's first bytes, anything else as 32 bits), which for values
/// that do not fit into 4 bytes is the file offset of the values.
struct TTiffEntry {
    std::uint16_t Tag = 0;
    std::uint16_t Type = 0;
    std::uint32_t Count = 0;
    std::uint32_t Value = 0;
    /// The 4 bytes of the value field as they stand in the file.
    std::uint8_t Field[4] = {0, 0, 0, 0};
};

/// One strip of image data.
struct TTiffStrip {
    std::uint32_t Offset = 0;
    std::uint32_t ByteCount = 0;
};

/// Random access to the bytes of a TIFF file (a file on disk or a buffer in memory).
class TTiffSource {
public:
    virtual ~TTiffSource() = default;
    /// Copies up to size bytes from offset into dest; returns how many were copied.
    virtual std::size_t ReadAt(std::uint64_t offset, std::uint8_t* dest,
                               std::size_t size) const = 0;
    virtual std::uint64_t Size() const = 0;
};

class TFileTiff;

/// One image file directory.
class TGraphicTiff {
public:
    TGraphicTiff(const TFileTiff& owner, std::uint32_t offset);

    /// The last entry with this tag, or nullptr.
    const TTiffEntry* FindTag(std::uint16_t tag) const noexcept;
    std::uint16_t EntryCount() const noexcept { return FEntryCount; }
    const std::vector<TTiffEntry>& Entries() const noexcept { return FEntries; }
    /// Offset of the next directory; 0 ends the chain.
    std::uint32_t NextOffset() const noexcept { return FNextOffset; }
    /// False when the directory's entry count could not be read (it does not exist).
    bool Readable() const noexcept { return FReadable; }

    int StripCount() const noexcept { return int(FStrips.size()); }
    /// The strip by index, or nullptr outside 0 .. StripCount() - 1.
    const TTiffStrip* Strip(int index) const noexcept;
    /// False when the strip offsets or byte counts lie outside the file.
    bool StripsReadable() const noexcept { return FStripsReadable; }

    const TFileTiff& Owner() const noexcept { return FOwner; }

private:
    void ReadEntries(std::uint32_t offset);
    void ReadStripTable();
    bool ReadStripValues(const TTiffEntry& entry, std::vector<std::uint32_t>& values) const;

    const TFileTiff& FOwner;
    std::uint16_t FEntryCount = 0;
    std::uint64_t FEndOfEntries = 0;  ///< file position just after the entries
    std::vector<TTiffEntry> FEntries;
    std::uint32_t FNextOffset = 0;
    std::vector<TTiffStrip> FStrips;
    bool FReadable = false;
    bool FStripsReadable = true;
};

/// A TIFF file: its header and its directories in chain order.
class TFileTiff {
public:
    /// More directories than the reader handles; one more is read to tell that there are more.
    static constexpr int MaxImages = 256;

    TFileTiff();
    ~TFileTiff();
    TFileTiff(const TFileTiff&) = delete;
    TFileTiff& operator=(const TFileTiff&) = delete;

    /// Reads the header and the directory chain of a file; "" clears everything, the current
    /// name changes nothing. A file that cannot be opened stays invalid.
    void SetFileName(const std::string& fileName);
    /// Reads the header and the directory chain from bytes in memory (kept by reference: the
    /// bytes must outlive this object); name is what FileName() returns.
    void SetData(std::span<const std::uint8_t> data, const std::string& name);

    const std::string& FileName() const noexcept { return FFileName; }
    std::uint64_t FileSize() const noexcept { return FFileSize; }
    bool LittleEndian() const noexcept { return FLittleEndian; }
    bool Valid() const noexcept { return FValid; }
    int ImageCount() const noexcept { return int(FImages.size()); }
    /// The image by index, or nullptr outside 0 .. ImageCount() - 1.
    const TGraphicTiff* Image(int index) const noexcept;

    /// Copies up to size bytes at offset; returns how many were copied.
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t size) const;
    /// Numbers in the file's byte order.
    std::uint16_t U16(const std::uint8_t* p) const noexcept;
    std::uint32_t U32(const std::uint8_t* p) const noexcept;
    /// Reads count values of a field type at offset in the file's byte order (SHORT and
    /// SSHORT 16 bits, BYTE 8 bits, others 32 bits). False when they are not all in the file.
    bool ReadValues(std::uint64_t offset, std::uint16_t type, std::uint32_t count,
                    std::vector<std::uint32_t>& values) const;
    /// The values of an entry: from the entry itself when they fit in 4 bytes, else from the
    /// offset it holds. False when they are not all in the file.
    bool EntryValues(const TTiffEntry& entry, std::vector<std::uint32_t>& values) const;

private:
    void Clear();
    void ReadHeaderAndChain();

    std::string FFileName;
    std::uint64_t FFileSize = 0;
    bool FLittleEndian = true;
    bool FValid = false;
    std::unique_ptr<TTiffSource> FSource;
    std::vector<std::unique_ptr<TGraphicTiff>> FImages;
};

/// Bytes of one value of a field type (1 for BYTE, 2 for SHORT, 4 otherwise).
int TiffTypeSize(std::uint16_t type) noexcept;

/// Decodes the TIFF file at path into target: each image of the chain that decodes replaces
/// target's content, so the last decodable one stays; failed images leave it as it was.
/// Notices go to messages. Throws InvalidFile for an image wider or higher than 65535, an
/// image without strips, and a file with more than 256 images (after handling 256).
void ReadTiffToBitmap(const std::string& path, Bitmap& target, const MessageSink& messages);
/// The same for a file held in memory; name stands for the path in the messages.
void ReadTiffToBitmap(std::span<const std::uint8_t> data, const std::string& name, Bitmap& target,
                      const MessageSink& messages);
/// Decodes the images of an already read file into target, as ReadTiffToBitmap.
void DecodeTiffImages(const TFileTiff& file, Bitmap& target, const MessageSink& messages);

}  // namespace velmora
