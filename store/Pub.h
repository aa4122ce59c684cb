#pragma once
// The album store: the fixed records of the record files and the store object that holds the
// in-memory copy of the catalogue and of the current album (the globals of unit Pub as members).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/ShortString.h"

namespace velmora {

/// One catalogue entry ("Album" file), 91 bytes.
struct TAlbumRec {
    static constexpr std::size_t Size = 91;
    ShortString<90> Name;

    void Decode(const std::uint8_t* in) noexcept;
    void Encode(std::uint8_t* out) const noexcept;
    bool operator==(const TAlbumRec&) const = default;
};

/// One picture record ("PicInfo" file), 324 bytes.
struct TPicInfo {
    static constexpr std::size_t Size = 324;
    std::int32_t Dwell = 0;   ///< seconds in the video; 3 at import
    std::int32_t Effect = 0;  ///< 0 random, 1..105 a row of the effect table
    ShortString<36> Title;
    ShortString<255> Remark;
    ShortString<20> StoredName;  ///< file inside the album folder, e.g. "P0.jpg"

    void Decode(const std::uint8_t* in) noexcept;
    void Encode(std::uint8_t* out) const noexcept;
    bool operator==(const TPicInfo&) const = default;
};

/// One song record ("MusicInfo" file), 344 bytes.
struct TMusicInfo {
    static constexpr std::size_t Size = 344;
    std::int32_t PlayTime = 0;   ///< whole seconds, truncated
    ShortString<20> StoredName;  ///< file inside the album folder, e.g. "M0.mp3"
    ShortString<255> SongName;
    ShortString<30> Singer;
    ShortString<30> Remark;

    void Decode(const std::uint8_t* in) noexcept;
    void Encode(std::uint8_t* out) const noexcept;
    bool operator==(const TMusicInfo&) const = default;
};

/// The in-memory store. The GUI owns one; tests and the command line make their own.
/// Folders (RootPath, AlbumPath) end with "/".
class TAlbumStore {
public:
    std::vector<TAlbumRec> Albums;
    std::vector<TPicInfo> Pics;
    std::vector<TMusicInfo> Musics;
    std::int32_t AlbumCount = 0;
    std::int32_t AlbumIndex = -1;
    std::int32_t PicCount = 0;
    std::int32_t PicIndex = -1;
    std::int32_t MusicCount = 0;
    std::int32_t MusicIndex = -1;
    std::string AlbumPath;
    std::string RootPath;

    /// Reads record files: Kind "A", "P", "M" (any case), "" for all three in that order; any
    /// other Kind reads nothing. A missing file changes nothing; an empty file sets the count to
    /// 0 and keeps array and index; otherwise the index becomes 0. Without an open album
    /// (AlbumPath empty) the picture and song files are skipped. Throws IoError.
    void LoadRecords(std::string_view kind);
    /// Writes record files atomically (temporary file, flush, rename); same Kind rule. Writes
    /// the first count records; throws InvalidArgument when the count exceeds the array or
    /// pictures or songs are saved without an open album, IoError when the write fails (the
    /// previous file then stays whole).
    void SaveRecords(std::string_view kind);

    /// Makes album `index` current: resets the picture and song counts and indexes, sets
    /// AlbumPath and loads its pictures and songs.
    void OpenAlbum(int index);

    /// Full path of a stored file of the current album. Throws InvalidFile when the stored
    /// name is not a single safe path component ("", "..", "/", NUL).
    std::string StoredFilePath(std::string_view storedName) const;
};

/// The smallest n >= 0 for which Folder + Prefix + n + "." + Ext does not exist, as text.
std::string NextFreeNumber(const std::string& folder, const std::string& prefix,
                           const std::string& ext);

/// Deletes a folder tree that is a direct child of rootPath; never follows a link out of it.
/// Returns false when the path is not such a child or the deletion failed.
bool DeleteFolder(const std::string& rootPath, const std::string& path);

}  // namespace velmora
