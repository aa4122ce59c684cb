// Moving, stepping and deleting pictures and songs of the open album, and the editor's save
// rules.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/Errors.h"
#include "store/Catalogue.h"
#include "store/ListOps.h"
#include "store/PicEdit.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

/// An album "A" with `pics` pictures P0.jpg ... (dwell 1, 2, ...) and as many songs, files
/// present, opened.
struct AlbumFixture {
    TempDir Dir;
    TAlbumStore Store;

    explicit AlbumFixture(int pics) {
        Store.RootPath = Dir.Dir();
        CreateAlbum(Store, "A");
        Store.OpenAlbum(0);
        for (int i = 0; i < pics; ++i) {
            TPicInfo pic;
            pic.Dwell = i + 1;
            pic.StoredName.SetText("P" + std::to_string(i) + ".jpg");
            Store.Pics.push_back(pic);
            TMusicInfo song;
            song.PlayTime = i + 1;
            song.StoredName.SetText("M" + std::to_string(i) + ".mp3");
            Store.Musics.push_back(song);
            test::WriteText(Dir / ("A/P" + std::to_string(i) + ".jpg"), "p");
            test::WriteText(Dir / ("A/M" + std::to_string(i) + ".mp3"), "m");
        }
        Store.PicCount = Store.MusicCount = pics;
        Store.SaveRecords("");
    }

    /// Dwell times as stored in "PicInfo".
    std::vector<int> StoredDwells() {
        TAlbumStore reread;
        reread.AlbumPath = Store.AlbumPath;
        reread.LoadRecords("P");
        std::vector<int> dwells;
        for (int i = 0; i < reread.PicCount; ++i) dwells.push_back(reread.Pics[i].Dwell);
        return dwells;
    }
    std::vector<int> StoredPlayTimes() {
        TAlbumStore reread;
        reread.AlbumPath = Store.AlbumPath;
        reread.LoadRecords("M");
        std::vector<int> times;
        for (int i = 0; i < reread.MusicCount; ++i) times.push_back(reread.Musics[i].PlayTime);
        return times;
    }
};

struct MoveCase {
    int Count, Selected;
    bool Up;
    int After;
    std::vector<int> Order;  // dwell times afterwards
};

TEST(ListOps, MovePicSwapsWithTheNeighbourAndSaves) {
    const MoveCase cases[] = {
        {3, 1, true, 0, {2, 1, 3}},   {3, 1, false, 2, {1, 3, 2}},  {3, 0, true, 0, {1, 2, 3}},
        {3, 2, false, 2, {1, 2, 3}},  {3, -1, false, 1, {2, 1, 3}},  // no selection counts as row 0
        {3, -1, true, -1, {1, 2, 3}}, {1, 0, false, 0, {1}},        {1, 0, true, 0, {1}},
    };
    for (const MoveCase& c : cases) {
        AlbumFixture album(c.Count);
        EXPECT_EQ(MovePic(album.Store, c.Selected, c.Up), c.After);
        EXPECT_EQ(album.StoredDwells(), c.Order);
        if (c.After != c.Selected) {
            EXPECT_EQ(album.Store.PicIndex, c.After);
        }
    }
}

