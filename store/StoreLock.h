#pragma once
// One writer per album store: a lock file in the store root, held by the desktop program for
// as long as it runs and by every command-line command that writes. A second writer waits a
// short while, then fails with a clear message and has changed nothing.

#include <chrono>
#include <memory>
#include <string>

#include "base/Errors.h"

class QLockFile;

namespace velmora {

/// Thrown when another process holds the store's lock.
class StoreBusy : public Error {
public:
    using Error::Error;
};

class TStoreLock {
public:
    static constexpr const char* FileName = ".velmora.lock";

    /// Takes the lock of the store at rootPath (ending with "/"), waiting up to `wait` for
    /// another holder to finish. A lock left by a process that died is taken over. Throws
    /// StoreBusy naming the holder when the wait ends, IoError when the lock file cannot be
    /// made.
    explicit TStoreLock(const std::string& rootPath,
                        std::chrono::milliseconds wait = std::chrono::milliseconds(2000));
    ~TStoreLock();
    TStoreLock(const TStoreLock&) = delete;
    TStoreLock& operator=(const TStoreLock&) = delete;

private:
    std::unique_ptr<QLockFile> FLock;
};

}  // namespace velmora
