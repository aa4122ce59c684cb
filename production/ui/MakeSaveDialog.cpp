#include "production/ui/MakeSaveDialog.h"

#include <QFileInfo>

namespace velmora::ui {

TMakeSaveDialog::TMakeSaveDialog(QWidget* parent) : QFileDialog(parent) {
    setObjectName(QStringLiteral("Sdlg"));
    // A widget dialog: its selection signals reach us and it keeps its state between browses.
    setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is the owner's own (CanClose).
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({tr("MPEG文件(*.mpg)"), tr("所有文件(*.*)")});
}

void TMakeSaveDialog::accept() {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && CanClose && !QFileInfo(files.first()).isDir() &&
        !CanClose(files.first())) {
        return;
    }
    QFileDialog::accept();
}

}  // namespace velmora::ui
