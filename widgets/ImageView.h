#pragma once
// TImageView: the program's one image control. It shows a picture, either stretched over its
// whole area (smoothly) or at its own size from the top-left corner; or fills its whole area
// with one colour; or shows a short notice on black. With nothing to show it paints nothing,
// so what lies behind it shows through. The main window's preview, the picture editor's
// previews and the production dialog's preview are all one of these.

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <optional>

#include "imaging/Bitmap.h"

namespace velmora::ui {

class TImageView : public QWidget {
    Q_OBJECT
public:
    /// How a picture is drawn: stretched over the whole area, or at its size from the top left.
    enum class TFit { Stretch, Actual };

    explicit TImageView(TFit fit, QWidget* parent = nullptr);

    /// Shows `picture` (a null image shows nothing).
    void SetPicture(const QImage& picture);
    /// Shows a copy of `bitmap` (kept in the control's own format).
    void SetBitmap(const Bitmap& bitmap);
    /// Fills the whole area with `colour`.
    void SetColour(const QColor& colour);
    /// Shows `notice` centred on black, wrapped to the control's width.
    void SetNotice(const QString& notice);
    /// Shows nothing.
    void Clear();

    /// What the control shows: a colour fill, a picture, a notice, or none of them.
    std::optional<QColor> Colour() const { return FColour; }
    const QImage& Picture() const noexcept { return FPicture; }
    const QString& Notice() const noexcept { return FNotice; }
    /// How many pictures were given since construction.
    int PicturesShown() const noexcept { return FPicturesShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TFit FFit;
    std::optional<QColor> FColour;
    QImage FPicture;
    QString FNotice;
    int FPicturesShown = 0;
};

}  // namespace velmora::ui
