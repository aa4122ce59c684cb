#include "widgets/KivSText.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

#include "widgets/AppFont.h"

namespace velmora::ui {

TKivScrollText::TKivScrollText(QWidget* parent) : QWidget(parent), FTimer(this) {
    setFont(SongFont(12));
    UpdateFontHeight();
    FState.Measure = [this](const QString& text) {
        // Without word wrap: the widest line and the height of all lines.
        const QSize size = QFontMetrics(font()).size(0, text);
        return TTextExtent{size.width(), text.isEmpty() ? 0 : size.height()};
    };
    FState.OnTimerEnabled = [this](bool enabled) {
        if (enabled) {
            FTimer.start(FState.Interval());
        } else {
            FTimer.stop();
        }
    };
    FState.OnTimerInterval = [this](int ms) { FTimer.setInterval(ms); };
    FState.OnRepaint = [this] { update(); };
    FState.OnFrameScrolled = [this](TScrollDirect direct, int curPos, bool& abort) {
        if (OnFrameScrolled) OnFrameScrolled(direct, curPos, abort);
    };
    FTimer.setInterval(FState.Interval());
    connect(&FTimer, &QTimer::timeout, this, [this] { ScrollTick(); });
    resize(200, 17);
    FState.SetClientSize(width(), height());
    if (FState.Active()) FTimer.start();
}

void TKivScrollText::SetAlignment(TAlignment value) {
    FState.SetAlignment(value);
    update();
}

void TKivScrollText::SetLayout(TTextLayout value) {
    FState.SetLayout(value);
    update();
}

void TKivScrollText::SetColor(const QColor& color) {
    FColor = color;
    update();
}

void TKivScrollText::SetTransparent(bool value) {
    FTransparent = value;
    update();
}

void TKivScrollText::SetFontColor(const QColor& color) {
    FFontColor = color;
    update();
}

void TKivScrollText::UpdateFontHeight() {
    FState.FontHeight = std::abs(QFontInfo(font()).pixelSize());
}

void TKivScrollText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!FTransparent) painter.fillRect(rect(), FColor);
    const QRect textRect = FState.TextRect();
    if (textRect.width() <= 0 || textRect.height() <= 0) return;
    painter.setFont(font());
    painter.setPen(isEnabled() ? FFontColor : palette().color(QPalette::Disabled, QPalette::Text));
    // Qt clips the text to its rectangle, as the label's text drawing does.
    painter.drawText(textRect, FState.DrawFlags(), FState.KivScrollText());
}

void TKivScrollText::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FState.SetClientSize(width(), height());
}

void TKivScrollText::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The wrap point follows the font the text is drawn in.
        UpdateFontHeight();
        FState.MeasureText();
        update();
    }
}

void TKivScrollText::mousePressEvent(QMouseEvent* event) {
    FPressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TKivScrollText::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = FPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    FPressed = false;
    QWidget::mouseReleaseEvent(event);
    if (click) Q_EMIT Clicked();
}

}  // namespace velmora::ui
