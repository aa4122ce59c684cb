#pragma once
// The production dialog's save dialog Sdlg: a Qt file dialog (not the desktop's native one, so
// that its selection can be followed and it stays alive between browses) that asks its owner
// before it closes with a chosen name.

#include <QFileDialog>
#include <functional>

namespace velmora::ui {

class TMakeSaveDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit TMakeSaveDialog(QWidget* parent = nullptr);

    /// Asked with the chosen file when the user confirms; false keeps the dialog open.
    std::function<bool(const QString& file)> CanClose;

    /// Confirms the dialog as the Save button does (folders are entered, not chosen).
    void accept() override;
};

}  // namespace velmora::ui
