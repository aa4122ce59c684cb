// Whole renders along the paths the other tests leave out: background pictures chosen at random
// while the next picture is decoded ahead, songs of other sample rates and channel counts, and a
// song shorter than one transition. The files are read back by ffprobe and ffmpeg.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "effects/EffectRandom.h"
#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

using test::MakePicture;
using test::MakeStore;

// A sine song made by ffmpeg's command line at the given rate and channel count; in stereo
// the tone is on both channels at its full level.
void MakeToneSong(const std::string& path, double seconds, int rate, int channels) {
    std::string err;
    ASSERT_EQ(test::RunProgram({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                                "sine=frequency=440:sample_rate=" + std::to_string(rate) +
                                    ":duration=" + std::to_string(seconds),
                                "-af", channels == 1 ? "pan=mono|c0=c0" : "pan=stereo|c0=c0|c1=c0",
                                "-c:a", "libmp3lame", "-b:a", "96k", path},
                               nullptr, &err),
              0)
        << err;
}

// The file's audio decoded by ffmpeg's command line: left channel, 16-bit, 48 kHz.
std::vector<std::int16_t> LeftChannel(const std::string& path, const test::TempDir& dir) {
    const std::string raw = (dir / "left.raw").string();
    std::string err;
    EXPECT_EQ(test::RunProgram({"ffmpeg", "-v", "error", "-y", "-i", path, "-map", "0:a", "-af",
                                "pan=mono|c0=c0", "-ar", "48000", "-f", "s16le", raw},
                               nullptr, &err),
              0)
        << err;
    std::ifstream in(raw, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Root mean square over [from, to) seconds at 48 kHz.
double Rms(const std::vector<std::int16_t>& s, double from, double to) {
    const auto a = std::size_t(from * 48000), b = std::min(s.size(), std::size_t(to * 48000));
    double sum = 0;
    for (std::size_t i = a; i < b; ++i) sum += double(s[i]) * s[i];
    return b > a ? std::sqrt(sum / double(b - a)) : 0;
}

// Frequency of a tone over [from, to) seconds from its rising zero crossings.
double Frequency(const std::vector<std::int16_t>& s, double from, double to) {
    const auto a = std::size_t(from * 48000), b = std::min(s.size(), std::size_t(to * 48000));
    int rising = 0;
    for (std::size_t i = a + 1; i < b; ++i) rising += s[i - 1] < 0 && s[i] >= 0;
    return b > a ? rising / (double(b - a) / 48000) : 0;
}

class ProductionPathsTest : public ::testing::Test {
protected:
    std::string Album() const { return Root.Dir() + "Test/"; }
    test::TempDir Root;
};

// Three pictures with random effects over two background pictures: the background of each
// picture is drawn from the shared generator while the picture after it is decoded ahead on
// another thread; one seed gives the same frames twice, and every still shows one of the two
// backgrounds beside the picture.
TEST_F(ProductionPathsTest, BackgroundPicturesWithPrefetchAndRandomEffects) {
    TAlbumStore store =
        MakeStore(Root.Dir(), {{"P0.jpg", 1, 0, ""}, {"P1.jpg", 1, 0, ""}, {"P2.jpg", 1, 0, "三"}},
                  {{"M0.mp3", 4}});
    for (int i = 0; i < 3; ++i) {
        MakePicture(Album() + "P" + std::to_string(i) + ".jpg", 120, 288, "xc:#808080");
    }
    MakeToneSong(Album() + "M0.mp3", 4, 44100, 2);
    MakePicture(Root.Dir() + "red.jpg", 400, 300, "xc:#ff0000");
    MakePicture(Root.Dir() + "blue.jpg", 400, 300, "xc:#0000ff");
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "bg.mpg";
    settings.Background.UsePictures = true;
    settings.Background.Pictures = {Root.Dir() + "red.jpg", Root.Dir() + "blue.jpg"};
    auto render = [&](std::uint32_t seed) {
        TScopedSeed scoped(seed);
        std::vector<Bitmap> previews;
        TProductionHooks hooks;
        hooks.OnPreview = [&](const Bitmap& frame) { previews.push_back(frame); };
        const TProductionReport report = RunProduction(store, settings, hooks);
        EXPECT_TRUE(report.Success) << report.FailureDetail;
        EXPECT_TRUE(report.Notices.empty()) << report.Notices.front();
        return previews;
    };
    const std::vector<Bitmap> first = render(11);
    const std::vector<Bitmap> again = render(11);
    ASSERT_EQ(first.size(), again.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), again.begin()));
    // Each picture's first complete frame (the preview after its 50 transition frames): the
    // grey picture in the middle and a background colour at the left edge.
    for (std::size_t complete : {51u, 102u, 153u}) {
        ASSERT_LT(complete, first.size());
        const std::uint32_t edge = first[complete].RgbAt(2, 144);
        const int red = int(edge >> 16), green = int((edge >> 8) & 0xff), blue = int(edge & 0xff);
        EXPECT_TRUE(green < 8 && ((red > 247 && blue < 8) || (blue > 247 && red < 8)))
            << std::hex << edge;
        const std::uint32_t middle = first[complete].RgbAt(160, 144);
        EXPECT_NEAR(int(middle & 0xff), 0x80, 3) << std::hex << middle;
    }
    const test::TProbe probe = test::ProbeVideo(settings.OutputPath);
    EXPECT_NEAR(probe.Frames, 3 * 76 + 2, 1);
}

