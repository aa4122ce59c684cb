// The picture editor through its real widgets, offscreen, on a real album in a temporary
// folder: opening on the first, last and only picture, typing, the dwell field's rules, Save
// and "到全部" (also when they fail), the effect list, stepping with the main window's list
// following, help, and the preview with its timers driven by the test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "base/Errors.h"
#include "effects/EffectTable.h"
#include "effects/ui/BuiltinPicture.h"
#include "effects/ui/UnitEditP.h"
#include "effects/ui/tests/EditPFixtures.h"
#include "imaging/Fitting.h"
#include "tests/FakeServices.h"
#include "tests/GuiTestTools.h"
#include "widgets/ImageView.h"

namespace velmora::ui {
namespace {

using test::Retype;

constexpr int Never = 3600 * 1000;  // timer intervals that never elapse during a test

class EditPWindow : public ::testing::Test {
protected:
    explicit EditPWindow(std::vector<std::string> colours = {"red", "lime", "blue"})
        : Fixture(colours) {}

    std::unique_ptr<TFrmEditP> Open(int picIndex) {
        Store.PicIndex = picIndex;
        auto form = std::make_unique<TFrmEditP>(Store, Services, Host);
        form->SetTimerIntervals(Never, Never);
        form->show();
        return form;
    }

    static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void ClickLine(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // "007" as a person gets it into the field: a lone 0 would become 3 at once, so the 7
    // comes first and the zeros are put in front of it.
    static void TypeLeadingZeros(QLineEdit* edit) {
        Retype(edit, "7");
        QTest::keyClick(edit, Qt::Key_Home);
        test::TypeText(edit, "00");
    }
    static bool Shows(const TImageView* view, const Bitmap& bitmap) {
        return view->Picture() == test::AsImage(bitmap);
    }
    // Colour in the middle of the shown picture, and whether the letterbox bars are black.
    static QRgb Centre(const TImageView* view) { return view->Picture().pixel(92, 76); }

    test::TEditPStore Fixture;
    TAlbumStore& Store = Fixture.Store;
    test::TFakeServices Services;
    test::TTestEditPHost Host{Store};
};

class EditPOnePicture : public EditPWindow {
protected:
    EditPOnePicture() : EditPWindow({"red"}) {}
};

TEST_F(EditPWindow, OpensOnFirstAndLastPicture) {
    auto form = Open(0);
    EXPECT_EQ(form->size(), QSize(462, 319));
    EXPECT_EQ(form->windowTitle(), "图片编辑[第[1]张]");
    EXPECT_FALSE(form->SbtnPP->isEnabled());
    EXPECT_TRUE(form->SbtnNP->isEnabled());
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_EQ(form->EdtSJ->text(), "3");
    EXPECT_EQ(form->EdtTM->text(), "");
    EXPECT_EQ(form->LbXG->count(), 106);
    EXPECT_EQ(form->LbXG->item(105)->text(), "105 星形顺时针旋转");
    EXPECT_EQ(form->LbXG->currentRow(), 0);
    EXPECT_EQ(form->BtnToAll->toolTip(), "将当前时间应用到本相册的所有图片");
    // The 200 x 100 picture letterboxed to 185 x 92 (92.5 rounds to even), bars above and below.
    EXPECT_TRUE(Shows(form->ImgShow, form->EditedPicture()));
    EXPECT_GT(qRed(Centre(form->ImgShow)), 200);
    EXPECT_EQ(form->ImgShow->Picture().pixel(92, 29), qRgb(0, 0, 0));
    EXPECT_NE(form->ImgShow->Picture().pixel(92, 30), qRgb(0, 0, 0));
    EXPECT_EQ(form->ImgShow->Picture().pixel(92, 122), qRgb(0, 0, 0));

    auto last = Open(2);
    EXPECT_EQ(last->windowTitle(), "图片编辑[第[3]张]");
    EXPECT_TRUE(last->SbtnPP->isEnabled());
    EXPECT_FALSE(last->SbtnNP->isEnabled());
    EXPECT_GT(qBlue(Centre(last->ImgShow)), 200);
}

TEST_F(EditPOnePicture, OnlyPictureDisablesBothSteps) {
    auto form = Open(0);
    EXPECT_FALSE(form->SbtnPP->isEnabled());
    EXPECT_FALSE(form->SbtnNP->isEnabled());
    Store.PicIndex = 1;
    EXPECT_THROW(TFrmEditP(Store, Services, Host), InvalidArgument);
}

TEST_F(EditPWindow, CentredOverTheMainWindow) {
    QWidget main;
    main.setGeometry(140, 90, 800, 600);
    main.show();
    Store.PicIndex = 0;
    TFrmEditP form(Store, Services, Host, &main);
    form.show();
    const QPoint offset = form.frameGeometry().center() - main.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    EXPECT_EQ(form.Timer1().interval(), 50);
    EXPECT_EQ(form.HoldTimer().interval(), 1000);
    EXPECT_TRUE(form.HoldTimer().isSingleShot());
}

TEST_F(EditPWindow, TitleTypedAndDeletedAgainDisablesSave) {
    auto form = Open(0);
    form->EdtTM->setFocus();
    QTest::keyClicks(form->EdtTM, "ab");
    EXPECT_TRUE(form->BtnSave->isEnabled());
    QTest::keyClick(form->EdtTM, Qt::Key_Backspace);
    EXPECT_TRUE(form->BtnSave->isEnabled());
    QTest::keyClick(form->EdtTM, Qt::Key_Backspace);
    EXPECT_EQ(form->EdtTM->text(), "");
    EXPECT_FALSE(form->BtnSave->isEnabled());
    QTest::keyClicks(form->EdtTM, "   ");  // blanks around the title don't count
    EXPECT_FALSE(form->BtnSave->isEnabled());
}

TEST_F(EditPWindow, TitleHoldsWhatTheRecordHolds) {
    auto form = Open(0);
    // Twenty Chinese characters are 40 GB18030 bytes; 18 of them fill the 36 bytes.
    Retype(form->EdtTM, "春眠不觉晓处处闻啼鸟夜来风雨声花落知多少春眠");
    EXPECT_EQ(form->EdtTM->text(), "春眠不觉晓处处闻啼鸟夜来风雨声花落知");
    Click(form->BtnSave);
    EXPECT_EQ(Fixture.RecordsOnDisk()[0].Title.Text(), form->EdtTM->text().toStdString());
    Retype(form->EdtTM, QString(40, 'x'));
    EXPECT_EQ(form->EdtTM->text(), QString(36, 'x'));
}

TEST_F(EditPWindow, DwellFieldTakesDigitsOnlyAndNeverHoldsZero) {
    auto form = Open(0);
    form->EdtSJ->setFocus();
    form->EdtSJ->end(false);
    QTest::keyClicks(form->EdtSJ, "a-5 x");
    EXPECT_EQ(form->EdtSJ->text(), "35");
    QTest::keyClick(form->EdtSJ, Qt::Key_Backspace);  // discarded, as every non-digit
    EXPECT_EQ(form->EdtSJ->text(), "35");
    form->EdtSJ->home(false);
    QTest::keyClick(form->EdtSJ, Qt::Key_Delete);
    EXPECT_EQ(form->EdtSJ->text(), "5");
    Retype(form->EdtSJ, "0");  // the zero rule at once
    EXPECT_EQ(form->EdtSJ->text(), "3");
    EXPECT_FALSE(form->BtnSave->isEnabled());  // "3" is the stored dwell again

    Retype(form->EdtSJ, "1");
    Click(form->Btn_X);  // 1 - 1 = 0, which the field turns into "3"
    EXPECT_EQ(form->EdtSJ->text(), "3");
    Click(form->BtnM);
    EXPECT_EQ(form->EdtSJ->text(), "4");
    EXPECT_TRUE(form->BtnSave->isEnabled());
    EXPECT_TRUE(Services.Prompts.isEmpty());
}

TEST_F(EditPWindow, EmptyDwellRefusesEveryActionAndChangesNothing) {
    auto form = Open(0);
    const std::vector<std::uint8_t> bytes = Fixture.PicInfoBytes();
    const std::vector<TPicInfo> records = Store.Pics;
    Retype(form->EdtTM, "新题目");
    form->EdtSJ->setFocus();
    form->EdtSJ->selectAll();
    QTest::keyClick(form->EdtSJ, Qt::Key_Delete);
    EXPECT_EQ(form->EdtSJ->text(), "");
    ASSERT_EQ(Services.Prompts.size(), 1);
    EXPECT_EQ(Services.Prompts[0].Text, "'' is not a valid integer value");

    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(form->BtnSave), static_cast<QAbstractButton*>(form->BtnM),
          static_cast<QAbstractButton*>(form->Btn_X),
          static_cast<QAbstractButton*>(form->BtnToAll)}) {
        const int before = Services.Prompts.size();
        Click(button);
        EXPECT_EQ(Services.Prompts.size(), before + 1) << button->text().toStdString();
        EXPECT_EQ(Services.Prompts.back().Text, "'' is not a valid integer value");
    }
    EXPECT_EQ(form->EdtSJ->text(), "");
    EXPECT_EQ(Store.Pics, records);
    EXPECT_EQ(Fixture.PicInfoBytes(), bytes);
    EXPECT_TRUE(Host.Refreshed.empty());
    EXPECT_TRUE(Host.DwellTexts.empty());
    EXPECT_TRUE(form->BtnSave->isEnabled());  // usable again once the field holds a number

