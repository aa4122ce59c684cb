// The HD MP4 presets checked by ffprobe (codec, profile, level, pixel format, size, frame
// rate, audio, duration), by the file's own box layout (the index before the media data) and
// by decoding a still frame against the composed picture; and the names the command line and
// the dialog use for them.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "production/ComposePicture.h"
#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

/// ffprobe's entries of one stream ("v:0", "a:0") and of the format, as key=value pairs.
std::map<std::string, std::string> ProbeEntries(const std::string& path,
                                                const std::string& stream) {
    std::string out;
    std::string err;
    EXPECT_EQ(
        test::RunProgram({"ffprobe", "-v", "error", "-select_streams", stream, "-show_entries",
                          "stream=codec_name,profile,level,pix_fmt,width,height,"
                          "r_frame_rate,sample_rate,channels,duration,sample_aspect_ratio,"
                          "color_space:format=duration",
                          "-of", "default=noprint_wrappers=1", path},
                         &out, &err),
        0)
        << err;
    EXPECT_EQ(err, "");
    std::map<std::string, std::string> entries;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        // The format's duration follows the stream's; keep both.
        std::string key = line.substr(0, eq);
        if (entries.count(key)) key = "format_" + key;
        entries[key] = line.substr(eq + 1);
    }
    return entries;
}

