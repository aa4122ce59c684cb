// The store commands of velmora-cli, run as a real process on a store in a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "store/Catalogue.h"
#include "store/Pub.h"
#include "store/StoreLock.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::RunCli;
using Bytes = std::vector<std::uint8_t>;

struct StoreCli : ::testing::Test {
    test::TempDir Dir;

    test::CliResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--store", Dir.Path().string()});
        return RunCli(args);
    }

    /// Album "旅行" with three pictures (dwell 1, 2, 3) and two songs, written through the core.
    void MakeAlbum() {
        TAlbumStore store;
        store.RootPath = Dir.Dir();
        CreateAlbum(store, "旅行");
        store.OpenAlbum(0);
        for (int i = 0; i < 3; ++i) {
            TPicInfo pic;
            pic.Dwell = i + 1;
            pic.Title.SetText("海边 " + std::to_string(i));
            pic.Remark.SetText("img" + std::to_string(i) + ".jpg");
            pic.StoredName.SetText("P" + std::to_string(i) + ".jpg");
            store.Pics.push_back(pic);
            test::WriteText(Dir / ("旅行/P" + std::to_string(i) + ".jpg"), "x");
        }
        for (int i = 0; i < 2; ++i) {
            TMusicInfo song;
            song.PlayTime = 100 + i;
            song.StoredName.SetText("M" + std::to_string(i) + ".mp3");
            song.SongName.SetText("歌" + std::to_string(i) + ".mp3");
            song.Singer.SetText("歌手");
            store.Musics.push_back(song);
        }
        store.PicCount = 3;
        store.MusicCount = 2;
        store.SaveRecords("");
    }

    json PicsJson() {
        const auto result = Run({"pics", "旅行", "--json"});
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        return json::parse(result.Out);
    }
};

TEST_F(StoreCli, CreatesListsAndDeletesAlbums) {
    EXPECT_EQ(Run({"album", "list", "--json"}).Out, "[]\n");
    EXPECT_EQ(Run({"album", "create", " 旅行 Travel 2026 "}).ExitCode, 0);
    EXPECT_EQ(Run({"album", "create", "Family"}).ExitCode, 0);
    EXPECT_EQ(json::parse(Run({"album", "list", "--json"}).Out),
              json::parse(R"(["旅行 Travel 2026", "Family"])"));
    const auto table = Run({"album", "list"});
    EXPECT_EQ(table.ExitCode, 0);
    EXPECT_NE(table.Out.find("旅行 Travel 2026"), std::string::npos);

    const auto refused = Run({"album", "create", "Family"});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_NE(refused.Err.find("现输入的相册名称已存在,创建无效!"), std::string::npos);
    EXPECT_EQ(Run({"album", "create", "../x"}).ExitCode, 1);

    EXPECT_EQ(Run({"album", "delete", "旅行 Travel 2026"}).ExitCode, 0);
    EXPECT_FALSE(fs::exists(Dir / "旅行 Travel 2026"));
    EXPECT_EQ(json::parse(Run({"album", "list", "--json"}).Out), json::parse(R"(["Family"])"));
    EXPECT_EQ(Run({"album", "delete", "Nope"}).ExitCode, 1);
    EXPECT_EQ(Run({"album"}).ExitCode, 2);
}

