#include "app/MainWidgets.h"

#include <QMouseEvent>
#include <QProxyStyle>

namespace velmora::ui {

namespace {

/// The application's style, except that a left click sets a slider's value directly.
class TAbsoluteSetStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

TClickPanel::TClickPanel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
}

void TClickPanel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT Clicked();
    }
}

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    auto* style = new TAbsoluteSetStyle();
    style->setParent(this);
    setStyle(style);
    setRange(0, 100);
}

void TTrackBar::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) Q_EMIT MouseDown();
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) Q_EMIT MouseUp();
}

}  // namespace velmora::ui