TEST(ListOps, MoveMusicSavesTheSongs) {
    AlbumFixture album(3);
    EXPECT_EQ(MoveMusic(album.Store, -1, false), 1);
    EXPECT_EQ(album.StoredPlayTimes(), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(album.Store.MusicIndex, 1);
    EXPECT_EQ(album.StoredDwells(), (std::vector<int>{1, 2, 3}));  // pictures untouched
}

TEST(ListOps, StepSelectsTheNeighbour) {
    struct Case {
        int Count, Selected;
        bool Back;
        int After;
    };
    const Case cases[] = {{3, 1, true, 0},   {3, 1, false, 2},  {3, 0, true, 0}, {3, 2, false, 2},
                          {3, -1, false, 1}, {3, -1, true, -1}, {1, 0, false, 0}};
    for (const Case& c : cases) {
        AlbumFixture album(c.Count);
        album.Store.PicIndex = album.Store.MusicIndex = c.Selected;
        EXPECT_EQ(StepPic(album.Store, c.Selected, c.Back), c.After);
        EXPECT_EQ(album.Store.PicIndex, c.After);
        EXPECT_EQ(StepMusic(album.Store, c.Selected, c.Back), c.After);
        EXPECT_EQ(album.Store.MusicIndex, c.After);
    }
}

TEST(ListOps, DeleteCurrentPicRemovesFileAndRecord) {
    struct Case {
        int Count, Selected, After;
        std::vector<int> Left;
    };
    const Case cases[] = {{3, 0, 0, {2, 3}},
                          {3, 2, 1, {1, 2}},  // last row: new last row
                          {1, 0, -1, {}},
                          {3, -1, -1, {1, 2, 3}}};
    for (const Case& c : cases) {
        AlbumFixture album(c.Count);
        EXPECT_EQ(DeleteCurrentPic(album.Store, c.Selected), c.After);
        EXPECT_EQ(album.StoredDwells(), c.Left);
        EXPECT_EQ(album.Store.PicCount, static_cast<int>(c.Left.size()));
        if (c.Selected >= 0) {
            EXPECT_FALSE(fs::exists(album.Dir / ("A/P" + std::to_string(c.Selected) + ".jpg")));
            EXPECT_EQ(album.Store.PicIndex, c.After);
        }
    }
}

TEST(ListOps, DeletingTheOnlySongLeavesAnEmptyFile) {
    AlbumFixture album(1);
    EXPECT_EQ(DeleteCurrentMusic(album.Store, 0), -1);
    EXPECT_EQ(fs::file_size(album.Dir / "A/MusicInfo"), 0u);
    EXPECT_EQ(album.Store.MusicIndex, -1);
    EXPECT_TRUE(album.Store.Musics.empty());
    EXPECT_FALSE(fs::exists(album.Dir / "A/M0.mp3"));
    // The freed name is the next one a song import takes.
    EXPECT_EQ(NextFreeNumber(album.Store.AlbumPath, "M", "mp3"), "0");
}

TEST(ListOps, DeleteAllRemovesEveryFileButNoUnsafeOne) {
    AlbumFixture album(3);
    TempDir outside;
    test::WriteText(outside / "victim.jpg", "x");
    album.Store.Pics[1].StoredName.SetText("../../" + outside.Path().filename().string() +
                                           "/victim.jpg");
    album.Store.Pics[2].StoredName.SetText(" P2.jpg ");  // trimmed before deleting
    DeleteAllPics(album.Store);
    EXPECT_EQ(fs::file_size(album.Dir / "A/PicInfo"), 0u);
    EXPECT_EQ(album.Store.PicCount, 0);
    EXPECT_EQ(album.Store.PicIndex, -1);
    EXPECT_FALSE(fs::exists(album.Dir / "A/P0.jpg"));
    EXPECT_FALSE(fs::exists(album.Dir / "A/P2.jpg"));
    EXPECT_TRUE(fs::exists(outside / "victim.jpg"));
    EXPECT_TRUE(fs::exists(album.Dir / "A/M0.mp3"));
}

TEST(ListOps, ScrollStepsBringTheSelectedRowIntoView) {
    struct Case {
        int Selected, Top, Visible, Steps;
    };
    const Case cases[] = {{5, 0, 4, 2}, {3, 0, 4, 0},  {4, 0, 4, 1},
                          {0, 0, 4, 0}, {2, 5, 4, -3}, {-1, 5, 4, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ScrollSelectedIntoViewSteps(c.Selected, c.Top, c.Visible), c.Steps)
            << c.Selected << " " << c.Top;
    }
}

TEST(ListOps, QuestionTexts) {
    EXPECT_EQ(DeleteAllPicsQuestion(4), "本相册共有4张图片，确定全部都删除吗？");
    EXPECT_EQ(DeleteAllMusicQuestion(2), "本相册共有2首音乐，确定全部都删除吗？");
}

TEST(PicEdit, ParseDwellAcceptsOnlyPositive32BitNumbers) {
    EXPECT_EQ(ParseDwell("3"), 3);
    EXPECT_EQ(ParseDwell(" 007 "), 7);
    EXPECT_EQ(ParseDwell("2147483647"), 2147483647);
    for (const char* bad :
         {"", "0", "-1", "+3", "3s", "2147483648", "99999999999999999999", "1.5", " "}) {
        EXPECT_THROW(ParseDwell(bad), InvalidArgument) << bad;
    }
}

TEST(PicEdit, SaveTrimsAndCutsTheTitleAndChecksEveryValueFirst) {
    AlbumFixture album(2);
    SavePicEdit(album.Store, 1, {"  " + std::string(30, 'x') + "中文中文 ", 9, 105});
    TAlbumStore reread;
    reread.AlbumPath = album.Store.AlbumPath;
    reread.LoadRecords("P");
    EXPECT_EQ(reread.Pics[1].Title.Text(), std::string(30, 'x') + "中文中");  // 36 bytes
    EXPECT_EQ(reread.Pics[1].Dwell, 9);
    EXPECT_EQ(reread.Pics[1].Effect, 105);

    const auto before = test::ReadBytes(album.Dir / "A/PicInfo");
    EXPECT_THROW(SavePicEdit(album.Store, 0, {"new", 4, 106}), InvalidArgument);
    EXPECT_THROW(SavePicEdit(album.Store, 0, {"new", 0, std::nullopt}), InvalidArgument);
    EXPECT_THROW(SavePicEdit(album.Store, 2, {"new", 4, 1}), InvalidArgument);
    EXPECT_EQ(album.Store.Pics[0].Title.Text(), "");
    EXPECT_EQ(test::ReadBytes(album.Dir / "A/PicInfo"), before);
}

TEST(PicEdit, ApplyDwellToAllRewritesEveryRecord) {
    AlbumFixture album(3);
    ApplyDwellToAll(album.Store, 7);
    EXPECT_EQ(album.StoredDwells(), (std::vector<int>{7, 7, 7}));
    EXPECT_THROW(ApplyDwellToAll(album.Store, 0), InvalidArgument);
}

}  // namespace
}  // namespace velmora
