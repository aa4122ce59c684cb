// Creating and deleting albums, the name rules of the create dialog and the question texts.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/Errors.h"
#include "store/Catalogue.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const char* const Free = " 提示：当前已经输入的相册名称系统还没有,可以创建!";
const char* const TooLong = " 提示：相册名称太长(最多90字节,一个汉字占2字节),创建无效!";

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

struct CatalogueFixture : ::testing::Test {
    TempDir Dir;
    TAlbumStore Store;
    void SetUp() override { Store.RootPath = Dir.Dir(); }

    std::vector<std::string> StoredNames() { return test::StoredAlbumNames(Store.RootPath); }
};

TEST_F(CatalogueFixture, NameChecksGiveTheNoticeAndWhetherCreationIsAllowed) {
    fs::create_directory(Dir / "BackPic");
    test::WriteText(Dir / "Album", "");
    struct Case {
        std::string Typed;
        const char* Notice;
        bool CanCreate;
    };
    const Case cases[] = {
        {"", " 提示：请输入新的相册名称!", false},
        {" \t \r\n ", " 提示：请输入新的相册名称!", false},
        {"BackPic", " 提示：现输入的相册名称已存在,创建无效!", false},
        {"  BackPic ", " 提示：现输入的相册名称已存在,创建无效!", false},
        {"Album", " 提示：现输入的相册名称已存在,创建无效!", false},  // the catalogue file
        {"旅行 2026", Free, true},
        {"a/b", " 提示：相册名称不能含有 \\ / : * ? | \" < > 或控制字符,创建无效!", false},
        {"a:b", " 提示：相册名称不能含有 \\ / : * ? | \" < > 或控制字符,创建无效!", false},
        {"a\"b", " 提示：相册名称不能含有 \\ / : * ? | \" < > 或控制字符,创建无效!", false},
        {"a\nb", " 提示：相册名称不能含有 \\ / : * ? | \" < > 或控制字符,创建无效!", false},
        {"..", " 提示：相册名称不能是 . 或 ..,创建无效!", false},
        {" . ", " 提示：相册名称不能是 . 或 ..,创建无效!", false},
        {"a\xFF", " 提示：相册名称含有无效的文字编码,创建无效!", false},
        {std::string(90, 'x'), Free, true},
        {std::string(91, 'x'), TooLong, false},
        {std::string(44, 'y') + Repeat("中", 23), Free, true},  // 44 + 46 bytes
        {std::string(44, 'y') + Repeat("中", 24), TooLong, false},
    };
    for (const Case& c : cases) {
        const TAlbumNameCheck check = CheckAlbumName(Store, c.Typed);
        EXPECT_EQ(check.Notice, c.Notice) << c.Typed;
        EXPECT_EQ(check.CanCreate, c.CanCreate) << c.Typed;
    }
    EXPECT_EQ(CheckAlbumName(Store, " x \t").Name, "x");
}

TEST_F(CatalogueFixture, TypingFilterDropsFolderNameCharacters) {
    EXPECT_EQ(FilterAlbumNameInput("a\\b/c:d*e?f|g\"h<i>j 旅行"), "abcdefghij 旅行");
}

TEST_F(CatalogueFixture, CreatingTwoAlbumsFromAnEmptyCatalogue) {
    EXPECT_EQ(AlbumListLabel(Store.AlbumCount), "系统已有相册列表(暂无)：");
    CreateAlbum(Store, " 旅行 Travel ");
    CreateAlbum(Store, "Family");
    EXPECT_EQ(Store.AlbumCount, 2);
    EXPECT_EQ(AlbumListLabel(Store.AlbumCount), "系统已有相册列表(共2个)：");
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"旅行 Travel", "Family"}));
    for (const char* file : {"旅行 Travel/PicInfo", "旅行 Travel/MusicInfo", "Family/PicInfo"}) {
        EXPECT_TRUE(fs::is_regular_file(Dir / file)) << file;
        EXPECT_EQ(fs::file_size(Dir / file), 0u) << file;
    }
}

TEST_F(CatalogueFixture, RefusedNameThrowsAndChangesNothing) {
    CreateAlbum(Store, "A");
    EXPECT_THROW(CreateAlbum(Store, "A"), InvalidArgument);
    EXPECT_THROW(CreateAlbum(Store, "../escape"), InvalidArgument);
    EXPECT_EQ(Store.AlbumCount, 1);
    EXPECT_FALSE(fs::exists(Dir.Path().parent_path() / "escape"));
}

TEST_F(CatalogueFixture, AFolderThatCannotBeMadeLeavesNoCatalogueEntry) {
    CreateAlbum(Store, "A");
    Store.RootPath = Dir.Dir() + "missing/";  // the folder cannot be created there
    EXPECT_THROW(CreateAlbum(Store, "B"), IoError);
    EXPECT_EQ(Store.AlbumCount, 1);
    Store.RootPath = Dir.Dir();
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"A"});
}

