// Conversions of a few seconds into each preset, checked by ffprobe, by decoding the frames
// back and by the standards' own authoring tools (dvdauthor, vcdimager).

#include <gtest/gtest.h>

#include <cmath>

#include "production/tests/MclTestTools.h"
#include "tests/TestSupport.h"

namespace velmora::test {
namespace {

struct TPresetCase {
    int Preset;
    const char* Name;
    const char* VideoCodec;
    int Width, Height;
    const char* AudioCodec;
    int SampleRate;
    double MinPsnr;  // of the last frame's luma; 0 = not compared (VCD's frames are scaled)
};

const TPresetCase PresetCases[] = {
    // The test frames carry fresh noise in every frame: SVCD's 2.5 Mbit/s keeps less of it.
    {0, "VCD", "mpeg1video", 352, 288, "mp2", 44100, 0},
    {1, "SVCD", "mpeg2video", 480, 576, "mp2", 44100, 25},
    {2, "DVD", "mpeg2video", 720, 576, "ac3", 48000, 33},
};

// "4:3" as a number; MPEG-1 stores the pixel shape in a table, so VCD's 4:3 reads 1958:1467.
double AspectValue(const std::string& ratio) {
    const auto colon = ratio.find(':');
    if (colon == std::string::npos) return 0;
    return std::stod(ratio.substr(0, colon)) / std::stod(ratio.substr(colon + 1));
}

// PSNR in dB of decoded grey (full-range luma) against the luma of the frame handed in.
double LumaPsnr(const Bitmap& frame, const std::vector<std::uint8_t>& grey) {
    double sum = 0;
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            const std::uint8_t* p = frame.Pixel(x, y);
            const double luma = 0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0];
            const double d = luma - grey[std::size_t(y) * frame.Width() + x];
            sum += d * d;
        }
    }
    const double mse = sum / (double(frame.Width()) * frame.Height());
    return mse <= 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

class MclPresetTest : public ::testing::TestWithParam<TPresetCase> {};

// A message of the tools with this severity: a line that starts with it (after vcdimager's
// "**" or "++ " marks), so that the tools' banners (names, versions, build options) never
// count.
bool HasMessage(const std::string& output, const std::string& severity) {
    std::size_t line = 0;
    while (line < output.size()) {
        const std::size_t start = output.find_first_not_of("*+ ", line);
        if (start != std::string::npos && output.compare(start, severity.size(), severity) == 0)
            return true;
        const std::size_t next = output.find('\n', line);
        if (next == std::string::npos) break;
        line = next + 1;
    }
    return false;
}

// Checks the file with the standard's authoring tool; returns its messages on failure.
std::string StandardToolComplaints(const TPresetCase& c, const std::string& file,
                                   const TempDir& dir) {
    std::string out, err;
    int code;
    if (c.Preset == 2) {
        const std::string disc = (dir / "disc").string();
        std::string tocOut, tocErr;
        code = RunProgram({"env", "VIDEO_FORMAT=PAL", "dvdauthor", "-o", disc, "-t", file}, &out,
                          &err);
        if (code == 0) {
            code = RunProgram({"env", "VIDEO_FORMAT=PAL", "dvdauthor", "-o", disc, "-T"}, &tocOut,
                              &tocErr);
        }
        out += tocOut;
        err += tocErr;
        const std::string all = out + err;
        if (code != 0 || HasMessage(all, "WARN") || HasMessage(all, "ERR") ||
            all.find("Aspect ratio: 4:3") == std::string::npos) {
            return "dvdauthor: " + all;
        }
        return "";
    }
    code = RunProgram({"vcdimager", "-t", c.Preset == 0 ? "vcd2" : "svcd", "-c",
                       (dir / "disc.cue").string(), "-b", (dir / "disc.bin").string(), file},
                      &out, &err);
    const std::string all = out + err;
    if (code != 0 || HasMessage(all, "WARN") || HasMessage(all, "ERROR")) {
        return "vcdimager: " + all;
    }
    return "";
}

