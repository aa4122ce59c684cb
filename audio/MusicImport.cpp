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

namespace {

// One pass of the loop: copies src into the album folder under the next free "M<n>.mp3" and
// appends its song record (play time, song name, the tag's singer and remark). False, with
// nothing written, for a source that is no regular file or cannot be copied.
bool ImportSong(TAlbumStore& store, TKivMp3Play& player, TID3v1& tag, const std::string& src,
                const std::string& albumDir) {
    const std::string number = NextFreeNumber(albumDir, "M", "mp3");
    const std::string dest = albumDir + "M" + number + ".mp3";
    try {
        RequireRegularFile(src);  // a FIFO or device would block the player and the tags
    } catch (const Error&) {
        return false;
    }
    player.SetFileName(src);
    tag.LoadFromFile(src);  // a file without a tag leaves the fields empty
    if (!CopyFileReplacing(src, dest)) return false;
    ++store.MusicCount;
    store.Musics.resize(std::size_t(store.MusicCount));
    TMusicInfo& info = store.Musics.back();
    info = TMusicInfo{};
    info.PlayTime = WholeSeconds(player.GetPlayLength());
    info.StoredName.SetText(std::filesystem::path(dest).filename().string());
    info.SongName.SetText(std::filesystem::path(src).filename().string());
    info.Singer.SetBytes(tag.Artist);
    info.Remark.SetBytes(tag.Comment);
    return true;
}

}  // namespace

TMusicImportResult ImportMusic(TAlbumStore& store, TBassApi& bass,
                               const std::vector<std::string>& sources,
                               const TMusicImportHooks& hooks) {
    const TImportFolder folder = OpenImportFolder(store, "songs");
    // The dialog's invisible player, used only to measure play times.
    TKivMp3Play player(bass, 97, 25);
    TID3v1 tag;
    return RunImportLoop(
        store, sources, "M", hooks.OnProgress, hooks.CancelRequested,
        [&](const std::string& src) { return ImportSong(store, player, tag, src, folder.Dir); });
}

}  // namespace velmora
