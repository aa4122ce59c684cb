#include "production/ui/MakePreview.h"

#include <QPainter>

namespace velmora::ui {

TMakePreview::TMakePreview(QWidget* parent) : QWidget(parent) {}

void TMakePreview::SetColour(const QColor& colour) {
    FColour = colour;
    FPicture = QImage();
    update();
}

void TMakePreview::SetPicture(const QImage& picture) {
    FColour.reset();
    FPicture = picture;
    ++FPicturesShown;
    update();
}

void TMakePreview::Clear() {
    FColour.reset();
    FPicture = QImage();
    update();
}

void TMakePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (FColour) {
        painter.fillRect(rect(), *FColour);
    } else if (!FPicture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), FPicture);
    }
}

}  // namespace velmora::ui
