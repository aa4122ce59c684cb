#include "imaging/ReadTiffTags.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace velmora {

namespace {

constexpr std::uint64_t HeaderSize = 8;
constexpr std::uint64_t EntrySize = 12;

/// A file on disk, read with positioned reads.
class TFileSource final : public TTiffSource {
public:
    explicit TFileSource(std::FILE* file, std::uint64_t size) : FFile(file), FSize(size) {}
    ~TFileSource() override { std::fclose(FFile); }
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t size) const override {
        if (offset >= FSize || size == 0) return 0;
        if (fseeko(FFile, off_t(offset), SEEK_SET) != 0) return 0;
        return std::fread(dest, 1, size, FFile);
    }
    std::uint64_t Size() const override { return FSize; }

private:
    std::FILE* FFile;
    std::uint64_t FSize;
};

/// Bytes in memory, borrowed.
class TMemorySource final : public TTiffSource {
public:
    explicit TMemorySource(std::span<const std::uint8_t> data) : FData(data) {}
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t size) const override {
        if (offset >= FData.size() || size == 0) return 0;
        const std::size_t n = std::min<std::uint64_t>(size, FData.size() - offset);
        std::memcpy(dest, FData.data() + offset, n);
        return n;
    }
    std::uint64_t Size() const override { return FData.size(); }

private:
    std::span<const std::uint8_t> FData;
};

}  // namespace

int TiffTypeSize(std::uint16_t type) noexcept {
    switch (type) {
        case TypeByte:
            return 1;
        case TypeShort:
        case TypeSShort:
            return 2;
        default:
            return 4;
    }
}

// ---- TGraphicTiff ---------------------------------------------------------------------------

TGraphicTiff::TGraphicTiff(const TFileTiff& owner, std::uint32_t offset) : FOwner(owner) {
    ReadEntries(offset);
    if (!FReadable) return;
    ReadStripTable();
    std::uint8_t next[4];
    FNextOffset = FOwner.ReadAt(FEndOfEntries, next, 4) == 4 ? FOwner.U32(next) : 0;
}

void TGraphicTiff::ReadEntries(std::uint32_t offset) {
    std::uint8_t countBytes[2];
    if (FOwner.ReadAt(offset, countBytes, 2) != 2) return;
    FReadable = true;
    FEntryCount = FOwner.U16(countBytes);
    std::uint64_t position = std::uint64_t(offset) + 2;
    // Entries beyond the end of the file are not there; the directory keeps those read whole.
    std::vector<std::uint8_t> raw(std::size_t(FEntryCount) * EntrySize);
    const std::size_t got = FOwner.ReadAt(position, raw.data(), raw.size());
    const std::size_t whole = got / EntrySize;
    FEntries.reserve(whole);
    for (std::size_t i = 0; i < whole; ++i) {
        const std::uint8_t* p = raw.data() + i * EntrySize;
        TTiffEntry entry;
        entry.Tag = FOwner.U16(p);
        entry.Type = FOwner.U16(p + 2);
        entry.Count = FOwner.U32(p + 4);
        std::memcpy(entry.Field, p + 8, 4);
        switch (TiffTypeSize(entry.Type)) {
            case 1:
                entry.Value = p[8];
                break;
            case 2:
                entry.Value = FOwner.U16(p + 8);
                break;
            default:
                entry.Value = FOwner.U32(p + 8);
                break;
        }
        FEntries.push_back(entry);
    }
    FEndOfEntries = position + std::uint64_t(FEntryCount) * EntrySize;
}

const TTiffEntry* TGraphicTiff::FindTag(std::uint16_t tag) const noexcept {
    for (auto it = FEntries.rbegin(); it != FEntries.rend(); ++it) {
        if (it->Tag == tag) return &*it;
    }
    return nullptr;
}

const TTiffStrip* TGraphicTiff::Strip(int index) const noexcept {
    if (index < 0 || index >= StripCount()) return nullptr;
    return &FStrips[std::size_t(index)];
}

bool TGraphicTiff::ReadStripValues(const TTiffEntry& entry,
                                   std::vector<std::uint32_t>& values) const {
    if (entry.Count == 1) {
        values.assign(1, entry.Value);
        return true;
    }
    return FOwner.EntryValues(entry, values);
}

void TGraphicTiff::ReadStripTable() {
    const TTiffEntry* offsets = FindTag(TagStripOffsets);
    const TTiffEntry* counts = FindTag(TagStripByteCounts);
    const std::uint32_t offsetCount = offsets ? offsets->Count : 0;
    const std::uint32_t byteCountCount = counts ? counts->Count : 0;
    // The strip count is a 16-bit number: a larger table means no usable strips.
    if (offsetCount != byteCountCount || offsetCount == 0 || offsetCount > 0xFFFF) return;
    std::vector<std::uint32_t> offsetValues;
    std::vector<std::uint32_t> countValues;
    if (!ReadStripValues(*offsets, offsetValues) || !ReadStripValues(*counts, countValues)) {
        // The tables lie outside the file: the strips exist but cannot be read.
        FStripsReadable = false;
        FStrips.assign(offsetCount, TTiffStrip{});
        return;
    }
    FStrips.resize(offsetCount);
    for (std::size_t i = 0; i < FStrips.size(); ++i) {
        FStrips[i].Offset = offsetValues[i];
        FStrips[i].ByteCount = countValues[i];
    }
}