/// The types of the file's top-level MP4 boxes in order.
std::vector<std::string> TopLevelBoxes(const std::string& path) {
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    std::vector<std::string> boxes;
    std::size_t at = 0;
    while (at + 8 <= bytes.size()) {
        std::uint64_t size = std::uint64_t(bytes[at]) << 24 | bytes[at + 1] << 16 |
                             bytes[at + 2] << 8 | bytes[at + 3];
        boxes.emplace_back(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        if (size == 1 && at + 16 <= bytes.size()) {
            size = 0;
            for (int i = 0; i < 8; ++i) size = size << 8 | bytes[at + 8 + i];
        } else if (size == 0) {
            size = bytes.size() - at;
        }
        if (size < 8) break;
        at += size;
    }
    return boxes;
}

class HdPresetTest : public ::testing::Test {
protected:
    test::TempDir Root;
};

TEST(HdPresetNames, CommandLineNamesCaptionsPrefixesAndExtensions) {
    EXPECT_EQ(ParseOutputType("mp4-720p"), TOutputType::MP4_720p);
    EXPECT_EQ(ParseOutputType("MP4-1080P"), TOutputType::MP4_1080p);
    EXPECT_EQ(ParseOutputType("MP4 1080p"), TOutputType::MP4_1080p);
    EXPECT_EQ(ParseOutputType("dvd"), TOutputType::DVD);
    EXPECT_EQ(ParseOutputType("mp4"), std::nullopt);
    EXPECT_EQ(ParseOutputType("mp4-720"), std::nullopt);
    const TOutputPreset& hd = OutputPreset(TOutputType::MP4_1080p);
    EXPECT_EQ(std::string(hd.Prefix), "MP4-1080p-");
    EXPECT_EQ(hd.FrameWidth, 1920);
    EXPECT_EQ(hd.FrameHeight, 1080);
    // Title size and line scale with the height from DVD's 36 and 530 at 576 lines.
    EXPECT_EQ(OutputPreset(TOutputType::MP4_720p).TitleSize, 45);
    EXPECT_EQ(OutputPreset(TOutputType::MP4_720p).TitleLine, 663);
    EXPECT_EQ(hd.TitleSize, 68);
    EXPECT_EQ(hd.TitleLine, 994);
    EXPECT_STREQ(OutputExtension(TOutputType::MP4_720p), "mp4");
    EXPECT_STREQ(OutputExtension(TOutputType::DVD), "mpg");

    test::TempDir dir;
    test::WriteText(dir / "MP4-720p-0.mp4", "");
    test::WriteText(dir / "MP4-720p-1.mpg", "");  // another extension does not take the number
    EXPECT_EQ(ProposeOutputName(dir.Dir(), TOutputType::MP4_720p), dir.Dir() + "MP4-720p-1.mp4");
    EXPECT_EQ(SwitchOutputName(dir.Dir() + "VCD-4.mpg", TOutputType::MP4_1080p),
              dir.Dir() + "MP4-1080p-0.mp4");
}

TEST_F(HdPresetTest, Mp4FilesPlayEverywhereAndMatchTheComposedPicture) {
    // A picture narrower than 16:9 (bands left and right), no title, one second of dwell.
    TAlbumStore store = test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 9, ""}}, {{"M0.mp3", 4}});
    test::MakePicture(store.AlbumPath + "P0.jpg", 400, 300, "gradient:orange-navy");
    test::MakeSong(store.AlbumPath + "M0.mp3", 4);

    for (TOutputType type : {TOutputType::MP4_720p, TOutputType::MP4_1080p}) {
        const TOutputPreset& preset = OutputPreset(type);
        SCOPED_TRACE(preset.Caption);
        TProductionSettings settings;
        settings.OutputType = type;
        settings.OutputPath = Root.Dir() + preset.Prefix + "0.mp4";
        settings.Background.Colour = 0x204060;
        const TProductionReport report = RunProduction(store, settings);
        ASSERT_TRUE(report.Success) << report.FailureDetail;
        const std::string& out = settings.OutputPath;

        auto video = ProbeEntries(out, "v:0");
        EXPECT_EQ(video["codec_name"], "h264");
        EXPECT_EQ(video["profile"], "High");
        EXPECT_EQ(video["level"], "40");
        EXPECT_EQ(video["pix_fmt"], "yuv420p");
        EXPECT_EQ(video["width"], std::to_string(preset.FrameWidth));
        EXPECT_EQ(video["height"], std::to_string(preset.FrameHeight));
        EXPECT_EQ(video["r_frame_rate"], "25/1");
        EXPECT_EQ(video["sample_aspect_ratio"], "1:1");
        EXPECT_EQ(video["color_space"], "bt709");
        // The file holds the planned frames and two more (the opening frame and the last one).
        const double seconds = double(report.TotalFrames + 2) / 25;
        EXPECT_NEAR(std::stod(video["duration"]), seconds, 0.04 + 1e-9);
        EXPECT_NEAR(std::stod(video["format_duration"]), seconds, 0.04 + 1e-9);
        EXPECT_EQ(test::ProbeVideo(out).Frames, report.TotalFrames + 2);
        auto audio = ProbeEntries(out, "a:0");
        EXPECT_EQ(audio["codec_name"], "aac");
        EXPECT_EQ(audio["profile"], "LC");
        EXPECT_EQ(audio["sample_rate"], "48000");
        EXPECT_EQ(audio["channels"], "2");

        const std::vector<std::string> boxes = TopLevelBoxes(out);
        const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
        const auto mdat = std::find(boxes.begin(), boxes.end(), "mdat");
        ASSERT_NE(moov, boxes.end());
        ASSERT_NE(mdat, boxes.end());
        EXPECT_LT(moov - boxes.begin(), mdat - boxes.begin()) << "the index must come first";

        // A still frame of the picture (after its transition) against the composition.
        TFrameComposer composer(preset.FrameWidth, preset.FrameHeight, settings.Background);
        Bitmap composed;
        composer.ComposePicture(store.AlbumPath + "P0.jpg", composed);
        const Bitmap decoded =
            test::ReadVideoFrame(out, 1 + 51 + 10, preset.FrameWidth, preset.FrameHeight);
        EXPECT_GT(test::Psnr(decoded, composed), 38.0);
    }
}

TEST_F(HdPresetTest, CommandLineMakesMp4AndRefusesADiscImageOfIt) {
    test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 3, "标题"}}, {{"M0.mp3", 2}});
    test::MakePicture(Root.Dir() + "Test/P0.jpg", 300, 400, "gradient:white-black");
    test::MakeSong(Root.Dir() + "Test/M0.mp3", 2);
    const std::string out = Root.Dir() + "hd.mp4";
    auto result =
        test::RunCli({"--store", Root.Dir(), "make", "Test", "--preset", "mp4-720p", "--out", out});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const test::TProbe probe = test::ProbeVideo(out);
    EXPECT_EQ(probe.Codec, "h264");
    EXPECT_EQ(probe.Width, 1280);
    EXPECT_EQ(probe.Frames, 51 + 25 + 2);

    result = test::RunCli({"--store", Root.Dir(), "make", "Test", "--preset", "mp4-1080p", "--disc",
                           "--out", Root.Dir() + "x.mp4"});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_NE(result.Err.find("--disc"), std::string::npos) << result.Err;
    EXPECT_FALSE(fs::exists(Root.Path() / "x.mp4"));
}

}  // namespace
}  // namespace velmora
