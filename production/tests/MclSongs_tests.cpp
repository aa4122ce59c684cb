// The soundtrack reads songs through the player's own reader: a mono song is as loud in the
// video as in the player, and both accept the same files and refuse the same ones.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "audio/BassStream.h"
#include "production/MclSongs.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

std::string AudioFixture(const std::string& name) {
    return test::SourcePath("audio/tests/data/" + name).string();
}

struct TLevels {
    double Left = 0;
    double Right = 0;
};

// Peak of each channel of interleaved stereo floats, on a 16-bit scale.
template <typename T>
TLevels Peaks(const std::vector<T>& samples, double scale) {
    TLevels p;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        p.Left = std::max(p.Left, std::abs(double(samples[i])) * scale);
        p.Right = std::max(p.Right, std::abs(double(samples[i + 1])) * scale);
    }
    return p;
}

TEST(MclSongsTest, MonoSongIsAsLoudInTheVideoAsInThePlayer) {
    const std::string song = AudioFixture("mono_48k_id3v2.mp3");
    for (int rate : {44100, 48000}) {
        SCOPED_TRACE(rate);
        int error = 0;
        auto player = TBassStream::Open(song, rate, error);
        ASSERT_TRUE(player);
        std::vector<std::int16_t> heard(std::size_t(rate) * 2);
        heard.resize(std::size_t(player->Read(heard.data(), rate)) * 2);
        const TLevels inPlayer = Peaks(heard, 1.0);

        mcl::TSoundtrack soundtrack(rate, true, [&](int index, std::string& path) {
            path = song;
            return index == 0;
        });
        const TLevels inVideo = Peaks(soundtrack.Release(2 * rate), 32768.0);
        EXPECT_GT(inPlayer.Left, 3000);  // the fixture's tone (about 3900) on both sides
        EXPECT_NEAR(inPlayer.Left, inPlayer.Right, 1);
        EXPECT_NEAR(inVideo.Left, inVideo.Right, 1);
        EXPECT_NEAR(inVideo.Left, inPlayer.Left, 0.01 * inPlayer.Left);
    }
}

TEST(MclSongsTest, PlayerAndSoundtrackAcceptTheSameFiles) {
    test::TempDir dir;
    ASSERT_EQ(test::RunProgram({"ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                                "sine=frequency=440:duration=1", (dir / "tone.wav").string()}),
              0);
    std::filesystem::copy_file(AudioFixture("short_1s.mp3"), dir / "inner.mp3");
    test::WriteText(dir / "list.mp3", "ffconcat version 1.0\nfile 'inner.mp3'\n");
    const struct {
        std::string Name;
        bool Plays;
    } cases[] = {{"inner.mp3", true}, {"tone.wav", true}, {"list.mp3", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = (dir / c.Name).string();
        int error = 0;
        EXPECT_EQ(TBassStream::Open(path, 44100, error) != nullptr, c.Plays);
        mcl::TSoundtrack soundtrack(44100, true, [&](int index, std::string& name) {
            name = path;
            return index == 0;
        });
        soundtrack.Finish(44100 / 2);
        EXPECT_EQ(soundtrack.Skipped().empty(), c.Plays);
        EXPECT_EQ(mcl::ProbeSongSamples(path, 44100) > 40000, c.Plays);
    }
}

}  // namespace
}  // namespace velmora
