// The audio engine on MP3 files made by lame and ffmpeg: lengths against ffprobe, decoding
// to the end, the file-position map, failures, the FFT, and playback driven through the
// device callback by the test, with the decoder running or stalled.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <numbers>

#include "audio/BassEngine.h"
#include "audio/KivMp3Play.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using test::SourcePath;

std::string Fixture(const std::string& name) {
    return SourcePath("audio/tests/data/" + name).string();
}

std::map<std::string, double> FfprobeDurations() {
    std::map<std::string, double> result;
    std::ifstream in(Fixture("durations.txt"));
    std::string name;
    double seconds;
    while (in >> name >> seconds) result[name] = seconds;
    return result;
}

TEST(Fft1024, SineAtABinCentreAndSilence) {
    TFft1024 fft;
    std::array<float, 1024> samples{};
    float out[512];
    fft.Magnitudes(samples, out);
    for (float v : out) ASSERT_EQ(v, 0.0f);
    for (int bin : {5, 20, 133, 300}) {
        for (int i = 0; i < 1024; ++i) {
            samples[std::size_t(i)] = float(std::sin(2 * std::numbers::pi * bin * i / 1024.0));
        }
        fft.Magnitudes(samples, out);
        EXPECT_NEAR(out[bin], 0.5f, 1e-4f) << bin;
        EXPECT_NEAR(out[bin - 1], 0.25f, 1e-4f) << bin;  // the Hann window's two side bins
        EXPECT_NEAR(out[bin + 1], 0.25f, 1e-4f) << bin;
        EXPECT_NEAR(out[bin + 3], 0.0f, 1e-4f) << bin;
    }
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Engine.BASS_Init(-1, 44100, 32, nullptr)); }
    TBassEngine Engine;
};

