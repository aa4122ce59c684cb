// The main window's album handling (deletion with its questions, switching albums), its
// player controls and its links to the manual and the product pages.

#include <QDir>
#include <QFile>
#include <QSlider>
#include <QTest>

#include "app/Help.h"
#include "app/tests/MainFixture.h"
#include "audio/KivMp3Play.h"

namespace velmora::test {
namespace {

using ui::TFrmMain;

class MainAlbums : public MainFixture {};

struct DeleteCase {
    int Pics, Songs;
    const char* Question;  // null: no question
};

TEST_F(MainAlbums, DeletionAsksByContentAndNoKeepsEverything) {
    for (const DeleteCase& c :
         {DeleteCase{3, 0, "当前相册已有3张图片，确定要删除本相册吗？"},
          DeleteCase{0, 2, "当前相册已有2首音乐，确定要删除本相册吗？"},
          DeleteCase{3, 2, "当前相册已有3张图片和2首音乐，确定要删除本相册吗？"}}) {
        // Each case on a store of its own.
        RootDir = Dir.Dir() + std::to_string(c.Pics) + "-" + std::to_string(c.Songs) + "/";
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(RootDir)));
        Services = TFakeServices{};
        AddAlbum("x", c.Pics, c.Songs);
        TFrmMain& w = Open();
        Services.Answers = {QMessageBox::No};
        QTest::mouseClick(w.SbtDelA, Qt::LeftButton);
        ASSERT_EQ(Services.Prompts.size(), 1);
        EXPECT_EQ(Services.Prompts[0].Text, c.Question);
        EXPECT_EQ(Services.Prompts[0].Caption, "提示");
        EXPECT_EQ(Services.Prompts[0].Icon, QMessageBox::Information);
        EXPECT_EQ(Services.Prompts[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(Store.AlbumCount, 1);
        EXPECT_TRUE(QDir(QString::fromStdString(RootDir + "x")).exists());
        EXPECT_EQ(w.LvwP->model()->rowCount(), c.Pics);

        Services.Answers = {QMessageBox::Yes};
        QTest::mouseClick(w.SbtDelA, Qt::LeftButton);
        EXPECT_EQ(Store.AlbumCount, 0);
        EXPECT_FALSE(QDir(QString::fromStdString(RootDir + "x")).exists());
        Window.reset();
    }
}

TEST_F(MainAlbums, EmptyAlbumIsDeletedWithoutAQuestion) {
    AddAlbum("first", 0, 0);
    AddAlbum("second", 2, 0);
    AddAlbum("third", 0, 1);
    TFrmMain& w = Open();
    QTest::mouseClick(w.SbtDelA, Qt::LeftButton);
    EXPECT_TRUE(Services.Prompts.isEmpty());
    // The album that followed becomes current and is opened.
    EXPECT_EQ(Store.AlbumCount, 2);
    EXPECT_EQ(Selected(w.LvwA), 0);
    EXPECT_EQ(w.PnlCurAblmTile->text(), "编辑相册《second》中的图片与音乐");
    EXPECT_EQ(w.LvwP->model()->rowCount(), 2);
    EXPECT_EQ(w.PnlAllAblumTile->text(), "现有相册列表[共2个]");
}

TEST_F(MainAlbums, DeletingTheLastAlbumLeavesNoName) {
    AddAlbum("only", 2, 0);
    TFrmMain& w = Open();
    ASSERT_EQ(w.PnlCurAblmTile->text(), "编辑相册《only》中的图片与音乐");
    Services.Answers = {QMessageBox::Yes};
    QTest::mouseClick(w.SbtDelA, Qt::LeftButton);
    EXPECT_EQ(w.PnlCurAblmTile->text(), "编辑相册《》中的图片与音乐");
    EXPECT_EQ(w.PnlAllAblumTile->text(), "现有相册列表[暂无]");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Dir.Dir() + "Album")));
    EXPECT_EQ(w.LvwP->model()->rowCount(), 0);
    EXPECT_FALSE(w.PreviewPage->ImgPicShow()->isHidden() == false);
    EXPECT_FALSE(w.BtnAddP->isEnabled());
    EXPECT_FALSE(w.SbtDelA->isEnabled());
    EXPECT_EQ(Store.AlbumIndex, -1);
    EXPECT_EQ(Store.PicIndex, -1);
    EXPECT_EQ(Store.MusicIndex, -1);
}

TEST_F(MainAlbums, SwitchingAlbumsEmptiesThePreview) {
    AddAlbum("pictures", 2, 1);
    AddAlbum("empty", 0, 0);
    TFrmMain& w = Open();
    ASSERT_TRUE(w.PreviewPage->ImgPicShow()->isHidden() == false);
    TFrmMain::SelectRow(w.LvwA, 1);
    EXPECT_EQ(w.PnlCurAblmTile->text(), "编辑相册《empty》中的图片与音乐");
    EXPECT_FALSE(w.PreviewPage->ImgPicShow()->isHidden() == false);
    EXPECT_EQ(w.LvwP->model()->rowCount(), 0);
    EXPECT_EQ(w.LvwM->model()->rowCount(), 0);
    EXPECT_EQ(w.PnlCurLook->text(), "图片预览[暂无]");
    TFrmMain::SelectRow(w.LvwA, 0);
    EXPECT_EQ(w.PreviewPage->ShownPath(), AlbumPath() + "P0.bmp");
}

