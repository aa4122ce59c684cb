// The production run end to end: small albums rendered through the media layer and checked with
// ffprobe and ffmpeg's decoder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/Errors.h"
#include "effects/EffectRandom.h"
#include "production/ComposePicture.h"
#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

using test::MakePicture;
using test::MakeSong;
using test::MakeStore;
using test::TTestPicture;

/// What the hooks of a run saw.
struct TSeen {
    std::vector<TProgressInfo> Progress;
    std::vector<Bitmap> Previews;
};

TProductionHooks Collect(TSeen& seen) {
    TProductionHooks hooks;
    hooks.OnProgress = [&seen](const TProgressInfo& info) { seen.Progress.push_back(info); };
    hooks.OnPreview = [&seen](const Bitmap& frame) { seen.Previews.push_back(frame); };
    return hooks;
}

/// The composed picture of a file as the run makes it (colour fill black).
Bitmap Composed(const std::string& path, TOutputType type) {
    const TOutputPreset& preset = OutputPreset(type);
    TFrameComposer composer(preset.FrameWidth, preset.FrameHeight, {});
    Bitmap frame;
    composer.ComposePicture(path, frame);
    return frame;
}

bool IsBlack(const Bitmap& frame, int tolerance) {
    for (int y = 0; y < frame.Height(); ++y) {
        for (int i = 0; i < 3 * frame.Width(); ++i) {
            if (frame.Row(y)[i] > tolerance) return false;
        }
    }
    return true;
}

class ProductionRunTest : public ::testing::Test {
protected:
    std::string Album() const { return Root.Dir() + "Test/"; }
    std::string Output(const std::string& name) const { return Root.Dir() + name; }

    test::TempDir Root;
};

TEST_F(ProductionRunTest, OnePictureOfDwellFiveOnVcd) {
    TAlbumStore store = MakeStore(Root.Dir(), {{"P0.jpg", 5, 1, ""}}, {{"M0.mp3", 3}});
    MakePicture(Album() + "P0.jpg", 400, 300, "gradient:#2060c0-#e0c020");
    MakeSong(Album() + "M0.mp3", 3);
    TProductionSettings settings;
    settings.OutputPath = "  " + Output("VCD-0.mpg") + " ";
    TSeen seen;
    const TProductionReport report = RunProduction(store, settings, Collect(seen));

    ASSERT_TRUE(report.Success) << report.FailureDetail;
    EXPECT_FALSE(report.Stopped);
    EXPECT_EQ(report.Text, RunSuccessText);
    EXPECT_EQ(report.TotalFrames, 176);
    EXPECT_EQ(report.OutputPath, Output("VCD-0.mpg"));

    // Progress texts at the first and the last planned frame.
    auto at = [&](std::int64_t position) -> const TProgressInfo* {
        for (const TProgressInfo& info : seen.Progress) {
            if (info.Stage == 3 && info.Position == position) return &info;
        }
        return nullptr;
    };
    ASSERT_NE(at(1), nullptr);
    EXPECT_EQ(at(1)->Texts.Progress, "完成进度：0%");
    ASSERT_NE(at(176), nullptr);
    EXPECT_EQ(at(176)->Texts.Progress, "完成进度：100%");
    EXPECT_EQ(at(176)->Texts.Time.rfind("剩余时间: ", 0), 0u);
    EXPECT_EQ(seen.Progress.back().Stage, 0);
    EXPECT_EQ(seen.Progress.back().Texts.Time.rfind("共用时间: ", 0), 0u);

    // The preview gets the opening frame, the 50 transition frames and the first complete
    // frame, nothing of the later still frames.
    ASSERT_EQ(seen.Previews.size(), 52u);
    EXPECT_TRUE(IsBlack(seen.Previews.front(), 0));
    const Bitmap composed = Composed(Album() + "P0.jpg", TOutputType::VCD);
    EXPECT_TRUE(seen.Previews.back() == composed);

    // The file: TotalFrames + 2 frames of MPEG-1 at 352 x 288.
    const test::TProbe probe = test::ProbeVideo(report.OutputPath);
    EXPECT_EQ(probe.Codec, "mpeg1video");
    EXPECT_EQ(probe.Width, 352);
    EXPECT_EQ(probe.Height, 288);
    EXPECT_NEAR(probe.Frames, 178, 1);
    EXPECT_NEAR(probe.Duration, 178 / 25.0, 1 / 25.0 + 0.001);
    // The first frame is black; a frame in the middle of the still equals the composition.
    EXPECT_TRUE(IsBlack(test::ReadVideoFrame(report.OutputPath, 0, 320, 288), 24));
    const Bitmap still = test::ReadVideoFrame(report.OutputPath, 52 + 62, 320, 288);
    EXPECT_GT(test::Psnr(still, composed), 30.0);
}