TEST_F(StoreCli, DeletingAnAlbumWithContentNeedsConfirmation) {
    MakeAlbum();
    const auto refused = Run({"album", "delete", "旅行"});
    EXPECT_EQ(refused.ExitCode, 2);
    EXPECT_NE(refused.Err.find("当前相册已有3张图片和2首音乐，确定要删除本相册吗？"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(Dir / "旅行/P0.jpg"));
    EXPECT_EQ(Run({"album", "delete", "旅行", "--yes"}).ExitCode, 0);
    EXPECT_FALSE(fs::exists(Dir / "旅行"));
    EXPECT_FALSE(fs::exists(Dir / "Album"));
}

TEST_F(StoreCli, ListsPicturesAndSongsAsJson) {
    MakeAlbum();
    EXPECT_EQ(PicsJson()[1], json::parse(R"({"Dwell": 2, "Effect": 0, "Title": "海边 1",
                                               "Remark": "img1.jpg", "StoredName": "P1.jpg"})"));
    const auto songs = Run({"songs", "旅行", "--json"});
    EXPECT_EQ(songs.ExitCode, 0);
    EXPECT_EQ(json::parse(songs.Out)[0],
              json::parse(R"({"PlayTime": 100, "StoredName": "M0.mp3", "SongName": "歌0.mp3",
                              "Singer": "歌手", "Remark": ""})"));
    const auto table = Run({"pics", "旅行"});
    EXPECT_EQ(table.ExitCode, 0);
    EXPECT_NE(table.Out.find("海边 2"), std::string::npos);
    EXPECT_EQ(Run({"pics", "missing"}).ExitCode, 1);
}

TEST_F(StoreCli, MovesPicturesAndChecksArguments) {
    MakeAlbum();
    EXPECT_EQ(Run({"move-picture", "旅行", "0", "down"}).ExitCode, 0);
    EXPECT_EQ(PicsJson()[1]["StoredName"], "P0.jpg");
    EXPECT_EQ(Run({"move-picture", "旅行", "0", "up"}).ExitCode, 0);  // already first
    EXPECT_EQ(PicsJson()[0]["StoredName"], "P1.jpg");
    EXPECT_EQ(Run({"move-picture", "旅行", "0", "sideways"}).ExitCode, 2);
    EXPECT_EQ(Run({"move-picture", "旅行", "x", "up"}).ExitCode, 2);
    EXPECT_EQ(Run({"move-picture", "旅行", "3", "up"}).ExitCode, 1);
    EXPECT_EQ(Run({"move-song", "旅行", "1", "up"}).ExitCode, 0);
    const auto songs = json::parse(Run({"songs", "旅行", "--json"}).Out);
    EXPECT_EQ(songs[0]["StoredName"], "M1.mp3");
}

TEST_F(StoreCli, DeletesOneOrAllPicturesWithConfirmation) {
    MakeAlbum();
    EXPECT_EQ(Run({"delete-picture", "旅行", "1"}).ExitCode, 0);
    EXPECT_FALSE(fs::exists(Dir / "旅行/P1.jpg"));
    EXPECT_EQ(PicsJson().size(), 2u);

    const auto refused = Run({"delete-picture", "旅行", "--all"});  // stdin is no terminal
    EXPECT_EQ(refused.ExitCode, 2);
    EXPECT_NE(refused.Err.find("本相册共有2张图片，确定全部都删除吗？"), std::string::npos);
    EXPECT_EQ(PicsJson().size(), 2u);
    EXPECT_EQ(Run({"delete-picture", "旅行", "0", "--all"}).ExitCode, 2);
    EXPECT_EQ(Run({"delete-picture", "旅行"}).ExitCode, 2);

    EXPECT_EQ(Run({"delete-picture", "旅行", "--all", "--yes"}).ExitCode, 0);
    EXPECT_EQ(PicsJson().size(), 0u);
    EXPECT_EQ(fs::file_size(Dir / "旅行/PicInfo"), 0u);
    EXPECT_FALSE(fs::exists(Dir / "旅行/P0.jpg"));
    EXPECT_EQ(Run({"delete-song", "旅行", "--all", "--yes"}).ExitCode, 0);
    EXPECT_EQ(fs::file_size(Dir / "旅行/MusicInfo"), 0u);
}

TEST_F(StoreCli, EditsPicturesWithTheEditorsRules) {
    MakeAlbum();
    const auto edited =
        Run({"edit-picture", "旅行", "2", "--title", "  " + std::string(34, 'x') + "中文 ",
             "--dwell", "007", "--effect", "105"});
    EXPECT_EQ(edited.ExitCode, 0) << edited.Err;
    const json pic = PicsJson()[2];
    EXPECT_EQ(pic["Title"], std::string(34, 'x') + "中");  // cut to 36 bytes
    EXPECT_EQ(pic["Dwell"], 7);
    EXPECT_EQ(pic["Effect"], 105);

    const auto before = test::ReadBytes(Dir / "旅行/PicInfo");
    struct Case {
        std::vector<std::string> Args;
        int Exit;
    };
    const Case refused[] = {
        {{"0", "--dwell", "0"}, 2},
        {{"0", "--dwell", "-3"}, 2},
        {{"0", "--dwell", "2147483648"}, 2},
        {{"0", "--effect", "106"}, 2},
        {{"0", "--effect", "-1"}, 2},
        {{"0", "--title", "t", "--effect", "x"}, 2},
        {{"0"}, 2},
        {{"5", "--dwell", "4"}, 1},
        {{"0", "--all-dwell", "4"}, 2},
        {{"--all-dwell", "0"}, 2},
    };
    for (const Case& c : refused) {
        std::vector<std::string> args{"edit-picture", "旅行"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        EXPECT_EQ(Run(args).ExitCode, c.Exit) << c.Args[0] << " " << c.Args.size();
    }
    EXPECT_EQ(test::ReadBytes(Dir / "旅行/PicInfo"), before);

    EXPECT_EQ(Run({"edit-picture", "旅行", "--all-dwell", "5"}).ExitCode, 0);
    for (const json& p : PicsJson()) EXPECT_EQ(p["Dwell"], 5);
}

TEST_F(StoreCli, ASecondWriterWaitsBrieflyThenFailsAndChangesNothing) {
    MakeAlbum();
    const Bytes records = test::ReadBytes(Dir / "旅行/PicInfo");
    {
        TStoreLock holder(Dir.Dir());  // another program holds the store
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"album", "create", "Second"},
              {"edit-picture", "旅行", "0", "--dwell", "9"},
              {"delete-picture", "旅行", "0"},
              {"album", "delete", "旅行", "--yes"}}) {
            const auto result = Run(args);
            EXPECT_EQ(result.ExitCode, 1) << args[0];
            EXPECT_NE(result.Err.find("is in use by another Velmora program"), std::string::npos)
                << result.Err;
        }
        EXPECT_EQ(Run({"album", "list", "--json"}).ExitCode, 0);  // readers are not held up
    }
    EXPECT_FALSE(fs::exists(Dir / "Second"));
    EXPECT_EQ(test::ReadBytes(Dir / "旅行/PicInfo"), records);
    EXPECT_TRUE(fs::exists(Dir / "旅行/P0.jpg"));
    EXPECT_EQ(Run({"album", "create", "Second"}).ExitCode, 0);  // free again
}

