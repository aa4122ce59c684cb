// The player's state table, driven by a test clock over an audio library that plays by it.

#include <gtest/gtest.h>

#include <algorithm>

#include "audio/KivMp3Play.h"
#include "audio/tests/FakeBass.h"

namespace velmora {
namespace {

using test::TFakeBass;

struct Report {
    const void* Sender;
    std::int32_t Max;
    std::int32_t Pos;
    std::string Time;
};

// 10 seconds at 44.1 kHz; a 160000-byte file (128 kbit/s).
constexpr std::uint64_t SongLength = 10ull * 44100 * 4;
constexpr std::uint32_t SongFile = 160000;

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest() {
        Bass.Files["song.mp3"] = {SongLength, SongFile, 44100};
        Bass.Files["other.mp3"] = {2ull * 44100 * 4, 32000, 44100};
        Player.OnProgress = [this](const void* s, std::int32_t m, std::int32_t p,
                                   const std::string& t) {
            Reports.push_back({s, m, p, t});
        };
    }
    // One 50 ms tick of the owner's timer, if it is enabled.
    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            Bass.Advance(50);
            if (Player.Timer().Enabled) Player.TimerTick();
        }
    }
    int CountCalls(const std::string& prefix) const {
        return int(std::count_if(Bass.Calls.begin(), Bass.Calls.end(),
                                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
    }

    TFakeBass Bass;
    TKivMp3Play Player{Bass, 177, 121};
    std::vector<Report> Reports;
};

TEST_F(PlayerTest, ConstructionStartsOutputAndReportsNothing) {
    EXPECT_EQ(Bass.Calls, (std::vector<std::string>{"Init -1 44100 32", "Start"}));
    EXPECT_FALSE(Player.Timer().Enabled);
    EXPECT_EQ(Player.Timer().Interval, 50);
    EXPECT_FALSE(Player.Opened());
    EXPECT_TRUE(Player.Reporting());
    EXPECT_EQ(Player.BackColor, 0x000000u);
    EXPECT_EQ(Player.Pen, 0xFFFFFFu);
    EXPECT_EQ(Player.Peak, 0xFFFF00u);
    EXPECT_EQ(Player.LineWidth, 3);
    EXPECT_EQ(Player.LineFallOff, 6);
    Player.Stop();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Sender, nullptr);
    EXPECT_EQ(Reports[0].Max, 0);
    EXPECT_EQ(Reports[0].Pos, 0);
    EXPECT_EQ(Reports[0].Time, "00:00");
}

TEST_F(PlayerTest, PlayReportsEveryTickWithElapsedTime) {
    Player.SetFileName("song.mp3");
    Player.Play();
    EXPECT_TRUE(Player.Timer().Enabled);
    EXPECT_EQ(Player.Seconds(), 10);
    EXPECT_EQ(Player.FileEnd(), std::int32_t(SongFile));
    EXPECT_EQ(Player.ByteLength(), SongLength);
    Tick(30);  // 1.5 s
    ASSERT_EQ(Reports.size(), 30u);
    EXPECT_EQ(Reports.back().Sender, &Player.Timer());
    EXPECT_EQ(Reports.back().Max, std::int32_t(SongFile));
    EXPECT_EQ(Reports.back().Pos, 24000);  // 1.5 s of 10 s
    EXPECT_EQ(Reports.back().Time, "00:01");
    EXPECT_TRUE(Player.FrameShown());
}

TEST_F(PlayerTest, PauseAndPlayResumeTheSameStream) {
    Player.SetFileName("song.mp3");
    Player.Play();
    Tick(20);
    const HSTREAM stream = Player.Stream();
    Player.Pause();
    EXPECT_FALSE(Player.Timer().Enabled);
    EXPECT_TRUE(Player.Opened());
    EXPECT_FALSE(Player.FrameShown());
    const std::int32_t pausedAt = Reports.back().Pos;
    Bass.Advance(1000);  // time passes while paused; nothing moves
    Player.Play();
    EXPECT_EQ(Player.Stream(), stream);
    EXPECT_EQ(CountCalls("Create"), 1);
    EXPECT_EQ(CountCalls("Resume"), 1);
    Tick();
    EXPECT_EQ(Reports.back().Pos, pausedAt + 800);
}

TEST_F(PlayerTest, StopThenPlayStartsOverWithAFreshStream) {
    Player.SetFileName("song.mp3");
    Player.Play();
    Tick(40);
    const HSTREAM first = Player.Stream();
    Reports.clear();
    Player.Stop();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Sender, nullptr);
    EXPECT_EQ(Reports[0].Max, std::int32_t(SongFile));
    EXPECT_EQ(Reports[0].Pos, 0);
    EXPECT_EQ(Reports[0].Time, "00:00");
    EXPECT_FALSE(Player.Opened());
    EXPECT_EQ(Player.Position(), 0);
    Player.Play();
    EXPECT_NE(Player.Stream(), first);
    EXPECT_EQ(CountCalls("Free " + std::to_string(first)), 1);  // the old stream is released
    Tick();
    EXPECT_EQ(Reports.back().Pos, 800);
}

TEST_F(PlayerTest, HoldForSeekSilencesReportsUntilSeekTo) {
    Player.SetFileName("song.mp3");
    Player.Play();
    Tick(10);
    Player.HoldForSeek();
    EXPECT_FALSE(Player.Timer().Enabled);
    EXPECT_FALSE(Player.Reporting());
    const std::size_t before = Reports.size();
    Tick(10);
    EXPECT_EQ(Reports.size(), before);
    // Even a tick that comes anyway reports nothing while held.
    Player.TimerTick();
    EXPECT_EQ(Reports.size(), before);
    Player.SeekTo(std::int32_t(SongFile / 2));
    EXPECT_TRUE(Player.Reporting());
    EXPECT_TRUE(Player.Timer().Enabled);
    EXPECT_EQ(CountCalls("SetPosition 1 " + std::to_string(SongLength / 2)), 1);
    EXPECT_EQ(CountCalls("Resume"), 1);
    Tick();
    EXPECT_EQ(Reports.back().Pos, std::int32_t(SongFile / 2 + 800));
    EXPECT_EQ(Reports.back().Time, "00:05");
}