struct TPresetCase {
    TOutputType Type;
    const char* Codec;
    int Width;
    int Height;
};

class ProductionPresetTest : public ProductionRunTest,
                             public ::testing::WithParamInterface<TPresetCase> {};

TEST_P(ProductionPresetTest, RendersTwoPicturesWithTitles) {
    const TPresetCase& param = GetParam();
    TAlbumStore store = MakeStore(
        Root.Dir(), {{"P0.jpg", 1, 2, "春天 Spring"}, {"P1.jpg", 1, 37, "夏天"}}, {{"M0.mp3", 2}});
    MakePicture(Album() + "P0.jpg", 640, 240, "gradient:#c02020-#2020c0");  // wider
    MakePicture(Album() + "P1.jpg", 240, 500, "gradient:#20c020-#202060");  // taller
    MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputType = param.Type;
    settings.OutputPath = Output("out.mpg");
    const TProductionReport report = RunProduction(store, settings);
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    EXPECT_EQ(report.TotalFrames, 2 * 51 + 2 * 25);

    const test::TProbe probe = test::ProbeVideo(report.OutputPath);
    EXPECT_EQ(probe.Codec, param.Codec);
    EXPECT_EQ(probe.Width, param.Width);
    EXPECT_EQ(probe.Height, param.Height);
    EXPECT_NEAR(probe.Frames, report.TotalFrames + 2, 1);
    EXPECT_NEAR(probe.Duration, (report.TotalFrames + 2) / 25.0, 1 / 25.0 + 0.001);

    // The second picture's still, above its title line, equals its composition; below the
    // title line the title makes the frame differ.
    const TOutputPreset& preset = OutputPreset(param.Type);
    const Bitmap composed = Composed(Album() + "P1.jpg", param.Type);
    const int frame = 1 + 76 + 52 + 12;
    const Bitmap still =
        test::ReadVideoFrame(report.OutputPath, frame, preset.FrameWidth, preset.FrameHeight);
    const int titleTop = preset.TitleLine - 4;
    EXPECT_GT(test::Psnr(still, composed, 0, titleTop), 30.0);
    EXPECT_LT(test::Psnr(still, composed, titleTop, preset.FrameHeight), 30.0);
}

INSTANTIATE_TEST_SUITE_P(Presets, ProductionPresetTest,
                         ::testing::Values(TPresetCase{TOutputType::VCD, "mpeg1video", 352, 288},
                                           TPresetCase{TOutputType::SVCD, "mpeg2video", 480, 576},
                                           TPresetCase{TOutputType::DVD, "mpeg2video", 720, 576}),
                         [](const auto& info) {
                             return std::string(OutputPreset(info.param.Type).Caption);
                         });

TEST_F(ProductionRunTest, StopLeavesAShorterPlayableFile) {
    TAlbumStore store = MakeStore(Root.Dir(), {{"P0.jpg", 20, 5, "stop"}}, {{"M0.mp3", 2}});
    MakePicture(Album() + "P0.jpg", 320, 288, "gradient:white-black");
    MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputPath = Output("stopped.mpg");
    int calls = 0;
    TProductionHooks hooks;
    hooks.ShouldStop = [&calls] { return ++calls >= 60; };
    const TProductionReport report = RunProduction(store, settings, hooks);
    EXPECT_TRUE(report.Stopped);
    EXPECT_TRUE(report.Success) << report.FailureDetail;
    EXPECT_EQ(report.Text, RunSuccessText);
    const test::TProbe probe = test::ProbeVideo(report.OutputPath);
    EXPECT_GE(probe.Frames, 55);
    EXPECT_LT(probe.Frames, 551 / 2);
}

TEST_F(ProductionRunTest, MissingPictureShowsTheBackgroundAndIsReported) {
    TAlbumStore store =
        MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}, {"P9.jpg", 1, 1, ""}}, {{"M0.mp3", 2}});
    MakePicture(Album() + "P0.jpg", 320, 288, "xc:#808080");
    MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputPath = Output("missing.mpg");
    settings.Background.Colour = 0x204080;
    TSeen seen;
    const TProductionReport report = RunProduction(store, settings, Collect(seen));
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    ASSERT_EQ(report.Notices.size(), 1u);
    EXPECT_NE(report.Notices[0].find(Album() + "P9.jpg"), std::string::npos);
    // Its slot runs to the end with the fill colour alone.
    ASSERT_EQ(seen.Previews.size(), 1u + 2 * 51);
    Bitmap fill(320, 288);
    fill.FillRgb(0x204080);
    EXPECT_TRUE(seen.Previews.back() == fill);
    EXPECT_NEAR(test::ProbeVideo(report.OutputPath).Frames, report.TotalFrames + 2, 1);
}

