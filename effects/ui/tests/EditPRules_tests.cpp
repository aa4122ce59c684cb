// The picture editor's rules without its window: Save's three comparisons, the dwell field's
// filter, zero rule, "-" and "+", the caption and the stepping buttons, and Save and "到全部"
// that change nothing when they fail.

#include <gtest/gtest.h>

#include <limits>

#include "base/Errors.h"
#include "effects/ui/EditPRules.h"
#include "effects/ui/tests/EditPFixtures.h"

namespace velmora::ui {
namespace {

TPicInfo Record(const std::string& title, int dwell, int effect) {
    TPicInfo pic;
    pic.Title.SetText(title);
    pic.Dwell = dwell;
    pic.Effect = effect;
    return pic;
}

TEST(EditPRules, SaveButtonComparesTrimmedTitleDwellTextAndEffectLine) {
    const TPicInfo pic = Record("海边", 7, 13);
    EXPECT_FALSE(SaveButtonEnabled(pic, {"海边", "7", 13}));
    EXPECT_FALSE(SaveButtonEnabled(pic, {"  海边\t", " 7 ", 13}));  // blanks around don't count
    EXPECT_TRUE(SaveButtonEnabled(pic, {"海边 2", "7", 13}));
    EXPECT_TRUE(SaveButtonEnabled(pic, {"海边", "07", 13}));  // text, not value: "07" != "7"
    EXPECT_TRUE(SaveButtonEnabled(pic, {"海边", "7", 0}));
    EXPECT_TRUE(SaveButtonEnabled(Record("Sea", 3, 0), {"sea", "3", 0}));  // case counts
    // A damaged effect index shows as the random line and compares as that line.
    EXPECT_FALSE(SaveButtonEnabled(Record("", 3, 300), FieldsOf(Record("", 3, 300))));
    EXPECT_EQ(FieldsOf(Record("", 3, 300)).EffectLine, 0);
}

TEST(EditPRules, CaptionAndSteppingButtons) {
    EXPECT_EQ(EditPCaption(2), QString("图片编辑[第[3]张]"));
    EXPECT_EQ(EditPCaption(0), QString("图片编辑[第[1]张]"));
    const TStepButtons first = StepButtons(0, 4);
    const TStepButtons last = StepButtons(3, 4);
    const TStepButtons only = StepButtons(0, 1);
    const TStepButtons middle = StepButtons(1, 4);
    EXPECT_FALSE(first.Previous);
    EXPECT_TRUE(first.Next);
    EXPECT_TRUE(last.Previous);
    EXPECT_FALSE(last.Next);
    EXPECT_FALSE(only.Previous || only.Next);
    EXPECT_TRUE(middle.Previous && middle.Next);
}

TEST(EditPRules, DwellKeyFilterKeepsDigitsOnly) {
    EXPECT_TRUE(DwellKeyAccepted(Qt::Key_5, "5"));
    EXPECT_TRUE(DwellKeyAccepted(Qt::Key_Delete, ""));  // deleting stays possible
    EXPECT_TRUE(DwellKeyAccepted(Qt::Key_Left, ""));
    EXPECT_FALSE(DwellKeyAccepted(Qt::Key_Backspace, "\b"));  // Backspace is discarded too
    EXPECT_FALSE(DwellKeyAccepted(Qt::Key_Backspace, ""));
    EXPECT_FALSE(DwellKeyAccepted(Qt::Key_A, "a"));
    EXPECT_FALSE(DwellKeyAccepted(Qt::Key_Minus, "-"));
    EXPECT_FALSE(DwellKeyAccepted(Qt::Key_Space, " "));
    EXPECT_FALSE(DwellKeyAccepted(0, "５"));  // a full-width digit is not a digit of the field
}

TEST(EditPRules, DwellValueZeroRuleMinusAndPlus) {
    EXPECT_EQ(DwellFieldValue("007"), 7);
    EXPECT_EQ(DwellFieldValue(" 12 "), 12);
    EXPECT_EQ(DwellFieldValue("2147483647"), std::numeric_limits<std::int32_t>::max());
    for (const char* bad : {"", " ", "2147483648", "99999999999", "1a", "abc", "+-3"}) {
        EXPECT_THROW(DwellFieldValue(bad), InvalidArgument) << bad;
    }
    try {
        DwellFieldValue("");
        FAIL();
    } catch (const InvalidArgument& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(DwellAfterChange("0"), "3");
    EXPECT_EQ(DwellAfterChange("000"), "3");
    EXPECT_EQ(DwellAfterChange("03"), "03");
    EXPECT_THROW(DwellAfterChange(""), InvalidArgument);
    EXPECT_EQ(DwellMinus("1"), "0");  // the change handler then makes it "3"
    EXPECT_EQ(DwellAfterChange(DwellMinus("1")), "3");
    EXPECT_EQ(DwellMinus("007"), "6");
    EXPECT_EQ(DwellPlus("9"), "10");
    EXPECT_EQ(DwellPlus("2147483647"), "2147483647");  // no wrap to a negative time
    EXPECT_THROW(DwellPlus(""), InvalidArgument);
}

class EditPStoreRules : public ::testing::Test {
protected:
    test::TEditPStore Fixture{{"red", "green", "blue"}};
    TAlbumStore& Store = Fixture.Store;
};

TEST_F(EditPStoreRules, FailedSaveOrApplyToAllChangesNothing) {
    SaveEditedPicture(Store, 0, {"旧题目", "5", 9});
    const std::vector<std::uint8_t> bytes = Fixture.PicInfoBytes();
    const std::vector<TPicInfo> before = Store.Pics;
    EXPECT_THROW(SaveEditedPicture(Store, 0, {"新题目", "", 4}), InvalidArgument);
    EXPECT_THROW(SaveEditedPicture(Store, 0, {"新题目", "0", 4}), InvalidArgument);
    EXPECT_THROW(ApplyDwellTextToAll(Store, ""), InvalidArgument);
    EXPECT_THROW(ApplyDwellTextToAll(Store, "99999999999"), InvalidArgument);
    EXPECT_EQ(Store.Pics, before);
    EXPECT_EQ(Fixture.PicInfoBytes(), bytes);

    // A write that fails (the album folder is gone) leaves the records in memory as they were.
    const std::string albumPath = Store.AlbumPath;
    Store.AlbumPath = albumPath + "missing/";
    EXPECT_THROW(SaveEditedPicture(Store, 0, {"新题目", "8", 4}), IoError);
    EXPECT_THROW(ApplyDwellTextToAll(Store, "8"), IoError);
    EXPECT_EQ(Store.Pics, before);
    Store.AlbumPath = albumPath;
    EXPECT_EQ(Fixture.PicInfoBytes(), bytes);
}

}  // namespace
}  // namespace velmora::ui
