#include "widgets/Services.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>

namespace velmora::ui {

QMessageBox::StandardButton TDesktopServices::Prompt(QWidget* parent, const TPrompt& prompt) {
    QMessageBox box(prompt.Icon, prompt.Caption, prompt.Text, prompt.Buttons, parent);
    if (prompt.DefaultButton != QMessageBox::NoButton) box.setDefaultButton(prompt.DefaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QStringList TDesktopServices::OpenFiles(QWidget* parent, const TFileRequest& request) {
    return QFileDialog::getOpenFileNames(parent, request.Caption, request.Directory,
                                         request.Filter);
}

std::optional<QColor> TDesktopServices::ChooseColor(QWidget* parent, const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
}

bool TDesktopServices::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace velmora::ui
