// The main window through its real widgets, on a store in a temporary folder: start, the
// selection rules, the page buttons, moving, stepping, deleting and the picture preview.

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "app/tests/MainFixture.h"
#include "store/ListOps.h"

namespace velmora::test {
namespace {

using ui::TFrmMain;

class MainWindow : public MainFixture {};

TEST_F(MainWindow, FirstStartWithoutCatalogue) {
    TFrmMain& w = Open();
    EXPECT_EQ(w.size(), QSize(800, 567));
    EXPECT_EQ(w.windowTitle(), "Velmora2009 V15.18");
    EXPECT_EQ(w.PnlAllAblumTile->text(), "现有相册列表[暂无]");
    EXPECT_EQ(w.PnlCurAblmTile->text(), "编辑相册《》中的图片与音乐");
    EXPECT_TRUE(w.SbtEditpic->isChecked());
    for (QWidget* on : std::initializer_list<QWidget*>{w.SbtNewAblm, w.SbtEditpic, w.SbtEditMusic,
                                                       w.PnlHelp, w.PnlReg}) {
        EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
    }
    for (QWidget* off : std::initializer_list<QWidget*>{
             w.SbtDelA, w.BtnUP, w.BtnDP, w.BtnPP, w.BtnNP, w.BtnDelAP, w.BtnDelOP, w.BtnEditP,
             w.BtnAddP, w.SbtPlay, w.SbtPause, w.SbtStop, w.bsSkinTrackBar1, w.BtnBeginMake}) {
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Dir.Dir() + "Album")));
}

TEST_F(MainWindow, OpensTheFirstAlbumWithItsFirstPicture) {
    AddAlbum("旅行", 5, 0, 80, 60);
    AddAlbum("家庭", 1, 1);
    TFrmMain& w = Open();
    EXPECT_EQ(w.PnlAllAblumTile->text(), "现有相册列表[共2个]");
    EXPECT_EQ(Selected(w.LvwA), 0);
    EXPECT_EQ(w.PnlCurAblmTile->text(), "编辑相册《旅行》中的图片与音乐");
    EXPECT_EQ(w.LvwP->model()->rowCount(), 5);
    EXPECT_EQ(Selected(w.LvwP), 0);
    EXPECT_EQ(Store.PicIndex, 0);
    EXPECT_EQ(w.PnlListTile->text(), "当前相册全部图片列表 [共5张图片]");
    // Pictures without songs: nothing to produce yet.
    EXPECT_FALSE(w.BtnBeginMake->isEnabled());
    EXPECT_TRUE(w.BtnAddP->isEnabled());
    EXPECT_TRUE(w.SbtDelA->isEnabled());
    // The 80 x 60 picture fitted into the 185 x 152 box: 185 x 138 at the top 7.
    ui::TImageView* shown = w.PreviewPage->ImgPicShow();
    EXPECT_TRUE(shown->isHidden() == false);
    EXPECT_EQ(shown->geometry(), QRect(0, 7, 185, 138));
    EXPECT_EQ(w.PreviewPage->ShownPath(), AlbumPath() + "P0.bmp");
    EXPECT_EQ(w.LvwP->model()->index(0, 1).data().toString(), "3");
    EXPECT_EQ(w.LvwP->model()->index(0, 2).data().toString(), "随机效果");
    EXPECT_EQ(w.LvwP->model()->index(0, 4).data().toString(), "pic0");
}

TEST_F(MainWindow, FivePicturesWithTheThirdSelected) {
    AddAlbum("a", 5, 0);
    TFrmMain& w = Open();
    TFrmMain::SelectRow(w.LvwP, 2);
    EXPECT_EQ(Store.PicIndex, 2);
    EXPECT_EQ(w.PnlCurLook->text(), "图片预览[第3张]");
    for (QWidget* arrow : {static_cast<QWidget*>(w.BtnUP), static_cast<QWidget*>(w.BtnDP),
                           static_cast<QWidget*>(w.BtnPP), static_cast<QWidget*>(w.BtnNP)}) {
        EXPECT_TRUE(arrow->isEnabled());
    }
    EXPECT_EQ(w.PreviewPage->ShownPath(), AlbumPath() + "P2.bmp");
    QTest::mouseClick(w.LvwP->viewport(), Qt::LeftButton, {},
                      w.LvwP->visualRect(w.LvwP->model()->index(4, 2)).center());
    EXPECT_EQ(Selected(w.LvwP), 4);
    EXPECT_EQ(w.PnlCurLook->text(), "图片预览[第5张]");
    EXPECT_FALSE(w.BtnDP->isEnabled());
    EXPECT_FALSE(w.BtnNP->isEnabled());
    EXPECT_TRUE(w.BtnUP->isEnabled());
}

