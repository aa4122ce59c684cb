#include "audio/MusicImport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <span>
#include <vector>

#include "audio/ID3v1.h"
#include "audio/KivMp3Play.h"
#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "base/RegularFile.h"
#include "store/FileOps.h"

namespace velmora {

namespace {

// Copies everything readable from `from` into the new file.
void CopyContent(int from, TAtomicFile& to) {
    std::vector<std::uint8_t> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw IoError("cannot read", "", errno);
        if (n == 0) return;
        to.Write(std::span(buffer.data(), std::size_t(n)));
    }
}

std::int32_t WholeSeconds(float seconds) {
    if (!(seconds > 0.0f)) return 0;
    if (seconds >= 2.0e9f) return 2'000'000'000;
    return std::int32_t(seconds);  // truncated toward zero
}

}  // namespace

bool CopyFileReplacing(const std::string& source, const std::string& dest) {
    try {
        // Only a regular file is copied; a FIFO is never waited on.
        TUniqueFd in = OpenRegularFileAt(AT_FDCWD, source, false, source);
        if (in.Get() < 0) return false;
        TAtomicFile out(dest);
        CopyContent(in.Get(), out);
        out.Commit();
        return true;
    } catch (const Error&) {
        return false;  // the destination is untouched and no partial file is left
    }
}

TMusicImportResult ImportMusic(TAlbumStore& store, TBassApi& bass,
                               const std::vector<std::string>& sources,
                               const TMusicImportHooks& hooks) {
    // Nothing is written anywhere before the album folder is known to be a real folder.
    if (store.AlbumPath.empty()) throw InvalidArgument("no album is open to import songs into");
    const TUniqueFd folder = OpenStoreFolder(store.AlbumPath);
    if (folder.Get() < 0) throw IoError("cannot open the album folder", store.AlbumPath, ENOENT);
    // Files are written through the folder's descriptor, never through a link in its place.
    const std::string albumDir = PathThroughDescriptor(folder.Get());
    TMusicImportResult result;
    // The dialog's invisible player, used only to measure play times.
    TKivMp3Play player(bass, 97, 25);
    TID3v1 tag;
    const int count = int(sources.size());
    for (int i = 0; i < count; ++i) {
        result.Result = true;
        if (hooks.CancelRequested && hooks.CancelRequested()) {
            result.Cancelled = true;
            break;
        }
        const std::string& src = sources[std::size_t(i)];
        if (hooks.OnProgress) hooks.OnProgress(i + 1, count, src);
        const std::string number = NextFreeNumber(albumDir, "M", "mp3");
        const std::string dest = albumDir + "M" + number + ".mp3";
        try {
            RequireRegularFile(src);  // a FIFO or device would block the player and the tags
        } catch (const Error&) {
            result.Skipped.push_back(src);
            continue;
        }
        player.SetFileName(src);
        tag.LoadFromFile(src);  // a file without a tag leaves the fields empty
        if (!CopyFileReplacing(src, dest)) {
            result.Skipped.push_back(src);
            continue;
        }
        ++store.MusicCount;
        store.Musics.resize(std::size_t(store.MusicCount));
        TMusicInfo& info = store.Musics.back();
        info = TMusicInfo{};
        info.PlayTime = WholeSeconds(player.GetPlayLength());
        info.StoredName.SetText(std::filesystem::path(dest).filename().string());
        info.SongName.SetText(std::filesystem::path(src).filename().string());
        info.Singer.SetBytes(tag.Artist);
        info.Remark.SetBytes(tag.Comment);
        ++result.Imported;
        // Saved after every file: a killed import loses at most the song in progress, which
        // exists only under a temporary name until it is complete.
        store.SaveRecords("M");
    }
    store.SaveRecords("M");
    return result;
}

}  // namespace velmora
