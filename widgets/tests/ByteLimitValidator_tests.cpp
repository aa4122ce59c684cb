// Text fields limited by GB18030 bytes: two bytes a Chinese character, one a Latin letter,
// never half a character, and typing through the real line edit is cut the same way.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "widgets/ByteLimitValidator.h"

namespace velmora::ui {
namespace {

TEST(ByteLimitValidator, CutsAtTheLastWholeCharacter) {
    EXPECT_EQ(TByteLimitValidator::Cut("abc", 3), "abc");
    EXPECT_EQ(TByteLimitValidator::Cut("abcd", 3), "abc");
    EXPECT_EQ(TByteLimitValidator::Cut(QString::fromUtf8("相册相册"), 5), QString::fromUtf8("相册"));
    EXPECT_EQ(TByteLimitValidator::Cut(QString::fromUtf8("a相册"), 4), QString::fromUtf8("a相"));
    EXPECT_EQ(TByteLimitValidator::Cut("", 0), "");
}

TEST(ByteLimitValidator, TypedOrPastedTextStopsAtTheCapacity) {
    QLineEdit edit;
    edit.setValidator(new TByteLimitValidator(36, &edit));
    QTest::keyClicks(&edit, QString(40, QChar('x')));
    EXPECT_EQ(edit.text().size(), 36);
    edit.clear();
    // Chinese text arrives as an input-method commit or a paste: both go through insert().
    edit.insert(QString::fromUtf8("春夏秋冬春夏秋冬春夏秋冬春夏秋冬春夏秋冬"));  // 40 bytes
    EXPECT_EQ(edit.text(), QString::fromUtf8("春夏秋冬春夏秋冬春夏秋冬春夏秋冬春夏"));
}

}  // namespace
}  // namespace velmora::ui
