#include "store/FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "base/Errors.h"

namespace velmora {

namespace {

/// An open file descriptor, closed with the object.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) noexcept : FFd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const noexcept { return FFd; }
    int Release() noexcept {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }
    void Reset() noexcept {
        if (FFd >= 0) ::close(FFd);
        FFd = -1;
    }

private:
    int FFd;
};

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// Writes all of `bytes` through `writer`; returns 0 or the errno of the failure.
int WriteAll(int fd, std::span<const std::uint8_t> bytes, const TWriteFn& writer) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = writer ? writer(fd, bytes.data() + done, bytes.size() - done)
                                 : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno != 0 ? errno : EIO;
        }
        if (n == 0) return ENOSPC;  // a writer that makes no progress: the disk is full
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

/// The permission bits a replaced file keeps; new files get rw-r--r--.
mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
    return 0644;
}

}  // namespace

bool IsSafeComponent(std::string_view name) noexcept {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::optional<std::vector<std::uint8_t>> ReadFileIfExists(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw IoError("cannot open", path, errno);
    }
    std::vector<std::uint8_t> bytes;
    struct stat info {};
    if (::fstat(fd.Get(), &info) == 0 && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError("cannot read", path, errno);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     const TWriteFn& writer) {
    const std::string folder = FolderOf(path);
    std::string temp = folder + "/." + NameOf(path) + ".XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) throw IoError("cannot create a temporary file", temp, errno);

    int failure = ::fchmod(fd.Get(), ModeFor(path)) == 0 ? 0 : errno;
    if (failure == 0) failure = WriteAll(fd.Get(), bytes, writer);
    if (failure == 0 && ::fsync(fd.Get()) != 0) failure = errno;
    if (failure == 0 && ::close(fd.Release()) != 0) failure = errno;
    if (failure == 0 && ::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
    if (failure != 0) {
        fd.Reset();
        ::unlink(temp.c_str());
        throw IoError("cannot write", path, failure);
    }
    // Make the rename itself durable; a failure here leaves a complete file either way.
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
}

bool RemoveTreeAt(int dirFd, const std::string& name) {
    struct stat info {};
    if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISDIR(info.st_mode)) return ::unlinkat(dirFd, name.c_str(), 0) == 0;

    // O_NOFOLLOW: a link put in place of the folder since the check is not entered.
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    UniqueDir dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return false;
    }
    std::vector<std::string> children;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string child = entry->d_name;
        if (child != "." && child != "..") children.push_back(child);
    }
    bool ok = true;
    for (const std::string& child : children) ok = RemoveTreeAt(::dirfd(dir.get()), child) && ok;
    dir.reset();
    return ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

}  // namespace velmora
