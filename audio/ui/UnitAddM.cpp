#include "audio/ui/UnitAddM.h"

#include "audio/BassEngine.h"
#include "audio/MusicImport.h"
#include "store/Pub.h"

namespace velmora::ui {

TFrmAddM::TFrmAddM(TAlbumStore& store, TServices& services, const QStringList& files,
                   QWidget* parent, TBassApi* bass)
    : TImportDialog(tr("导入音乐"), services, files, parent),
      FStore(store),
      FBass(bass != nullptr ? *bass : static_cast<TBassApi&>(BassEngine())) {}

TImportOutcome TFrmAddM::RunImport() {
    TMusicImportHooks hooks;
    hooks.OnProgress = [this](int number, int count, const std::string& path) {
        ShowPass(number, count, path);
    };
    hooks.CancelRequested = [this] { return CancelRequested(); };
    const TMusicImportResult result = ImportMusic(FStore, FBass, Files(), hooks);
    TImportOutcome outcome;
    outcome.Result = result.Result;
    outcome.Imported = result.Imported;
    outcome.Cancelled = result.Cancelled;
    for (const std::string& path : result.Skipped) outcome.Skipped.append(DecodeName(path));
    return outcome;
}

int RunMusicImport(TAlbumStore& store, TServices& services, const QStringList& files,
                   QWidget* parent, TBassApi* bass) {
    TFrmAddM dialog(store, services, files, parent, bass);
    dialog.exec();
    ShowSkippedFiles(parent, services, dialog.Outcome().Skipped);
    return dialog.Outcome().Imported;
}

}  // namespace velmora::ui
