// The production dialog's settings: the defaults on opening, the proposed output names, the
// save dialog with its overwrite question and remembered name, automatic sync, the background
// list, the colour and the preview geometry.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "production/ui/MakeSaveDialog.h"
#include "production/ui/UnitMake.h"
#include "production/ui/tests/MakeFixtures.h"
#include "tests/FakeServices.h"
#include "widgets/ImageView.h"

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }
inline void PrintTo(const QRect& r, std::ostream* out) {
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;
using test::MakeAlbumStore;
using test::TMakePicture;
using test::TMakeSong;

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename T>
T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

/// Clicks a radio button on its indicator (Qt takes clicks on the indicator and the text only).
void ClickRadio(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

void Touch(const fs::path& path) { test::WriteText(path, "x"); }

class MakeDialog : public ::testing::Test {
protected:
    test::TempDir FRoot;
    test::TempDir FHomeDir;
    test::TScopedHome FHome{FHomeDir.Dir()};
    test::TFakeServices FServices;

    /// An album of `pictures` records with the given dwell times and songs of the given play
    /// times (records only: nothing here runs a production).
    TAlbumStore RecordsStore(const std::vector<int>& dwells, const std::vector<int>& playTimes) {
        std::vector<TMakePicture> pictures;
        for (int dwell : dwells) pictures.push_back(TMakePicture{dwell, 1, "", 0, 0, ""});
        std::vector<TMakeSong> songs;
        for (int seconds : playTimes) songs.push_back(TMakeSong{seconds, false});
        return MakeAlbumStore(FRoot.Dir(), pictures, songs);
    }
};

TEST_F(MakeDialog, OpensWithTheDefaults) {
    Touch(FHomeDir / "VCD-0.mpg");
    Touch(FHomeDir / "VCD-1.mpg");
    TAlbumStore store = RecordsStore({3, 5, 3600}, {125, 3600});
    TFrmMake dialog(store, FServices);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("相册《相册一》VCD视频文件制作"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "EdtOut")->text(), Q(FHomeDir.Dir() + "VCD-2.mpg"));
    EXPECT_TRUE(Child<QLineEdit>(dialog, "EdtOut")->isReadOnly());
    EXPECT_EQ(dialog.SdlgFileName(), Q(FHomeDir.Dir() + "VCD-2.mpg"));
    EXPECT_EQ(dialog.OutputType(), TOutputType::VCD);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "RGOutTypeVCD")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "CboxTB")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "CboxMH")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "RbtnYS")->isChecked());
    EXPECT_EQ(Child<QCheckBox>(dialog, "CboxMH")->text(), QStringLiteral("视频背景逐渐淡化效果"));
    EXPECT_EQ(Child<QRadioButton>(dialog, "RbtnTP")->toolTip(),
              QStringLiteral("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景图。"));
    EXPECT_TRUE(Child<QPushButton>(dialog, "SbtnMake")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog, "SbtnStop")->isEnabled());
    EXPECT_EQ(Child<QLabel>(dialog, "Lguage")->text(), QStringLiteral("完成进度：0%"));
    EXPECT_EQ(Child<QLabel>(dialog, "LOverTine")->text(), QStringLiteral("剩余时间：00:00"));
    // (3 + 2) + (5 + 2) + (3600 + 2) seconds of pictures, 3725 of music.
    EXPECT_EQ(Child<QLabel>(dialog, "LPicTime")->text(),
              QStringLiteral("全部图片播放时间:01 时 00 分 14 秒"));
    EXPECT_EQ(Child<QLabel>(dialog, "LMusTime")->text(),
              QStringLiteral("全部音乐播放时间:01 时 02 分 05 秒"));
    // No BackPic folder: colour filling is the only choice; the preview shows black.
    EXPECT_EQ(Child<QListWidget>(dialog, "Clb1")->count(), 0);
    EXPECT_FALSE(Child<QRadioButton>(dialog, "RbtnTP")->isEnabled());
    ASSERT_TRUE(dialog.Preview()->Colour().has_value());
    EXPECT_EQ(*dialog.Preview()->Colour(), QColor(Qt::black));
}

TEST_F(MakeDialog, OutputTypesKeepTheFolderAndFitThePreview) {
    TAlbumStore store = RecordsStore({3}, {10});
    TFrmMake dialog(store, FServices);
    dialog.show();
    auto* edtOut = Child<QLineEdit>(dialog, "EdtOut");
    const TImageView* preview = dialog.Preview();
    EXPECT_EQ(preview->geometry(), QRect(11, 0, 210, 189));

    // The user moved the output to another folder, where DVD-0.mpg exists.
    test::TempDir other;
    Touch(other / "DVD-0.mpg");
    edtOut->setText(Q(other.Dir() + "VCD-0.mpg"));
    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeDVD"));
    EXPECT_EQ(dialog.OutputType(), TOutputType::DVD);
    EXPECT_EQ(edtOut->text(), Q(other.Dir() + "DVD-1.mpg"));
    EXPECT_EQ(preview->geometry(), QRect(0, 1, 233, 186));

    // 189 x 480 / 576 = 157.5 becomes 158, centred at (233 - 158) div 2 = 37.
    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeSVCD"));
    EXPECT_EQ(edtOut->text(), Q(other.Dir() + "SVCD-0.mpg"));
    EXPECT_EQ(preview->geometry(), QRect(37, 0, 158, 189));
    // The caption keeps the word VCD.
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("相册《相册一》VCD视频文件制作"));
}