TEST_F(MainAlbums, HelpAndProductPagesGoThroughTheUrlService) {
    ASSERT_TRUE(QFile::exists(ui::ManualPath())) << ui::ManualPath().toStdString();
    TFrmMain& w = Open();
    QTest::mouseClick(w.PnlHelp, Qt::LeftButton);
    ASSERT_EQ(Services.OpenedUrls.size(), 1);
    EXPECT_EQ(Services.OpenedUrls[0], QUrl::fromLocalFile(ui::ManualPath()));
    w.CST1Click();
    EXPECT_EQ(Services.OpenedUrls.last(), QUrl::fromLocalFile(ui::WhatsNewPagePath()));
    w.close();
    EXPECT_EQ(Services.OpenedUrls.last(), QUrl::fromLocalFile(ui::ProductPagePath()));
    EXPECT_EQ(Services.OpenedUrls.size(), 3);
    EXPECT_TRUE(Services.Prompts.isEmpty());
}

/// The song page's tests need the player widget of the song page.
#define REQUIRE_PLAYER(w) \
    if ((w).Player() == nullptr) GTEST_SKIP() << "the song page has no player widget yet"

TEST_F(MainAlbums, SongPageNextButtonHandsTheSongToThePlayer) {
    AddAlbum("a", 3, 3);
    TFrmMain& w = Open();
    REQUIRE_PLAYER(w);
    TFrmMain::SelectRow(w.LvwP, 1);
    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    ASSERT_EQ(Selected(w.LvwM), 0);
    QTest::mouseClick(w.BtnNP, Qt::LeftButton);
    EXPECT_EQ(Selected(w.LvwM), 1);
    EXPECT_EQ(Store.MusicIndex, 1);
    EXPECT_EQ(w.Player()->FileName(), Store.AlbumPath + "M1.mp3");
    EXPECT_EQ(w.PnlCurLook->text(), "音乐视听[第2张]");
    EXPECT_TRUE(w.SbtPlay->isEnabled());
    EXPECT_EQ(Selected(w.LvwP), 1);  // the picture selection stays
}

TEST_F(MainAlbums, SwitchingAlbumsStopsTheSong) {
    AddAlbum("a", 1, 2);
    AddAlbum("b", 0, 0);
    TFrmMain& w = Open();
    REQUIRE_PLAYER(w);
    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    QTest::mouseClick(w.SbtPlay, Qt::LeftButton);
    const HSTREAM playing = w.Player()->Stream();
    ASSERT_NE(playing, 0u);
    ASSERT_TRUE(Bass.Streams[playing].Playing);
    TFrmMain::SelectRow(w.LvwA, 1);
    EXPECT_FALSE(Bass.Streams[playing].Playing);
    EXPECT_TRUE(w.Player()->FileName().empty());
    EXPECT_FALSE(w.SbtPlay->isEnabled());
    EXPECT_FALSE(w.bsSkinTrackBar1->isEnabled());
}

TEST_F(MainAlbums, TrackBarSeeksWhenTheMouseIsReleased) {
    AddAlbum("a", 0, 1);
    TFrmMain& w = Open();
    REQUIRE_PLAYER(w);
    w.show();
    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    QTest::mouseClick(w.SbtPlay, Qt::LeftButton);
    Bass.Advance(1000);
    w.Player()->TimerTick();
    // OnProgress moves the bar: the file's length is its maximum.
    EXPECT_EQ(w.bsSkinTrackBar1->maximum(), 960000);
    EXPECT_EQ(w.bsSkinTrackBar1->value(), 16000);
    const std::size_t before = Bass.Calls.size();
    ui::TTrackBar* bar = w.bsSkinTrackBar1;
    const QPoint middle(bar->width() / 2, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, middle);
    EXPECT_FALSE(w.Player()->Reporting());  // held: ticks no longer move the bar
    EXPECT_EQ(std::count_if(Bass.Calls.begin() + before, Bass.Calls.end(),
                            [](const std::string& c) { return c.rfind("SetPosition", 0) == 0; }),
              0);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(w.Player()->Reporting());
    const int value = bar->value();
    EXPECT_GT(value, 960000 / 4);
    EXPECT_LT(value, 960000 * 3 / 4);
    ASSERT_GT(Bass.Calls.size(), before);
    bool seeked = false;
    for (std::size_t i = before; i < Bass.Calls.size(); ++i) {
        seeked |= Bass.Calls[i].rfind("SetPosition", 0) == 0;
    }
    EXPECT_TRUE(seeked);
}

}  // namespace
}  // namespace velmora::test
