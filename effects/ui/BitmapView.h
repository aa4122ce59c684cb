#pragma once
// TBitmapView: an image control that shows a copy of a Bitmap at its own size, from the
// top-left corner; what it does not cover keeps the parent's background.

#include <QImage>
#include <QWidget>

#include "imaging/Bitmap.h"

namespace velmora::ui {

class TBitmapView : public QWidget {
    Q_OBJECT
public:
    explicit TBitmapView(QWidget* parent = nullptr);

    /// Shows a copy of `bitmap` and repaints.
    void SetBitmap(const Bitmap& bitmap);
    /// The picture shown (a copy, in the view's own format).
    const QImage& Picture() const noexcept { return FPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage FPicture;
};

}  // namespace velmora::ui
