// A store that is not what it claims to be: album folders, record files and stored files that
// are links out of the store, FIFOs named like record files, imports that are killed half way
// and imports without an open album. Nothing outside the store is read, written or deleted,
// nothing blocks, and a killed import loses at most the file in progress.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/Errors.h"
#include "store/Catalogue.h"
#include "store/ListOps.h"
#include "store/PictureImport.h"
#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::string Data(const std::string& name) {
    return test::SourcePath("imaging/tests/data/" + name).string();
}

Bytes PicRecords(const std::vector<std::string>& storedNames) {
    Bytes bytes(storedNames.size() * TPicInfo::Size);
    for (std::size_t i = 0; i < storedNames.size(); ++i) {
        TPicInfo pic;
        pic.Dwell = 3;
        pic.StoredName.SetText(storedNames[i]);
        pic.Encode(&bytes[i * TPicInfo::Size]);
    }
    return bytes;
}

/// A store whose album "A1" is a link to a folder outside the store holding a record file
/// and a picture.
struct LinkedAlbum : ::testing::Test {
    test::TempDir Root;
    test::TempDir Outside;
    TAlbumStore Store;
    Bytes OutsideRecords = PicRecords({"P0.jpg"});

    void SetUp() override {
        Store.RootPath = Root.Dir();
        test::WriteBytes(Outside / "PicInfo", OutsideRecords);
        test::WriteText(Outside / "P0.jpg", "precious");
        fs::create_directory_symlink(Outside.Path(), Root / "A1");
        TAlbumRec album;
        album.Name.SetText("A1");
        Store.Albums = {album};
        Store.AlbumCount = 1;
        Store.SaveRecords("A");
    }

    void ExpectOutsideUntouched() {
        EXPECT_EQ(test::ReadBytes(Outside / "PicInfo"), OutsideRecords);
        EXPECT_TRUE(fs::exists(Outside / "P0.jpg"));
        EXPECT_EQ(std::distance(fs::directory_iterator(Outside.Path()), {}), 2);
    }
};

TEST_F(LinkedAlbum, IsNeitherOpenedNorListedNorWrittenNorDeletedFrom) {
    EXPECT_THROW(Store.OpenAlbum(0), InvalidFile);
    EXPECT_TRUE(Store.AlbumPath.empty());
    EXPECT_EQ(Store.PicCount, 0);

    // A path that has become a link after the album was opened is refused all the same.
    Store.AlbumPath = Root.Dir() + "A1/";
    EXPECT_THROW(Store.LoadRecords("P"), InvalidFile);
    EXPECT_EQ(Store.PicCount, 0);
    Store.Pics = {TPicInfo{}};
    Store.Pics[0].StoredName.SetText("P0.jpg");
    Store.PicCount = 1;
    EXPECT_THROW(DeleteCurrentPic(Store, 0), InvalidFile);
    Store.PicCount = 1;
    Store.Pics = {TPicInfo{}};
    EXPECT_THROW(Store.SaveRecords("P"), InvalidFile);
    EXPECT_THROW(Store.StoredFilePath("P0.jpg"), InvalidFile);
    EXPECT_THROW(ImportPictures(Store, {Data("C.jpg")}), InvalidFile);
    ExpectOutsideUntouched();

    // Deleting the album removes the link, not what it points to.
    Store.AlbumIndex = 0;
    DeleteAlbum(Store);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Root / "A1")));
    ExpectOutsideUntouched();
}

/// A store with album "A1" open, as a real folder.
struct RealAlbum : ::testing::Test {
    test::TempDir Root;
    test::TempDir Outside;
    TAlbumStore Store;
    void SetUp() override {
        Store.RootPath = Root.Dir();
        CreateAlbum(Store, "A1");
        Store.OpenAlbum(0);
    }
};

TEST_F(RealAlbum, RecordFilesThatAreLinksAreNeitherReadNorWrittenThrough) {
    const Bytes outside = PicRecords({"P0.jpg", "P1.jpg"});
    test::WriteBytes(Outside / "secret", outside);
    fs::remove(Root / "A1/PicInfo");
    fs::create_symlink(Outside / "secret", Root / "A1/PicInfo");
    EXPECT_THROW(Store.LoadRecords("P"), InvalidFile);
    EXPECT_EQ(Store.PicCount, 0);
    Store.SaveRecords("P");  // replaces the link by a record file of the album
    EXPECT_FALSE(fs::is_symlink(Root / "A1/PicInfo"));
    EXPECT_EQ(test::ReadBytes(Outside / "secret"), outside);

    fs::remove(Root / "Album");
    fs::create_symlink(Outside / "secret", Root / "Album");
    EXPECT_THROW(Store.LoadRecords("A"), InvalidFile);
}

