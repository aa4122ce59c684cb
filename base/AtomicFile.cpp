#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

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

/// The permission bits a replaced file keeps; new files get rw-r--r--.
mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
    return 0644;
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
      FTemp(FolderOf(target) + "/." + NameOf(target) + ".XXXXXX"),
      FFd(::mkostemp(FTemp.data(), O_CLOEXEC)) {
    if (FFd.Get() < 0) throw IoError("cannot create a temporary file", FTemp, errno);
    if (::fchmod(FFd.Get(), ModeFor(target)) != 0) {
        const int failure = errno;
        FFd.Reset();
        ::unlink(FTemp.c_str());
        throw IoError("cannot create a temporary file", FTemp, failure);
    }
}

TAtomicFile::~TAtomicFile() {
    if (!FCommitted) {
        FFd.Reset();
        ::unlink(FTemp.c_str());
    }
}

void TAtomicFile::Write(std::span<const std::uint8_t> bytes) {
    const int failure = WriteAll(FFd.Get(), bytes, {});
    if (failure != 0) throw IoError("cannot write", FTarget, failure);
}

void TAtomicFile::Commit() {
    int failure = ::fsync(FFd.Get()) == 0 ? 0 : errno;
    if (failure == 0 && ::close(FFd.Release()) != 0) failure = errno;
    if (failure == 0 && ::rename(FTemp.c_str(), FTarget.c_str()) != 0) failure = errno;
    if (failure != 0) throw IoError("cannot write", FTarget, failure);
    FCommitted = true;
    // Make the rename itself durable; a failure here leaves a complete file either way.
    TUniqueFd dir(::open(FolderOf(FTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
}

void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     const TWriteFn& writer) {
    TAtomicFile file(path);
    const int failure = WriteAll(file.Fd(), bytes, writer);
    if (failure != 0) throw IoError("cannot write", path, failure);
    file.Commit();
}

}  // namespace velmora
