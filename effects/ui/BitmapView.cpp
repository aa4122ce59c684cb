#include "effects/ui/BitmapView.h"

#include <QPainter>

namespace velmora::ui {

TBitmapView::TBitmapView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TBitmapView::SetBitmap(const Bitmap& bitmap) {
    // ToQImage views the bitmap's pixels; the converted copy outlives them and paints fast.
    FPicture = bitmap.ToQImage().convertToFormat(QImage::Format_RGB32);
    update();
}

void TBitmapView::paintEvent(QPaintEvent*) {
    if (FPicture.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, FPicture);
}

}  // namespace velmora::ui
