#pragma once
// TID3v1: reads the ID3v1 tag in the last 128 bytes of an MP3 file (versions 1.0 and 1.1).
// Texts are kept as the raw bytes of the tag (the system's code page, GB18030/GBK, or
// Latin-1 in files from elsewhere); callers convert them where they show them.

#include <array>
#include <cstdint>
#include <string>

namespace velmora {

class TID3v1 {
public:
    static constexpr int BlockSize = 128;
    using TTagBlock = std::array<std::uint8_t, BlockSize>;

    bool Exists = false;       ///< the file ends with a block that begins "TAG"
    std::uint8_t Version = 1;  ///< 1 for ID3v1.0, 2 for ID3v1.1
    std::string Title;         ///< at most 30 bytes
    std::string Artist;        ///< at most 30 bytes
    std::string Album;         ///< at most 30 bytes
    std::string Year;          ///< at most 4 bytes
    std::string Comment;       ///< at most 30 bytes (28 in ID3v1.1)
    std::uint8_t Track = 0;    ///< ID3v1.1 only
    std::uint8_t Genre = 255;

    TID3v1() { Clear(); }

    /// Sets every field to its value for a file without a tag.
    void Clear();
    /// Reads the tag of `path`. True when the last 128 bytes could be read, whether or not
    /// they hold a tag; the fields then hold the tag or the no-tag values.
    bool LoadFromFile(const std::string& path);
    /// Fills `block` with the last 128 bytes of `path`; false when the file is missing,
    /// unreadable or shorter than 128 bytes.
    static bool ReadTagBlock(const std::string& path, TTagBlock& block);
    /// 2 when bytes 125/126 mark an ID3v1.1 track number, otherwise 1.
    static std::uint8_t TagVersion(const TTagBlock& block) noexcept;
    /// Fills the fields from a block already read (what LoadFromFile does after reading).
    void LoadFromBlock(const TTagBlock& block);
};

}  // namespace velmora