TEST_F(CatalogueFixture, AFailedCatalogueWriteRemovesTheNewFolder) {
    CreateAlbum(Store, "A");
    fs::remove(Dir / "Album");
    fs::create_directories(Dir / "Album/blocker");  // "Album" cannot be replaced by a file
    EXPECT_THROW(CreateAlbum(Store, "B"), IoError);
    EXPECT_EQ(Store.AlbumCount, 1);
    EXPECT_EQ(Store.Albums.size(), 1u);
    EXPECT_FALSE(fs::exists(Dir / "B"));
}

struct DeleteCase {
    int Current;
    int NewCurrent;
    std::vector<std::string> Left;
};

TEST_F(CatalogueFixture, DeletingAnAlbumMakesTheFollowingOrNewLastOneCurrent) {
    const DeleteCase cases[] = {{0, 0, {"B", "C"}}, {1, 1, {"A", "C"}}, {2, 1, {"A", "B"}}};
    for (const DeleteCase& c : cases) {
        TempDir dir;
        TAlbumStore store;
        store.RootPath = dir.Dir();
        for (const char* name : {"A", "B", "C"}) CreateAlbum(store, name);
        test::WriteText(dir / "B/P0.jpg", "x");
        store.AlbumIndex = c.Current;
        ASSERT_TRUE(DeleteAlbum(store));
        EXPECT_EQ(store.AlbumCount, 2);
        EXPECT_EQ(store.AlbumIndex, c.NewCurrent);
        EXPECT_EQ(store.AlbumPath, dir.Dir() + c.Left[c.NewCurrent] + "/");
        EXPECT_FALSE(fs::exists(dir / std::string(1, char('A' + c.Current))));
        TAlbumStore reread;
        reread.RootPath = store.RootPath;
        reread.LoadRecords("A");
        ASSERT_EQ(reread.AlbumCount, 2);
        EXPECT_EQ(reread.Albums[0].Name.Text(), c.Left[0]);
        EXPECT_EQ(reread.Albums[1].Name.Text(), c.Left[1]);
    }
}

TEST_F(CatalogueFixture, DeletingTheLastAlbumRemovesTheCatalogue) {
    CreateAlbum(Store, "Only");
    Store.OpenAlbum(0);
    Store.PicCount = 2;
    Store.PicIndex = 1;
    ASSERT_TRUE(DeleteAlbum(Store));
    EXPECT_FALSE(fs::exists(Dir / "Album"));
    EXPECT_FALSE(fs::exists(Dir / "Only"));
    EXPECT_EQ(Store.AlbumCount, 0);
    EXPECT_TRUE(Store.Albums.empty());
    EXPECT_EQ(Store.AlbumIndex, -1);
    EXPECT_EQ(Store.PicCount, 0);
    EXPECT_EQ(Store.PicIndex, -1);
    EXPECT_EQ(Store.MusicCount, 0);
    EXPECT_EQ(Store.MusicIndex, -1);
    EXPECT_FALSE(DeleteAlbum(Store));  // nothing current
}

TEST_F(CatalogueFixture, AnAlbumNamedOutsideTheStoreDeletesNoFolder) {
    TempDir outside;
    test::WriteText(outside / "keep", "x");
    CreateAlbum(Store, "A");
    Store.Albums[0].Name.SetText("../" + outside.Path().filename().string());
    Store.AlbumIndex = 0;
    ASSERT_TRUE(DeleteAlbum(Store));
    EXPECT_TRUE(fs::exists(outside / "keep"));
    EXPECT_FALSE(fs::exists(Dir / "Album"));
}

TEST(AlbumDeleteQuestion, DependsOnTheCounts) {
    EXPECT_EQ(AlbumDeleteQuestion(3, 0), "当前相册已有3张图片，确定要删除本相册吗？");
    EXPECT_EQ(AlbumDeleteQuestion(0, 2), "当前相册已有2首音乐，确定要删除本相册吗？");
    EXPECT_EQ(AlbumDeleteQuestion(3, 2), "当前相册已有3张图片和2首音乐，确定要删除本相册吗？");
    EXPECT_EQ(AlbumDeleteQuestion(0, 0), std::nullopt);
}

TEST_F(CatalogueFixture, FindAlbumComparesTrimmedNames) {
    CreateAlbum(Store, "A");
    CreateAlbum(Store, "旅行");
    EXPECT_EQ(FindAlbum(Store, "旅行"), 1);
    EXPECT_EQ(FindAlbum(Store, " A "), 0);
    EXPECT_EQ(FindAlbum(Store, "B"), -1);
}

}  // namespace
}  // namespace velmora
