// The song list, the time helpers and the checks of the setting-up calls.

#include <gtest/gtest.h>

#include <cmath>

#include "base/Errors.h"
#include "production/tests/MclTestTools.h"
#include "tests/TestSupport.h"

namespace velmora::test {
namespace {

TEST(MclCallsTest, TimeTextIsHoursMinutesSeconds) {
    const std::pair<double, const char*> cases[] = {
        {0, "00:00:00"},     {59.9, "00:00:59"},    {61, "00:01:01"}, {3661.5, "01:01:01"},
        {86399, "23:59:59"}, {360000, "100:00:00"}, {-5, "00:00:00"}, {std::nan(""), "00:00:00"},
    };
    for (auto [time, text] : cases) EXPECT_EQ(MclMakeTimeStr(time), text) << time;
}

TEST(MclCallsTest, SongListCountsSamplesAndNamesEntries) {
    TempDir dir;
    const std::string song = (dir / "a.mp3").string(), bad = (dir / "bad.mp3").string();
    MakeSineMp3(song, 3.0, 440);
    WriteText(bad, "not a song");
    MclListHandle list = MclListCreate();
    EXPECT_EQ(MclListGetSampleCount(*list), 0);
    MclListAdd(*list, song, 16, 0, 0);
    EXPECT_NEAR(double(MclListGetSampleCount(*list)), 3 * 44100, 0.02 * 3 * 44100);
    MclListAdd(*list, bad, 16, 0, 0);  // listed, counts nothing
    MclListAdd(*list, song, 16, 48000, 0);
    EXPECT_NEAR(double(MclListGetSampleCount(*list)), 3 * 44100 + 3 * 48000, 0.02 * 6 * 46000);

    std::string name = "unchanged";
    EXPECT_TRUE(MclListGetName(*list, 1, name));
    EXPECT_EQ(name, bad);
    EXPECT_FALSE(MclListGetName(*list, 3, name));
    EXPECT_FALSE(MclListGetName(*list, -1, name));
    EXPECT_EQ(name, bad);

    EXPECT_THROW(MclListAdd(*list, song, 8, 0, 0), InvalidArgument);
    EXPECT_THROW(MclListAdd(*list, song, 16, -1, 0), InvalidArgument);
    EXPECT_THROW(MclListAdd(*list, song, 16, 0, 1), InvalidArgument);
    MclListFree(list);
    EXPECT_EQ(list, nullptr);
}

TEST(MclCallsTest, PresetsAreCheckedWhenChosen) {
    MclHandle h = MclCreate();
    EXPECT_THROW(MclSetFormatPreset(*h, 5, 0), InvalidArgument);
    EXPECT_THROW(MclSetFormatPreset(*h, -1, 0), InvalidArgument);
    EXPECT_THROW(MclSetFormatPreset(*h, 0, 1), InvalidArgument);
    EXPECT_NO_THROW(MclSetFormatPreset(*h, 0, 0));
    // The HD presets (H.264) need no MPEG-2 switch.
    EXPECT_NO_THROW(MclSetFormatPreset(*h, MclPresetMp4_720p, 0));
    EXPECT_NO_THROW(MclSetFormatPreset(*h, MclPresetMp4_1080p, 0));
    MclEnableMPEG2();
    EXPECT_NO_THROW(MclSetFormatPreset(*h, 2, 0));
    MclFree(h);
    EXPECT_EQ(h, nullptr);
}

TEST(MclCallsTest, ConversionWithoutSetUpFailsThroughTheErrorCallback) {
    MclHandle h = MclCreate();
    std::vector<int> codes;
    MclAssignError(*h, [&](int code, const std::string&, int& result) {
        codes.push_back(code);
        result = 2;
    });
    EXPECT_FALSE(MclConvert(*h).Ok);  // no preset
    MclSetFormatPreset(*h, 0, 0);
    EXPECT_FALSE(MclConvert(*h).Ok);  // no file
    MclVideoSetFileName(*h, "/tmp/a.mpg");
    MclAudioSetFileName(*h, "/tmp/b.mpg");
    EXPECT_FALSE(MclConvert(*h).Ok);  // two files
    EXPECT_EQ(codes, (std::vector<int>{MclErrorSetup, MclErrorSetup, MclErrorSetup}));
}

TEST(MclCallsTest, TimesFollowTheFramesDone) {
    TempDir dir;
    double remainingAt10 = -1, elapsedAt10 = -1, remainingAtEnd = -1;
    TRun run = RunConversion(
        (dir / "out.mpg").string(),
        {.Preset = 0, .Frames = 20, .OnProgress = [&](TMcl& h, int stage, int position) {
             if (stage == MclStageEncoding && position == 10) {
                 elapsedAt10 = MclGetElapsedTime(h);
                 remainingAt10 = MclGetRemainingTime(h, 40, 0);
             }
             if (stage == MclStageEncoding && position == 20) {
                 remainingAtEnd = MclGetRemainingTime(h, 20, 0);
             }
         }});
    ASSERT_TRUE(run.Result.Ok);
    EXPECT_GT(elapsedAt10, 0);
    // 30 frames left after 10: three times the time taken so far (read a moment later).
    EXPECT_GE(remainingAt10, 3 * elapsedAt10);
    EXPECT_LT(remainingAt10, 3 * elapsedAt10 + 0.5);
    EXPECT_EQ(remainingAtEnd, 0);
    EXPECT_GE(run.Result.Seconds, elapsedAt10);
}

}  // namespace
}  // namespace velmora::test
