#include "widgets/ImageView.h"

#include <QPainter>

namespace velmora::ui {

TImageView::TImageView(TFit fit, QWidget* parent) : QWidget(parent), FFit(fit) {}

void TImageView::SetPicture(const QImage& picture) {
    FColour.reset();
    FNotice.clear();
    FPicture = picture;
    ++FPicturesShown;
    update();
}

void TImageView::SetBitmap(const Bitmap& bitmap) {
    // ToQImage views the bitmap's pixels; the converted copy outlives them and paints fast.
    SetPicture(bitmap.ToQImage().convertToFormat(QImage::Format_RGB32));
}

void TImageView::SetColour(const QColor& colour) {
    FColour = colour;
    FNotice.clear();
    FPicture = QImage();
    update();
}

void TImageView::SetNotice(const QString& notice) {
    FColour.reset();
    FNotice = notice;
    FPicture = QImage();
    update();
}

void TImageView::Clear() {
    FColour.reset();
    FNotice.clear();
    FPicture = QImage();
    update();
}

void TImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (FColour) {
        painter.fillRect(rect(), *FColour);
    } else if (!FNotice.isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        painter.setPen(QColor(0xd8, 0xdf, 0xe6));
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                         FNotice);
    } else if (!FPicture.isNull()) {
        if (FFit == TFit::Stretch) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(rect(), FPicture);
        } else {
            painter.drawImage(0, 0, FPicture);
        }
    }
}

}  // namespace velmora::ui
