#pragma once
// The production dialog's preview image ImgMpg: it either fills its whole area with one colour
// or stretches a picture over it, and shows nothing (the black backdrop behind it) when cleared.

#include <QColor>
#include <QImage>
#include <QWidget>
#include <optional>

namespace velmora::ui {

class TMakePreview : public QWidget {
    Q_OBJECT
public:
    explicit TMakePreview(QWidget* parent = nullptr);

    /// Stops stretching and fills the whole area with `colour`.
    void SetColour(const QColor& colour);
    /// Stretches `picture` over the whole area.
    void SetPicture(const QImage& picture);
    /// Shows nothing; the backdrop behind the image shows through.
    void Clear();

    /// What the image shows: a colour fill, a stretched picture, or nothing.
    std::optional<QColor> Colour() const { return FColour; }
    const QImage& Picture() const noexcept { return FPicture; }
    /// How many pictures were given since construction (preview frames included).
    int PicturesShown() const noexcept { return FPicturesShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QColor> FColour;
    QImage FPicture;
    int FPicturesShown = 0;
};

}  // namespace velmora::ui