// ---- TFileTiff ------------------------------------------------------------------------------

TFileTiff::TFileTiff() = default;
TFileTiff::~TFileTiff() = default;

void TFileTiff::Clear() {
    FImages.clear();
    FSource.reset();
    FFileSize = 0;
    FValid = false;
    FLittleEndian = true;
}

void TFileTiff::SetFileName(const std::string& fileName) {
    if (fileName.empty()) {
        Clear();
        FFileName.clear();
        return;
    }
    if (fileName == FFileName) return;
    Clear();
    FFileName = fileName;
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file) return;
    if (fseeko(file, 0, SEEK_END) != 0) {
        std::fclose(file);
        return;
    }
    const off_t size = ftello(file);
    FSource = std::make_unique<TFileSource>(file, size < 0 ? 0 : std::uint64_t(size));
    FFileSize = FSource->Size();
    ReadHeaderAndChain();
}

void TFileTiff::SetData(std::span<const std::uint8_t> data, const std::string& name) {
    Clear();
    FFileName = name;
    FSource = std::make_unique<TMemorySource>(data);
    FFileSize = data.size();
    ReadHeaderAndChain();
}

void TFileTiff::ReadHeaderAndChain() {
    if (FFileSize < HeaderSize) return;
    std::uint8_t header[HeaderSize];
    if (ReadAt(0, header, HeaderSize) != HeaderSize) return;
    if (header[0] == 'I' && header[1] == 'I') {
        FLittleEndian = true;
    } else if (header[0] == 'M' && header[1] == 'M') {
        FLittleEndian = false;
    } else {
        return;
    }
    if (U16(header + 2) != 42) return;
    FValid = true;
    std::uint32_t offset = U32(header + 4);
    // A chain that comes back to a directory already read ends there; reading stops one
    // directory after the most the decoder handles, so that "more than that" is still known.
    std::set<std::uint32_t> seen;
    while (offset >= HeaderSize && int(FImages.size()) <= MaxImages && seen.insert(offset).second) {
        auto image = std::make_unique<TGraphicTiff>(*this, offset);
        if (!image->Readable()) break;
        offset = image->NextOffset();
        FImages.push_back(std::move(image));
    }
}

const TGraphicTiff* TFileTiff::Image(int index) const noexcept {
    if (index < 0 || index >= ImageCount()) return nullptr;
    return FImages[std::size_t(index)].get();
}

std::size_t TFileTiff::ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t size) const {
    return FSource ? FSource->ReadAt(offset, dest, size) : 0;
}

std::uint16_t TFileTiff::U16(const std::uint8_t* p) const noexcept {
    return FLittleEndian ? std::uint16_t(p[0] | p[1] << 8) : std::uint16_t(p[0] << 8 | p[1]);
}

std::uint32_t TFileTiff::U32(const std::uint8_t* p) const noexcept {
    if (FLittleEndian) {
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

namespace {

void DecodeValues(const TFileTiff& file, const std::uint8_t* bytes, std::uint16_t type,
                  std::uint32_t count, std::vector<std::uint32_t>& values) {
    const int size = TiffTypeSize(type);
    values.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = bytes + std::size_t(i) * size;
        values[i] = size == 1 ? p[0] : size == 2 ? file.U16(p) : file.U32(p);
    }
}

}  // namespace

bool TFileTiff::ReadValues(std::uint64_t offset, std::uint16_t type, std::uint32_t count,
                           std::vector<std::uint32_t>& values) const {
    const std::uint64_t bytes = std::uint64_t(count) * TiffTypeSize(type);
    // Checked against the file size before anything is allocated.
    if (offset > FFileSize || bytes > FFileSize - offset) return false;
    std::vector<std::uint8_t> raw(bytes);
    if (ReadAt(offset, raw.data(), raw.size()) != raw.size()) return false;
    DecodeValues(*this, raw.data(), type, count, values);
    return true;
}

bool TFileTiff::EntryValues(const TTiffEntry& entry, std::vector<std::uint32_t>& values) const {
    if (std::uint64_t(entry.Count) * TiffTypeSize(entry.Type) <= 4) {
        DecodeValues(*this, entry.Field, entry.Type, entry.Count, values);
        return true;
    }
    return ReadValues(U32(entry.Field), entry.Type, entry.Count, values);
}

}  // namespace velmora
