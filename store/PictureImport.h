#pragma once
// Picture import: every chosen file is decoded, passed through the media conversion layer's
// image round trip and saved as a JPEG file with a fresh name "P<n>.jpg" in the current
// album's folder, described by a new picture record. The dialog of the GUI and the command
// line both drive this one loop through callbacks.

#include <functional>
#include <string>
#include <vector>

#include "imaging/MessageSink.h"
#include "store/ImportLoop.h"
#include "store/Pub.h"

namespace velmora {

/// Dwell time of an imported picture, in seconds.
constexpr std::int32_t ImportedDwell = 3;

/// What the import loop reports to its caller, all on the caller's thread.
struct TImportCallbacks {
    /// Called once per pass before that pass's file is converted, with the position i + 1
    /// (1-based), the number of files and the file's path. The GUI updates its labels and
    /// processes pending events here, which is where a click on "取消" is handled.
    std::function<void(int position, int count, const std::string& path)> OnProgress;
    /// Asked at the start of every pass, before that pass reports progress; true ends the
    /// loop. A request made during a pass's conversion is seen only at the pass after next.
    std::function<bool()> CancelRequested;
    /// Notices of the decoders (the TIFF reader's messages).
    MessageSink OnMessage;
};

/// The import dialog's caption of Label1 for a pass: "正在导入文件：（" + position + "/" +
/// count + "）".
std::string ImportProgressCaption(int position, int count);

/// Imports files into the store's current album (store.AlbumPath): one file per pass,
/// NextFreeNumber for the name, a new record per converted file (Dwell 3, random effect, no
/// title, the file's name as remark, the stored name), then SaveRecords("P"), also after a
/// cancel and when every file failed. A failure of SaveRecords throws its IoError.
TImportResult ImportPictures(TAlbumStore& store, const std::vector<std::string>& files,
                             const TImportCallbacks& callbacks = {});

/// Decodes source (LoadPictureToBitmap), passes it through the media layer's image round
/// trip and writes dest as a baseline colour JPEG at quality 90. True when dest was written;
/// any failure returns false and leaves no file at dest.
bool ConvertToJpeg(const std::string& source, const std::string& dest,
                   const MessageSink& messages = {});

}  // namespace velmora
