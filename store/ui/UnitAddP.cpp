#include "store/ui/UnitAddP.h"

#include "store/PictureImport.h"
#include "store/Pub.h"
#include "widgets/Services.h"

namespace velmora::ui {

TFrmAddP::TFrmAddP(TAlbumStore& store, TServices& services, const QStringList& files,
                   QWidget* parent)
    : TImportDialog(tr("导入图片"), services, files, parent), FStore(store) {}

TImportOutcome TFrmAddP::RunImport() {
    TImportCallbacks callbacks;
    callbacks.OnProgress = [this](int position, int count, const std::string& path) {
        ShowPass(position, count, path);
    };
    callbacks.CancelRequested = [this] { return CancelRequested(); };
    // The TIFF reader's notices: a plain box with OK, as the reader shows them.
    callbacks.OnMessage = [this](const std::string& text) {
        Services().Prompt(this, TPrompt{QString::fromStdString(text), QStringLiteral("Velmora"),
                                        QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok});
    };
    return OutcomeOf(ImportPictures(FStore, Files(), callbacks));
}

int RunPictureImport(TAlbumStore& store, TServices& services, const QStringList& files,
                     QWidget* parent) {
    TFrmAddP dialog(store, services, files, parent);
    return ExecImport(dialog, parent, services);
}

}  // namespace velmora::ui
