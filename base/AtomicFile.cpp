#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Errors.h"

namespace velmora {

namespace {

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

}  // namespace

TAtomicFile::TAtomicFile(const std::string& target)
    : FTarget(target),
      FDir(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      FName(NameOf(target)) {
    if (FDir.Get() < 0) throw IoError("cannot create a temporary file", target, errno);
    CreateTemp();
}

TAtomicFile::TAtomicFile(int dirFd, const std::string& name, const std::string& shownPath)
    : FTarget(shownPath), FDir(::fcntl(dirFd, F_DUPFD_CLOEXEC, 0)), FName(name) {
    if (FDir.Get() < 0) throw IoError("cannot create a temporary file", shownPath, errno);
    CreateTemp();
}

void TAtomicFile::CreateTemp() {
    // A replaced file keeps its permission bits; links are not followed for them.
    struct stat info {};
    mode_t mode = 0644;
    if (::fstatat(FDir.Get(), FName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode)) {
        mode = info.st_mode & 07777;
    }
    static const char* letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        std::uint32_t random = 0;
        if (::getrandom(&random, sizeof random, 0) != sizeof random) random ^= ::getpid() + attempt;
        for (int i = 0; i < 6; ++i, random /= 36) suffix += letters[random % 36];
        FTemp = "." + FName + "." + suffix;
        FFd = TUniqueFd(::openat(FDir.Get(), FTemp.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (FFd.Get() >= 0) break;
        if (errno != EEXIST) throw IoError("cannot create a temporary file", FTarget, errno);
    }
    if (FFd.Get() < 0) throw IoError("cannot create a temporary file", FTarget, EEXIST);
    if (::fchmod(FFd.Get(), mode) != 0) {
        const int failure = errno;
        FFd.Reset();
        ::unlinkat(FDir.Get(), FTemp.c_str(), 0);
        throw IoError("cannot create a temporary file", FTarget, failure);
    }
}

TAtomicFile::~TAtomicFile() {
    if (!FCommitted) {
        FFd.Reset();
        ::unlinkat(FDir.Get(), FTemp.c_str(), 0);
    }
}

void TAtomicFile::Write(std::span<const std::uint8_t> bytes) {
    const int failure = WriteAll(FFd.Get(), bytes, {});
    if (failure != 0) throw IoError("cannot write", FTarget, failure);
}

void TAtomicFile::Commit() {
    int failure = ::fsync(FFd.Get()) == 0 ? 0 : errno;
    if (failure == 0 && ::close(FFd.Release()) != 0) failure = errno;
    if (failure == 0 && ::renameat(FDir.Get(), FTemp.c_str(), FDir.Get(), FName.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) throw IoError("cannot write", FTarget, failure);
    FCommitted = true;
    // Make the rename itself durable; a failure here leaves a complete file either way.
    ::fsync(FDir.Get());
}

void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     const TWriteFn& writer) {
    TAtomicFile file(path);
    const int failure = WriteAll(file.Fd(), bytes, writer);
    if (failure != 0) throw IoError("cannot write", path, failure);
    file.Commit();
}

}  // namespace velmora

namespace velmora {

void WriteFileAtomicAt(int dirFd, const std::string& name, const std::string& shownPath,
                       std::span<const std::uint8_t> bytes) {
    TAtomicFile file(dirFd, name, shownPath);
    file.Write(bytes);
    file.Commit();
}

}  // namespace velmora