    QTest::keyClicks(form->EdtSJ, "5");
    Click(form->BtnSave);
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_EQ(Fixture.RecordsOnDisk()[0].Dwell, 5);
    EXPECT_EQ(Fixture.RecordsOnDisk()[0].Title.Text(), "新题目");
}

TEST_F(EditPWindow, FailedWriteLeavesRecordAndSaveUsable) {
    auto form = Open(0);
    const std::vector<TPicInfo> records = Store.Pics;
    Retype(form->EdtTM, "标题");
    const std::string albumPath = Store.AlbumPath;
    Store.AlbumPath = albumPath + "gone/";
    Click(form->BtnSave);
    ASSERT_EQ(Services.Prompts.size(), 1);
    EXPECT_EQ(Services.Prompts[0].Caption, "Velmora");
    EXPECT_EQ(Store.Pics, records);
    EXPECT_TRUE(form->BtnSave->isEnabled());
    EXPECT_TRUE(Host.Refreshed.empty());

    Store.AlbumPath = albumPath;
    Click(form->BtnSave);
    EXPECT_EQ(Fixture.RecordsOnDisk()[0].Title.Text(), "标题");
    EXPECT_FALSE(form->BtnSave->isEnabled());
}

TEST_F(EditPWindow, LeadingZerosSaveTheValue) {
    auto form = Open(1);
    TypeLeadingZeros(form->EdtSJ);
    EXPECT_EQ(form->EdtSJ->text(), "007");
    EXPECT_TRUE(form->BtnSave->isEnabled());
    Click(form->BtnSave);
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_EQ(Fixture.RecordsOnDisk()[1].Dwell, 7);
    ASSERT_EQ(Host.Refreshed.size(), 1u);
    EXPECT_EQ(Host.Refreshed[0].first, 1);
    EXPECT_EQ(Host.Refreshed[0].second[0], "7");
    EXPECT_EQ(Host.Refreshed[0].second[3], "pic1.bmp");  // the remark, unchanged
}

TEST_F(EditPWindow, ApplyToAllWritesTheTextToTheListAndTheValueToRecords) {
    auto form = Open(0);
    TypeLeadingZeros(form->EdtSJ);
    Click(form->BtnToAll);
    EXPECT_TRUE(Services.Prompts.isEmpty());
    ASSERT_EQ(Host.DwellTexts.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Host.DwellTexts[i], std::make_pair(i, QString("007")));
        EXPECT_EQ(Store.Pics[i].Dwell, 7);
        EXPECT_EQ(Fixture.RecordsOnDisk()[i].Dwell, 7);
    }
}

