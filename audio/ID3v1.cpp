#include "audio/ID3v1.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora {

namespace {

// The bytes of a field with every trailing byte of code 32 or below removed; bytes before
// the last kept one stay as they are, zero bytes included.
std::string TrimRight(const std::uint8_t* bytes, int size) {
    int n = size;
    while (n > 0 && bytes[n - 1] <= 32) --n;
    return std::string(reinterpret_cast<const char*>(bytes), std::size_t(n));
}

// Closes a file descriptor on every path out of ReadTagBlock.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) noexcept : FFd(fd) {}
    ~TFileDescriptor() {
        if (FFd >= 0) ::close(FFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const noexcept { return FFd; }

private:
    int FFd;
};

}  // namespace

void TID3v1::Clear() {
    Exists = false;
    Version = 1;
    Title.clear();
    Artist.clear();
    Album.clear();
    Year.clear();
    Comment.clear();
    Track = 0;
    Genre = 255;
}

bool TID3v1::ReadTagBlock(const std::string& path, TTagBlock& block) {
    // O_NONBLOCK: a FIFO named like a song is never waited on; it fails the S_ISREG test.
    TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) return false;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < BlockSize) {
        return false;
    }
    std::size_t done = 0;
    while (done < block.size()) {
        const ssize_t n = ::pread(file.Get(), block.data() + done, block.size() - done,
                                  info.st_size - BlockSize + off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

std::uint8_t TID3v1::TagVersion(const TTagBlock& block) noexcept {
    if ((block[125] == 0 && block[126] != 0) || (block[125] == 32 && block[126] != 32)) return 2;
    return 1;
}

void TID3v1::LoadFromBlock(const TTagBlock& block) {
    Clear();
    if (std::memcmp(block.data(), "TAG", 3) != 0) return;
    Exists = true;
    Version = TagVersion(block);
    Title = TrimRight(block.data() + 3, 30);
    Artist = TrimRight(block.data() + 33, 30);
    Album = TrimRight(block.data() + 63, 30);
    Year = TrimRight(block.data() + 93, 4);
    if (Version == 1) {
        Comment = TrimRight(block.data() + 97, 30);
    } else {
        Comment = TrimRight(block.data() + 97, 28);
        Track = block[126];
    }
    Genre = block[127];
}

bool TID3v1::LoadFromFile(const std::string& path) {
    Clear();
    TTagBlock block{};
    if (!ReadTagBlock(path, block)) return false;
    LoadFromBlock(block);
    return true;
}

}  // namespace velmora
