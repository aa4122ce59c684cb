#include "store/FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "base/Errors.h"
#include "base/RegularFile.h"
#include "base/UniqueFd.h"

namespace velmora {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

}  // namespace

bool IsSafeComponent(std::string_view name) noexcept {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::optional<std::vector<std::uint8_t>> ReadFileIfExists(const std::string& path) {
    return ReadFileIfExistsAt(AT_FDCWD, path, path);
}

std::optional<std::vector<std::uint8_t>> ReadFileIfExistsAt(int dirFd, const std::string& name,
                                                            const std::string& shownPath) {
    TUniqueFd fd = OpenRegularFileAt(dirFd, name, true, shownPath);
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw IoError("cannot open", shownPath, errno);
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
            throw IoError("cannot read", shownPath, errno);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

TUniqueFd OpenStoreFolder(const std::string& folderPath) {
    std::string path = folderPath;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const std::size_t slash = path.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // The store root itself may be reached through a link; its entries may not.
    TUniqueFd parentFd(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parentFd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return TUniqueFd();
        throw IoError("cannot open", parent, errno);
    }
    TUniqueFd fd(
        ::openat(parentFd.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() >= 0) return fd;
    const int failure = errno;
    if (failure == ENOENT) return TUniqueFd();
    if (failure == ELOOP || failure == ENOTDIR) {
        struct stat info {};
        const bool link =
            ::fstatat(parentFd.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(info.st_mode);
        throw InvalidFile(link ? "the album folder is a link, which the store does not follow"
                               : "the album folder is not a folder",
                          folderPath);
    }
    throw IoError("cannot open", folderPath, failure);
}

std::string PathThroughDescriptor(int folderFd) {
    return "/proc/self/fd/" + std::to_string(folderFd) + "/";
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
