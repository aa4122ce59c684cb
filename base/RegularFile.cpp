#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/Errors.h"

namespace velmora {

namespace {

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a link";
    return "a special file";
}

[[noreturn]] void ThrowNotRegular(mode_t mode, const std::string& path) {
    throw InvalidFile("is " + KindOf(mode) + ", not a regular file", path);
}

}  // namespace

void RequireRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return;
    if (!S_ISREG(info.st_mode)) ThrowNotRegular(info.st_mode, path);
}

TUniqueFd OpenRegularFileAt(int dirFd, const std::string& name, bool noFollow,
                            const std::string& shownPath) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (noFollow ? O_NOFOLLOW : 0);
    TUniqueFd fd(::openat(dirFd, name.c_str(), flags));
    if (fd.Get() < 0) {
        if (errno == ELOOP && noFollow) {
            throw InvalidFile("is a link, which is not followed", shownPath);
        }
        return fd;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) return TUniqueFd();
    if (!S_ISREG(info.st_mode)) ThrowNotRegular(info.st_mode, shownPath);
    // Reads of a regular file never block; the flag is dropped for the readers that follow.
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace velmora
