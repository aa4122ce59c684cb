#pragma once
// The picture page of the main window's preview: the background picture `Image1` and on top
// of it `ImgPicShow`, which stretches the selected picture and is placed by FitImageControl so
// that the picture keeps its aspect inside Image1's box. A record whose file is missing, or a
// file that decodes to nothing, shows an empty preview with a short notice on it instead of
// leaving the previous picture on show.

#include <QImage>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>

#include "widgets/ImageView.h"

namespace velmora::ui {

/// Page 0 of NotebookLook.
class TPicturePreview : public QWidget {
    Q_OBJECT
public:
    /// `messages` receives the picture loader's notices (damaged TIFF files).
    TPicturePreview(QSize box, std::function<void(const QString&)> messages,
                    QWidget* parent = nullptr);

    /// Shows the picture file at `path` fitted into the box. The decoded picture is kept,
    /// so showing the same unchanged file again costs nothing.
    void ShowPicture(const QString& path);
    /// ImgPicShow's picture := none.
    void Clear();

    /// What is shown, for the window's tests.
    TImageView* ImgPicShow() const noexcept { return FImgPicShow; }
    QLabel* Image1() const noexcept { return FImage1; }
    const QString& ShownPath() const noexcept { return FShownPath; }
    /// The notice drawn on a missing or unreadable picture.
    static QString MissingNotice();
    static QString UnreadableNotice();

private:
    QLabel* FImage1;
    TImageView* FImgPicShow;
    std::function<void(const QString&)> FMessages;
    QString FShownPath;
    QString FShownKey;  // path, size and change time of the file on show
};

}  // namespace velmora::ui