struct TSongCase {
    const char* Name;
    int Rate;
    int Channels;
    TOutputType Type;
};

class ProductionSongTest : public ProductionPathsTest,
                           public ::testing::WithParamInterface<TSongCase> {};

// Songs at other rates and channel counts than the output's play at their own pitch for the
// whole video, a mono song at the level of the same song in stereo.
TEST_P(ProductionSongTest, SongsOfOtherFormatsPlayThroughTheVideo) {
    const TSongCase& c = GetParam();
    TAlbumStore store =
        MakeStore(Root.Dir(), {{"P0.jpg", 2, 1, ""}}, {{"M0.mp3", 4}, {"M1.mp3", 4}});
    MakePicture(Album() + "P0.jpg", 320, 288, "gradient:red-blue");
    MakeToneSong(Album() + "M0.mp3", 4, c.Rate, c.Channels);
    MakeToneSong(Album() + "M1.mp3", 4, 44100, 2);
    TProductionSettings settings;
    settings.OutputType = c.Type;
    settings.OutputPath = Root.Dir() + "song.mpg";
    // The song alone, then the same tone in stereo at 44.1 kHz as the measure of level.
    std::vector<double> levels;
    for (int song : {0, 1}) {
        TAlbumStore one = store;
        one.Musics = {store.Musics[std::size_t(song)]};
        const TProductionReport report = RunProduction(one, settings);
        ASSERT_TRUE(report.Success) << report.FailureDetail;
        EXPECT_TRUE(report.Notices.empty());
        const auto left = LeftChannel(settings.OutputPath, Root);
        const double seconds = double(report.TotalFrames) / 25;
        EXPECT_NEAR(double(left.size()) / 48000, seconds, 0.2);
        EXPECT_NEAR(Frequency(left, 0.5, seconds - 0.5), 440, 10);
        levels.push_back(Rms(left, 0.5, seconds - 0.5));
    }
    EXPECT_GT(levels[1], 1000);
    EXPECT_NEAR(levels[0], levels[1], 0.1 * levels[1]);
}

INSTANTIATE_TEST_SUITE_P(Songs, ProductionSongTest,
                         ::testing::Values(TSongCase{"Mono22050OnVcd", 22050, 1, TOutputType::VCD},
                                           TSongCase{"Stereo48000OnVcd", 48000, 2,
                                                     TOutputType::VCD},
                                           TSongCase{"Mono48000OnDvd", 48000, 1, TOutputType::DVD},
                                           TSongCase{"Mono22050OnDvd", 22050, 1, TOutputType::DVD}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A half-second song under a video whose first transition alone lasts two seconds: the tone,
// then silence to the end; audio and video end together.
TEST_F(ProductionPathsTest, SongShorterThanOneTransition) {
    TAlbumStore store =
        MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}, {"P1.jpg", 1, 5, ""}}, {{"M0.mp3", 1}});
    MakePicture(Album() + "P0.jpg", 320, 288, "gradient:red-blue");
    MakePicture(Album() + "P1.jpg", 320, 288, "gradient:yellow-green");
    MakeToneSong(Album() + "M0.mp3", 0.5, 44100, 2);
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "short.mpg";
    const TProductionReport report = RunProduction(store, settings);
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    EXPECT_TRUE(report.Notices.empty());
    const test::TProbe probe = test::ProbeVideo(settings.OutputPath);
    EXPECT_NEAR(probe.Frames, report.TotalFrames + 2, 1);
    const auto left = LeftChannel(settings.OutputPath, Root);
    EXPECT_NEAR(double(left.size()) / 48000, probe.Duration, 0.2);
    EXPECT_NEAR(Frequency(left, 0.1, 0.4), 440, 15);
    EXPECT_LT(Rms(left, 1.0, probe.Duration - 0.2), 50);
}

}  // namespace
}  // namespace velmora
