// The music import loop on a real album folder: numbering, records, cancel, failed copies.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "audio/BassEngine.h"
#include "audio/MusicImport.h"
#include "store/PictureImport.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::SourcePath;
using test::TempDir;

std::string Fixture(const std::string& name) {
    return SourcePath("audio/tests/data/" + name).string();
}

// An album folder in a temporary store, current in `Store`, with no songs yet.
class ImportTest : public ::testing::Test {
protected:
    ImportTest() {
        Engine.BASS_Init(0, 44100, 0, nullptr);  // measuring only, no device
        Store.RootPath = Root.Dir();
        Store.AlbumPath = Root.Dir() + "Album1/";
        fs::create_directories(Store.AlbumPath);
    }
    std::vector<TMusicInfo> SavedRecords() const {
        TAlbumStore fresh;
        fresh.RootPath = Store.RootPath;
        fresh.AlbumPath = Store.AlbumPath;
        fresh.LoadRecords("M");
        return {fresh.Musics.begin(), fresh.Musics.begin() + fresh.MusicCount};
    }
    std::vector<std::string> AlbumFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Store.AlbumPath)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir Root;
    TAlbumStore Store;
    TBassEngine Engine;
};

TEST_F(ImportTest, FillsGapsAndRecordsTagAndPlayTime) {
    test::WriteText(fs::path(Store.AlbumPath) / "M0.mp3", "old");
    test::WriteText(fs::path(Store.AlbumPath) / "M2.mp3", "old");
    std::vector<std::tuple<int, int, std::string>> progress;
    TMusicImportHooks hooks;
    hooks.OnProgress = [&](int n, int count, const std::string& path) {
        progress.emplace_back(n, count, path);
    };
    const auto result = ImportMusic(
        Store, Engine, {Fixture("tag_id3v1.mp3"), Fixture("cbr128_44k_stereo.mp3")}, hooks);
    EXPECT_TRUE(result.Result);
    EXPECT_EQ(result.Imported, 2);
    EXPECT_TRUE(result.Skipped.empty());
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_EQ(progress[1], std::make_tuple(2, 2, Fixture("cbr128_44k_stereo.mp3")));
    EXPECT_EQ(AlbumFiles(),
              (std::vector<std::string>{"M0.mp3", "M1.mp3", "M2.mp3", "M3.mp3", "MusicInfo"}));
    EXPECT_EQ(test::ReadBytes(fs::path(Store.AlbumPath) / "M1.mp3"),
              test::ReadBytes(Fixture("tag_id3v1.mp3")));
    const auto records = SavedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].PlayTime, 3);  // 3.03 s, truncated
    EXPECT_EQ(records[0].StoredName.Text(), "M1.mp3");
    EXPECT_EQ(records[0].SongName.Text(), "tag_id3v1.mp3");
    EXPECT_EQ(records[0].Singer.Text(), "Fixture Artist");
    EXPECT_EQ(records[0].Remark.Text(), "a comment");
    EXPECT_EQ(records[1].StoredName.Text(), "M3.mp3");
    EXPECT_EQ(records[1].SongName.Text(), "cbr128_44k_stereo.mp3");
    EXPECT_TRUE(records[1].Singer.IsEmpty());
    EXPECT_TRUE(records[1].Remark.IsEmpty());
    EXPECT_EQ(Store.MusicCount, 2);
}

TEST_F(ImportTest, CancelDuringTheFirstFileStopsBeforeTheThird) {
    // The click while file 1 is copied is seen when file 2 processes its messages.
    bool cancel = false;
    TMusicImportHooks hooks;
    hooks.CancelRequested = [&] { return cancel; };
    hooks.OnProgress = [&](int n, int, const std::string&) {
        if (n == 2) cancel = true;
    };
    const std::vector<std::string> four = {Fixture("short_1s.mp3"), Fixture("tag_both.mp3"),
                                           Fixture("tag_id3v1.mp3"), Fixture("mono_48k_id3v2.mp3")};
    const auto result = ImportMusic(Store, Engine, four, hooks);
    EXPECT_TRUE(result.Result);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Imported, 2);
    const auto records = SavedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].SongName.Text(), "short_1s.mp3");
    EXPECT_EQ(records[1].SongName.Text(), "tag_both.mp3");
    EXPECT_EQ(records[1].Singer.Text(), "Singer Two");
    EXPECT_EQ(AlbumFiles(), (std::vector<std::string>{"M0.mp3", "M1.mp3", "MusicInfo"}));
}