TEST_F(EngineTest, PlayTimesMatchFfprobe) {
    const auto durations = FfprobeDurations();
    ASSERT_GE(durations.size(), 7u);
    TKivMp3Play player(Engine);
    for (const auto& [name, seconds] : durations) {
        if (!name.ends_with(".mp3")) continue;
        player.SetFileName(Fixture(name));
        EXPECT_NEAR(player.GetPlayLength(), seconds, 0.1) << name;
    }
    EXPECT_FALSE(Engine.BASS_Init(-1, 44100, 32, nullptr));  // a second init is refused
    EXPECT_EQ(Engine.BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
}

TEST_F(EngineTest, StreamsReportLengthsInStereoBytesAndFileSizes) {
    const struct {
        const char* Name;
        int Rate;
    } cases[] = {{"cbr128_44k_stereo.mp3", 44100},
                 {"mono_48k_id3v2.mp3", 48000},
                 {"vbr_xing_44k_stereo.mp3", 44100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const HSTREAM h = Engine.BASS_StreamCreateFile(false, Fixture(c.Name), 0, 0, 0);
        ASSERT_NE(h, 0u);
        const std::uint64_t length = Engine.BASS_StreamGetLength(h);
        EXPECT_EQ(length % 4, 0u);
        EXPECT_NEAR(double(length) / (4.0 * c.Rate), Engine.BASS_ChannelBytes2Seconds(h, length),
                    1e-3);
        EXPECT_EQ(Engine.BASS_StreamGetFilePosition(h, BASS_FILEPOS_END),
                  std::filesystem::file_size(Fixture(c.Name)));
        EXPECT_TRUE(Engine.BASS_StreamFree(h));
        EXPECT_FALSE(Engine.BASS_StreamFree(h));
    }
}

TEST_F(EngineTest, FilesThatCannotBeOpenedGiveZeroes) {
    const struct {
        const char* Path;
        int Error;
    } cases[] = {{"not_audio.mp3", BASS_ERROR_FORMAT}, {"no_such_file.mp3", BASS_ERROR_FILEOPEN}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        const HSTREAM h = Engine.BASS_StreamCreateFile(false, Fixture(c.Path), 0, 0, 0);
        EXPECT_EQ(h, 0u);
        EXPECT_EQ(Engine.BASS_ErrorGetCode(), c.Error);
        EXPECT_EQ(Engine.BASS_StreamGetLength(h), 0u);
        EXPECT_EQ(Engine.BASS_ChannelBytes2Seconds(h, 0), 0.0f);
        EXPECT_EQ(Engine.BASS_StreamGetFilePosition(h, BASS_FILEPOS_END), 0u);
        EXPECT_EQ(Engine.BASS_StreamGetFilePosition(h, BASS_FILEPOS_CURRENT), 0u);
        EXPECT_FALSE(Engine.BASS_StreamPlay(h, false, 0));
        EXPECT_FALSE(Engine.BASS_ChannelSetPosition(h, 0));
        float data[513];
        EXPECT_EQ(Engine.BASS_ChannelGetData(h, data, BASS_DATA_FFT1024), 0xFFFFFFFFu);
        // The player ends at its first tick without a sound.
        TKivMp3Play player(Engine);
        player.SetFileName(Fixture(c.Path));
        player.Play();
        player.TimerTick();
        EXPECT_FALSE(player.Timer().Enabled);
        EXPECT_EQ(player.GetPlayLength(), 0.0f);
    }
}

TEST_F(EngineTest, OpensOnlyLocalAudioFiles) {
    test::TempDir dir;
    // A colon in the name is part of the path, not a protocol.
    std::filesystem::copy_file(Fixture("short_1s.mp3"), dir / "a:b.mp3");
    // A playlist in disguise must not make the library open other files or addresses
    // (FFmpeg's concat demuxer would follow it to inner.mp3).
    std::filesystem::copy_file(Fixture("short_1s.mp3"), dir / "inner.mp3");
    test::WriteText(dir / "list.mp3", "ffconcat version 1.0\nfile 'inner.mp3'\n");
    // Plain PCM in a WAV container plays like a song.
    ASSERT_EQ(test::RunProgram({"ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                                "sine=frequency=440:duration=1", (dir / "tone.wav").string()}),
              0);
    const struct {
        std::string Name;
        bool Opens;
    } cases[] = {{"a:b.mp3", true}, {"list.mp3", false}, {"tone.wav", true}};
    for (const auto& c : cases) {
        const HSTREAM h = Engine.BASS_StreamCreateFile(false, (dir / c.Name).string(), 0, 0, 0);
        EXPECT_EQ(h != 0, c.Opens) << c.Name;
        if (h) {
            EXPECT_NEAR(Engine.BASS_ChannelBytes2Seconds(h, Engine.BASS_StreamGetLength(h)), 1.0,
                        0.1);
            Engine.BASS_StreamFree(h);
        }
    }
}

// Decodes a whole file through the stream without the device: every fixture, the damaged one
// included, ends cleanly with about the length its headers promise.
TEST(BassStream, DecodesEveryFixtureToTheEnd) {
    const auto durations = FfprobeDurations();
    for (const char* name :
         {"cbr128_44k_stereo.mp3", "vbr_xing_44k_stereo.mp3", "mono_48k_id3v2.mp3",
          "stereo_48k_vbr.mp3", "tag_both.mp3", "damaged.mp3"}) {
        SCOPED_TRACE(name);
        int error = 0;
        auto stream = TBassStream::Open(Fixture(name), 44100, error);
        ASSERT_TRUE(stream);
        std::vector<std::int16_t> buffer(2048);
        std::uint64_t frames = 0;
        std::uint64_t lastPos = 0;
        int peak = 0;
        while (!stream->Exhausted()) {
            const int n = stream->Read(buffer.data(), 1024);
            for (int i = 0; i < 2 * n; ++i) peak = std::max(peak, std::abs(int(buffer[i])));
            frames += std::uint64_t(n);
            // The file position of what was just read only moves forward.
            const std::uint64_t pos =
                stream->FilePosAt(frames * std::uint64_t(stream->Rate()) / 44100);
            EXPECT_GE(pos, lastPos);
            lastPos = pos;
        }
        EXPECT_GT(peak, 1000);  // real sound, on both channels of mono files too
        EXPECT_EQ(lastPos, stream->FileSize());
        // The damaged file decodes to what ffmpeg's own command line makes of it.
        const double decoded = double(frames) / 44100;
        const std::string key = std::string(name) == "damaged.mp3" ? "damaged.mp3.decoded" : name;
        EXPECT_NEAR(decoded, durations.at(key), 0.1);
    }
}

TEST(BassStream, SeekLandsNearTheTargetAndMapsToTheFile) {
    int error = 0;
    auto stream = TBassStream::Open(Fixture("cbr128_44k_stereo.mp3"), 44100, error);
    ASSERT_TRUE(stream);
    const std::uint64_t half = stream->LengthFrames() / 2;
    ASSERT_TRUE(stream->Seek(half));
    EXPECT_NEAR(double(stream->OutputBase()), double(half), 0.03 * 44100);
    const double fraction = double(stream->FilePosAt(half)) / double(stream->FileSize());
    EXPECT_NEAR(fraction, 0.5, 0.03);
    // The sine goes on after the seek.
    std::vector<std::int16_t> buffer(2048);
    ASSERT_EQ(stream->Read(buffer.data(), 1024), 1024);
    int peak = 0;
    for (auto v : buffer) peak = std::max(peak, std::abs(int(v)));
    EXPECT_NEAR(peak, 16384, 2000);
}

// The test is the output device: it calls the device callback itself, in the device's
// 1024-frame pieces, each once the decoder has the sound ready, so what is heard follows
// exactly what was played and no test waits on real time.
constexpr int DeviceFrames = 1024;

std::vector<std::int16_t> Drive(TBassEngine& engine, double seconds) {
    std::vector<std::int16_t> played;
    auto left = std::int64_t(std::llround(seconds * 44100));
    std::vector<std::int16_t> buffer(2 * DeviceFrames);
    while (left > 0) {
        const int n = int(std::min<std::int64_t>(left, DeviceFrames));
        EXPECT_TRUE(engine.WaitUntilBuffered(std::size_t(n), 60s));
        engine.DeviceFill(buffer.data(), n);
        played.insert(played.end(), buffer.begin(), buffer.begin() + 2 * n);
        left -= n;
    }
    return played;
}

double HeardSeconds(TBassEngine& engine, HSTREAM h) {
    return double(engine.HeardBytes(h)) / (44100.0 * 4);
}

TEST_F(EngineTest, PlaybackFollowsWhatTheDeviceTook) {
    const HSTREAM h =
        Engine.BASS_StreamCreateFile(false, Fixture("cbr128_44k_stereo.mp3"), 0, 0, 0);
    ASSERT_NE(h, 0u);
    const std::uint32_t fileEnd = Engine.BASS_StreamGetFilePosition(h, BASS_FILEPOS_END);
    ASSERT_TRUE(Engine.BASS_StreamPlay(h, false, 0));
    EXPECT_EQ(Engine.HeardBytes(h), 0u);
    Drive(Engine, 0.6);
    // Heard: everything before the last callback's share, and at most all of it.
    const double heard = HeardSeconds(Engine, h);
    EXPECT_GE(heard, 0.6 - double(DeviceFrames) / 44100 - 1e-6);
    EXPECT_LE(heard, 0.6 + 1e-6);
    const std::uint32_t pos = Engine.BASS_StreamGetFilePosition(h, BASS_FILEPOS_CURRENT);
    EXPECT_NEAR(double(pos) / fileEnd, heard / 3.03, 0.06);

    // The sine at bin 20 with amplitude 0.5 shows as 0.25 there.
    float data[513] = {};
    EXPECT_EQ(Engine.BASS_ChannelGetData(h, data, BASS_DATA_FFT1024), 2048u);
    EXPECT_NEAR(data[20], 0.25f, 0.04f);
    EXPECT_LT(data[40], 0.01f);

    // Paused, the position holds while the device goes on; resumed, it moves on.
    ASSERT_TRUE(Engine.BASS_ChannelPause(h));
    const std::uint64_t held = Engine.HeardBytes(h);
    Drive(Engine, 0.2);
    EXPECT_EQ(Engine.HeardBytes(h), held);
    ASSERT_TRUE(Engine.BASS_ChannelResume(h));
    Drive(Engine, 0.2);
    EXPECT_GT(Engine.HeardBytes(h), held + 44100 * 4 / 20);
    // A seek while playing moves what is heard: at once to the target, then on from there.
    ASSERT_TRUE(Engine.BASS_ChannelSetPosition(h, Engine.BASS_StreamGetLength(h) / 4 * 3 / 4 * 4));
    EXPECT_NEAR(double(Engine.HeardBytes(h)) / Engine.BASS_StreamGetLength(h), 0.75, 0.01);
    Drive(Engine, 0.1);
    const double after = double(Engine.HeardBytes(h)) / Engine.BASS_StreamGetLength(h);
    EXPECT_GT(after, 0.74);
    EXPECT_LT(after, 0.75 + 0.1 / 3.03 + 0.03);
    EXPECT_FALSE(Engine.BASS_ChannelSetPosition(h, Engine.BASS_StreamGetLength(h) + 4));
    EXPECT_TRUE(Engine.BASS_ChannelStop(h));
    EXPECT_FALSE(Engine.IsActive(h));
    EXPECT_EQ(Engine.Underruns(h), 0u);
}

// Holds the decoder thread at its gate (inside the decode lock, where a slow disk would hold
// it) until the test opens it again.
class TStallGate {
public:
    void Close() {
        std::lock_guard lock(FMutex);
        FClosed = true;
    }
    void Open() {
        {
            std::lock_guard lock(FMutex);
            FClosed = false;
        }
        FChanged.notify_all();
    }
    void Pass() {
        std::unique_lock lock(FMutex);
        FWaiting = FClosed;
        FChanged.notify_all();
        FChanged.wait(lock, [&] { return !FClosed; });
        FWaiting = false;
    }
    bool WaitUntilHolding() {
        std::unique_lock lock(FMutex);
        return FChanged.wait_for(lock, 60s, [&] { return FWaiting; });
    }

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    bool FClosed = false;
    bool FWaiting = false;
};

int Peak(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t count) {
    int peak = 0;
    for (std::size_t i = from; i < from + count && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

// With the decoder stalled for 200 ms of sound, every callback returns at once with sound
// from the buffer; once the buffer is empty the callback still returns at once, with silence,
// and counts the drop-out.
TEST_F(EngineTest, DeviceNeverWaitsForAStalledDecoder) {
    TStallGate gate;
    Engine.SetDecodeGate([&] { gate.Pass(); });
    const HSTREAM h =
        Engine.BASS_StreamCreateFile(false, Fixture("cbr128_44k_stereo.mp3"), 0, 0, 0);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(Engine.BASS_StreamPlay(h, false, 0));
    ASSERT_TRUE(Engine.WaitUntilBuffered(TAudioChannel::RingFrames - 1024, 60s));
    gate.Close();
    Drive(Engine, double(DeviceFrames) / 44100);  // makes room, so the decoder goes to its gate
    ASSERT_TRUE(gate.WaitUntilHolding());

    // The callbacks run on a thread of their own, so a callback that waited for the decoder
    // would show as a failure here rather than as a hung test.
    const std::size_t buffered = Engine.BufferedFrames(h);
    ASSERT_GT(buffered, std::size_t(44100 / 5 + DeviceFrames));
    std::vector<std::int16_t> stalled;
    std::uint64_t underrunsWithData = 0;
    auto device = std::async(std::launch::async, [&] {
        std::vector<std::int16_t> buffer(2 * DeviceFrames);
        for (std::size_t done = 0; done < 44100 / 5; done += DeviceFrames) {
            Engine.DeviceFill(buffer.data(), DeviceFrames);
            stalled.insert(stalled.end(), buffer.begin(), buffer.end());
        }
        underrunsWithData = Engine.Underruns(h);
        // Now the rest of the buffer, and one callback more.
        while (Engine.BufferedFrames(h) > 0) Engine.DeviceFill(buffer.data(), DeviceFrames);
        Engine.DeviceFill(buffer.data(), DeviceFrames);
        return buffer;
    });
    const bool returned = device.wait_for(60s) == std::future_status::ready;
    gate.Open();
    ASSERT_TRUE(returned) << "the device callback waited for the decoder";
    const std::vector<std::int16_t> dry = device.get();
    EXPECT_EQ(underrunsWithData, 0u);
    for (std::size_t i = 0; i < stalled.size(); i += 2 * DeviceFrames)
        ASSERT_NEAR(Peak(stalled, i, 2 * DeviceFrames), 16384, 2000) << "callback " << i / 2048;
    EXPECT_EQ(Peak(dry, 0, dry.size()), 0);
    EXPECT_GE(Engine.Underruns(h), 1u);
    // Heard is counted in frames the device took, with nothing decoded meanwhile.
    const double heard = HeardSeconds(Engine, h);
    const double taken = double(buffered + DeviceFrames) / 44100;
    EXPECT_LE(heard, taken + 1e-6);
    EXPECT_GE(heard, taken - 2.0 * DeviceFrames / 44100);

    // Decoding again, the sound comes back.
    const auto more = Drive(Engine, 0.1);
    EXPECT_NEAR(Peak(more, more.size() / 2, more.size() / 2), 16384, 2000);
    EXPECT_TRUE(Engine.BASS_StreamFree(h));
}

// The player on the engine plays a one-second file to its end: the last report shows the
// file's end, and the stop comes only after the sound had time to be heard. Each 50 ms tick
// follows 50 ms of sound taken by the test's device.
TEST_F(EngineTest, PlayerPlaysAShortFileToTheEnd) {
    TKivMp3Play player(Engine, 177, 121);
    ASSERT_TRUE(Engine.BASS_Stop());  // the player started the device; the test is the device
    std::vector<std::pair<std::int32_t, std::int32_t>> reports;
    player.OnProgress = [&](const void*, std::int32_t max, std::int32_t pos, const std::string&) {
        reports.emplace_back(max, pos);
    };
    player.SetFileName(Fixture("short_1s.mp3"));
    player.Play();
    int ticks = 0;
    while (player.Timer().Enabled && ticks < 200) {
        Drive(Engine, 0.05);
        player.TimerTick();
        ++ticks;
    }
    const double played = ticks * 0.05;
    EXPECT_FALSE(player.Timer().Enabled);
    EXPECT_GT(played, 1.0);
    EXPECT_LT(played, 6.0);
    ASSERT_GE(reports.size(), 3u);
    const std::int32_t fileEnd = std::int32_t(std::filesystem::file_size(Fixture("short_1s.mp3")));
    EXPECT_EQ(reports[reports.size() - 2].second, fileEnd);
    EXPECT_EQ(reports.back().second, 0);
    EXPECT_TRUE(player.Spectrum() != nullptr);
    EXPECT_GT(
        *std::max_element(player.Spectrum()->Peaks().begin(), player.Spectrum()->Peaks().end()), 0);
}

}  // namespace
}  // namespace velmora
