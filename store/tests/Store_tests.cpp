// The store object: loading and saving the record files, opening an album, stored file paths,
// free file numbers and folder deletion.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/Errors.h"
#include "store/FileOps.h"
#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TAlbumRec Album(const std::string& name) {
    TAlbumRec rec;
    rec.Name.SetText(name);
    return rec;
}

TPicInfo Pic(int dwell, const std::string& stored) {
    TPicInfo rec;
    rec.Dwell = dwell;
    rec.StoredName.SetText(stored);
    return rec;
}

TMusicInfo Song(int playTime, const std::string& stored) {
    TMusicInfo rec;
    rec.PlayTime = playTime;
    rec.StoredName.SetText(stored);
    return rec;
}

template <typename TRec>
Bytes Encoded(const std::vector<TRec>& records) {
    Bytes bytes(records.size() * TRec::Size);
    for (std::size_t i = 0; i < records.size(); ++i) records[i].Encode(&bytes[i * TRec::Size]);
    return bytes;
}

/// A store in a temporary folder with album "A1" open (folder made, no record files).
struct StoreFixture : ::testing::Test {
    TempDir Dir;
    TAlbumStore Store;
    void SetUp() override {
        Store.RootPath = Dir.Dir();
        fs::create_directory(Dir / "A1");
        Store.AlbumPath = Store.RootPath + "A1/";
    }
};

TEST_F(StoreFixture, LoadReadsWholeRecordsAndIgnoresATrailingPartOne) {
    Bytes bytes = Encoded(std::vector{Pic(3, "P0.jpg"), Pic(5, "P1.jpg")});
    bytes.insert(bytes.end(), 100, 0x11);
    WriteBytes(Dir / "A1/PicInfo", bytes);
    Store.LoadRecords("P");
    ASSERT_EQ(Store.PicCount, 2);
    EXPECT_EQ(Store.PicIndex, 0);
    EXPECT_EQ(Store.Pics[1], Pic(5, "P1.jpg"));
}

TEST_F(StoreFixture, ZeroLengthFileSetsCountZeroAndKeepsArrayAndIndex) {
    Store.Albums = {Album("x"), Album("y"), Album("z")};
    Store.AlbumCount = 3;
    Store.AlbumIndex = 2;
    WriteBytes(Dir / "Album", {});
    Store.LoadRecords("A");
    EXPECT_EQ(Store.AlbumCount, 0);
    EXPECT_EQ(Store.Albums.size(), 3u);  // stale entries beyond the count
    EXPECT_EQ(Store.AlbumIndex, 2);
}

TEST_F(StoreFixture, MissingFileChangesNothing) {
    Store.Pics = {Pic(1, "P9.jpg")};
    Store.PicCount = 1;
    Store.PicIndex = 0;
    Store.LoadRecords("P");
    EXPECT_EQ(Store.PicCount, 1);
    EXPECT_EQ(Store.Pics.size(), 1u);
    EXPECT_EQ(Store.PicIndex, 0);
}

TEST_F(StoreFixture, LoadAfterStaleEntriesShrinksTheArrayToTheCount) {
    Store.Pics = {Pic(1, "a"), Pic(2, "b"), Pic(3, "c")};
    WriteBytes(Dir / "A1/PicInfo", Encoded(std::vector{Pic(7, "P0.jpg")}));
    Store.LoadRecords("P");
    EXPECT_EQ(Store.PicCount, 1);
    EXPECT_EQ(Store.Pics, std::vector{Pic(7, "P0.jpg")});
}

TEST_F(StoreFixture, KindSelectsFilesWithoutRegardToCase) {
    WriteBytes(Dir / "Album", Encoded(std::vector{Album("A1")}));
    WriteBytes(Dir / "A1/PicInfo", Encoded(std::vector{Pic(3, "P0.jpg")}));
    WriteBytes(Dir / "A1/MusicInfo", Encoded(std::vector{Song(9, "M0.mp3")}));
    struct Case {
        const char* Kind;
        int Albums, Pics, Musics;
    };
    const Case cases[] = {{"a", 1, 0, 0}, {"A", 1, 0, 0}, {"p", 0, 1, 0},  {"M", 0, 0, 1},
                          {"", 1, 1, 1},  {"x", 0, 0, 0}, {"AP", 0, 0, 0}, {"pic", 0, 0, 0}};
    for (const Case& c : cases) {
        TAlbumStore store;
        store.RootPath = Store.RootPath;
        store.AlbumPath = Store.AlbumPath;
        store.LoadRecords(c.Kind);
        EXPECT_EQ(store.AlbumCount, c.Albums) << c.Kind;
        EXPECT_EQ(store.PicCount, c.Pics) << c.Kind;
        EXPECT_EQ(store.MusicCount, c.Musics) << c.Kind;
    }
}