TEST_F(PlayerTest, EndOfFileIsNoticedOneTickLateAndReportedAsZero) {
    Player.SetFileName("other.mp3");  // 2 s = 40 ticks
    Player.Play();
    Tick(40);
    ASSERT_EQ(Reports.size(), 40u);
    EXPECT_EQ(Reports.back().Pos, 32000);  // the end reached, still playing
    EXPECT_EQ(Reports.back().Time, "00:02");
    EXPECT_TRUE(Player.Timer().Enabled);
    Tick();
    ASSERT_EQ(Reports.size(), 41u);
    EXPECT_EQ(Reports.back().Sender, nullptr);
    EXPECT_EQ(Reports.back().Pos, 0);
    EXPECT_EQ(Reports.back().Time, "00:00");
    EXPECT_FALSE(Player.Timer().Enabled);
    EXPECT_FALSE(Player.Opened());
}

TEST_F(PlayerTest, SetFileNameWhilePlayingStopsAndWaitsForPlay) {
    Player.SetFileName("song.mp3");
    Player.Play();
    Tick(5);
    Reports.clear();
    Player.SetFileName("other.mp3");
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Pos, 0);
    EXPECT_FALSE(Player.FrameShown());
    EXPECT_FALSE(Player.Timer().Enabled);
    EXPECT_EQ(CountCalls("Create"), 1);
    Player.Play();
    EXPECT_EQ(Bass.Calls.back(), "Play " + std::to_string(Player.Stream()));
    EXPECT_EQ(CountCalls("Create other.mp3"), 1);
    EXPECT_EQ(Player.FileEnd(), 32000);
}

TEST_F(PlayerTest, UnopenableFileStopsAtTheFirstTick) {
    Player.SetFileName("missing.mp3");
    Player.Play();
    EXPECT_EQ(Player.Stream(), 0u);
    EXPECT_TRUE(Player.Timer().Enabled);
    Tick();
    EXPECT_FALSE(Player.Timer().Enabled);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Max, 0);
    EXPECT_EQ(Reports[0].Pos, 0);
    // Seeking with a file end of 0 sets no position and divides by nothing.
    Player.SeekTo(100);
    EXPECT_EQ(CountCalls("SetPosition"), 0);
}

TEST_F(PlayerTest, PlayBeforeAnyFileNameDrawsNoSpectrum) {
    Bass.Files[""] = {SongLength, SongFile, 44100};  // even if something opened
    Player.Play();
    Tick(3);
    EXPECT_EQ(Player.Spectrum(), nullptr);
    EXPECT_FALSE(Player.FrameShown());
}

TEST_F(PlayerTest, ColoursTakeEffectAtTheNextFileName) {
    Player.SetFileName("song.mp3");
    Player.Pen = 0x00FF00;
    Player.LineWidth = 6;
    Player.Play();
    Tick();
    EXPECT_EQ(Player.Surface().RgbAt(0, 120), 0xFFFFFFu);  // white, width 3
    EXPECT_EQ(Player.Surface().RgbAt(3, 120), 0x000000u);
    Player.SetFileName("song.mp3");
    Player.Play();
    Tick();
    EXPECT_EQ(Player.Surface().RgbAt(0, 120), 0x00FF00u);
    EXPECT_EQ(Player.Surface().RgbAt(5, 120), 0x00FF00u);
    EXPECT_EQ(Player.Surface().RgbAt(6, 120), 0x000000u);
    EXPECT_EQ(Player.Spectrum()->Bars()[0], 50);  // 0.1 x 500
}

TEST_F(PlayerTest, LongFilesUseSixtyFourBitArithmetic) {
    // 10 minutes in a 10 MB file: position x seconds and position x length exceed 32 bits.
    Bass.Files["long.mp3"] = {600ull * 44100 * 4, 10'000'000, 44100};
    Player.SetFileName("long.mp3");
    Player.Play();
    Player.HoldForSeek();
    Player.SeekTo(9'000'000);
    EXPECT_EQ(CountCalls("SetPosition 1 95256000"), 1);  // 9e6 x 105840000 / 1e7
    Tick();
    EXPECT_EQ(Reports.back().Time, "09:00");
}

TEST_F(PlayerTest, GetPlayLengthMeasuresWithoutTouchingThePlayer) {
    Player.SetFileName("song.mp3");
    EXPECT_FLOAT_EQ(Player.GetPlayLength(), 10.0f);
    EXPECT_EQ(Player.Stream(), 0u);
    EXPECT_FALSE(Player.Timer().Enabled);
    EXPECT_TRUE(Bass.Streams.empty());  // the measuring stream was released
    Player.SetFileName("missing.mp3");
    EXPECT_EQ(Player.GetPlayLength(), 0.0f);
}

TEST(MinSecText, MinutesModuloAnHour) {
    const struct {
        std::int32_t Seconds;
        const char* Text;
    } cases[] = {{0, "00:00"},   {9, "00:09"},    {59, "00:59"},   {75, "01:15"},
                 {600, "10:00"}, {3599, "59:59"}, {3605, "00:05"}, {7384, "03:04"}};
    for (const auto& c : cases) EXPECT_EQ(TKivMp3Play::MinSecText(c.Seconds), c.Text);
}

}  // namespace
}  // namespace velmora
