#pragma once
// Files replaced whole or not at all: the new content goes into a temporary file in the same
// folder, which is flushed to the disk and renamed over the target only when complete. A
// crash, a full disk or an error mid-way leaves the previous file as it was and no temporary
// file behind. Record files, imported pictures and imported songs are all written this way.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "base/UniqueFd.h"

namespace velmora {

/// A temporary file beside `target` that becomes `target` on Commit(); removed when the
/// object goes away uncommitted. A replaced file keeps its permission bits; a new one gets
/// rw-r--r--.
class TAtomicFile {
public:
    /// Throws IoError when the temporary file cannot be created.
    explicit TAtomicFile(const std::string& target);
    /// The file `name` inside the open folder `dirFd`: every step goes through that folder's
    /// descriptor, so a link put in place of the folder's path is never followed. `shownPath`
    /// names the target in messages.
    TAtomicFile(int dirFd, const std::string& name, const std::string& shownPath);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    /// The descriptor to write the new content to.
    int Fd() const noexcept { return FFd.Get(); }
    /// Appends bytes to the new content. Throws IoError (a full disk, say).
    void Write(std::span<const std::uint8_t> bytes);
    /// Flushes the content to the disk and renames the file over the target. Throws IoError;
    /// after a failure the target is unchanged and the temporary file removed.
    void Commit();

private:
    void CreateTemp();

    std::string FTarget;  ///< the target's path, for messages
    TUniqueFd FDir;       ///< the folder that holds target and temporary file
    std::string FName;    ///< the target's name in FDir
    std::string FTemp;    ///< the temporary file's name in FDir
    TUniqueFd FFd;
    bool FCommitted = false;
};

/// The writer behind WriteFileAtomic, with the signature of write(2).
using TWriteFn = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

/// Replaces the file `path` with `bytes` through a TAtomicFile. Throws IoError. `writer`
/// replaces write(2) in tests.
void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     const TWriteFn& writer = {});

/// Replaces the file `name` of the open folder `dirFd` with `bytes`, as WriteFileAtomic does.
void WriteFileAtomicAt(int dirFd, const std::string& name, const std::string& shownPath,
                       std::span<const std::uint8_t> bytes);

}  // namespace velmora
