#include "audio/MusicImport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "audio/ID3v1.h"
#include "audio/KivMp3Play.h"

namespace velmora {

namespace {

// A file descriptor closed on every path out of the copy.
class TFd {
public:
    explicit TFd(int fd) noexcept : FFd(fd) {}
    ~TFd() { Close(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const noexcept { return FFd; }
    bool Close() noexcept {
        const bool ok = FFd < 0 || ::close(FFd) == 0;
        FFd = -1;
        return ok;
    }

private:
    int FFd;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

bool CopyContent(int from, int to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!WriteAll(to, buffer.data(), std::size_t(n))) return false;
    }
}

std::int32_t WholeSeconds(float seconds) {
    if (!(seconds > 0.0f)) return 0;
    if (seconds >= 2.0e9f) return 2'000'000'000;
    return std::int32_t(seconds);  // truncated toward zero
}

}  // namespace

bool CopyFileReplacing(const std::string& source, const std::string& dest) {
    TFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.Get() < 0) return false;
    struct stat info {};
    if (::fstat(in.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    std::string temp = dest + ".partXXXXXX";
    TFd out(::mkstemp(temp.data()));
    if (out.Get() < 0) return false;
    bool ok = ::fchmod(out.Get(), 0644) == 0 && CopyContent(in.Get(), out.Get());
    ok = out.Close() && ok;
    ok = ok && ::rename(temp.c_str(), dest.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

TMusicImportResult ImportMusic(TAlbumStore& store, TBassApi& bass,
                               const std::vector<std::string>& sources,
                               const TMusicImportHooks& hooks) {
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
        const std::string number = NextFreeNumber(store.AlbumPath, "M", "mp3");
        const std::string dest = store.AlbumPath + "M" + number + ".mp3";
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
    }
    store.SaveRecords("M");
    return result;
}

}  // namespace velmora