TEST_F(MakeDialog, SyncNeedsMoreThanTwoSecondsOfMusicPerPicture) {
    const std::vector<int> dwells(10, 3);
    {
        TAlbumStore store = RecordsStore(dwells, {20});
        TFrmMake dialog(store, FServices);
        auto* sync = Child<QCheckBox>(dialog, "CboxTB");
        QTest::mouseClick(sync, Qt::LeftButton);
        EXPECT_FALSE(sync->isChecked());
        ASSERT_EQ(FServices.Prompts.size(), 1);
        EXPECT_EQ(FServices.Prompts[0].Text,
                  QStringLiteral("音乐太短,无法同步!请删除部分图片或者添加音乐。"));
        EXPECT_EQ(FServices.Prompts[0].Caption, QStringLiteral("错误提示"));
        EXPECT_EQ(FServices.Prompts[0].Buttons, QMessageBox::Ok);
        EXPECT_EQ(FServices.Prompts[0].Icon, QMessageBox::Information);
        EXPECT_EQ(Child<QLabel>(dialog, "LPicTime")->text(),
                  QStringLiteral("全部图片播放时间:00 时 00 分 50 秒"));
    }
    FServices.Prompts.clear();
    TAlbumStore store = RecordsStore(dwells, {21});
    TFrmMake dialog(store, FServices);
    auto* sync = Child<QCheckBox>(dialog, "CboxTB");
    QTest::mouseClick(sync, Qt::LeftButton);
    EXPECT_TRUE(sync->isChecked());
    EXPECT_TRUE(FServices.Prompts.isEmpty());
    // The pictures fill the music.
    EXPECT_EQ(Child<QLabel>(dialog, "LPicTime")->text(),
              QStringLiteral("全部图片播放时间:00 时 00 分 21 秒"));
    QTest::mouseClick(sync, Qt::LeftButton);
    EXPECT_EQ(Child<QLabel>(dialog, "LPicTime")->text(),
              QStringLiteral("全部图片播放时间:00 时 00 分 50 秒"));
}

TEST_F(MakeDialog, ListsTheJpegBackgroundPicturesAndShowsTheClickedOne) {
    const fs::path backPic = FRoot / "BackPic";
    fs::create_directories(backPic / "folder.jpg");
    test::MakeJpeg((backPic / "sky.jpg").string(), 40, 30, "xc:#0000ff");
    test::MakeJpeg((backPic / "SEA.JPG").string(), 40, 30, "xc:#00ff00");
    test::MakeJpeg((backPic / "lake.png").string(), 40, 30, "xc:#ff0000");
    Touch(backPic / "notes.txt");
    TAlbumStore store = RecordsStore({3}, {10});
    TFrmMake dialog(store, FServices);

    auto* list = Child<QListWidget>(dialog, "Clb1");
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
        names.append(list->item(row)->text());
        EXPECT_EQ(list->item(row)->checkState(), Qt::Checked);
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"SEA.JPG", "sky.jpg"}));
    EXPECT_TRUE(Child<QRadioButton>(dialog, "RbtnTP")->isEnabled());

    // A click shows the picture stretched over the preview.
    dialog.show();
    QListWidgetItem* sea = list->findItems("SEA.JPG", Qt::MatchExactly).value(0);
    ASSERT_NE(sea, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(sea).center());
    EXPECT_FALSE(dialog.Preview()->Colour().has_value());
    ASSERT_FALSE(dialog.Preview()->Picture().isNull());
    const QColor centre = dialog.Preview()->Picture().pixelColor(20, 15);
    EXPECT_LT(centre.red(), 30);
    EXPECT_GT(centre.green(), 220);
}

TEST_F(MakeDialog, ColourDialogFillsThePreview) {
    TAlbumStore store = RecordsStore({3}, {10});
    TFrmMake dialog(store, FServices);
    dialog.show();
    auto* button = Child<QPushButton>(dialog, "Button1");
    EXPECT_EQ(button->text(), QStringLiteral("颜色设置..."));

    FServices.ColorAnswers.push_back(std::nullopt);  // cancelled: nothing changes
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(dialog.FillColour(), QColor(Qt::black));

    FServices.ColorAnswers.push_back(QColor(200, 10, 20));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(FServices.ColorRequests, 2);
    EXPECT_EQ(dialog.FillColour(), QColor(200, 10, 20));
    EXPECT_EQ(dialog.Preview()->Colour().value_or(Qt::black), QColor(200, 10, 20));
    // A later change of output type refills the resized preview with that colour.
    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeDVD"));
    EXPECT_EQ(dialog.Preview()->Colour().value_or(Qt::black), QColor(200, 10, 20));
}

