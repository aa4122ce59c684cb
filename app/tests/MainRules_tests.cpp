// The main window's rules without a window: the captions of the two pages and every row of
// the enabling table, with the titles RefreshState shows.

#include <gtest/gtest.h>

#include "app/MainRules.h"

namespace velmora::ui {
namespace {

TMainInputs Pictures(int rows, int selected) {
    TMainInputs in;
    in.Page = PagePictures;
    in.Rows = in.PicRows = rows;
    in.Selected = selected;
    in.AlbumRows = 1;
    in.AlbumSelected = 0;
    in.AlbumCurrent = true;
    in.AlbumName = QStringLiteral("旅行");
    return in;
}

TMainInputs Songs(int rows, int selected) {
    TMainInputs in = Pictures(0, -1);
    in.Page = PageSongs;
    in.Rows = in.MusicRows = rows;
    in.Selected = selected;
    return in;
}

TEST(PageCaptions, FollowThePage) {
    const TPageCaptions pics = PageCaptions(PagePictures);
    EXPECT_EQ(pics.DelAll, "删除全部图片");
    EXPECT_EQ(pics.DelOne, "删除当前图片");
    EXPECT_EQ(pics.Edit, "编辑图片信息");
    EXPECT_TRUE(pics.EditVisible);
    EXPECT_EQ(pics.Add, "继续加入图片");
    const TPageCaptions songs = PageCaptions(PageSongs);
    EXPECT_EQ(songs.DelAll, "删除全部音乐");
    EXPECT_EQ(songs.DelOne, "删除当前音乐");
    EXPECT_EQ(songs.Edit, "编辑音乐信息");
    EXPECT_FALSE(songs.EditVisible);
    EXPECT_EQ(songs.Add, "继续加入音乐");
}

TEST(MainView, ArrowsFollowTheSelection) {
    struct Case {
        int rows, selected;
        bool up, down;
    };
    // BtnUP/BtnPP: S >= 1; BtnDP/BtnNP: S <> N - 1.
    for (const Case& c : {Case{5, 2, true, true}, Case{5, 4, true, false},
                          Case{5, 0, false, true}, Case{5, -1, false, true},
                          Case{1, 0, false, false}, Case{0, -1, false, false}}) {
        for (const TMainInputs& in : {Pictures(c.rows, c.selected), Songs(c.rows, c.selected)}) {
            const TMainView view = ComputeMainView(in);
            SCOPED_TRACE(testing::Message() << "page " << in.Page << " N " << c.rows << " S "
                                            << c.selected);
            EXPECT_EQ(view.Up, c.up);
            EXPECT_EQ(view.Prev, c.up);
            EXPECT_EQ(view.Down, c.down);
            EXPECT_EQ(view.Next, c.down);
            EXPECT_EQ(view.DelOne, c.selected >= 0);
            EXPECT_EQ(view.DelAll, c.rows > 0);
            EXPECT_EQ(view.Lists, c.rows > 0);
        }
    }
}

TEST(MainView, EditNeedsASelectedPicture) {
    EXPECT_TRUE(ComputeMainView(Pictures(3, 1)).Edit);
    // Rows but no selection: the editor would read record -1.
    EXPECT_FALSE(ComputeMainView(Pictures(3, -1)).Edit);
    EXPECT_FALSE(ComputeMainView(Pictures(0, -1)).Edit);
    EXPECT_FALSE(ComputeMainView(Songs(3, 1)).Edit);
}

TEST(MainView, AlbumPlayerAndMakeRules) {
    TMainInputs in = Pictures(2, 0);
    EXPECT_TRUE(ComputeMainView(in).Add);
    EXPECT_FALSE(ComputeMainView(in).Make);  // pictures without songs
    in.MusicRows = 1;
    EXPECT_TRUE(ComputeMainView(in).Make);
    in.PicRows = 0;
    EXPECT_FALSE(ComputeMainView(in).Make);

    EXPECT_FALSE(ComputeMainView(in).Player);
    in.PlayerFileExists = true;
    EXPECT_TRUE(ComputeMainView(in).Player);

    in.AlbumSelected = -1;
    EXPECT_FALSE(ComputeMainView(in).DelAlbum);
    EXPECT_EQ(ComputeMainView(in).AllAlbumTitle, "现有相册列表[共1个]");
    in.AlbumSelected = 0;
    EXPECT_TRUE(ComputeMainView(in).DelAlbum);
}

TEST(MainView, FirstStartEnablesOnlyTheAlwaysOnControls) {
    const TMainView view = ComputeMainView(TMainInputs{});
    EXPECT_EQ(view.AllAlbumTitle, "现有相册列表[暂无]");
    EXPECT_EQ(view.ListTitle, "当前相册全部图片列表 [暂无图片]");
    EXPECT_EQ(view.LookTitle, "图片预览[暂无]");
    EXPECT_EQ(view.CurAlbumTitle, "编辑相册《》中的图片与音乐");
    for (bool enabled : {view.Up, view.Prev, view.Down, view.Next, view.DelOne, view.DelAll,
                         view.Lists, view.Edit, view.Add, view.Player, view.DelAlbum, view.Make}) {
        EXPECT_FALSE(enabled);
    }
}

TEST(MainView, Titles) {
    EXPECT_EQ(ComputeMainView(Pictures(5, 2)).ListTitle, "当前相册全部图片列表 [共5张图片]");
    EXPECT_EQ(ComputeMainView(Pictures(5, 2)).LookTitle, "图片预览[第3张]");
    EXPECT_EQ(ComputeMainView(Pictures(5, -1)).LookTitle, "图片预览[第0张]");
    EXPECT_EQ(ComputeMainView(Songs(0, -1)).ListTitle, "当前相册全部音乐列表 [暂无音乐]");
    EXPECT_EQ(ComputeMainView(Songs(0, -1)).LookTitle, "音乐视听[暂无]");
    EXPECT_EQ(ComputeMainView(Songs(4, 0)).ListTitle, "当前相册全部音乐列表 [共4张音乐]");
    EXPECT_EQ(ComputeMainView(Songs(4, 0)).LookTitle, "音乐视听[第1张]");
    EXPECT_EQ(ComputeMainView(Songs(4, 0)).CurAlbumTitle, "编辑相册《旅行》中的图片与音乐");
    TMainInputs none = Songs(0, -1);
    none.AlbumCurrent = false;
    EXPECT_EQ(ComputeMainView(none).CurAlbumTitle, "编辑相册《》中的图片与音乐");
}

}  // namespace
}  // namespace velmora::ui