TEST_P(MclPresetTest, WritesAStandardFileWithFramesInOrderAndMatchingAudio) {
    const TPresetCase& c = GetParam();
    TempDir dir;
    const std::string song = (dir / "song.mp3").string();
    MakeSineMp3(song, 3.0, 440);
    const std::string out = (dir / "out.mpg").string();
    const int frames = 50;

    TRun run = RunConversion(out, {.Preset = c.Preset, .Frames = frames, .Songs = {song}});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_EQ(run.Result.Frames, frames);
    EXPECT_EQ(run.ErrorCalls, 0);
    EXPECT_TRUE(run.Result.SkippedSongs.empty());

    const TProbe probe = Probe(out);
    EXPECT_EQ(probe.Errors, "");
    const TProbedStream* video = probe.Find("video");
    const TProbedStream* audio = probe.Find("audio");
    ASSERT_NE(video, nullptr);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(video->Codec, c.VideoCodec);
    EXPECT_EQ(video->Width, c.Width);
    EXPECT_EQ(video->Height, c.Height);
    EXPECT_EQ(video->FrameRate, "25/1");
    EXPECT_NEAR(AspectValue(video->DisplayAspect), 4.0 / 3.0, 0.005) << video->DisplayAspect;
    EXPECT_EQ(video->Frames, frames);
    EXPECT_EQ(audio->Codec, c.AudioCodec);
    EXPECT_EQ(audio->SampleRate, c.SampleRate);
    EXPECT_EQ(audio->Channels, 2);
    EXPECT_NEAR(DecodedAudioSeconds(out), frames / 25.0, 0.1);

    const auto decoded = DecodeGrey(out, c.Width, c.Height);
    ASSERT_EQ(decoded.size(), std::size_t(frames));
    for (int i = 0; i < frames; ++i) {
        EXPECT_EQ(ReadFrameNumber(decoded[std::size_t(i)], c.Width, c.Height), i) << "frame " << i;
    }
    if (c.MinPsnr > 0) {
        Bitmap frame(c.Width, c.Height);
        DrawFrameNumber(frame, frames - 1);
        EXPECT_GT(LumaPsnr(frame, decoded.back()), c.MinPsnr);
    }
    EXPECT_EQ(StandardToolComplaints(c, out, dir), "");
}

// Random colour noise in every frame: the MPEG-2 presets keep it within the buffer.
void DrawNoise(Bitmap& frame, unsigned seed, bool grey) {
    for (int y = 0; y < frame.Height(); ++y) {
        std::uint8_t* row = frame.Row(y);
        for (int x = 0; x < frame.Width() * 3; x += 3) {
            for (int ch = 0; ch < 3; ++ch) {
                seed = seed * 1103515245u + 12345u;
                row[x + ch] = std::uint8_t(seed >> 16);
            }
            if (grey) row[x + 1] = row[x + 2] = row[x];
        }
    }
}

TEST_P(MclPresetTest, BusyFramesStayWithinTheBufferOrAreReported) {
    const TPresetCase& c = GetParam();
    TempDir dir;
    const std::string out = (dir / "out.mpg").string();
    // Colour noise for the MPEG-2 presets; VCD's constant 1150 kbit/s cannot hold even that,
    // so it gets grey noise (the worst case) and must report instead of failing.
    const bool grey = c.Preset == 0;
    TRun run = RunConversion(out, {.Preset = c.Preset, .Frames = 25, .Draw = [&](Bitmap& b, int n) {
                                       DrawNoise(b, unsigned(n) + 1, grey);
                                   }});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    EXPECT_EQ(run.ErrorCalls, 0);
    if (c.Preset == 0) {
        EXPECT_GT(run.Result.BufferWarnings, 0);
        EXPECT_LE(run.Result.BufferWarnings, 25);
        ASSERT_EQ(run.Result.Notices().size(), 1u);
        EXPECT_NE(run.Result.Notices()[0].find(std::to_string(run.Result.BufferWarnings)),
                  std::string::npos);
    } else {
        EXPECT_EQ(run.Result.BufferWarnings, 0);
        EXPECT_TRUE(run.Result.Notices().empty());
    }
    const TProbe probe = Probe(out);
    ASSERT_NE(probe.Find("video"), nullptr);
    EXPECT_EQ(probe.Find("video")->Frames, 25);
}

INSTANTIATE_TEST_SUITE_P(Presets, MclPresetTest, ::testing::ValuesIn(PresetCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace velmora::test
