#include "audio/ui/KivMp3PlayWidget.h"

#include <QLinearGradient>
#include <QPainter>

namespace velmora::ui {

namespace {

constexpr int DefaultWidth = 177;
constexpr int DefaultHeight = 121;

}  // namespace

TKivMp3PlayWidget::TKivMp3PlayWidget(TBassApi& bass, QWidget* parent)
    : QWidget(parent), FPlayer(bass, DefaultWidth, DefaultHeight), FTimer(this) {
    FTimer.setInterval(FPlayer.Timer().Interval);
    connect(&FTimer, &QTimer::timeout, this, [this] { TimerTick(); });
    FPlayer.Timer().OnChange = [this](bool enabled) { FollowPlayerTimer(enabled); };
    FPlayer.OnInvalidate = [this] { update(); };
    // The spectrum frame covers every pixel; the background picture too.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DefaultWidth, DefaultHeight);
}

TKivMp3PlayWidget::~TKivMp3PlayWidget() {
    // The player outlives nothing of the widget's: its hooks go first.
    FPlayer.Timer().OnChange = nullptr;
    FPlayer.OnInvalidate = nullptr;
    FPlayer.OnProgress = nullptr;
}

void TKivMp3PlayWidget::FollowPlayerTimer(bool enabled) {
    if (enabled && FTimerAllowed) {
        FTimer.start(FPlayer.Timer().Interval);
    } else {
        FTimer.stop();
    }
}

void TKivMp3PlayWidget::SetTimerEnabledForTests(bool enabled) {
    FTimerAllowed = enabled;
    FollowPlayerTimer(FPlayer.Timer().Enabled);
}

void TKivMp3PlayWidget::SetBackground(const QImage& image) {
    FBackground = image;
    update();
}

QImage TKivMp3PlayWidget::DefaultBackground(const QSize& size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, image.height());
    gradient.setColorAt(0.0, QColor(0x16, 0x1c, 0x26));
    gradient.setColorAt(1.0, QColor(0x05, 0x07, 0x0a));
    painter.fillRect(image.rect(), gradient);
    // A faint outline of spectrum bars at the pitch of the main window's player (6 + 1).
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2a, 0x3a, 0x2e));
    const int floor = image.height();
    for (int i = 0, x = 0; x < image.width(); ++i, x += 7) {
        // A gentle arch of heights so the empty player reads as a spectrum at rest.
        const int h = 6 + ((i * 37) % 11) + (i % 5) * 2;
        painter.drawRect(x, floor - h, 6, h);
    }
    // A thin frame line.
    painter.setPen(QColor(0x30, 0x3c, 0x4c));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

void TKivMp3PlayWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (FPlayer.FrameShown()) {
        painter.drawImage(0, 0, FPlayer.Surface().ToQImage());
        return;
    }
    if (FBackground.isNull()) {
        if (FDefaultBackground.size() != size()) FDefaultBackground = DefaultBackground(size());
        painter.drawImage(0, 0, FDefaultBackground);
    } else {
        // The widget paints every pixel itself: a picture with see-through parts lies on the
        // window's colour.
        if (FBackground.hasAlphaChannel()) painter.fillRect(rect(), palette().window());
        painter.drawImage(rect(), FBackground);
    }
}

void TKivMp3PlayWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (width() != FPlayer.Width() || height() != FPlayer.Height()) {
        FPlayer.SetSize(width(), height());
    }
}

}  // namespace velmora::ui
