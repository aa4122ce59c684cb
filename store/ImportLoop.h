#pragma once
// The loop the picture import and the music import share: the current album's folder opened
// once and reached through its descriptor, one source per pass with the cancel request asked
// first and the progress reported next, the records saved after every imported file (a killed
// import loses at most the file in progress) and once more at the end.

#include <functional>
#include <string>
#include <vector>

#include "base/UniqueFd.h"
#include "store/Pub.h"

namespace velmora {

/// The outcome of an import loop.
struct TImportResult {
    /// True when the list had at least one entry (the dialog's result flag).
    bool Result = false;
    /// Sources that could not be imported, in list order, skipped without a message; nothing
    /// of them stays behind.
    std::vector<std::string> Skipped;
    /// Records appended.
    int Imported = 0;
    /// The loop ended on a cancel request.
    bool Cancelled = false;
};

/// The current album's folder, open for an import.
struct TImportFolder {
    TUniqueFd Fd;
    /// A path that reaches the folder through Fd, ending with "/": files written below it land
    /// in the folder even when its path has since been replaced by a link.
    std::string Dir;
};

/// Opens store.AlbumPath for an import of `what` ("pictures", "songs"), before anything is
/// written anywhere. Throws InvalidArgument when no album is open, IoError when its folder does
/// not exist, InvalidFile when it is a link or no folder.
TImportFolder OpenImportFolder(const TAlbumStore& store, const std::string& what);

/// Runs the loop over `sources`: each pass asks cancelRequested (true ends the loop as
/// cancelled), then reports onProgress(i + 1, count, source), then calls importOne(source),
/// which writes the file into the open album folder and appends its record. True counts the
/// source as imported and saves the records of `kind` ("P", "M") at once; false lists it as
/// skipped. The records of `kind` are saved once more at the end, also after a cancel and when
/// nothing was imported; a failure of SaveRecords throws its IoError. Empty callbacks are
/// not called.
TImportResult RunImportLoop(TAlbumStore& store, const std::vector<std::string>& sources,
                            const std::string& kind,
                            const std::function<void(int, int, const std::string&)>& onProgress,
                            const std::function<bool()>& cancelRequested,
                            const std::function<bool(const std::string& source)>& importOne);

}  // namespace velmora
