// The create-album dialog through its real controls: the list and its caption, the notices
// for every kind of name, the typed-character filter and the pasted names the catalogue
// refuses, Enter only when creation is allowed, the 90-byte limit, several albums in one
// visit, and a creation that fails.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "store/Pub.h"
#include "store/ui/UnitAddA.h"
#include "tests/FakeServices.h"
#include "tests/TestSupport.h"

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;

const QString NoticeEmpty = QString::fromUtf8(" 提示：请输入新的相册名称!");
const QString NoticeExists = QString::fromUtf8(" 提示：现输入的相册名称已存在,创建无效!");
const QString NoticeFree = QString::fromUtf8(" 提示：当前已经输入的相册名称系统还没有,可以创建!");

// Chinese text arrives as an input method's commit, as it does when a person types it.
void TypeCommitted(QLineEdit* edit, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
}

struct TAddAFixture : ::testing::Test {
    test::TempDir Dir;
    TAlbumStore Store;
    test::TFakeServices Services;

    void SetUp() override { Store.RootPath = Dir.Dir(); }
    std::vector<std::string> Catalogue() { return test::StoredAlbumNames(Store.RootPath); }
};

TEST_F(TAddAFixture, TwoAlbumsInOneVisitFromAnEmptyCatalogue) {
    TFrmAddA dialog(Store, Services);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("添加相册"));
    EXPECT_EQ(dialog.size(), QSize(392, 356));
    EXPECT_EQ(dialog.Lab->text(), QString::fromUtf8("系统已有相册列表(暂无)："));
    EXPECT_EQ(dialog.Lst->count(), 0);
    EXPECT_EQ(dialog.PnlNotice->text(), QString::fromUtf8(" 提示："));
    EXPECT_FALSE(dialog.BtnAdd->isEnabled());
    EXPECT_EQ(dialog.BtnAdd->text(), QString::fromUtf8("创建"));
    EXPECT_EQ(dialog.BtnClose->text(), QString::fromUtf8("退出"));
    dialog.show();

    TypeCommitted(dialog.Edt, QString::fromUtf8("春游"));
    EXPECT_EQ(dialog.PnlNotice->text(), NoticeFree);
    QTest::keyClick(dialog.Edt, Qt::Key_Return);  // Enter creates while "创建" is enabled
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Edt->text(), "");
    EXPECT_EQ(dialog.PnlNotice->text(), NoticeEmpty);
    EXPECT_FALSE(dialog.BtnAdd->isEnabled());

    QTest::keyClicks(dialog.Edt, "Summer");
    QTest::mouseClick(dialog.BtnAdd, Qt::LeftButton);
    EXPECT_EQ(dialog.Lab->text(), QString::fromUtf8("系统已有相册列表(共2个)："));
    EXPECT_EQ(dialog.Lst->count(), 2);
    EXPECT_EQ(dialog.Lst->currentRow(), 1);
    EXPECT_EQ(dialog.CreatedIndex(), 1);
    EXPECT_EQ(Catalogue(), (std::vector<std::string>{"春游", "Summer"}));
    EXPECT_TRUE(fs::is_regular_file(Dir / "春游" / "PicInfo"));
    EXPECT_TRUE(fs::is_regular_file(Dir / "Summer" / "MusicInfo"));

    // The name just made is now taken.
    QTest::keyClicks(dialog.Edt, "Summer");
    EXPECT_EQ(dialog.PnlNotice->text(), NoticeExists);
    QTest::mouseClick(dialog.BtnClose, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(Services.Prompts.isEmpty());
}

TEST_F(TAddAFixture, ExistingAlbumsAreListedAndTheLastIsSelectedOnShowing) {
    for (const char* name : {"A1", "A2", "A3"}) Store.Albums.emplace_back().Name.SetText(name);
    Store.AlbumCount = 3;
    TFrmAddA dialog(Store, Services);
    EXPECT_EQ(dialog.Lab->text(), QString::fromUtf8("系统已有相册列表(共3个)："));
    ASSERT_EQ(dialog.Lst->count(), 3);
    EXPECT_EQ(dialog.Lst->item(2)->text(), "A3");
    dialog.show();
    EXPECT_EQ(dialog.Lst->currentRow(), 2);
    EXPECT_EQ(dialog.focusWidget(), dialog.Edt);
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.CreatedIndex(), -1);
}

