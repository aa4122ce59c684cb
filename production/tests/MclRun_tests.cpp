// How MclConvert drives the callbacks, how it ends (normally, aborted, failed) and how it
// lays the songs under the video.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "production/tests/MclTestTools.h"
#include "tests/TestSupport.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

TEST(MclRunTest, ProgressFollowsEachFrameThenFinishingThenDone) {
    TempDir dir;
    const std::string out = (dir / "out.mpg").string();
    TRun run = RunConversion(out, {.Preset = 0, .Frames = 4});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    const std::vector<std::string> expected = {"V0",   "P3:1", "V1",   "P3:2", "V2",
                                               "P3:3", "V3",   "P3:4", "P2:4", "P0:4"};
    EXPECT_EQ(run.Events, expected);
}

TEST(MclRunTest, AbortInProgressEndsSoonWithAPlayableShorterFile) {
    TempDir dir;
    const std::string song = (dir / "song.mp3").string();
    MakeSineMp3(song, 10.0, 440);
    const std::string out = (dir / "out.mpg").string();
    TRun run = RunConversion(out, {.Preset = 2, .Frames = 250, .Songs = {song}, .AbortAfter = 20});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_TRUE(run.Result.Aborted);
    EXPECT_EQ(run.Result.Frames, 20);
    ASSERT_GE(run.Events.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(run.Events.end() - 3, run.Events.end()),
              (std::vector<std::string>{"P3:20", "P2:20", "P0:20"}));
    const TProbe probe = Probe(out);
    EXPECT_EQ(probe.Errors, "");
    ASSERT_NE(probe.Find("video"), nullptr);
    EXPECT_EQ(probe.Find("video")->Frames, 20);
    EXPECT_NEAR(DecodedAudioSeconds(out), 0.8, 0.1);
}

struct TFailCase {
    const char* Name;
    std::function<std::string(const TempDir&)> Path;  // the output path to try
    bool NeedsNonRoot;
};

class MclOutputFailureTest : public ::testing::TestWithParam<TFailCase> {};

