#include "store/Pub.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <optional>

#include "base/Errors.h"
#include "store/FileOps.h"
#include "store/TextCodec.h"

namespace velmora {

namespace {

std::int32_t GetInt32(const std::uint8_t* in) noexcept {
    const std::uint32_t value = std::uint32_t(in[0]) | std::uint32_t(in[1]) << 8 |
                                std::uint32_t(in[2]) << 16 | std::uint32_t(in[3]) << 24;
    return static_cast<std::int32_t>(value);
}

void PutInt32(std::uint8_t* out, std::int32_t signedValue) noexcept {
    const auto value = static_cast<std::uint32_t>(signedValue);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

/// Which record files a Kind names: bit 0 catalogue, bit 1 pictures, bit 2 songs.
enum KindBits { KindAlbum = 1, KindPic = 2, KindMusic = 4 };

int KindsOf(std::string_view kind) noexcept {
    if (kind.empty()) return KindAlbum | KindPic | KindMusic;
    if (kind.size() != 1) return 0;
    switch (kind[0]) {
        case 'A':
        case 'a':
            return KindAlbum;
        case 'P':
        case 'p':
            return KindPic;
        case 'M':
        case 'm':
            return KindMusic;
        default:
            return 0;
    }
}

template <typename TRec>
void LoadFile(const std::optional<std::vector<std::uint8_t>>& bytes, const std::string& path,
              std::vector<TRec>& array, std::int32_t& count, std::int32_t& index) {
    if (!bytes) return;                                    // a missing file changes nothing
    const std::size_t whole = bytes->size() / TRec::Size;  // a partial record is ignored
    if (whole > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw InvalidFile("too many records", path);
    }
    count = static_cast<std::int32_t>(whole);
    if (count == 0) return;  // array and index keep what they held
    array.resize(whole);
    for (std::size_t i = 0; i < whole; ++i) array[i].Decode(bytes->data() + i * TRec::Size);
    index = 0;
}

template <typename TRec>
std::vector<std::uint8_t> EncodeFile(const std::string& path, const std::vector<TRec>& array,
                                     std::int32_t count) {
    if (count < 0 || static_cast<std::size_t>(count) > array.size()) {
        throw InvalidArgument("record count " + std::to_string(count) + " does not match the " +
                              std::to_string(array.size()) + " records held for " + path);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * TRec::Size, 0);
    for (std::int32_t i = 0; i < count; ++i) array[i].Encode(bytes.data() + i * TRec::Size);
    return bytes;
}

/// The open album folder for writing its record files; a missing folder is an error.
TUniqueFd AlbumFolderForWriting(const std::string& albumPath) {
    TUniqueFd folder = OpenStoreFolder(albumPath);
    if (folder.Get() < 0) throw IoError("cannot open the album folder", albumPath, ENOENT);
    return folder;
}

/// Text of a name for a message, with NUL and other control bytes made visible.
std::string Printable(std::string_view name) {
    std::string text;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            static const char* hex = "0123456789abcdef";
            text += "\\x";
            text += hex[(c >> 4) & 0xF];
            text += hex[c & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

void TAlbumRec::Decode(const std::uint8_t* in) noexcept { Name.Decode(in); }

void TAlbumRec::Encode(std::uint8_t* out) const noexcept { Name.Encode(out); }

void TPicInfo::Decode(const std::uint8_t* in) noexcept {
    Dwell = GetInt32(in + 0);
    Effect = GetInt32(in + 4);
    Title.Decode(in + 8);
    Remark.Decode(in + 45);
    StoredName.Decode(in + 301);
}

void TPicInfo::Encode(std::uint8_t* out) const noexcept {
    PutInt32(out + 0, Dwell);
    PutInt32(out + 4, Effect);
    Title.Encode(out + 8);
    Remark.Encode(out + 45);
    StoredName.Encode(out + 301);
    out[322] = 0;
    out[323] = 0;
}

void TMusicInfo::Decode(const std::uint8_t* in) noexcept {
    PlayTime = GetInt32(in + 0);
    StoredName.Decode(in + 4);
    SongName.Decode(in + 25);
    Singer.Decode(in + 281);
    Remark.Decode(in + 312);
}

void TMusicInfo::Encode(std::uint8_t* out) const noexcept {
    PutInt32(out + 0, PlayTime);
    StoredName.Encode(out + 4);
    SongName.Encode(out + 25);
    Singer.Encode(out + 281);
    Remark.Encode(out + 312);
    out[343] = 0;
}

void TAlbumStore::LoadRecords(std::string_view kind) {
    const int kinds = KindsOf(kind);
    if (kinds & KindAlbum) {
        const std::string path = RootPath + "Album";
        LoadFile(ReadFileIfExists(path), path, Albums, AlbumCount, AlbumIndex);
    }
    // Without an open album there is no picture or song file to read.
    if (AlbumPath.empty() || !(kinds & (KindPic | KindMusic))) return;
    // The record files are read through the album folder's descriptor: a folder or file that
    // is a link is refused, never followed.
    const TUniqueFd folder = OpenStoreFolder(AlbumPath);
    if (folder.Get() < 0) return;  // no folder: like missing files
    if (kinds & KindPic) {
        LoadFile(ReadFileIfExistsAt(folder.Get(), "PicInfo", AlbumPath + "PicInfo"),
                 AlbumPath + "PicInfo", Pics, PicCount, PicIndex);
    }
    if (kinds & KindMusic) {
        LoadFile(ReadFileIfExistsAt(folder.Get(), "MusicInfo", AlbumPath + "MusicInfo"),
                 AlbumPath + "MusicInfo", Musics, MusicCount, MusicIndex);
    }
}

void TAlbumStore::SaveRecords(std::string_view kind) {
    const int kinds = KindsOf(kind);
    if (kinds & KindAlbum) {
        const std::string path = RootPath + "Album";
        WriteFileAtomic(path, EncodeFile(path, Albums, AlbumCount));
    }
    if (!(kinds & (KindPic | KindMusic))) return;
    if (AlbumPath.empty()) throw InvalidArgument("no album is open");
    const TUniqueFd folder = AlbumFolderForWriting(AlbumPath);
    if (kinds & KindPic) {
        const std::string path = AlbumPath + "PicInfo";
        WriteFileAtomicAt(folder.Get(), "PicInfo", path, EncodeFile(path, Pics, PicCount));
    }
    if (kinds & KindMusic) {
        const std::string path = AlbumPath + "MusicInfo";
        WriteFileAtomicAt(folder.Get(), "MusicInfo", path, EncodeFile(path, Musics, MusicCount));
    }
}

void TAlbumStore::OpenAlbum(int index) {
    PicCount = 0;
    PicIndex = -1;
    MusicCount = 0;
    MusicIndex = -1;
    if (AlbumCount <= 0) return;
    if (index < 0 || index >= AlbumCount || static_cast<std::size_t>(index) >= Albums.size()) {
        throw InvalidArgument("no album " + std::to_string(index));
    }
    AlbumIndex = index;
    const std::string name(TrimBlanks(Albums[index].Name.Text()));
    if (!IsSafeComponent(name)) {
        AlbumPath.clear();
        throw InvalidFile("album name \"" + Printable(name) + "\" cannot name a folder",
                          RootPath + "Album");
    }
    AlbumPath = RootPath + name + "/";
    try {
        OpenStoreFolder(AlbumPath);  // an album folder that is a link or a file is refused
    } catch (...) {
        AlbumPath.clear();
        throw;
    }
    LoadRecords("P");
    LoadRecords("M");
}

std::string TAlbumStore::StoredFilePath(std::string_view storedName) const {
    if (AlbumPath.empty()) throw InvalidArgument("no album is open");
    if (!IsSafeComponent(storedName)) {
        throw InvalidFile(
            "stored file name \"" + Printable(storedName) + "\" is not a file name of the album",
            AlbumPath);
    }
    const std::string path = AlbumPath + std::string(storedName);
    // Only a regular file of the album itself is handed to a reader: a stored name that is a
    // link, a folder or a special file is refused. A missing file is left to the reader.
    const TUniqueFd folder = OpenStoreFolder(AlbumPath);
    struct stat info {};
    if (folder.Get() >= 0 &&
        ::fstatat(folder.Get(), std::string(storedName).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(info.st_mode)) {
        throw InvalidFile(S_ISLNK(info.st_mode) ? "the stored file is a link, which is not followed"
                                                : "the stored file is not a regular file",
                          path);
    }
    return path;
}

std::string NextFreeNumber(const std::string& folder, const std::string& prefix,
                           const std::string& ext) {
    std::string base = folder;
    if (base.empty() || base.back() != '/') base += '/';
    for (unsigned long long n = 0;; ++n) {
        const std::string number = std::to_string(n);
        struct stat info {};
        // Any entry counts as taken, a dangling link included; a name that cannot be looked
        // up (no such folder) is free.
        if (::lstat((base + prefix + number + "." + ext).c_str(), &info) != 0) return number;
    }
}

bool DeleteFolder(const std::string& rootPath, const std::string& path) {
    std::string root = rootPath;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    std::string target = path;
    while (!target.empty() && target.back() == '/') target.pop_back();
    const std::string prefix = root == "/" ? root : root + "/";
    if (root.empty() || target.size() <= prefix.size() || target.compare(0, prefix.size(), prefix))
        return false;
    const std::string name = target.substr(prefix.size());
    if (!IsSafeComponent(name)) return false;

    const int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) return false;
    const bool removed = RemoveTreeAt(rootFd, name);
    ::close(rootFd);
    return removed;
}

}  // namespace velmora
