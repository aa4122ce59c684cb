#include "store/StoreLock.h"

#include <QLockFile>
#include <cerrno>
#include <QString>

namespace velmora {

TStoreLock::TStoreLock(const std::string& rootPath, std::chrono::milliseconds wait)
    : FLock(std::make_unique<QLockFile>(QString::fromStdString(rootPath + FileName))) {
    // A lock file is never stale while its holder lives; only a dead holder's is taken over.
    FLock->setStaleLockTime(0);
    if (FLock->tryLock(static_cast<int>(wait.count()))) return;
    if (FLock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, app;
        FLock->getLockInfo(&pid, &host, &app);
        throw StoreBusy("the album store " + rootPath +
                        " is in use by another Velmora program (process " +
                        std::to_string(pid) + "); close it and try again");
    }
    throw IoError("cannot create the lock file", rootPath + FileName, EACCES);
}

TStoreLock::~TStoreLock() = default;

}  // namespace velmora