/// Sum of absolute differences between horizontal neighbours: how sharp a frame is.
std::int64_t Sharpness(const Bitmap& frame) {
    std::int64_t sum = 0;
    for (int y = 0; y < frame.Height(); ++y) {
        const std::uint8_t* row = frame.Row(y);
        for (int i = 3; i < 3 * frame.Width(); ++i) sum += std::abs(row[i] - row[i - 3]);
    }
    return sum;
}

TEST_F(ProductionRunTest, FadeSoftensTheStillFramesOneStepEach) {
    TAlbumStore store = MakeStore(Root.Dir(), {{"P0.bmp", 2, 1, ""}}, {{"M0.mp3", 2}});
    std::string err;
    ASSERT_EQ(test::RunProgram({"convert", "-size", "320x288", "pattern:checkerboard", "-type",
                                "TrueColor", "BMP3:" + Album() + "P0.bmp"},
                               nullptr, &err),
              0)
        << err;
    MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputPath = Output("fade.mpg");
    settings.Fade = true;
    TSeen seen;
    const TProductionReport report = RunProduction(store, settings, Collect(seen));
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    // The first complete frame is the sharp composition itself.
    EXPECT_TRUE(seen.Previews.back() == Composed(Album() + "P0.bmp", TOutputType::VCD));
    // In the file, each later still frame is softer than the one before.
    std::int64_t previous = Sharpness(test::ReadVideoFrame(report.OutputPath, 52, 320, 288));
    for (int frame : {54, 62, 90}) {
        const std::int64_t sharpness =
            Sharpness(test::ReadVideoFrame(report.OutputPath, frame, 320, 288));
        EXPECT_LT(sharpness, previous) << "frame " << frame;
        previous = sharpness;
    }
}

TEST_F(ProductionRunTest, RefusesWhatCannotRun) {
    TAlbumStore store =
        MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}, {"P1.jpg", 1, 1, ""}}, {{"M0.mp3", 4}});
    TProductionSettings settings;
    settings.OutputPath = Output("never.mpg");
    settings.Sync = true;
    // Exactly 2 x pictures seconds of music is too short for sync.
    EXPECT_EQ(CheckProduction(store, settings), SyncTooShortText);
    EXPECT_THROW(RunProduction(store, settings), InvalidArgument);
    EXPECT_FALSE(std::filesystem::exists(Output("never.mpg")));
    store.Musics[0].PlayTime = 5;
    EXPECT_EQ(CheckProduction(store, settings), "");

    settings.Sync = false;
    store.Pics[0].Dwell = 24 * 3600;
    EXPECT_NE(CheckProduction(store, settings).find("24 hours"), std::string::npos);
    store.Pics[0].Dwell = 1;
    store.Musics.clear();
    EXPECT_NE(CheckProduction(store, settings), "");
    settings.OutputPath = " ";
    EXPECT_NE(CheckProduction(store, settings), "");
}

TEST_F(ProductionRunTest, SeedReproducesRandomEffects) {
    TAlbumStore store =
        MakeStore(Root.Dir(), {{"P0.jpg", 1, 0, ""}, {"P1.jpg", 1, 0, ""}}, {{"M0.mp3", 2}});
    MakePicture(Album() + "P0.jpg", 320, 288, "gradient:red-blue");
    MakePicture(Album() + "P1.jpg", 320, 288, "gradient:yellow-green");
    MakeSong(Album() + "M0.mp3", 2);
    auto render = [&](std::uint32_t seed) {
        TScopedSeed scoped(seed);
        TProductionSettings settings;
        settings.OutputPath = Output("seed.mpg");
        TSeen seen;
        EXPECT_TRUE(RunProduction(store, settings, Collect(seen)).Success);
        return seen.Previews;
    };
    const auto first = render(7);
    const auto again = render(7);
    const auto other = render(8);
    ASSERT_EQ(first.size(), again.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), again.begin()));
    EXPECT_FALSE(std::equal(first.begin(), first.end(), other.begin()));
}

}  // namespace
}  // namespace velmora