TEST_F(ImportTest, EmptyListStillSavesTheSongRecords) {
    const auto result = ImportMusic(Store, Engine, {});
    EXPECT_FALSE(result.Result);
    EXPECT_EQ(result.Imported, 0);
    ASSERT_TRUE(fs::exists(fs::path(Store.AlbumPath) / "MusicInfo"));
    EXPECT_EQ(fs::file_size(fs::path(Store.AlbumPath) / "MusicInfo"), 0u);
}

TEST_F(ImportTest, FailedCopiesAreSkippedAndLeaveNothingBehind) {
    TempDir other;
    fs::create_directories(other / "a");
    fs::create_directories(other / "b");
    fs::copy_file(Fixture("short_1s.mp3"), other / "a" / "song.mp3");
    fs::copy_file(Fixture("tag_id3v1.mp3"), other / "b" / "song.mp3");
    fs::create_directories(other / "folder.mp3");
    const std::vector<std::string> sources = {
        (other / "missing.mp3").string(), (other / "a" / "song.mp3").string(),
        (other / "folder.mp3").string(), (other / "b" / "song.mp3").string(),
        Fixture("not_audio.mp3")};
    const auto result = ImportMusic(Store, Engine, sources);
    EXPECT_TRUE(result.Result);
    EXPECT_EQ(result.Imported, 3);
    EXPECT_EQ(result.Skipped, (std::vector<std::string>{sources[0], sources[2]}));
    // No temporary file is left; numbers go on without gaps.
    EXPECT_EQ(AlbumFiles(), (std::vector<std::string>{"M0.mp3", "M1.mp3", "M2.mp3", "MusicInfo"}));
    const auto records = SavedRecords();
    ASSERT_EQ(records.size(), 3u);
    // Two sources of the same name: two copies, two records with the same song name.
    EXPECT_EQ(records[0].SongName.Text(), "song.mp3");
    EXPECT_EQ(records[1].SongName.Text(), "song.mp3");
    EXPECT_EQ(records[0].PlayTime, 1);
    EXPECT_EQ(records[1].Singer.Text(), "Fixture Artist");
    // A copied file that is no audio gets the library's failure value: no play time.
    EXPECT_EQ(records[2].PlayTime, 0);
    EXPECT_EQ(records[2].StoredName.Text(), "M2.mp3");
}

TEST(MusicImportText, ProgressAndCopy) {
    EXPECT_EQ(ImportProgressCaption(3, 10), "正在导入文件：（3/10）");
    TempDir dir;
    test::WriteText(dir / "dest.mp3", "old content that is longer");
    test::WriteText(dir / "src.mp3", "new");
    EXPECT_TRUE(CopyFileReplacing((dir / "src.mp3").string(), (dir / "dest.mp3").string()));
    EXPECT_EQ(test::ReadBytes(dir / "dest.mp3"), test::ReadBytes(dir / "src.mp3"));
    EXPECT_FALSE(CopyFileReplacing((dir / "src.mp3").string(), (dir / "no" / "d.mp3").string()));
    EXPECT_FALSE(CopyFileReplacing(dir.Path().string(), (dir / "x.mp3").string()));
    std::size_t files = 0;
    for (auto it = fs::directory_iterator(dir.Path()); it != fs::directory_iterator(); ++it) {
        ++files;
    }
    EXPECT_EQ(files, 2u);
}

// A copy that fails halfway (the file size limit stands in for a full disk) keeps the old
// destination and leaves no temporary file.
TEST(MusicImportText, CopyFailingHalfwayLeavesNothing) {
    TempDir dir;
    test::WriteText(dir / "dest.mp3", "old");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = 10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool copied =
        CopyFileReplacing(Fixture("cbr128_44k_stereo.mp3"), (dir / "dest.mp3").string());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(copied);
    EXPECT_EQ(fs::file_size(dir / "dest.mp3"), 3u);
    std::size_t files = 0;
    for (auto it = fs::directory_iterator(dir.Path()); it != fs::directory_iterator(); ++it) {
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace velmora