TEST_F(RealAlbum, StoredFilesThatAreLinksAreNotReadAndOnlyTheLinkIsDeleted) {
    test::WriteText(Outside / "photo.jpg", "precious");
    fs::create_symlink(Outside / "photo.jpg", Root / "A1/P0.jpg");
    fs::create_directory(Root / "A1/P1.jpg");
    test::WriteText(Root / "A1/P2.jpg", "own");
    EXPECT_THROW(Store.StoredFilePath("P0.jpg"), InvalidFile);
    EXPECT_THROW(Store.StoredFilePath("P1.jpg"), InvalidFile);
    EXPECT_EQ(Store.StoredFilePath("P2.jpg"), Root.Dir() + "A1/P2.jpg");
    EXPECT_EQ(Store.StoredFilePath("P3.jpg"),
              Root.Dir() + "A1/P3.jpg");  // missing: the reader says so

    Store.Pics.clear();
    for (const char* name : {"P0.jpg"}) {
        TPicInfo pic;
        pic.StoredName.SetText(name);
        Store.Pics.push_back(pic);
    }
    Store.PicCount = 1;
    DeleteCurrentPic(Store, 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Root / "A1/P0.jpg")));
    EXPECT_TRUE(fs::exists(Outside / "photo.jpg"));
}

TEST_F(RealAlbum, SpecialFilesNamedLikeRecordFilesFailAtOnce) {
    fs::remove(Root / "A1/PicInfo");
    ASSERT_EQ(::mkfifo((Root / "A1/PicInfo").c_str(), 0600), 0);
    EXPECT_THROW(Store.LoadRecords("P"), InvalidFile);  // never waits for a writer
    fs::remove(Root / "A1/PicInfo");
    fs::create_directory(Root / "A1/PicInfo");
    try {
        Store.LoadRecords("P");
        ADD_FAILURE() << "a folder named PicInfo was read";
    } catch (const InvalidFile& e) {
        EXPECT_NE(std::string(e.what()).find("is a folder, not a regular file"), std::string::npos)
            << e.what();
    }
}

TEST_F(RealAlbum, ImportSavesTheRecordsAfterEveryFile) {
    // What is on disk when the third file starts is what a kill at that moment leaves.
    std::vector<int> savedAtStart;
    std::vector<std::size_t> entriesAtStart;
    TImportCallbacks callbacks;
    callbacks.OnProgress = [&](int, int, const std::string&) {
        TAlbumStore reader;
        reader.RootPath = Store.RootPath;
        reader.AlbumPath = Store.AlbumPath;
        reader.LoadRecords("P");
        savedAtStart.push_back(reader.PicCount);
        entriesAtStart.push_back(
            std::size_t(std::distance(fs::directory_iterator(Root / "A1"), {})));
    };
    const auto result =
        ImportPictures(Store, {Data("A.bmp"), Data("C.jpg"), Data("quad.jpg")}, callbacks);
    EXPECT_EQ(result.Imported, 3);
    EXPECT_EQ(savedAtStart, (std::vector<int>{0, 1, 2}));
    // PicInfo, MusicInfo and one stored file per record: no file without a record.
    EXPECT_EQ(entriesAtStart, (std::vector<std::size_t>{2, 3, 4}));
}

TEST(ImportWithoutAlbum, IsRefusedBeforeAnythingIsWritten) {
    test::TempDir work;
    const fs::path before = fs::current_path();
    fs::current_path(work.Path());
    TAlbumStore store;
    store.RootPath = work.Dir();
    EXPECT_THROW(ImportPictures(store, {Data("C.jpg")}), InvalidArgument);
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(work.Path()));
}

TEST(AlbumDeletion, ThatCannotWriteTheCatalogueDeletesNothing) {
    test::FullDisk disk(false);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    TAlbumStore store;
    store.RootPath = disk.Path().string() + "/";
    CreateAlbum(store, "One");
    CreateAlbum(store, "Two");
    test::WriteText(disk.Path() / "One/P0.jpg", "x");
    store.OpenAlbum(0);
    disk.Fill();
    EXPECT_THROW(DeleteAlbum(store), IoError);
    EXPECT_TRUE(fs::exists(disk.Path() / "One/P0.jpg"));
    EXPECT_EQ(store.AlbumCount, 2);
    TAlbumStore reader;
    reader.RootPath = store.RootPath;
    reader.LoadRecords("A");
    EXPECT_EQ(reader.AlbumCount, 2);
}

}  // namespace
}  // namespace velmora