TEST_F(TAddAFixture, NoticesFollowEveryChange) {
    fs::create_directory(Dir / "BackPic");
    TFrmAddA dialog(Store, Services);
    dialog.show();
    QTest::keyClicks(dialog.Edt, "   ");  // blanks only count as empty
    EXPECT_EQ(dialog.PnlNotice->text(), NoticeEmpty);
    EXPECT_FALSE(dialog.BtnAdd->isEnabled());
    dialog.Edt->clear();
    QTest::keyClicks(dialog.Edt, "BackPic");  // any folder beside the store, album or not
    EXPECT_EQ(dialog.PnlNotice->text(), NoticeExists);
    EXPECT_FALSE(dialog.BtnAdd->isEnabled());
    QTest::keyClick(dialog.Edt, Qt::Key_Return);  // disabled: Enter does nothing
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Catalogue().empty());
    QTest::keyClicks(dialog.Edt, "2");
    EXPECT_EQ(dialog.PnlNotice->text(), NoticeFree);
    EXPECT_TRUE(dialog.BtnAdd->isEnabled());
}

TEST_F(TAddAFixture, TypedForbiddenCharactersAreDroppedPastedOnesRefused) {
    TFrmAddA dialog(Store, Services);
    dialog.show();
    QTest::keyClicks(dialog.Edt, "a\\b/c:d*e?f|g\"h<i>j");
    EXPECT_EQ(dialog.Edt->text(), "abcdefghij");
    EXPECT_TRUE(dialog.BtnAdd->isEnabled());

    dialog.Edt->clear();
    dialog.Edt->insert("x/y");  // a paste reaches the field unfiltered
    EXPECT_EQ(dialog.Edt->text(), "x/y");
    EXPECT_TRUE(dialog.PnlNotice->text().contains(QString::fromUtf8("创建无效")));
    EXPECT_FALSE(dialog.BtnAdd->isEnabled());
    QTest::keyClick(dialog.Edt, Qt::Key_Enter);
    EXPECT_TRUE(Catalogue().empty());
    EXPECT_FALSE(fs::exists(Dir / "x"));
}

TEST_F(TAddAFixture, TheNameFieldHoldsNinetyGb18030Bytes) {
    TFrmAddA dialog(Store, Services);
    dialog.show();
    QTest::keyClicks(dialog.Edt, QString(100, QChar('x')));
    EXPECT_EQ(dialog.Edt->text().size(), 90);
    dialog.Edt->clear();
    dialog.Edt->insert(QString(50, QChar(0x76F8)));  // 相 x 50 = 100 bytes
    EXPECT_EQ(dialog.Edt->text(), QString(45, QChar(0x76F8)));
    QTest::keyClick(dialog.Edt, Qt::Key_Return);
    ASSERT_EQ(Catalogue().size(), 1u);
    EXPECT_EQ(QString::fromStdString(Catalogue()[0]), QString(45, QChar(0x76F8)));
}

TEST_F(TAddAFixture, AFolderThatCannotBeMadeIsReportedAndTheDialogStaysOpen) {
    test::WriteText(Dir / "plain", "not a folder");
    Store.RootPath = (Dir / "plain").string() + "/";
    TFrmAddA dialog(Store, Services);
    dialog.show();
    QTest::keyClicks(dialog.Edt, "Trip");
    ASSERT_TRUE(dialog.BtnAdd->isEnabled());
    QTest::mouseClick(dialog.BtnAdd, Qt::LeftButton);
    ASSERT_EQ(Services.Prompts.size(), 1);
    EXPECT_EQ(Services.Prompts[0].Caption, "Velmora");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.CreatedIndex(), -1);
    EXPECT_EQ(Store.AlbumCount, 0);
    EXPECT_EQ(dialog.Edt->text(), "Trip");
}

}  // namespace
}  // namespace velmora::ui