TEST_F(MainWindow, NoSelectionShowsPictureZero) {
    AddAlbum("a", 3, 0);
    TFrmMain& w = Open();
    TFrmMain::SelectRow(w.LvwP, -1);
    w.RefreshState();
    EXPECT_EQ(Store.PicIndex, -1);
    EXPECT_EQ(w.PnlCurLook->text(), "图片预览[第0张]");
    EXPECT_FALSE(w.BtnDelOP->isEnabled());
    EXPECT_TRUE(w.BtnDP->isEnabled());
    EXPECT_TRUE(w.BtnNP->isEnabled());
    // The editor needs a selected record.
    EXPECT_FALSE(w.BtnEditP->isEnabled());
    TFrmMain::SelectRow(w.LvwP, 1);
    EXPECT_TRUE(w.BtnEditP->isEnabled());
    // Stepping forward without a selection selects the second row.
    TFrmMain::SelectRow(w.LvwP, -1);
    QTest::mouseClick(w.BtnNP, Qt::LeftButton);
    EXPECT_EQ(Selected(w.LvwP), 1);
}

TEST_F(MainWindow, PageButtonsActAsTabs) {
    AddAlbum("a", 2, 3);
    TFrmMain& w = Open();
    w.show();
    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    EXPECT_EQ(w.Page(), ui::PageSongs);
    EXPECT_TRUE(w.SbtEditMusic->isChecked());
    EXPECT_FALSE(w.SbtEditpic->isChecked());
    EXPECT_EQ(w.NotebookList->currentWidget(), w.LvwM);
    EXPECT_EQ(w.NotebookLook->currentIndex(), 1);
    EXPECT_EQ(w.BtnDelAP->text(), "删除全部音乐");
    EXPECT_EQ(w.BtnDelOP->text(), "删除当前音乐");
    EXPECT_EQ(w.BtnAddP->text(), "继续加入音乐");
    EXPECT_FALSE(w.BtnEditP->isVisible());
    EXPECT_EQ(w.PnlListTile->text(), "当前相册全部音乐列表 [共3张音乐]");
    EXPECT_EQ(w.PnlCurLook->text(), "音乐视听[第1张]");
    EXPECT_TRUE(w.BtnBeginMake->isEnabled());
    // Clicking the pressed tab again keeps it pressed.
    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    EXPECT_TRUE(w.SbtEditMusic->isChecked());
    QTest::mouseClick(w.SbtEditpic, Qt::LeftButton);
    EXPECT_EQ(w.Page(), ui::PagePictures);
    EXPECT_EQ(w.BtnEditP->text(), "编辑图片信息");
    EXPECT_TRUE(w.BtnEditP->isVisible());
    EXPECT_EQ(w.NotebookList->currentWidget(), w.LvwP);
}

TEST_F(MainWindow, MovesAndSavesTheOrder) {
    AddAlbum("a", 3, 0);
    TFrmMain& w = Open();
    ASSERT_EQ(Selected(w.LvwP), 0);
    QTest::mouseClick(w.BtnDP, Qt::LeftButton);
    EXPECT_EQ(Selected(w.LvwP), 1);
    EXPECT_EQ(w.LvwP->model()->index(1, 4).data().toString(), "pic0");
    EXPECT_EQ(w.LvwP->model()->index(0, 4).data().toString(), "pic1");
    TAlbumStore reread;
    reread.RootPath = Dir.Dir();
    reread.LoadRecords("A");
    reread.OpenAlbum(0);
    EXPECT_EQ(reread.Pics[1].Remark.Text(), "pic0");
    QTest::mouseClick(w.BtnUP, Qt::LeftButton);
    EXPECT_EQ(Selected(w.LvwP), 0);
    EXPECT_EQ(w.LvwP->model()->index(0, 4).data().toString(), "pic0");
}

TEST_F(MainWindow, DeletesOnePictureAndSelectsTheNewLastRow) {
    AddAlbum("a", 3, 0);
    TFrmMain& w = Open();
    TFrmMain::SelectRow(w.LvwP, 2);
    QTest::mouseClick(w.BtnDelOP, Qt::LeftButton);
    EXPECT_TRUE(Services.Prompts.isEmpty());  // no question for one picture
    EXPECT_EQ(w.LvwP->model()->rowCount(), 2);
    EXPECT_EQ(Selected(w.LvwP), 1);
    EXPECT_FALSE(QFile::exists(AlbumPath() + "P2.bmp"));
    EXPECT_EQ(w.PnlListTile->text(), "当前相册全部图片列表 [共2张图片]");
}

