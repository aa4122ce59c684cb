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
    const TImportResult result = ImportPictures(FStore, Files(), callbacks);
    TImportOutcome outcome;
    outcome.Result = result.Result;
    outcome.Imported = result.Imported;
    outcome.Cancelled = result.Cancelled;
    for (const std::string& path : result.Skipped) outcome.Skipped.append(DecodeName(path));
    return outcome;
}

int RunPictureImport(TAlbumStore& store, TServices& services, const QStringList& files,
                     QWidget* parent) {
    TFrmAddP dialog(store, services, files, parent);
    dialog.exec();
    ShowSkippedFiles(parent, services, dialog.Outcome().Skipped);
    return dialog.Outcome().Imported;
}

}  // namespace velmora::ui