TEST_P(MclOutputFailureTest, ReportsTheErrorAndLeavesNoFile) {
    if (GetParam().NeedsNonRoot && ::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    TempDir dir;
    const std::string out = GetParam().Path(dir);
    TRun run = RunConversion(out, {.Preset = 0, .Frames = 10});
    EXPECT_FALSE(run.Result.Ok);
    EXPECT_NE(run.Result.Message, "");
    EXPECT_EQ(run.ErrorCalls, 1);
    // No frame is asked for once the file cannot be created; the run still ends with stage 0.
    EXPECT_EQ(run.Events, (std::vector<std::string>{"E2", "P0:0"}));
    EXPECT_FALSE(fs::exists(out));
}

const TFailCase FailCases[] = {
    {"MissingFolder", [](const TempDir& d) { return (d / "missing/out.mpg").string(); }, false},
    {"ReadOnlyFolder",
     [](const TempDir& d) {
         fs::create_directory(d / "ro");
         fs::permissions(d / "ro", fs::perms::owner_read | fs::perms::owner_exec);
         return (d / "ro/out.mpg").string();
     },
     true},
    {"ReadOnlyFileSystem", [](const TempDir&) { return std::string("/proc/velmora-out.mpg"); },
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, MclOutputFailureTest, ::testing::ValuesIn(FailCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A full disk, simulated by a file size limit on this process.
TEST(MclRunTest, FullDiskFailsAndRemovesThePartialFile) {
    TempDir dir;
    const std::string out = (dir / "out.mpg").string();
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 200 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    TRun run = RunConversion(out, {.Preset = 2, .Frames = 100});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(run.Result.Ok);
    EXPECT_EQ(run.ErrorCalls, 1);
    EXPECT_NE(std::find(run.Events.begin(), run.Events.end(), "E2"), run.Events.end());
    EXPECT_EQ(run.Events.back(), "P0:" + std::to_string(run.Result.Frames));
    EXPECT_LT(run.Result.Frames, 100);
    EXPECT_FALSE(fs::exists(out));
}

struct TSourceFailCase {
    const char* Name;
    std::function<void(TMclSource&, int)> Source;
};

class MclSourceFailureTest : public ::testing::TestWithParam<TSourceFailCase> {};

TEST_P(MclSourceFailureTest, FailsWithTheSourceErrorAndRemovesTheFile) {
    TempDir dir;
    const std::string out = (dir / "out.mpg").string();
    TRun run = RunConversion(out, {.Preset = 0, .Frames = 10, .VideoSource = GetParam().Source});
    EXPECT_FALSE(run.Result.Ok);
    EXPECT_NE(run.Result.Message, "");
    EXPECT_EQ(run.ErrorCalls, 1);
    EXPECT_NE(std::find(run.Events.begin(), run.Events.end(), "E4"), run.Events.end());
    EXPECT_FALSE(fs::exists(out));
}

const TSourceFailCase SourceFailCases[] = {
    {"WrongFrameSize",
     [](TMclSource& s, int i) {
         Bitmap frame(i < 3 ? 320 : 352, 288);
         MclSourceSetDIB(s, frame);
     }},
    {"SourceThrows",
     [](TMclSource& s, int i) {
         if (i == 5) throw std::runtime_error("picture cannot be read");
         MclSourceSetDIB(s, Bitmap(320, 288));
     }},
    {"NoFrameAtAll", [](TMclSource& s, int) { MclSourceFinished(s); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, MclSourceFailureTest, ::testing::ValuesIn(SourceFailCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(MclRunTest, VideoFunctionDrawsOnACopyOfEveryFrameBeforeEncoding) {
    TempDir dir;
    const std::string out = (dir / "out.mpg").string();
    Bitmap handed(320, 288);
    int drawn = 0;
    TRun run = RunConversion(out, {.Preset = 0,
                                   .Frames = 10,
                                   .VideoFunc =
                                       [&](TMcl&, Bitmap& image, int index) {
                                           DrawFrameNumber(image, index * 3);
                                           ++drawn;
                                       },
                                   .VideoSource =
                                       [&](TMclSource& s, int index) {
                                           // Every second request hands nothing: the previous frame
                                           // is encoded again; finishing without a frame makes the
                                           // previous frame the last.
                                           if (index % 2 == 0) MclSourceSetDIB(s, handed);
                                           if (index == 9) MclSourceFinished(s);
                                       }});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_EQ(drawn, 9);
    EXPECT_EQ(handed, Bitmap(320, 288));  // the caller's bitmap stays as it was
    const auto decoded = DecodeGrey(out, 352, 288);
    ASSERT_EQ(decoded.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(ReadFrameNumber(decoded[std::size_t(i)], 352, 288), i * 3) << "frame " << i;
    }
}

TEST(MclRunTest, SongsFollowOneAnotherThenSilence) {
    TempDir dir;
    const std::string first = (dir / "a.mp3").string(), second = (dir / "b.mp3").string();
    MakeSineMp3(first, 1.0, 440);
    MakeSineMp3(second, 1.0, 1000);
    const std::string out = (dir / "out.mpg").string();
    std::int64_t audioFuncSamples = 0;
    TRun run = RunConversion(out, {.Preset = 0,
                                   .Frames = 75,
                                   .Songs = {first, second},
                                   .AudioFunc = [&](TMcl&, std::span<float> samples, int ch) {
                                       audioFuncSamples += std::int64_t(samples.size()) / ch;
                                   }});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_EQ(audioFuncSamples, 3 * 44100);
    const auto audio = DecodeAudio(out);
    EXPECT_NEAR(double(audio.size()) / 48000, 3.0, 0.1);
    EXPECT_NEAR(ToneFrequency(audio, 0.2, 0.8), 440, 15);
    EXPECT_NEAR(ToneFrequency(audio, 1.2, 1.8), 1000, 30);
    EXPECT_GT(Loudness(audio, 0.2, 0.8), 1000);
    EXPECT_LT(Loudness(audio, 2.2, 2.9), 50);  // padded with silence
}

TEST(MclRunTest, SongLongerThanTheVideoIsCutWithAFade) {
    TempDir dir;
    const std::string song = (dir / "a.mp3").string();
    MakeSineMp3(song, 5.0, 440);
    const std::string out = (dir / "out.mpg").string();
    TRun run = RunConversion(out, {.Preset = 1, .Frames = 50, .Songs = {song}});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    const auto audio = DecodeAudio(out);
    EXPECT_NEAR(double(audio.size()) / 48000, 2.0, 0.1);
    const double full = Loudness(audio, 0.3, 0.9);
    EXPECT_GT(full, 1000);
    EXPECT_LT(Loudness(audio, 1.5, 1.6), full * 0.6);  // halfway down the fade
    EXPECT_LT(Loudness(audio, 1.9, 1.97), full * 0.15);
}

TEST(MclRunTest, WithoutKeepDurationShortSongsAreNotPadded) {
    TempDir dir;
    const std::string song = (dir / "a.mp3").string();
    MakeSineMp3(song, 1.0, 440);
    const std::string out = (dir / "out.mpg").string();
    TRun run =
        RunConversion(out, {.Preset = 0, .Frames = 75, .Songs = {song}, .KeepDuration = false});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_NEAR(DecodedAudioSeconds(out), 1.0, 0.1);
}

TEST(MclRunTest, WithoutSongsTheSoundtrackIsSilentOrAbsent) {
    for (bool keep : {true, false}) {
        TempDir dir;
        const std::string out = (dir / "out.mpg").string();
        TRun run = RunConversion(out, {.Preset = 2, .Frames = 25, .KeepDuration = keep});
        ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
        const TProbe probe = Probe(out);
        EXPECT_EQ(probe.Errors, "") << keep;
        ASSERT_NE(probe.Find("video"), nullptr);
        EXPECT_EQ(probe.Find("video")->Frames, 25);
        if (keep) {
            const auto audio = DecodeAudio(out);
            EXPECT_NEAR(double(audio.size()) / 48000, 1.0, 0.1);
            EXPECT_EQ(Loudness(audio, 0, 1), 0);
        }
    }
}

TEST(MclRunTest, UndecodableSongsAreSkippedAndReported) {
    TempDir dir;
    const std::string text = (dir / "text.mp3").string(), missing = (dir / "none.mp3").string();
    const std::string good = (dir / "good.mp3").string();
    WriteText(text, std::string(5000, 'x'));
    MakeSineMp3(good, 3.0, 440);
    const std::string out = (dir / "out.mpg").string();
    TRun run = RunConversion(out, {.Preset = 0, .Frames = 50, .Songs = {text, missing, good}});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_EQ(run.ErrorCalls, 0);
    ASSERT_EQ(run.Result.SkippedSongs.size(), 2u);
    EXPECT_EQ(run.Result.SkippedSongs[0].rfind(text, 0), 0u);
    EXPECT_EQ(run.Result.SkippedSongs[1].rfind(missing, 0), 0u);
    EXPECT_EQ(run.Result.Notices().size(), 2u);
    const auto audio = DecodeAudio(out);
    EXPECT_NEAR(ToneFrequency(audio, 0.2, 1.5), 440, 15);  // the good song plays from the start
}

}  // namespace
}  // namespace velmora::test