TEST_F(StoreFixture, SaveWritesCountRecordsAndLoadsBack) {
    const std::vector songs{Song(1, "M0.mp3"), Song(2, "M1.mp3"), Song(3, "stale")};
    Store.Musics = songs;
    Store.MusicCount = 2;
    Store.SaveRecords("m");
    EXPECT_EQ(ReadBytes(Dir / "A1/MusicInfo"),
              Encoded(std::vector(songs.begin(), songs.begin() + 2)));

    TAlbumStore back;
    back.AlbumPath = Store.AlbumPath;
    back.LoadRecords("M");
    EXPECT_EQ(back.MusicCount, 2);
    EXPECT_EQ(back.Musics[1], songs[1]);
}

TEST_F(StoreFixture, SavingCountZeroLeavesAnEmptyFileThatLoadsAsNoRecords) {
    Store.Pics = {Pic(3, "P0.jpg")};
    Store.PicCount = 0;
    Store.SaveRecords("P");
    EXPECT_EQ(fs::file_size(Dir / "A1/PicInfo"), 0u);
    Store.PicCount = 5;
    Store.LoadRecords("P");
    EXPECT_EQ(Store.PicCount, 0);
}

TEST_F(StoreFixture, SaveRefusesACountBeyondTheArray) {
    Store.PicCount = 2;
    Store.Pics = {Pic(3, "P0.jpg")};
    EXPECT_THROW(Store.SaveRecords("P"), InvalidArgument);
    EXPECT_FALSE(fs::exists(Dir / "A1/PicInfo"));
}

TEST_F(StoreFixture, SaveIntoAMissingFolderThrowsIoErrorWithThePath) {
    Store.AlbumPath = Store.RootPath + "gone/";
    Store.Pics = {Pic(3, "P0.jpg")};
    Store.PicCount = 1;
    try {
        Store.SaveRecords("P");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("gone"), std::string::npos);
    }
}

TEST_F(StoreFixture, OpenAlbumResetsAndLoadsTheAlbum) {
    Store.Albums = {Album("A1"), Album(" A2 \t")};
    Store.AlbumCount = 2;
    fs::create_directory(Dir / "A2");
    WriteBytes(Dir / "A2/PicInfo", Encoded(std::vector{Pic(4, "P0.jpg"), Pic(5, "P1.jpg")}));
    Store.MusicCount = 3;
    Store.MusicIndex = 2;
    Store.OpenAlbum(1);
    EXPECT_EQ(Store.AlbumPath, Store.RootPath + "A2/");  // name trimmed
    EXPECT_EQ(Store.AlbumIndex, 1);
    EXPECT_EQ(Store.PicCount, 2);
    EXPECT_EQ(Store.PicIndex, 0);
    EXPECT_EQ(Store.MusicCount, 0);
    EXPECT_EQ(Store.MusicIndex, -1);
}

TEST_F(StoreFixture, OpenAlbumRefusesNamesThatAreNotOneFolder) {
    for (const std::string name : {"..", ".", "a/b", "../../etc", "  "}) {
        Store.Albums = {Album(name)};
        Store.AlbumCount = 1;
        EXPECT_THROW(Store.OpenAlbum(0), InvalidFile) << name;
        EXPECT_TRUE(Store.AlbumPath.empty());
        EXPECT_EQ(Store.PicCount, 0);
    }
}

TEST_F(StoreFixture, StoredFilePathAcceptsOnlyOneFileName) {
    EXPECT_EQ(Store.StoredFilePath("P0.jpg"), Store.RootPath + "A1/P0.jpg");
    const std::string bad[] = {
        "", ".", "..", "../x", "/etc/passwd", "a/b", std::string("P0\0x", 4)};
    for (const std::string& name : bad) EXPECT_THROW(Store.StoredFilePath(name), InvalidFile);
}

