// The audio commands of velmora-cli, run as a real process.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "store/Catalogue.h"
#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::RunCli;
using test::SourcePath;

std::string Fixture(const std::string& name) {
    return SourcePath("audio/tests/data/" + name).string();
}

TEST(AudioCli, TagAsJson) {
    const auto r = RunCli({"tag", Fixture("tag_id3v1.mp3"), "--json"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    const auto j = nlohmann::json::parse(r.Out);
    EXPECT_EQ(j["Exists"], true);
    EXPECT_EQ(j["Version"], 2);
    EXPECT_EQ(j["Title"], "Fixture Title");
    EXPECT_EQ(j["Artist"], "Fixture Artist");
    EXPECT_EQ(j["Album"], "Fixture Album");
    EXPECT_EQ(j["Year"], "2001");
    EXPECT_EQ(j["Comment"], "a comment");
    EXPECT_EQ(j["Track"], 7);
    EXPECT_EQ(j["Genre"], 13);

    const auto none = RunCli({"tag", "--json", Fixture("cbr128_44k_stereo.mp3")});
    ASSERT_EQ(none.ExitCode, 0);
    const auto n = nlohmann::json::parse(none.Out);
    EXPECT_EQ(n["Exists"], false);
    EXPECT_EQ(n["Genre"], 255);
    EXPECT_EQ(n["Title"], "");
}

TEST(AudioCli, TagTextInTheSystemCodePageBecomesUtf8) {
    test::TempDir dir;
    std::vector<std::uint8_t> file(200, 0);
    std::vector<std::uint8_t> block(128, 0);
    const std::string title = "\xc4\xe3\xba\xc3";  // 你好 in GBK
    std::copy(std::begin("TAG"), std::end("TAG") - 1, block.begin());
    std::copy(title.begin(), title.end(), block.begin() + 3);
    file.insert(file.end(), block.begin(), block.end());
    test::WriteBytes(dir / "gbk.mp3", file);
    const auto r = RunCli({"tag", "--json", (dir / "gbk.mp3").string()});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(nlohmann::json::parse(r.Out)["Title"], "你好");
}

// Raw control bytes (below 0x20, line ends aside) anywhere in a text.
bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\n'; });
}

TEST(AudioCli, ControlCharactersInTagsAndNamesShowEscapedAndStayExactInJson) {
    test::TempDir root;
    {
        TAlbumStore store;
        store.RootPath = root.Dir();
        CreateAlbum(store, "esc");
    }
    // A playable song whose ID3v1 tag holds a colour sequence and a bell, under a file name
    // holding the colour sequence too.
    const std::string title = "Ti\x1b[31mt\x07le";
    const std::string artist = "Art\x1b[0mist";
    std::vector<std::uint8_t> file = test::ReadBytes(Fixture("short_1s.mp3"));
    std::vector<std::uint8_t> block(128, 0);
    std::copy(std::begin("TAG"), std::end("TAG") - 1, block.begin());
    std::copy(title.begin(), title.end(), block.begin() + 3);
    std::copy(artist.begin(), artist.end(), block.begin() + 33);
    block[126] = 1;  // track: ID3v1.1
    file.insert(file.end(), block.begin(), block.end());
    const std::string song = (root / "s\x1b[31mong.mp3").string();
    test::WriteBytes(song, file);

    const auto text = RunCli({"tag", song});
    ASSERT_EQ(text.ExitCode, 0) << text.Err;
    EXPECT_FALSE(HasControl(text.Out)) << text.Out;
    EXPECT_NE(text.Out.find("Title: Ti\\x1b[31mt\\x07le\n"), std::string::npos) << text.Out;
    EXPECT_NE(text.Out.find("Artist: Art\\x1b[0mist\n"), std::string::npos) << text.Out;
    const auto json = RunCli({"tag", "--json", song});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    EXPECT_EQ(nlohmann::json::parse(json.Out)["Title"], title);
    EXPECT_EQ(nlohmann::json::parse(json.Out)["Artist"], artist);

    const auto imported = RunCli({"--store", root.Dir(), "import-music", "esc", song});
    ASSERT_EQ(imported.ExitCode, 0) << imported.Err;
    EXPECT_FALSE(HasControl(imported.Err)) << imported.Err;
    EXPECT_NE(imported.Err.find("s\\x1b[31mong.mp3"), std::string::npos) << imported.Err;
    const auto songs = RunCli({"--store", root.Dir(), "songs", "esc"});
    EXPECT_FALSE(HasControl(songs.Out)) << songs.Out;
    EXPECT_NE(songs.Out.find("Art\\x1b[0mist"), std::string::npos) << songs.Out;
    const auto songsJson = RunCli({"--store", root.Dir(), "songs", "esc", "--json"});
    EXPECT_EQ(nlohmann::json::parse(songsJson.Out)[0]["Singer"], artist);

    const auto missing = RunCli({"playtime", (root / "n\x1b[2Jo.mp3").string()});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_FALSE(HasControl(missing.Err)) << missing.Err;
    EXPECT_NE(missing.Err.find("n\\x1b[2Jo.mp3"), std::string::npos) << missing.Err;
}

TEST(AudioCli, ImportMusicIntoAnAlbum) {
    test::TempDir root;
    {
        TAlbumStore store;
        store.RootPath = root.Dir();
        CreateAlbum(store, "旅行");
    }
    const std::string missing = (root / "missing.mp3").string();
    const auto r = RunCli({"--store", root.Dir(), "import-music", "旅行", Fixture("tag_id3v1.mp3"),
                           missing, Fixture("short_1s.mp3")});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("(1/3) " + Fixture("tag_id3v1.mp3") + "\n"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("(3/3) " + Fixture("short_1s.mp3") + "\n"), std::string::npos);
    EXPECT_NE(r.Err.find("not copied: " + missing), std::string::npos);
    EXPECT_EQ(r.Out, "imported 2 of 3 songs into 旅行\n");

    TAlbumStore store;
    store.RootPath = root.Dir();
    store.LoadRecords("A");
    store.OpenAlbum(FindAlbum(store, "旅行"));
    ASSERT_EQ(store.MusicCount, 2);
    EXPECT_EQ(store.Musics[0].StoredName.Text(), "M0.mp3");
    EXPECT_EQ(store.Musics[0].Singer.Text(), "Fixture Artist");
    EXPECT_EQ(store.Musics[0].PlayTime, 3);
    EXPECT_EQ(store.Musics[1].StoredName.Text(), "M1.mp3");
    EXPECT_EQ(store.Musics[1].PlayTime, 1);

    const auto none =
        RunCli({"--store", root.Dir(), "import-music", "nowhere", Fixture("short_1s.mp3")});
    EXPECT_EQ(none.ExitCode, 1);
    EXPECT_EQ(RunCli({"--store", root.Dir(), "import-music", "旅行"}).ExitCode, 2);
}

TEST(AudioCli, FailuresAndUsage) {
    const struct {
        std::vector<std::string> Args;
        int Exit;
    } cases[] = {
        {{"tag", Fixture("no_such.mp3")}, 1},
        {{"playtime", Fixture("not_audio.mp3")}, 1},
        {{"playtime", Fixture("no_such.mp3")}, 1},
        {{"play", Fixture("not_audio.mp3")}, 1},
        {{"tag"}, 2},
        {{"playtime"}, 2},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.Args);
        EXPECT_EQ(r.ExitCode, c.Exit) << c.Args[0] << " " << r.Err;
        if (c.Exit == 1) {
            EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
        }
    }
}

TEST(AudioCli, PlayTimeInSeconds) {
    const auto r = RunCli({"playtime", Fixture("vbr_xing_44k_stereo.mp3")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_NEAR(std::stod(r.Out), 3.0302, 0.1);
}

TEST(AudioCli, PlayWithoutTerminalPlaysToTheEnd) {
    const auto start = std::chrono::steady_clock::now();
    const auto r = RunCli({"play", Fixture("short_1s.mp3")}, "q q q");  // keys are not read
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_NE(r.Out.find("played"), std::string::npos);
    // A one-second file cannot end sooner on a driver that plays in real time; the upper
    // figure is only a generous limit for a play that would never end.
    EXPECT_GT(wall, 1.0);
    EXPECT_LT(wall, 120.0);
}

// With no usable sound driver the engine falls back to the silent one by itself and still
// plays in real time.
TEST(AudioCli, PlayFallsBackToTheSilentDriver) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string previous = saved ? saved : "";
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const auto start = std::chrono::steady_clock::now();
    const auto r = RunCli({"play", Fixture("short_1s.mp3")});
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (saved) {
        ::setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    } else {
        ::unsetenv("SDL_AUDIODRIVER");
    }
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_GT(wall, 1.0);
}

}  // namespace
}  // namespace velmora