TEST_F(MakeDialog, SaveDialogPutsMpgInPlaceOfTheExtensionAndAsksBeforeOverwriting) {
    TAlbumStore store = RecordsStore({3}, {10});
    TFrmMake dialog(store, FServices);
    dialog.show();
    auto* edtOut = Child<QLineEdit>(dialog, "EdtOut");
    TMakeSaveDialog* sdlg = dialog.SaveDialog();

    QTest::mouseClick(Child<QPushButton>(dialog, "SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(sdlg->isVisible());
    EXPECT_EQ(sdlg->nameFilters(), QStringList({"MPEG文件(*.mpg)", "所有文件(*.*)"}));
    EXPECT_EQ(sdlg->directory().absolutePath(), QDir(Q(FHomeDir.Dir())).absolutePath());
    test::TempDir target;
    test::TypeFileName(*sdlg, Q(target.Dir() + "holiday.v1.avi"));
    sdlg->accept();
    EXPECT_FALSE(sdlg->isVisible());
    EXPECT_EQ(edtOut->text(), Q(target.Dir() + "holiday.v1.mpg"));
    EXPECT_TRUE(FServices.Prompts.isEmpty());

    // "old.txt" becomes "old.mpg", which exists: the question, and No keeps the dialog open.
    Touch(target / "old.mpg");
    QTest::mouseClick(Child<QPushButton>(dialog, "SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(sdlg->isVisible());
    test::TypeFileName(*sdlg, Q(target.Dir() + "old.txt"));
    FServices.Answers.push_back(QMessageBox::No);
    sdlg->accept();
    ASSERT_EQ(FServices.Prompts.size(), 1);
    EXPECT_EQ(FServices.Prompts[0].Text, QStringLiteral("文件已经存在是否要覆盖该文件"));
    EXPECT_EQ(FServices.Prompts[0].Caption, QStringLiteral("文件保存"));
    EXPECT_EQ(FServices.Prompts[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(FServices.Prompts[0].Icon, QMessageBox::Question);
    EXPECT_TRUE(sdlg->isVisible());
    EXPECT_EQ(edtOut->text(), Q(target.Dir() + "holiday.v1.mpg"));
    FServices.Answers.push_back(QMessageBox::Yes);
    sdlg->accept();
    EXPECT_FALSE(sdlg->isVisible());
    EXPECT_EQ(edtOut->text(), Q(target.Dir() + "old.mpg"));
}

TEST_F(MakeDialog, SaveDialogRemembersTheLastSelectedFolderAfterACancel) {
    TAlbumStore store = RecordsStore({3}, {10});
    TFrmMake dialog(store, FServices);
    dialog.show();
    TMakeSaveDialog* sdlg = dialog.SaveDialog();
    test::TempDir elsewhere;
    Touch(elsewhere / "VCD-0.mpg");
    Touch(elsewhere / "clip.mpg");

    QTest::mouseClick(Child<QPushButton>(dialog, "SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(sdlg->isVisible());
    // The user clicks a file in another folder, then cancels.
    Q_EMIT sdlg->currentChanged(Q(elsewhere.Dir() + "clip.mpg"));
    EXPECT_EQ(dialog.SdlgFileName(), Q(elsewhere.Dir() + "VCD-1.mpg"));
    sdlg->reject();
    EXPECT_EQ(Child<QLineEdit>(dialog, "EdtOut")->text(), Q(FHomeDir.Dir() + "VCD-0.mpg"));

    // The next browse starts in that folder, with the type's first free name there.
    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeDVD"));
    QTest::mouseClick(Child<QPushButton>(dialog, "SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(sdlg->isVisible());
    EXPECT_EQ(dialog.SdlgFileName(), Q(elsewhere.Dir() + "DVD-0.mpg"));
    EXPECT_EQ(sdlg->directory().absolutePath(), QDir(Q(elsewhere.Dir())).absolutePath());
    sdlg->reject();
}

TEST(MakeDialogRules, MpgTakesThePlaceOfTheFileNameExtension) {
    EXPECT_EQ(WithMpgExtension("/a/b.c/film"), "/a/b.c/film.mpg");
    EXPECT_EQ(WithMpgExtension("/a/film.MPG"), "/a/film.mpg");
    EXPECT_EQ(WithMpgExtension("/a/film.tar.gz"), "/a/film.tar.mpg");
    EXPECT_EQ(WithMpgExtension("film"), "film.mpg");
}

}  // namespace
}  // namespace velmora::ui
