// The production dialog's choices beyond the three disc formats: the two HD MP4 output types
// (names, save filter, preview shape), the blurred fill with its preview, and the disc image
// check box, with a whole run that makes an image with the blurred fill.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "production/DiscImage.h"
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

constexpr int RunLimitMs = 120000;

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename T>
T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

/// Clicks a radio button or check box on its indicator (Qt takes clicks on the indicator and
/// the text only).
void ClickRadio(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

class MakeDialogHd : public ::testing::Test {
protected:
    test::TempDir FRoot;
    test::TempDir FHomeDir;
    test::TScopedHome FHome{FHomeDir.Dir()};
    test::TFakeServices FServices;
};

TEST_F(MakeDialogHd, Mp4TypesProposeMp4NamesFilterAndShapeThePreview) {
    test::WriteText(FHomeDir / "MP4-1080p-0.mp4", "x");
    TAlbumStore store = MakeAlbumStore(FRoot.Dir(), {{3, 1, "", 0, 0, ""}}, {{10, false}});
    TFrmMake dialog(store, FServices);
    dialog.show();
    auto* out = Child<QLineEdit>(dialog, "EdtOut");
    auto* disc = Child<QCheckBox>(dialog, "CboxDisc");
    EXPECT_TRUE(disc->isEnabled());
    EXPECT_FALSE(disc->isChecked());

    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeMP4-1080p"));
    EXPECT_EQ(dialog.OutputType(), TOutputType::MP4_1080p);
    EXPECT_EQ(out->text(), Q(FHomeDir.Dir() + "MP4-1080p-1.mp4"));
    EXPECT_FALSE(disc->isEnabled());
    // 16:9 in the 233 x 189 panel: full width, 131 high, centred.
    EXPECT_EQ(dialog.Preview()->geometry(), QRect(0, 29, 233, 131));
    EXPECT_EQ(dialog.SaveDialog()->nameFilters().first(), QStringLiteral("MP4文件(*.mp4)"));

    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeMP4-720p"));
    EXPECT_EQ(out->text(), Q(FHomeDir.Dir() + "MP4-720p-0.mp4"));

    // A name chosen in the save dialog gets the type's extension.
    QTest::mouseClick(Child<QPushButton>(dialog, "SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(dialog.SaveDialog()->isVisible());
    test::TypeFileName(*dialog.SaveDialog(), Q(FHomeDir.Dir() + "holiday.mpg"));
    dialog.SaveDialog()->accept();
    EXPECT_EQ(out->text(), Q(FHomeDir.Dir() + "holiday.mp4"));

    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeDVD"));
    EXPECT_EQ(out->text(), Q(FHomeDir.Dir() + "DVD-0.mpg"));
    EXPECT_TRUE(disc->isEnabled());
    EXPECT_EQ(dialog.SaveDialog()->nameFilters().first(), QStringLiteral("MPEG文件(*.mpg)"));
    EXPECT_EQ(WithExtension(QStringLiteral("/a.b/c"), QStringLiteral("mp4")),
              QStringLiteral("/a.b/c.mp4"));
}

TEST_F(MakeDialogHd, BlurredFillIsPreviewedWithTheFirstPicture) {
    // A tall green picture: the preview shows it in the middle over its own darker blur.
    TAlbumStore store =
        MakeAlbumStore(FRoot.Dir(), {{1, 1, "", 120, 240, "xc:#20E040"}}, {{10, false}});
    TFrmMake dialog(store, FServices);
    dialog.show();
    auto* blur = Child<QRadioButton>(dialog, "RbtnBlur");
    EXPECT_EQ(blur->text(), QStringLiteral("填充模糊背景"));
    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeMP4-720p"));
    ClickRadio(blur);
    ASSERT_TRUE(blur->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "RbtnYS")->isChecked());
    const QImage shown = dialog.Preview()->Picture();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(240, 135)) << "16:9, stretched over the 233 x 131 preview";
    const QColor middle = shown.pixelColor(120, 67);
    const QColor margin = shown.pixelColor(5, 67);
    EXPECT_NEAR(middle.green(), 0xE0, 8);
    EXPECT_NEAR(margin.green(), 0xE0 * 3 / 4, 8) << "the picture's green, darkened";
    EXPECT_LT(margin.red(), margin.green());

    // Changing the output type previews again at the new shape.
    ClickRadio(Child<QRadioButton>(dialog, "RGOutTypeVCD"));
    EXPECT_EQ(dialog.Preview()->Picture().size(), QSize(210, 189));
    // Back to the colour: the colour shows again once chosen.
    ClickRadio(Child<QRadioButton>(dialog, "RbtnYS"));
    FServices.ColorAnswers.push_back(QColor(10, 20, 30));
    QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    ASSERT_TRUE(dialog.Preview()->Colour().has_value());
    EXPECT_EQ(*dialog.Preview()->Colour(), QColor(10, 20, 30));
}

TEST_F(MakeDialogHd, RunMakesTheDiscImageWithTheBlurredFill) {
    TAlbumStore store =
        MakeAlbumStore(FRoot.Dir(), {{1, 7, "", 120, 240, "gradient:orange-purple"}}, {{3, true}});
    TFrmMake dialog(store, FServices);
    dialog.show();
    QSignalSpy finished(&dialog, &TFrmMake::RunFinished);
    FServices.Answers.push_back(QMessageBox::No);
    ClickRadio(Child<QRadioButton>(dialog, "RbtnBlur"));
    ClickRadio(Child<QCheckBox>(dialog, "CboxDisc"));
    ASSERT_TRUE(Child<QCheckBox>(dialog, "CboxDisc")->isChecked());
    QTest::mouseClick(Child<QPushButton>(dialog, "SbtnMake"), Qt::LeftButton);
    EXPECT_FALSE(Child<QCheckBox>(dialog, "CboxDisc")->isEnabled()) << "disabled during the run";
    ASSERT_TRUE(finished.wait(RunLimitMs));

    const std::string output = FHomeDir.Dir() + "VCD-0.mpg";
    const TProductionReport& report = dialog.LastReport();
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    EXPECT_EQ(report.DiscFailure, "");
    EXPECT_EQ(report.DiscFiles, (std::vector<std::string>{VcdBinPath(output), VcdCuePath(output)}));
    EXPECT_TRUE(fs::exists(VcdCuePath(output)));
    ASSERT_EQ(FServices.Prompts.size(), 1);
    EXPECT_EQ(FServices.Prompts[0].Text, QStringLiteral("文件生成完毕！请确定查看。"));

    // The still frame's margins carry the picture's colours, not the black fill colour.
    // Frame 62 decoded by ffmpeg's command line at the composed size, as RGB bytes.
    std::string rgb;
    std::string err;
    ASSERT_EQ(test::RunProgram(
                  {"ffmpeg", "-v", "error", "-i", output, "-vf", "select=eq(n\\,62),scale=320:288",
                   "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"},
                  &rgb, &err),
              0)
        << err;
    ASSERT_EQ(rgb.size(), 320u * 288 * 3);
    const auto* margin = reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * (144 * 320 + 8);
    EXPECT_GT(margin[0] + margin[1] + margin[2], 90);
}

}  // namespace
}  // namespace velmora::ui
