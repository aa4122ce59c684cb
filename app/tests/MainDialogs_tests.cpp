// The windows the main window opens, driven through its buttons: a new album is selected and
// opened, imports fill the lists and select their last row, and the editor and the production
// dialog open on the current album.

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/tests/MainFixture.h"
#include "audio/KivMp3Play.h"
#include "audio/ui/UnitAddM.h"
#include "effects/ui/UnitEditP.h"
#include "production/ui/UnitMake.h"
#include "store/ui/UnitAddA.h"
#include "store/ui/UnitAddP.h"
#include "tests/GuiTestTools.h"

namespace velmora::test {
namespace {

using ui::TFrmMain;

class MainDialogs : public MainFixture {
protected:
    std::string Source(const std::string& name) { return Dir.Dir() + name; }
};

TEST_F(MainDialogs, NewAlbumIsSelectedAndOpened) {
    AddAlbum("old", 2, 1);
    TFrmMain& w = Open();
    OnDialog<ui::TFrmAddA>([](ui::TFrmAddA& dialog) {
        dialog.Edt->insert(QStringLiteral("新的"));
        QTest::mouseClick(dialog.BtnAdd, Qt::LeftButton);
        QTest::mouseClick(dialog.BtnClose, Qt::LeftButton);
    });
    QTest::mouseClick(w.SbtNewAblm, Qt::LeftButton);
    EXPECT_EQ(w.LvwA->model()->rowCount(), 2);
    EXPECT_EQ(Selected(w.LvwA), 1);
    EXPECT_EQ(Store.AlbumIndex, 1);
    EXPECT_EQ(w.PnlCurAblmTile->text(), "编辑相册《新的》中的图片与音乐");
    EXPECT_EQ(w.LvwP->model()->rowCount(), 0);
    EXPECT_EQ(w.LvwM->model()->rowCount(), 0);
    EXPECT_EQ(w.PnlAllAblumTile->text(), "现有相册列表[共2个]");
    EXPECT_TRUE(w.BtnAddP->isEnabled());
}

TEST_F(MainDialogs, ClosingTheCreateDialogWithoutAnAlbumChangesNothing) {
    AddAlbum("old", 2, 0);
    TFrmMain& w = Open();
    TFrmMain::SelectRow(w.LvwP, 1);
    OnDialog<ui::TFrmAddA>([](ui::TFrmAddA& dialog) { dialog.reject(); });
    QTest::mouseClick(w.SbtNewAblm, Qt::LeftButton);
    EXPECT_EQ(Selected(w.LvwA), 0);
    EXPECT_EQ(Selected(w.LvwP), 1);
}

TEST_F(MainDialogs, ImportsFillTheListsAndSelectTheLastRow) {
    AddAlbum("a", 0, 0);
    // Capital extensions are imported like any other.
    ASSERT_EQ(RunProgram({"convert", "-size", "64x48", "gradient:red-blue", Source("A.JPG")}), 0);
    ASSERT_EQ(RunProgram({"convert", "-size", "30x60", "xc:green", Source("b.bmp")}), 0);
    ASSERT_EQ(RunProgram({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "sine=d=2", "-c:a",
                          "libmp3lame", Source("SONG.MP3")}),
              0);
    TFrmMain& w = Open();
    ASSERT_FALSE(w.BtnBeginMake->isEnabled());
    Services.FileAnswers = {
        {QString::fromStdString(Source("A.JPG")), QString::fromStdString(Source("b.bmp"))}};
    OnDialog<ui::TFrmAddP>([](ui::TFrmAddP& dialog) { dialog.Timer1Timer(); });
    QTest::mouseClick(w.BtnAddP, Qt::LeftButton);
    EXPECT_EQ(w.LvwP->model()->rowCount(), 2);
    EXPECT_EQ(Selected(w.LvwP), 1);
    EXPECT_EQ(w.LvwP->model()->index(0, 4).data().toString(), "A.JPG");
    EXPECT_EQ(w.PreviewPage->ShownPath(), AlbumPath() + "P1.jpg");
    EXPECT_EQ(w.PnlCurLook->text(), "图片预览[第2张]");
    EXPECT_TRUE(Services.Prompts.isEmpty());  // nothing skipped

    QTest::mouseClick(w.SbtEditMusic, Qt::LeftButton);
    Services.FileAnswers = {{QString::fromStdString(Source("SONG.MP3"))}};
    OnDialog<ui::TFrmAddM>([](ui::TFrmAddM& dialog) { dialog.Timer1Timer(); });
    QTest::mouseClick(w.BtnAddP, Qt::LeftButton);
    EXPECT_EQ(w.LvwM->model()->rowCount(), 1);
    EXPECT_EQ(Selected(w.LvwM), 0);
    EXPECT_EQ(w.Player()->FileName(), Store.AlbumPath + "M0.mp3");
    EXPECT_TRUE(w.SbtPlay->isEnabled());
    EXPECT_TRUE(w.BtnBeginMake->isEnabled());
}

TEST_F(MainDialogs, EditorOpensOnTheSelectedPicture) {
    AddAlbum("a", 3, 0);
    TFrmMain& w = Open();
    TFrmMain::SelectRow(w.LvwP, 2);
    int editedIndex = -1;
    OnDialog<ui::TFrmEditP>([&](ui::TFrmEditP& editor) {
        editedIndex = Store.PicIndex;
        editor.reject();
    });
    QTest::mouseClick(w.BtnEditP, Qt::LeftButton);
    EXPECT_EQ(editedIndex, 2);
    EXPECT_EQ(Selected(w.LvwP), 2);
}

TEST_F(MainDialogs, ProductionDialogOpens) {
    AddAlbum("a", 1, 1);
    TFrmMain& w = Open();
    ASSERT_TRUE(w.BtnBeginMake->isEnabled());
    bool opened = false;
    OnDialog<ui::TFrmMake>([&](ui::TFrmMake& make) {
        opened = true;
        make.close();
    });
    QTest::mouseClick(w.BtnBeginMake, Qt::LeftButton);
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace velmora::test
