#pragma once
// The music import loop: copies MP3 files into the current album's folder under numbered
// names (M0.mp3, M1.mp3, ...), appends one song record per copied file with its play time,
// song name, ID3v1 singer and remark, and saves the album's song records. The import dialog
// and the command line are views over this loop; the dialog's progress caption is the one of
// the picture import (ImportProgressCaption in store/PictureImport.h).

#include <functional>
#include <string>
#include <vector>

#include "audio/BassApi.h"
#include "store/ImportLoop.h"
#include "store/Pub.h"

namespace velmora {

struct TMusicImportHooks {
    /// Before each file: its number from 1, the count and the source path. The dialog shows
    /// them and processes pending window messages here, which is where a Cancel click is seen.
    std::function<void(int number, int count, const std::string& path)> OnProgress;
    /// The cancel request; tested before each file's OnProgress, so a request made during
    /// OnProgress of file k stops the loop before file k + 1, after file k is imported.
    std::function<bool()> CancelRequested;
};

/// The outcome of ImportMusic: the import loop's (store/ImportLoop.h).
using TMusicImportResult = TImportResult;

/// Imports `sources` into the current album of `store` (AlbumPath), measuring play times
/// with a player on `bass`, then writes the album's "MusicInfo" with SaveRecords("M"), also
/// after a cancel and when nothing was copied. Throws IoError only when saving fails.
TMusicImportResult ImportMusic(TAlbumStore& store, TBassApi& bass,
                               const std::vector<std::string>& sources,
                               const TMusicImportHooks& hooks = {});

/// Copies `source` to `dest`, replacing a file of that name, through a temporary file in the
/// destination folder that is renamed over `dest` once complete. On failure returns false
/// and leaves neither a temporary file nor a partial `dest`.
bool CopyFileReplacing(const std::string& source, const std::string& dest);

}  // namespace velmora
