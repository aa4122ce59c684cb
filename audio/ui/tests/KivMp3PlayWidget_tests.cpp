// The visible player: its background while no spectrum frame is shown, the spectrum frame
// while playing (driven tick by tick through a fake audio library), and its QTimer following
// the player's timer.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "audio/BassEngine.h"
#include "audio/tests/FakeBass.h"
#include "audio/ui/KivMp3PlayWidget.h"
#include "tests/TestSupport.h"

namespace velmora::ui {
namespace {

constexpr QRgb Lime = 0xFF00FF00;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Yellow = 0xFFFFFF00;

struct TPlayerWidgetFixture : ::testing::Test {
    test::TFakeBass Bass;
    TKivMp3PlayWidget Widget{Bass};
    QImage Solid{177, 121, QImage::Format_RGB32};

    void SetUp() override {
        // One second of sound in a file of 16,000 bytes.
        Bass.Files["/album/M0.mp3"] = {44100 * 4, 16000, 44100};
        Widget.SetTimerEnabledForTests(false);
        TKivMp3Play& player = Widget.Player();
        player.BackColor = 0x000000;
        player.Pen = 0x00FF00;
        player.Peak = 0xFFFF00;
        player.LineWidth = 6;
        player.LineFallOff = 8;
        Solid.fill(QColor(0x40, 0x10, 0x60));
        Widget.SetBackground(Solid);
    }
    QImage Shot() { return Widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(TPlayerWidgetFixture, ShowsTheBackgroundUntilATickDrawsAFrame) {
    EXPECT_EQ(Widget.size(), QSize(177, 121));
    EXPECT_EQ(Widget.Player().Width(), 177);
    EXPECT_EQ(Widget.Player().Height(), 121);
    EXPECT_EQ(Shot(), Solid);
    Widget.Player().SetFileName("/album/M0.mp3");
    Widget.Player().Play();
    EXPECT_EQ(Shot(), Solid);  // playing, but no tick yet
}

TEST_F(TPlayerWidgetFixture, PaintsTheSpectrumFrameWhilePlayingAndTheBackgroundAfter) {
    std::vector<std::int32_t> positions;
    Widget.Player().OnProgress = [&](const void*, std::int32_t, std::int32_t pos,
                                     const std::string&) { positions.push_back(pos); };
    Widget.Player().SetFileName("/album/M0.mp3");
    Widget.Player().Play();
    Bass.Magnitude = 0.1f;  // 0.1 x 500 = 50 pixels
    Bass.Advance(50);
    Widget.TimerTick();
    QImage shot = Shot();
    // Bars 6 wide at a pitch of 7, 50 high from the bottom row 120: rows 71 to 120.
    EXPECT_EQ(shot.pixel(0, 120), Lime);
    EXPECT_EQ(shot.pixel(5, 71), Lime);
    EXPECT_EQ(shot.pixel(5, 70), Black);   // the peak marker sits under the bar's top
    EXPECT_EQ(shot.pixel(6, 100), Black);  // the gap column
    EXPECT_EQ(shot.pixel(7, 100), Lime);
    EXPECT_EQ(shot.pixel(176, 10), Black);
    ASSERT_EQ(positions.size(), 1u);
    EXPECT_EQ(positions[0], 16000 * 50 / 1000);

    // Silence: the bar sinks 8 pixels, the marker 1 and now floats above it.
    Bass.Magnitude = 0.0f;
    Widget.TimerTick();
    shot = Shot();
    EXPECT_EQ(shot.pixel(3, 121 - 42), Lime);
    EXPECT_EQ(shot.pixel(3, 121 - 43), Black);
    EXPECT_EQ(shot.pixel(3, 121 - 49), Yellow);

    Widget.Player().Pause();
    EXPECT_EQ(Shot(), Solid);
    Widget.Player().Play();
    Widget.TimerTick();
    EXPECT_NE(Shot(), Solid);
    Widget.Player().Stop();
    EXPECT_EQ(Shot(), Solid);
    EXPECT_EQ(positions.back(), 0);
}

TEST_F(TPlayerWidgetFixture, WithoutAPictureTheDefaultBackgroundShows) {
    Widget.SetBackground(QImage());
    const QImage expected =
        TKivMp3PlayWidget::DefaultBackground(QSize(177, 121)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Shot(), expected);
}

TEST(KivMp3PlayWidget, TheQTimerFollowsThePlayersTimer) {
    test::TFakeBass bass;
    bass.Files["/a.mp3"] = {44100 * 4, 16000, 44100};
    TKivMp3PlayWidget widget(bass);
    widget.Player().SetFileName("/a.mp3");
    EXPECT_FALSE(widget.TimerRunning());
    widget.Player().Play();
    EXPECT_TRUE(widget.TimerRunning());
    widget.SetTimerEnabledForTests(false);
    EXPECT_FALSE(widget.TimerRunning());
    EXPECT_TRUE(widget.Player().Timer().Enabled);
    widget.SetTimerEnabledForTests(true);
    EXPECT_TRUE(widget.TimerRunning());
    widget.Player().HoldForSeek();
    EXPECT_FALSE(widget.TimerRunning());
    widget.Player().SeekTo(8000);
    EXPECT_TRUE(widget.TimerRunning());
    // The end of the file is noticed one tick after the position reaches it.
    bass.Advance(2000);
    widget.TimerTick();
    EXPECT_TRUE(widget.TimerRunning());
    widget.TimerTick();
    EXPECT_FALSE(widget.TimerRunning());
}

TEST(KivMp3PlayWidget, PlaysARealFileThroughTheEngine) {
    // A 0.5-amplitude sine at the centre of FFT bin 20 (861 Hz), made by ffmpeg and lame:
    // band 15 (bin 20 - 5) reaches the cap of 100 pixels once the sound is heard.
    TKivMp3PlayWidget widget(BassEngine());
    widget.SetTimerEnabledForTests(false);
    TKivMp3Play& player = widget.Player();
    player.Pen = 0x00FF00;
    player.LineWidth = 6;
    player.SetFileName(test::SourcePath("audio/tests/data/cbr128_44k_stereo.mp3").string());
    player.Play();
    EXPECT_GT(player.FileEnd(), 40000);
    EXPECT_EQ(player.Seconds(), 3);
    // The spectrum is taken from decoded sound that may lie ahead of what the device has
    // played, so the heard position is waited for as well.
    const bool heard = QTest::qWaitFor(
        [&] {
            widget.TimerTick();
            return player.Spectrum()->Bars()[15] == 100 && player.Position() > 0;
        },
        20000);
    EXPECT_TRUE(heard) << "band 15 at " << player.Spectrum()->Bars()[15] << ", position "
                       << player.Position();
    const QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(15 * 7 + 2, 120 - 99), Lime);
    player.Stop();
}

}  // namespace
}  // namespace velmora::ui
