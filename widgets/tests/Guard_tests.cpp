// The slot guard: an exception becomes one message box with its text, captioned "Velmora".

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "tests/FakeServices.h"
#include "widgets/Guard.h"

namespace velmora::ui {
namespace {

TEST(Guard, ShowsTheErrorTextAndReportsFailure) {
    test::TFakeServices services;
    EXPECT_TRUE(RunGuarded(nullptr, services, [] {}));
    EXPECT_TRUE(services.Prompts.isEmpty());

    EXPECT_FALSE(RunGuarded(nullptr, services, [] { throw IoError("cannot open", "/x/PicInfo"); }));
    ASSERT_EQ(services.Prompts.size(), 1);
    EXPECT_EQ(services.Prompts[0].Caption, "Velmora");
    EXPECT_TRUE(services.Prompts[0].Text.contains("/x/PicInfo"));
    EXPECT_EQ(services.Prompts[0].Buttons, QMessageBox::Ok);
}

}  // namespace
}  // namespace velmora::ui
