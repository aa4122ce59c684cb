// One production the way a person makes it, through the program's windows: an empty store, an
// album created in the create-album dialog, five pictures (one portrait, one TIFF) and two
// songs imported through the import dialogs, one picture edited in the picture editor, and a
// DVD with automatic sync made in the production dialog. The file is checked by ffprobe (its
// frames against the timeline) and by dvdauthor (no warnings).

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/UnitMain.h"
#include "audio/BassEngine.h"
#include "audio/ui/KivMp3PlayWidget.h"
#include "audio/ui/UnitAddM.h"
#include "effects/ui/UnitEditP.h"
#include "production/ui/UnitMake.h"
#include "production/ui/tests/MakeFixtures.h"
#include "store/Pub.h"
#include "store/ui/UnitAddA.h"
#include "store/ui/UnitAddP.h"
#include "tests/FakeServices.h"
#include "tests/GuiTestTools.h"

namespace velmora::ui {
namespace {

/// A generous limit for the DVD run on a busy machine.
constexpr int RunLimitMs = 300000;

using test::OnDialog;
using test::Retype;

QString Q(const std::string& text) { return QString::fromStdString(text); }

void ClickRow(QTableView* list, int row) {
    list->scrollTo(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 1)).center());
}

void ClickLine(QListWidget* list, int row) {
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

/// Check boxes and radio buttons take clicks on their indicator and text only.
void ClickIndicator(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

/// dvdauthor's report on a DVD file; empty when it authored a disc without a warning.
std::string DvdauthorComplaints(const std::string& file, const std::string& disc) {
    std::string out, err, tocOut, tocErr;
    int code = test::RunProgram({"env", "VIDEO_FORMAT=PAL", "dvdauthor", "-o", disc, "-t", file},
                                &out, &err);
    if (code == 0) {
        code = test::RunProgram({"env", "VIDEO_FORMAT=PAL", "dvdauthor", "-o", disc, "-T"}, &tocOut,
                                &tocErr);
    }
    const std::string all = out + err + tocOut + tocErr;
    if (code != 0 || all.find("WARN") != std::string::npos ||
        all.find("ERR") != std::string::npos) {
        return all;
    }
    return "";
}

TEST(EndToEnd, FromAnEmptyStoreToADvdThroughTheWindows) {
    test::TempDir root;
    test::TempDir home;
    test::TempDir sources;
    test::TScopedHome scopedHome(home.Dir());
    const std::string src = sources.Dir();
    test::MakeJpeg(src + "lake.jpg", 800, 600, "gradient:red-blue");
    test::MakeJpeg(src + "tower.jpg", 600, 900, "gradient:green-yellow");  // portrait
    test::MakeJpeg(src + "sky.jpg", 1024, 576, "gradient:white-navy");
    test::MakeJpeg(src + "field.JPG", 640, 480, "gradient:orange-purple");
    ASSERT_EQ(test::RunProgram({"convert", "-size", "320x240", "gradient:cyan-black", "-depth", "8",
                                "-compress", "none", src + "scan.tif"}),
              0);
    test::MakeMp3(src + "晨曲.mp3", 8);
    test::MakeMp3(src + "song.mp3", 9);

    TAlbumStore store;
    store.RootPath = root.Dir();
    test::TFakeServices services;
    TFrmMain window(store, services, BassEngine());
    window.KivMp3Play1->SetTimerEnabledForTests(false);
    window.show();
    ASSERT_FALSE(window.BtnBeginMake->isEnabled());

    // The album.
    OnDialog<TFrmAddA>([](TFrmAddA& dialog) {
        Retype(dialog.Edt, QStringLiteral("旅行"));
        QTest::mouseClick(dialog.BtnAdd, Qt::LeftButton);
        QTest::mouseClick(dialog.BtnClose, Qt::LeftButton);
    });
    QTest::mouseClick(window.SbtNewAblm, Qt::LeftButton);
    ASSERT_EQ(store.AlbumCount, 1);
    ASSERT_EQ(store.AlbumIndex, 0);

    // Five pictures, then two songs.
    QTest::mouseClick(window.SbtEditpic, Qt::LeftButton);
    services.FileAnswers = {{Q(src + "lake.jpg"), Q(src + "tower.jpg"), Q(src + "sky.jpg"),
                             Q(src + "field.JPG"), Q(src + "scan.tif")}};
    OnDialog<TFrmAddP>([](TFrmAddP& dialog) { dialog.Timer1Timer(); });
    QTest::mouseClick(window.BtnAddP, Qt::LeftButton);
    ASSERT_EQ(store.PicCount, 5) << (services.Prompts.isEmpty()
                                         ? std::string()
                                         : services.Prompts.back().Text.toStdString());
    QTest::mouseClick(window.SbtEditMusic, Qt::LeftButton);
    services.FileAnswers = {{Q(src + "晨曲.mp3"), Q(src + "song.mp3")}};
    OnDialog<TFrmAddM>([](TFrmAddM& dialog) { dialog.Timer1Timer(); });
    QTest::mouseClick(window.BtnAddP, Qt::LeftButton);
    ASSERT_EQ(store.MusicCount, 2);
    EXPECT_TRUE(services.Prompts.isEmpty());  // nothing skipped
    ASSERT_TRUE(window.BtnBeginMake->isEnabled());

    // The portrait picture gets a Chinese title, effect 13 and 4 seconds.
    QTest::mouseClick(window.SbtEditpic, Qt::LeftButton);
    ClickRow(window.LvwP, 1);
    OnDialog<TFrmEditP>([](TFrmEditP& editor) {
        Retype(editor.EdtTM, QStringLiteral("高塔"));
        ClickLine(editor.LbXG, 13);
        Retype(editor.EdtSJ, QStringLiteral("4"));
        QTest::mouseClick(editor.BtnSave, Qt::LeftButton);
        QTest::mouseClick(editor.BtnExit, Qt::LeftButton);
    });
    QTest::mouseClick(window.BtnEditP, Qt::LeftButton);
    ASSERT_EQ(store.Pics.size(), 5u);
    EXPECT_EQ(store.Pics[1].Title.Text(), "高塔");
    EXPECT_EQ(store.Pics[1].Effect, 13);
    EXPECT_EQ(store.Pics[1].Dwell, 4);

    // A DVD with automatic sync; the completion question is answered No.
    services.Prompts.clear();
    services.Answers = {QMessageBox::No};
    bool ran = false;
    OnDialog<TFrmMake>([&ran](TFrmMake& make) {
        QObject::connect(&make, &TFrmMake::RunFinished, &make, [&make] { make.close(); });
        // A run that never ends is stopped, so that the test fails instead of hanging.
        QTimer::singleShot(RunLimitMs, &make, [&make] {
            if (make.RunActive()) {
                ADD_FAILURE() << "the run did not end";
                make.findChild<QPushButton*>(QStringLiteral("SbtnStop"))->click();
            }
        });
        ClickIndicator(make.findChild<QRadioButton*>(QStringLiteral("RGOutTypeDVD")));
        ClickIndicator(make.findChild<QCheckBox*>(QStringLiteral("CboxTB")));
        ASSERT_TRUE(make.findChild<QCheckBox*>(QStringLiteral("CboxTB"))->isChecked());
        QTest::mouseClick(make.findChild<QPushButton*>(QStringLiteral("SbtnMake")), Qt::LeftButton);
        ran = make.RunActive();
    });
    QTest::mouseClick(window.BtnBeginMake, Qt::LeftButton);
    ASSERT_TRUE(ran);
    ASSERT_FALSE(services.Prompts.isEmpty());
    EXPECT_EQ(services.Prompts[0].Text, QStringLiteral("文件生成完毕！请确定查看。"));

    // Sync: every picture stands (music - 2 x 5) x 25 div 5 frames; 51 more per slot, and
    // the file holds the opening frame and the closing repeat besides.
    std::int64_t music = 0;
    for (const TMusicInfo& song : store.Musics) music += song.PlayTime;
    EXPECT_GE(music, 16);
    const std::int64_t still = (music - 2 * 5) * 25 / 5;
    const std::int64_t total = 5 * 51 + 5 * still;
    const std::string output = home.Dir() + "DVD-0.mpg";
    EXPECT_NEAR(test::CountVideoFrames(output), total + 2, 1);
    EXPECT_EQ(DvdauthorComplaints(output, (home / "disc").string()), "");
}

}  // namespace
}  // namespace velmora::ui
