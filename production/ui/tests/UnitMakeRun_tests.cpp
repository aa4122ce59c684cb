// The production run from the dialog: a whole run with its report and notices, a run stopped
// midway, closing refused until the run has ended, and failed runs reported as failures even
// when a file of the output's name exists.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <memory>

#include "production/ui/MakeSaveDialog.h"
#include "production/ui/UnitMake.h"
#include "production/ui/tests/MakeFixtures.h"
#include "tests/FakeServices.h"
#include "widgets/ImageView.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;
using test::MakeAlbumStore;
using test::TMakePicture;
using test::TMakeSong;

/// A generous limit for a run of a few seconds on a busy machine.
constexpr int RunLimitMs = 120000;

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename T>
T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

/// The settings a run disables, enabled or not.
void ExpectSettingsEnabled(const TFrmMake& dialog, bool enabled) {
    EXPECT_EQ(Child<QGroupBox>(dialog, "RGOutType")->isEnabled(), enabled);
    EXPECT_EQ(Child<QPushButton>(dialog, "SpeedButton3")->isEnabled(), enabled);
    EXPECT_EQ(Child<QCheckBox>(dialog, "CboxTB")->isEnabled(), enabled);
    EXPECT_EQ(Child<QGroupBox>(dialog, "GroupBox3")->isEnabled(), enabled);
}

