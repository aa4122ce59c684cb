#pragma once
// TFrmAddM: the music import dialog. One second after it is shown it copies the chosen MP3
// files into the current album (audio/MusicImport.h: "M<n>.mp3" with play time, song name,
// singer and remark), one file per pass with the progress shown and events processed between
// files, saves the song records also after a cancel, and closes. RunMusicImport adds the one
// notice that lists the files that could not be imported.

#include <QStringList>

#include "widgets/ImportDialog.h"

namespace velmora {
class TAlbumStore;
class TBassApi;
}  // namespace velmora

namespace velmora::ui {

class TFrmAddM : public TImportDialog {
    Q_OBJECT

public:
    /// The dialog over the current album of `store` and the chosen `files`; play times are
    /// measured on `bass` (the process's engine, BassEngine(), when none is given).
    TFrmAddM(TAlbumStore& store, TServices& services, const QStringList& files,
             QWidget* parent = nullptr, TBassApi* bass = nullptr);

protected:
    TImportOutcome RunImport() override;

private:
    TAlbumStore& FStore;
    TBassApi& FBass;
};

/// Runs the import dialog modally over `files`, then shows one notice listing the files that
/// were skipped (none when every file was imported). Returns the number of songs imported.
int RunMusicImport(TAlbumStore& store, TServices& services, const QStringList& files,
                   QWidget* parent, TBassApi* bass = nullptr);

}  // namespace velmora::ui