TEST_F(EditPWindow, RandomLineSavedAsEffectZero) {
    SaveEditedPicture(Store, 1, {"", "3", 13});
    auto form = Open(1);
    EXPECT_EQ(form->LbXG->currentRow(), 13);
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_TRUE(form->LbXG->toolTip().isEmpty());
    ClickLine(form->LbXG, 0);
    EXPECT_EQ(form->LbXG->toolTip(), "000 随机效果");
    EXPECT_TRUE(form->BtnSave->isEnabled());
    Click(form->BtnSave);
    EXPECT_EQ(Fixture.RecordsOnDisk()[1].Effect, 0);
    ASSERT_EQ(Host.Refreshed.size(), 1u);
    EXPECT_EQ(Host.Refreshed[0].second[1], "随机效果");

    ClickLine(form->LbXG, 13);
    EXPECT_EQ(form->LbXG->toolTip(), "013 从左向右流入");
    EXPECT_TRUE(form->BtnSave->isEnabled());
}

TEST_F(EditPWindow, SteppingFollowsTheMainListAndDropsUnsavedEdits) {
    auto form = Open(0);
    Retype(form->EdtTM, "未保存");
    Click(form->SbtnNP);
    EXPECT_EQ(Store.PicIndex, 1);
    EXPECT_EQ(form->windowTitle(), "图片编辑[第[2]张]");
    EXPECT_EQ(form->EdtTM->text(), "");
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_TRUE(form->SbtnPP->isEnabled());
    EXPECT_TRUE(form->SbtnNP->isEnabled());
    EXPECT_GT(qGreen(Centre(form->ImgShow)), 200);
    Click(form->SbtnNP);
    EXPECT_FALSE(form->SbtnNP->isEnabled());
    Click(form->SbtnPP);
    Click(form->SbtnPP);
    EXPECT_FALSE(form->SbtnPP->isEnabled());
    EXPECT_EQ(Host.Selected, (std::vector<int>{1, 2, 1, 0}));
    EXPECT_EQ(Store.Pics[0].Title.Text(), "");
    EXPECT_TRUE(Host.Refreshed.empty());
}