TEST(NextFreeNumber, FillsGapsAndLooksOnlyAtFiles) {
    TempDir dir;
    EXPECT_EQ(NextFreeNumber(dir.Dir(), "P", "jpg"), "0");
    for (const char* name : {"P0.jpg", "P1.jpg", "P3.jpg", "M0.mp3", "P2.png"}) {
        test::WriteText(dir / name, "x");
    }
    EXPECT_EQ(NextFreeNumber(dir.Dir(), "P", "jpg"), "2");
    EXPECT_EQ(NextFreeNumber(dir.Path().string(), "P", "jpg"), "2");  // no trailing slash
    EXPECT_EQ(NextFreeNumber(dir.Dir(), "M", "mp3"), "1");
    EXPECT_EQ(NextFreeNumber(dir.Dir() + "missing/", "P", "jpg"), "0");
    fs::create_symlink(dir / "nowhere", dir / "P2.jpg");  // a dangling link takes the name
    EXPECT_EQ(NextFreeNumber(dir.Dir(), "P", "jpg"), "4");
}

TEST(DeleteFolder, RemovesOnlyADirectChildOfTheRoot) {
    TempDir root;
    TempDir outside;
    test::WriteText(outside / "keep.txt", "precious");
    fs::create_directories(root / "album/sub");
    test::WriteText(root / "album/P0.jpg", "x");
    test::WriteText(root / "album/sub/y", "y");
    fs::create_symlink(outside.Path(), root / "album/link");
    test::WriteText(root / "Album", "catalogue");

    const std::string r = root.Dir();
    const std::string refused[] = {"../x",
                                   "/etc/passwd",
                                   "",
                                   r,
                                   r + ".",
                                   r + "..",
                                   r + "album/sub",
                                   r + "../" + outside.Path().filename().string(),
                                   outside.Dir(),
                                   r + std::string("album\0x", 7)};
    for (const std::string& path : refused) EXPECT_FALSE(DeleteFolder(r, path)) << path;
    EXPECT_TRUE(fs::exists(root / "album/sub/y"));

    EXPECT_TRUE(DeleteFolder(r, r + "album/"));
    EXPECT_FALSE(fs::exists(root / "album"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));  // the link inside was not followed
    EXPECT_TRUE(fs::exists(root / "Album"));
}

TEST(DeleteFolder, AnAlbumFolderThatIsALinkLosesOnlyTheLink) {
    TempDir root;
    TempDir outside;
    test::WriteText(outside / "keep.txt", "precious");
    fs::create_symlink(outside.Path(), root / "album");
    EXPECT_TRUE(DeleteFolder(root.Dir(), root.Dir() + "album"));
    EXPECT_FALSE(fs::is_symlink(root / "album"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
}

std::size_t EntryCount(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(WriteFileAtomic, AFailingWriteKeepsTheOldFileWholeAndLeavesNoTemporaryFile) {
    TempDir dir;
    const Bytes old(1000, 0x42);
    WriteBytes(dir / "PicInfo", old);
    const Bytes fresh(5000, 0x17);
    for (std::size_t failAfter : {0u, 1u, 4096u}) {
        std::size_t written = 0;
        TWriteFn failing = [&](int fd, const void* data, std::size_t size) -> ssize_t {
            if (written >= failAfter) {
                errno = ENOSPC;
                return -1;
            }
            const std::size_t n = std::min(size, failAfter - written);
            written += n;
            return ::write(fd, data, n);
        };
        try {
            WriteFileAtomic(dir.Dir() + "PicInfo", fresh, failing);
            FAIL() << "no error";
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos);
            EXPECT_EQ(e.Path(), dir.Dir() + "PicInfo");
        }
        EXPECT_EQ(ReadBytes(dir / "PicInfo"), old);
        EXPECT_EQ(EntryCount(dir.Path()), 1u);
    }
}

TEST(WriteFileAtomic, AFailingRenameKeepsWhatWasThereAndLeavesNoTemporaryFile) {
    TempDir dir;
    fs::create_directories(dir / "PicInfo/inside");  // cannot be replaced by a file
    EXPECT_THROW(WriteFileAtomic(dir.Dir() + "PicInfo", Bytes(10, 1)), IoError);
    EXPECT_TRUE(fs::is_directory(dir / "PicInfo/inside"));
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

TEST(WriteFileAtomic, ReplacesTheFileAndKeepsItsPermissions) {
    TempDir dir;
    WriteBytes(dir / "Album", Bytes(91, 0));
    fs::permissions(dir / "Album", fs::perms(0640));
    WriteFileAtomic(dir.Dir() + "Album", Bytes(3, 7));
    EXPECT_EQ(ReadBytes(dir / "Album"), Bytes(3, 7));
    EXPECT_EQ(fs::status(dir / "Album").permissions(), fs::perms(0640));
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

}  // namespace
}  // namespace velmora
