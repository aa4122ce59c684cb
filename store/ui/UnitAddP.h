#pragma once
// TFrmAddP: the picture import dialog. One second after it is shown it imports the chosen
// files into the current album (store/PictureImport.h: JPEG copies "P<n>.jpg" with new
// records), one file per pass with the progress shown and events processed between files,
// saves the picture records also after a cancel, and closes. RunPictureImport adds the one
// notice that lists the files that could not be imported.

#include <QStringList>

#include "widgets/ImportDialog.h"

namespace velmora {
class TAlbumStore;
}

namespace velmora::ui {

class TFrmAddP : public TImportDialog {
    Q_OBJECT

public:
    /// The dialog over the current album of `store` and the chosen `files`.
    TFrmAddP(TAlbumStore& store, TServices& services, const QStringList& files,
             QWidget* parent = nullptr);

protected:
    TImportOutcome RunImport() override;

private:
    TAlbumStore& FStore;
};

/// Runs the import dialog modally over `files`, then shows one notice listing the files that
/// were skipped (none when every file was imported). Returns the number of pictures imported.
int RunPictureImport(TAlbumStore& store, TServices& services, const QStringList& files,
                     QWidget* parent);

}  // namespace velmora::ui