TEST_F(EditPWindow, HelpAndExit) {
    auto form = Open(0);
    Click(form->BtnHelp);
    EXPECT_EQ(Host.HelpCount, 1);
    Click(form->BtnExit);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(EditPWindow, PreviewFromTheBuiltinPictureOnTheFirstPicture) {
    auto form = Open(0);
    ClickLine(form->LbXG, 4);
    Click(form->BtnLookXG);
    EXPECT_EQ(form->BtnLookXG->text(), "停止预览");
    EXPECT_TRUE(Shows(form->ImgShow, BuiltinOutgoingPicture()));
    EXPECT_TRUE(form->HoldTimer().isActive());
    EXPECT_FALSE(form->Timer1().isActive());

    form->HoldTimerTimeout();
    EXPECT_FALSE(form->HoldTimer().isActive());
    EXPECT_TRUE(form->Timer1().isActive());
    EXPECT_EQ(form->Preview().Effect(), 4);
    for (int k = 1; k <= 24; ++k) {
        form->Timer1Timer();
        ASSERT_EQ(form->Preview().Progress(), 4 * k);
        ASSERT_TRUE(Shows(form->ImgShow, form->Preview().Shown()));
        ASSERT_EQ(form->BtnLookXG->text(), "停止预览");
    }
    // Reveal from the left at 96 %: the left part is the new picture, the right the builtin.
    EXPECT_TRUE(Shows(form->ImgShow, form->Preview().Shown()));
    EXPECT_FALSE(Shows(form->ImgShow, form->EditedPicture()));
    form->Timer1Timer();
    EXPECT_TRUE(Shows(form->ImgShow, form->EditedPicture()));
    EXPECT_EQ(form->BtnLookXG->text(), "效果预览");
    EXPECT_FALSE(form->Timer1().isActive());
}

TEST_F(EditPWindow, PreviewFromThePreviousPictureAndStopOnTheNextTick) {
    auto form = Open(1);
    Click(form->BtnLookXG);
    EXPECT_GT(qRed(Centre(form->ImgShow)), 200);  // picture 0, red, fitted
    EXPECT_EQ(form->ImgShow->Picture().pixel(2, 2), qRgb(0, 0, 0));
    form->HoldTimerTimeout();
    EXPECT_TRUE(IsEffectIndex(form->Preview().Effect()));  // line 0: a random effect
    for (int k = 0; k < 3; ++k) form->Timer1Timer();
    Click(form->BtnLookXG);  // "停止预览"
    EXPECT_EQ(form->BtnLookXG->text(), "效果预览");
    EXPECT_TRUE(form->Timer1().isActive());
    form->Timer1Timer();
    EXPECT_TRUE(Shows(form->ImgShow, form->EditedPicture()));
    EXPECT_GT(qGreen(Centre(form->ImgShow)), 200);
    EXPECT_FALSE(form->Timer1().isActive());
}

TEST_F(EditPWindow, ClosingStopsARunningPreview) {
    auto form = Open(0);
    Click(form->BtnLookXG);
    form->HoldTimerTimeout();
    form->Timer1Timer();
    Click(form->BtnExit);
    EXPECT_FALSE(form->Timer1().isActive());
    EXPECT_FALSE(form->HoldTimer().isActive());
    EXPECT_EQ(form->Preview().Phase(), TEditPPreview::TPhase::Idle);
}

}  // namespace
}  // namespace velmora::ui
