#include "store/ImportLoop.h"

#include <cerrno>

#include "base/Errors.h"
#include "store/FileOps.h"

namespace velmora {

TImportFolder OpenImportFolder(const TAlbumStore& store, const std::string& what) {
    if (store.AlbumPath.empty())
        throw InvalidArgument("no album is open to import " + what + " into");
    TImportFolder folder;
    folder.Fd = OpenStoreFolder(store.AlbumPath);
    if (folder.Fd.Get() < 0) throw IoError("cannot open the album folder", store.AlbumPath, ENOENT);
    folder.Dir = PathThroughDescriptor(folder.Fd.Get());
    return folder;
}

TImportResult RunImportLoop(TAlbumStore& store, const std::vector<std::string>& sources,
                            const std::string& kind,
                            const std::function<void(int, int, const std::string&)>& onProgress,
                            const std::function<bool()>& cancelRequested,
                            const std::function<bool(const std::string& source)>& importOne) {
    TImportResult result;
    const int count = int(sources.size());
    for (int i = 0; i < count; ++i) {
        result.Result = true;
        if (cancelRequested && cancelRequested()) {
            result.Cancelled = true;
            break;
        }
        const std::string& source = sources[std::size_t(i)];
        if (onProgress) onProgress(i + 1, count, source);
        if (!importOne(source)) {
            result.Skipped.push_back(source);
            continue;
        }
        ++result.Imported;
        store.SaveRecords(kind);
    }
    store.SaveRecords(kind);
    return result;
}

}  // namespace velmora
