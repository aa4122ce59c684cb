// MP3 files and their ID3v1 tags as hostile input: the bytes are opened as a song by the
// audio engine's decoder (from an in-memory file), decoded for a bounded time, mapped back to
// file positions and sought, and decoded again as the soundtrack reads songs (float samples at
// another rate); the last 128 bytes are read as a tag. Positions must stay inside
// the file and tag fields inside their sizes.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "audio/BassStream.h"
#include "audio/ID3v1.h"

namespace {

void CheckTag(const std::uint8_t* data, std::size_t size) {
    if (size < velmora::TID3v1::BlockSize) return;
    velmora::TID3v1::TTagBlock block;
    std::copy(data + size - block.size(), data + size, block.begin());
    velmora::TID3v1 tag;
    tag.LoadFromBlock(block);
    if (tag.Title.size() > 30 || tag.Artist.size() > 30 || tag.Album.size() > 30 ||
        tag.Year.size() > 4 || tag.Comment.size() > 30 || (tag.Version != 1 && tag.Version != 2)) {
        std::abort();
    }
}

void Decode(velmora::TBassStream& stream, std::uint64_t maxFrames) {
    std::vector<std::int16_t> buffer(2 * 2048);
    std::uint64_t frames = 0;
    std::uint64_t last = 0;
    while (!stream.Exhausted() && frames < maxFrames) {
        frames += std::uint64_t(stream.Read(buffer.data(), 2048));
        const std::uint64_t pos = stream.FilePosAt(stream.OutputBase() + frames);
        if (pos > stream.FileSize() || pos < last) std::abort();
        last = pos;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    CheckTag(data, size);
    const int fd = ::memfd_create("song.mp3", MFD_CLOEXEC);
    if (fd < 0) return 0;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) break;
        done += std::size_t(n);
    }
    int error = 0;
    auto stream = velmora::TBassStream::Open("/proc/self/fd/" + std::to_string(fd), 44100, error);
    if (stream) {
        // At most 20 s of sound a run, then a seek to the middle and a little more.
        Decode(*stream, 20 * 44100);
        if (stream->Seek(stream->LengthFrames() / 2)) Decode(*stream, 44100);
    }
    stream.reset();
    // The soundtrack reads songs through the same reader in float samples at 48 kHz.
    auto song = velmora::TBassStream::Open("/proc/self/fd/" + std::to_string(fd), 48000, error,
                                           velmora::TBassStream::TSampleFormat::Float);
    if (song) {
        std::vector<float> samples(2 * 4096);
        for (int i = 0; i < 200 && !song->Exhausted(); ++i) {
            if (song->Read(samples.data(), 4096) < 0) std::abort();
        }
    }
    song.reset();
    ::close(fd);
    return 0;
}