TEST_F(MainWindow, DeleteAllAsksFirst) {
    AddAlbum("a", 5, 2);
    TFrmMain& w = Open();
    Services.Answers = {QMessageBox::No};
    QTest::mouseClick(w.BtnDelAP, Qt::LeftButton);
    ASSERT_EQ(Services.Prompts.size(), 1);
    EXPECT_EQ(Services.Prompts[0].Text, "本相册共有5张图片，确定全部都删除吗？");
    EXPECT_EQ(Services.Prompts[0].Icon, QMessageBox::Question);
    EXPECT_EQ(Services.Prompts[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(w.LvwP->model()->rowCount(), 5);

    Services.Answers = {QMessageBox::Yes};
    QTest::mouseClick(w.BtnDelAP, Qt::LeftButton);
    EXPECT_EQ(w.LvwP->model()->rowCount(), 0);
    EXPECT_EQ(Store.PicCount, 0);
    EXPECT_FALSE(QFile::exists(AlbumPath() + "P0.bmp"));
    EXPECT_FALSE(w.PreviewPage->ImgPicShow()->isHidden() == false);
    EXPECT_EQ(w.PnlCurLook->text(), "图片预览[暂无]");

    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    Services.Answers = {QMessageBox::Yes};
    QTest::mouseClick(w.BtnDelAP, Qt::LeftButton);
    EXPECT_EQ(Services.Prompts.last().Text, "本相册共有2首音乐，确定全部都删除吗？");
    EXPECT_EQ(w.LvwM->model()->rowCount(), 0);
    EXPECT_FALSE(w.BtnDelAP->isEnabled());
}

TEST_F(MainWindow, MissingPictureFileShowsANoticeNotThePreviousPicture) {
    AddAlbum("a", 3, 0);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Store.AlbumPath) + "P1.bmp"));
    TFrmMain& w = Open();
    ASSERT_FALSE(w.PreviewPage->ImgPicShow()->Picture().isNull());
    TFrmMain::SelectRow(w.LvwP, 1);
    ui::TImageView* shown = w.PreviewPage->ImgPicShow();
    EXPECT_TRUE(shown->Picture().isNull());
    EXPECT_EQ(shown->Notice(), ui::TPicturePreview::MissingNotice());
    EXPECT_EQ(shown->geometry(), QRect(QPoint(0, 0), w.PreviewPage->Image1()->size()));
    // The notice is drawn: the middle of the control is not black.
    const QImage drawn = shown->grab().toImage();
    bool lit = false;
    for (int x = 0; x < drawn.width(); ++x) lit |= qGray(drawn.pixel(x, drawn.height() / 2)) > 100;
    EXPECT_TRUE(lit);
    TFrmMain::SelectRow(w.LvwP, 2);
    EXPECT_FALSE(shown->Picture().isNull());
    EXPECT_TRUE(shown->Notice().isEmpty());
}

TEST_F(MainWindow, EditorHostUpdatesTheRows) {
    AddAlbum("a", 3, 0);
    TFrmMain& w = Open();
    ui::TEditPHost& host = w;
    host.SetPictureDwellText(1, QStringLiteral("07"));
    EXPECT_EQ(w.LvwP->model()->index(1, 1).data().toString(), "07");
    Store.Pics[1].Dwell = 7;
    Store.Pics[1].Title.SetText("海边");
    host.RefreshPictureRow(1);
    EXPECT_EQ(w.LvwP->model()->index(1, 1).data().toString(), "7");
    EXPECT_EQ(w.LvwP->model()->index(1, 3).data().toString(), "海边");
    host.SelectPicture(2);
    EXPECT_EQ(Selected(w.LvwP), 2);
    EXPECT_EQ(Store.PicIndex, 2);
    EXPECT_EQ(w.PreviewPage->ShownPath(), AlbumPath() + "P2.bmp");
}

TEST_F(MainWindow, ScrollsTheSelectedRowIntoView) {
    AddAlbum("a", 60, 0, 8, 8);
    TFrmMain& w = Open();
    w.show();
    TFrmMain::SelectRow(w.LvwP, 50);
    TFrmMain::ScrollSelectedIntoView(w.LvwP);
    const QRect row = w.LvwP->visualRect(w.LvwP->model()->index(50, 1));
    EXPECT_TRUE(w.LvwP->viewport()->rect().contains(row));
    // Scrolled down, the row ends as the last whole visible row.
    EXPECT_GT(row.bottom() + row.height(), w.LvwP->viewport()->height());
    TFrmMain::SelectRow(w.LvwP, 3);
    TFrmMain::ScrollSelectedIntoView(w.LvwP);
    EXPECT_EQ(w.LvwP->visualRect(w.LvwP->model()->index(3, 1)).top(), 0);
}

TEST_F(MainWindow, ImportFiltersOfferBothCases) {
    AddAlbum("a", 0, 0);
    TFrmMain& w = Open();
    QTest::mouseClick(w.BtnAddP, Qt::LeftButton);  // the chooser is cancelled
    ASSERT_EQ(Services.FileRequests.size(), 1);
    const QString pictures = Services.FileRequests[0].Filter;
    for (const char* pattern : {"*.jpg", "*.JPG", "*.jpeg", "*.JPEG", "*.bmp", "*.BMP", "*.tif",
                                "*.TIFF", "*.ico", "*.emf", "*.WMF"}) {
        EXPECT_TRUE(pictures.section(";;", 0, 0).contains(pattern)) << pattern;
    }
    EXPECT_EQ(pictures.count(";;"), 7);  // All and seven single types
    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    QTest::mouseClick(w.BtnAddP, Qt::LeftButton);
    EXPECT_EQ(Services.FileRequests[1].Filter, "MP3音乐文件 (*.mp3 *.MP3)");
    EXPECT_EQ(w.LvwM->model()->rowCount(), 0);
}

}  // namespace
}  // namespace velmora::test
