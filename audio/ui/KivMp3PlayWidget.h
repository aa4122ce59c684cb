#pragma once
// The visible MP3 player: a thin view over the core player TKivMp3Play. It runs the player's
// 50 ms tick with a QTimer that follows the player's timer, shows the last spectrum frame
// while one is shown, and otherwise its background picture (the control paints nothing of its
// own, so what lies behind it shows).

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "audio/KivMp3Play.h"

namespace velmora::ui {

class TKivMp3PlayWidget : public QWidget {
    Q_OBJECT

public:
    /// A player on `bass` (the program's TBassEngine, or a test's library), 177 x 121 pixels.
    explicit TKivMp3PlayWidget(TBassApi& bass, QWidget* parent = nullptr);
    ~TKivMp3PlayWidget() override;

    /// The core player: file name, play, pause, stop, seek, progress event, spectrum colours
    /// (0xRRGGBB), LineWidth and LineFallOff.
    TKivMp3Play& Player() noexcept { return FPlayer; }
    const TKivMp3Play& Player() const noexcept { return FPlayer; }

    /// The picture shown, stretched over the widget, while no spectrum frame is shown. A null
    /// image brings back the default background.
    void SetBackground(const QImage& image);
    const QImage& Background() const noexcept { return FBackground; }
    /// The default background: a dark panel with a faint bar outline, drawn by code.
    static QImage DefaultBackground(const QSize& size);

    /// The QTimer's handler: one tick of the player (tests call it instead of waiting).
    void TimerTick() { FPlayer.TimerTick(); }
    /// Whether the QTimer runs (it follows Player().Timer()).
    bool TimerRunning() const { return FTimer.isActive(); }
    /// Tests switch the QTimer off so that only their own TimerTick calls advance the player;
    /// Player().Timer() still says whether the player wants ticks.
    void SetTimerEnabledForTests(bool enabled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FollowPlayerTimer(bool enabled);

    TKivMp3Play FPlayer;
    QTimer FTimer;
    QImage FBackground;
    QImage FDefaultBackground;  // drawn once per size
    bool FTimerAllowed = true;
};

}  // namespace velmora::ui
