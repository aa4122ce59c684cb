#pragma once
// The services every window receives instead of calling the desktop directly: message boxes,
// file and colour choosers and the URL opener. The program uses TDesktopServices; window tests
// install their own implementation that answers from a script and records what was asked, so
// no test ever waits on a modal box or starts a browser.

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

namespace velmora::ui {

/// A message box request: the fixed text, caption, buttons and icon the window shows.
struct TPrompt {
    QString Text;
    QString Caption;
    QMessageBox::StandardButtons Buttons = QMessageBox::Ok;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton DefaultButton = QMessageBox::NoButton;
};

/// A file chooser request (open one file, several files, or a folder).
struct TFileRequest {
    QString Caption;
    QString Directory;  ///< folder (or folder and proposed name) shown first
    QString Filter;     ///< Qt filter text, e.g. "图片文件 (*.jpg *.JPG)"
};

class TServices {
public:
    virtual ~TServices() = default;
    /// Shows a modal message box over `parent`; returns the button pressed (the Escape
    /// button's answer when the box is closed otherwise).
    virtual QMessageBox::StandardButton Prompt(QWidget* parent, const TPrompt& prompt) = 0;
    /// Lets the user choose existing files; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const TFileRequest& request) = 0;
    /// Lets the user choose a colour; nothing when cancelled.
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
    /// Opens a file, folder or web page with the desktop's default handler; false when the
    /// desktop could not.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

/// The real desktop: QMessageBox, QFileDialog, QColorDialog and QDesktopServices.
class TDesktopServices : public TServices {
public:
    QMessageBox::StandardButton Prompt(QWidget* parent, const TPrompt& prompt) override;
    QStringList OpenFiles(QWidget* parent, const TFileRequest& request) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    bool OpenUrl(const QUrl& url) override;
};

}  // namespace velmora::ui
