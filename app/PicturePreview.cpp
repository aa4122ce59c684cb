#include "app/PicturePreview.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "app/Artwork.h"
#include "imaging/Fitting.h"
#include "imaging/LoadPicture.h"

namespace velmora::ui {

TPicturePreview::TPicturePreview(QSize box, std::function<void(const QString&)> messages,
                                 QWidget* parent)
    : QWidget(parent),
      FImage1(new QLabel(this)),
      FImgPicShow(new TImageView(TImageView::TFit::Stretch, this)),
      FMessages(std::move(messages)) {
    setFixedSize(box);
    FImage1->setObjectName(QStringLiteral("Image1"));
    FImage1->setGeometry(0, 0, box.width(), box.height());
    FImage1->setPixmap(QPixmap::fromImage(PreviewBackground(box)));
    FImgPicShow->setObjectName(QStringLiteral("ImgPicShow"));
    FImgPicShow->hide();
}

QString TPicturePreview::MissingNotice() {
    return QCoreApplication::translate("TFrmMain", "图片文件已丢失");
}

QString TPicturePreview::UnreadableNotice() {
    return QCoreApplication::translate("TFrmMain", "无法读取这张图片");
}

void TPicturePreview::Clear() {
    FImgPicShow->SetPicture(QImage());
    FImgPicShow->hide();
    FShownPath.clear();
    FShownKey.clear();
}

void TPicturePreview::ShowPicture(const QString& path) {
    const QFileInfo info(path);
    const QSize box = FImage1->size();
    if (!info.isFile()) {
        FShownPath = path;
        FShownKey.clear();
        FImgPicShow->setGeometry(0, 0, box.width(), box.height());
        FImgPicShow->SetNotice(MissingNotice());
        FImgPicShow->show();
        return;
    }
    const QString key = path + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
                        QString::number(info.lastModified().toMSecsSinceEpoch());
    if (key == FShownKey) return;
    FShownPath = path;
    FShownKey = key;
    // The decoder may shrink a large JPEG while decoding it, never below the box's size.
    const std::string file = QFile::encodeName(path).toStdString();
    const Bitmap picture = LoadPictureToBitmap(
        file,
        [this](const std::string& text) {
            if (FMessages) FMessages(QString::fromUtf8(text));
        },
        box.width(), box.height());
    const std::optional<TRect> fit =
        FitImageControl(picture.Width(), picture.Height(), box.width(), box.height());
    if (!fit) {
        FImgPicShow->setGeometry(0, 0, box.width(), box.height());
        FImgPicShow->SetNotice(UnreadableNotice());
        FImgPicShow->show();
        return;
    }
    FImgPicShow->setGeometry(fit->Left, fit->Top, fit->Width(), fit->Height());
    // Scaled once here, so that painting only copies pixels.
    FImgPicShow->SetPicture(picture.ToQImage().scaled(
        fit->Width(), fit->Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    FImgPicShow->show();
}

}  // namespace velmora::ui