TEST_F(StoreCli, FoldersWithoutAnEntryCanBeAdoptedOrRemoved) {
    MakeAlbum();
    fs::create_directory(Dir / "Stray");
    test::WriteText(Dir / "Stray/P0.jpg", "x");
    fs::create_directory(Dir / "Lost");
    test::WriteText(Dir / "Lost/M0.mp3", "x");
    fs::create_directory(Dir / "BackPic");
    // A folder without an entry can be neither created nor deleted as an album.
    EXPECT_EQ(Run({"album", "create", "Stray"}).ExitCode, 1);
    EXPECT_EQ(Run({"album", "delete", "Stray", "--yes"}).ExitCode, 1);

    auto result = Run({"album", "adopt", "Stray"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(json::parse(Run({"album", "list", "--json"}).Out),
              json::parse(R"(["旅行", "Stray"])"));
    EXPECT_TRUE(fs::exists(Dir / "Stray/PicInfo"));
    EXPECT_EQ(Run({"pics", "Stray", "--json"}).Out, "[]\n");

    result = Run({"album", "remove-folder", "Lost", "--yes"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_FALSE(fs::exists(Dir / "Lost"));

    for (const char* refused : {"旅行", "BackPic", "Nowhere", ".."}) {
        EXPECT_EQ(Run({"album", "adopt", refused}).ExitCode, 1) << refused;
        EXPECT_EQ(Run({"album", "remove-folder", refused, "--yes"}).ExitCode, 1) << refused;
    }
    EXPECT_TRUE(fs::exists(Dir / "旅行/P0.jpg"));
    EXPECT_TRUE(fs::exists(Dir / "BackPic"));
}

TEST_F(StoreCli, AlbumDeletionWritesTheCatalogueFirstAndReportsExactly) {
    // A damaged entry after the deleted album does not make the finished deletion a failure.
    MakeAlbum();
    TAlbumStore store;
    store.RootPath = Dir.Dir();
    store.LoadRecords("A");
    store.Albums.resize(2);
    store.Albums[1].Name.SetText("a/b");
    store.AlbumCount = 2;
    store.SaveRecords("A");
    auto result = Run({"album", "delete", "旅行", "--yes"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Out.find("deleted album"), std::string::npos);
    EXPECT_FALSE(fs::exists(Dir / "旅行"));
}

TEST_F(StoreCli, ControlCharactersAreShownAsEscapesExceptInJson) {
    MakeAlbum();
    TAlbumStore store;
    store.RootPath = Dir.Dir();
    store.LoadRecords("A");
    store.OpenAlbum(0);
    store.Pics[0].Title.SetText("\x1b[31mred\x07");
    store.SaveRecords("P");
    const auto text = Run({"pics", "旅行"});
    EXPECT_EQ(text.Out.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.Out.find('\x07'), std::string::npos);
    EXPECT_NE(text.Out.find("\\x1b[31mred\\x07"), std::string::npos) << text.Out;
    EXPECT_EQ(PicsJson()[0]["Title"], "\x1b[31mred\x07");
}

TEST_F(StoreCli, NoAlbumMayTakeTheBackgroundFolder) {
    const auto result = Run({"album", "create", "BackPic"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("BackPic"), std::string::npos) << result.Err;
    EXPECT_FALSE(fs::exists(Dir / "BackPic"));
}

}  // namespace
}  // namespace velmora
