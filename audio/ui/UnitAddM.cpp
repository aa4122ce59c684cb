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
    return OutcomeOf(ImportMusic(FStore, FBass, Files(), hooks));
}

int RunMusicImport(TAlbumStore& store, TServices& services, const QStringList& files,
                   QWidget* parent, TBassApi* bass) {
    TFrmAddM dialog(store, services, files, parent, bass);
    return ExecImport(dialog, parent, services);
}

}  // namespace velmora::ui
