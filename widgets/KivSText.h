#pragma once
// TKivScrollText: a label that moves its text across its own area a few pixels at a time on a
// timer and starts it over when it has left the area. The rules live in TKivScrollState
// (KivScrollState.h); this widget measures with its font, runs the QTimer and paints.

#include <QColor>
#include <QTimer>
#include <QWidget>

#include "widgets/KivScrollState.h"

namespace velmora::ui {

class TKivScrollText : public QWidget {
    Q_OBJECT

public:
    /// 200 pixels wide, green background, cyan "宋体" text of 12 pixels, scrolling left by
    /// 5 pixels every 200 ms, the timer running.
    explicit TKivScrollText(QWidget* parent = nullptr);

    bool Active() const noexcept { return FState.Active(); }
    void SetActive(bool value) { FState.SetActive(value); }
    TAlignment Alignment() const noexcept { return FState.Alignment(); }
    void SetAlignment(TAlignment value);
    int Interval() const noexcept { return FState.Interval(); }
    void SetInterval(int ms) { FState.SetInterval(ms); }
    TTextLayout Layout() const noexcept { return FState.Layout(); }
    void SetLayout(TTextLayout value);
    TScrollDirect ScrollDirection() const noexcept { return FState.ScrollDirection(); }
    void SetScrollDirection(TScrollDirect value) { FState.SetScrollDirection(value); }
    const QString& KivScrollText() const noexcept { return FState.KivScrollText(); }
    void SetKivScrollText(const QString& text) { FState.SetKivScrollText(text); }
    int Step() const noexcept { return FState.Step(); }
    void SetStep(int pixels) { FState.SetStep(pixels); }
    bool WordWrap() const noexcept { return FState.WordWrap(); }
    /// Raised when the text has left the area; a handler that sets `abort` stops the ticker.
    TFrameScrolledEvent OnFrameScrolled;

    /// Background colour, painted unless Transparent.
    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);
    bool Transparent() const noexcept { return FTransparent; }
    /// Transparent: the parent shows behind the text.
    void SetTransparent(bool value);
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& color);

    /// The rules, for tests and for reading the offset and measurements.
    const TKivScrollState& State() const noexcept { return FState; }
    /// One timer event (the QTimer's handler; tests call it instead of waiting).
    void ScrollTick() { FState.ScrollTick(); }
    /// Whether the QTimer runs and its interval, as the rules set them.
    bool TimerRunning() const { return FTimer.isActive(); }
    int TimerInterval() const { return FTimer.interval(); }

Q_SIGNALS:
    /// A click on the ticker (press and release of the left button inside it).
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateFontHeight();

    TKivScrollState FState;
    QTimer FTimer;
    QColor FColor{0x00, 0x80, 0x00};
    QColor FFontColor{0x00, 0xFF, 0xFF};
    bool FTransparent = false;
    bool FPressed = false;
};

}  // namespace velmora::ui