/// The output chosen through the save dialog, as the user does.
void ChooseOutput(TFrmMake& dialog, const QString& path) {
    QTest::mouseClick(Child<QPushButton>(dialog, "SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(dialog.SaveDialog()->isVisible());
    test::TypeFileName(*dialog.SaveDialog(), path);
    dialog.SaveDialog()->accept();
    ASSERT_FALSE(dialog.SaveDialog()->isVisible());
    ASSERT_EQ(Child<QLineEdit>(dialog, "EdtOut")->text(), path);
}

class MakeRun : public ::testing::Test {
protected:
    test::TempDir FRoot;
    test::TempDir FHomeDir;
    test::TScopedHome FHome{FHomeDir.Dir()};
    test::TFakeServices FServices;
};

TEST_F(MakeRun, ProducesTheFileReportsAndShowsTheNoticesAfterTheQuestion) {
    // Two pictures, the second not a picture at all (its frames show the background alone).
    TAlbumStore store = MakeAlbumStore(
        FRoot.Dir(), {{1, 5, "第一张", 160, 120, "gradient:red-blue"}, {1, 0, "", 0, 0, ""}},
        {{2, true}});
    test::WriteText(store.AlbumPath + "P1.jpg", "not a picture");
    TFrmMake dialog(store, FServices);
    dialog.show();
    QSignalSpy finished(&dialog, &TFrmMake::RunFinished);
    FServices.Answers.push_back(QMessageBox::Yes);

    QTest::mouseClick(Child<QPushButton>(dialog, "SbtnMake"), Qt::LeftButton);
    EXPECT_TRUE(dialog.RunActive());
    EXPECT_FALSE(Child<QPushButton>(dialog, "SbtnMake")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(dialog, "SbtnStop")->isEnabled());
    EXPECT_EQ(Child<QLabel>(dialog, "Lguage")->text(), QStringLiteral("完成进度：0%"));
    ExpectSettingsEnabled(dialog, false);
    // The hourglass while the run sets itself up.
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ASSERT_TRUE(finished.wait(RunLimitMs));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    EXPECT_FALSE(dialog.RunActive());
    ExpectSettingsEnabled(dialog, true);
    EXPECT_TRUE(Child<QPushButton>(dialog, "SbtnMake")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog, "SbtnStop")->isEnabled());
    EXPECT_EQ(Child<QLabel>(dialog, "Lguage")->text(), QStringLiteral("相册生成完毕!"));
    EXPECT_EQ(Child<QLabel>(dialog, "LOverTine")->text(), QStringLiteral("剩余时间：00:00"));
    // The preview showed frames during the run and is cleared after it.
    EXPECT_GT(dialog.Preview()->PicturesShown(), 0);
    EXPECT_TRUE(dialog.Preview()->Picture().isNull());

    const std::string output = FHomeDir.Dir() + "VCD-0.mpg";
    EXPECT_EQ(dialog.LastReport().OutputPath, output);
    EXPECT_TRUE(dialog.LastReport().Success);
    // 2 x 51 + 2 x 25 planned frames, and the opening and closing frames.
    EXPECT_NEAR(test::CountVideoFrames(output), 2 * 51 + 2 * 25 + 2, 1);

    ASSERT_EQ(FServices.Prompts.size(), 2);
    EXPECT_EQ(FServices.Prompts[0].Text, QStringLiteral("文件生成完毕！请确定查看。"));
    EXPECT_EQ(FServices.Prompts[0].Caption, QStringLiteral("完成"));
    EXPECT_EQ(FServices.Prompts[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(FServices.Prompts[0].Icon, QMessageBox::Information);
    ASSERT_EQ(FServices.OpenedUrls.size(), 1);
    EXPECT_EQ(FServices.OpenedUrls[0], QUrl::fromLocalFile(QDir(Q(FHomeDir.Dir())).absolutePath()));
    // One notice after the question, naming the picture that could not be decoded.
    EXPECT_TRUE(FServices.Prompts[1].Text.contains("P1.jpg"))
        << FServices.Prompts[1].Text.toStdString();

    // The dialog closes once the run has ended.
    EXPECT_TRUE(dialog.close());
}

TEST_F(MakeRun, StopsMidwayAndRefusesClosingUntilTheRunHasEnded) {
    TAlbumStore store = MakeAlbumStore(FRoot.Dir(),
                                       {{60, 1, "", 160, 120, "gradient:red-blue"},
                                        {60, 2, "", 160, 120, "gradient:green-yellow"},
                                        {60, 3, "", 160, 120, "gradient:white-black"}},
                                       {{3, true}});
    TFrmMake dialog(store, FServices);
    dialog.show();
    QSignalSpy finished(&dialog, &TFrmMake::RunFinished);
    auto* progress = Child<QLabel>(dialog, "Lguage");
    auto* stop = Child<QPushButton>(dialog, "SbtnStop");
    FServices.Answers.push_back(QMessageBox::No);

    QTest::mouseClick(Child<QPushButton>(dialog, "SbtnMake"), Qt::LeftButton);
    // Encoding is under way once the percentage has moved.
    const QRegularExpression encoding(QStringLiteral("^完成进度：([1-9]\\d*)%$"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return encoding.match(progress->text()).hasMatch(); }, RunLimitMs))
        << progress->text().toStdString();
    EXPECT_TRUE(Child<QLabel>(dialog, "LOverTine")->text().startsWith("剩余时间: "));

    // Neither the frame's close button (or Alt+F4) nor Esc closes the dialog during the run.
    EXPECT_FALSE(dialog.close());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_FALSE(stop->isEnabled());
    // The stopped run is still finishing: closing stays refused, whatever the button's state.
    EXPECT_TRUE(dialog.RunActive());
    EXPECT_FALSE(dialog.close());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());

    ASSERT_TRUE(finished.wait(RunLimitMs));
    const TProductionReport& report = dialog.LastReport();
    EXPECT_TRUE(report.Stopped);
    EXPECT_TRUE(report.Success);
    EXPECT_EQ(report.TotalFrames, 3 * 51 + 3 * 60 * 25);
    // A stopped run keeps the completion question; its shorter file is there.
    ASSERT_GE(FServices.Prompts.size(), 1);
    EXPECT_EQ(FServices.Prompts[0].Text, QStringLiteral("文件生成完毕！请确定查看。"));
    EXPECT_TRUE(FServices.OpenedUrls.isEmpty());
    const int frames = test::CountVideoFrames(report.OutputPath);
    EXPECT_GT(frames, 0);
    EXPECT_LT(frames, report.TotalFrames);
    EXPECT_EQ(progress->text(), QStringLiteral("相册生成完毕!"));

    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(MakeRun, DestroyingTheDialogDuringARunStopsTheRunAndWaitsForIt) {
    // As when the program ends during a run: the worker is stopped and joined, nothing is
    // reported and the album is not read after the dialog has gone.
    TAlbumStore store = MakeAlbumStore(FRoot.Dir(),
                                       {{60, 1, "", 160, 120, "gradient:red-blue"},
                                        {60, 2, "", 160, 120, "gradient:green-yellow"}},
                                       {{3, true}});
    auto dialog = std::make_unique<TFrmMake>(store, FServices);
    dialog->show();
    auto* progress = Child<QLabel>(*dialog, "Lguage");
    QTest::mouseClick(Child<QPushButton>(*dialog, "SbtnMake"), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return progress->text().startsWith("完成进度："); }, RunLimitMs));
    dialog.reset();
    QApplication::processEvents();
    EXPECT_TRUE(FServices.Prompts.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    store.Pics.clear();  // the run no longer reads the album
}

TEST_F(MakeRun, FailedRunsAreReportedWithTheirReason) {
    TAlbumStore store =
        MakeAlbumStore(FRoot.Dir(), {{1, 7, "", 160, 120, "gradient:red-blue"}}, {{2, true}});
    TFrmMake dialog(store, FServices);
    dialog.show();
    QSignalSpy finished(&dialog, &TFrmMake::RunFinished);
    auto* make = Child<QPushButton>(dialog, "SbtnMake");
    const QString failure = QStringLiteral("创建相册视频文件出错，请重新制作！");

    // A run the core refuses to start (an output inside the album store) does not start.
    ChooseOutput(dialog, Q(store.AlbumPath + "inside.mpg"));
    QTest::mouseClick(make, Qt::LeftButton);
    EXPECT_FALSE(dialog.RunActive());
    ASSERT_EQ(FServices.Prompts.size(), 1);
    EXPECT_EQ(FServices.Prompts[0].Caption, QStringLiteral("Velmora"));
    EXPECT_TRUE(make->isEnabled());
    ExpectSettingsEnabled(dialog, true);

    // An output in a folder that was removed after it was chosen cannot be written.
    test::TempDir out;
    fs::create_directories(out / "gone");
    ChooseOutput(dialog, Q(out.Dir() + "gone/out.mpg"));
    fs::remove_all(out / "gone");
    FServices.Prompts.clear();
    QTest::mouseClick(make, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(RunLimitMs));
    EXPECT_FALSE(dialog.LastReport().Success);
    ASSERT_EQ(FServices.Prompts.size(), 1);
    EXPECT_TRUE(FServices.Prompts[0].Text.startsWith(failure + "\n\n"));
    EXPECT_GT(FServices.Prompts[0].Text.size(), failure.size() + 2);
    EXPECT_EQ(FServices.Prompts[0].Caption, QStringLiteral("错误"));
    EXPECT_EQ(FServices.Prompts[0].Buttons, QMessageBox::Ok);
    EXPECT_EQ(FServices.Prompts[0].Icon, QMessageBox::Information);
    EXPECT_TRUE(FServices.OpenedUrls.isEmpty());
    ExpectSettingsEnabled(dialog, true);

    // A run that fails while the old file the user chose to overwrite is still there (the only
    // picture cannot be decoded): a failure with its reason, never the completion question,
    // then the notice naming the picture.
    test::WriteText(store.AlbumPath + "P0.jpg", "not a picture");
    test::WriteText(out / "old.mpg", "an older video");
    FServices.Prompts.clear();
    FServices.Answers.push_back(QMessageBox::Yes);  // the overwrite question
    ChooseOutput(dialog, Q(out.Dir() + "old.mpg"));
    ASSERT_EQ(FServices.Prompts.size(), 1);
    FServices.Prompts.clear();
    QTest::mouseClick(make, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(RunLimitMs));
    EXPECT_FALSE(dialog.LastReport().Success);
    EXPECT_TRUE(fs::exists(out / "old.mpg"));
    ASSERT_EQ(FServices.Prompts.size(), 2);
    EXPECT_TRUE(FServices.Prompts[0].Text.startsWith(failure + "\n\n"))
        << FServices.Prompts[0].Text.toStdString();
    EXPECT_TRUE(FServices.Prompts[1].Text.contains("P0.jpg"));
    EXPECT_TRUE(FServices.OpenedUrls.isEmpty());
}

}  // namespace
}  // namespace velmora::ui
