#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/JpegCodec.h"
#include "store/PictureImport.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::SourcePath;
namespace fs = std::filesystem;

std::string Data(const std::string& name) {
    return SourcePath("imaging/tests/data/" + name).string();
}

/// A store with one empty album folder as the current album.
struct TAlbumFixture {
    test::TempDir Root;
    TAlbumStore Store;
    TAlbumFixture() {
        fs::create_directory(Root / "album");
        Store.RootPath = Root.Dir();
        Store.AlbumPath = (Root / "album").string() + "/";
    }
    std::vector<TPicInfo> SavedRecords() {
        TAlbumStore reader;
        reader.RootPath = Store.RootPath;
        reader.AlbumPath = Store.AlbumPath;
        reader.LoadRecords("P");
        return std::vector<TPicInfo>(reader.Pics.begin(), reader.Pics.begin() + reader.PicCount);
    }
};

TEST(PictureImport, ImportsGoodFilesAndSkipsTheDamagedOne) {
    TAlbumFixture album;
    std::vector<std::string> progress;
    std::vector<std::string> messages;
    TImportCallbacks callbacks;
    callbacks.OnProgress = [&](int position, int count, const std::string& path) {
        progress.push_back(std::to_string(position) + "/" + std::to_string(count) + " " +
                           fs::path(path).filename().string());
    };
    callbacks.OnMessage = [&](const std::string& m) { messages.push_back(m); };
    const std::vector<std::string> files = {Data("A.bmp"), Data("B.jpg"), Data("C.jpg")};
    const TImportResult result = ImportPictures(album.Store, files, callbacks);

    EXPECT_TRUE(result.Result);
    EXPECT_EQ(result.Imported, 2);
    EXPECT_EQ(result.Skipped, std::vector<std::string>{Data("B.jpg")});
    EXPECT_EQ(progress, (std::vector<std::string>{"1/3 A.bmp", "2/3 B.jpg", "3/3 C.jpg"}));
    // The damaged JPEG went on to the TIFF reader, which said so.
    EXPECT_EQ(messages,
              std::vector<std::string>{"<" + Data("B.jpg") + "> is not a valid TIFF file"});
    EXPECT_TRUE(fs::exists(album.Root / "album/P0.jpg"));
    EXPECT_TRUE(fs::exists(album.Root / "album/P1.jpg"));
    EXPECT_FALSE(fs::exists(album.Root / "album/P2.jpg"));
    const std::vector<TPicInfo> saved = album.SavedRecords();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(album.Store.PicCount, 2);
    const char* remarks[] = {"A.bmp", "C.jpg"};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(saved[i].Dwell, 3);
        EXPECT_EQ(saved[i].Effect, 0);
        EXPECT_TRUE(saved[i].Title.IsEmpty());
        EXPECT_EQ(saved[i].Remark.Text(), remarks[i]);
        EXPECT_EQ(saved[i].StoredName.Text(), "P" + std::to_string(i) + ".jpg");
    }
    // The stored JPEG is the orange 24 x 12 bitmap.
    const Bitmap stored = DecodeJpeg(test::ReadBytes(album.Root / "album/P0.jpg"), "P0.jpg");
    ASSERT_EQ(stored.Width(), 24);
    EXPECT_NEAR(int(stored.RgbAt(12, 6) >> 16), 255, 6);
    EXPECT_NEAR(int(stored.RgbAt(12, 6) >> 8 & 0xFF), 165, 6);
}

TEST(PictureImport, ProgressCaption) {
    EXPECT_EQ(ImportProgressCaption(2, 3), "正在导入文件：（2/3）");
}

TEST(PictureImport, FillsGapsInTheNumbering) {
    TAlbumFixture album;
    test::WriteText(album.Root / "album/P0.jpg", "x");
    test::WriteText(album.Root / "album/P2.jpg", "x");
    ImportPictures(album.Store, {Data("C.jpg"), Data("C.jpg")});
    const std::vector<TPicInfo> saved = album.SavedRecords();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].StoredName.Text(), "P1.jpg");
    EXPECT_EQ(saved[1].StoredName.Text(), "P3.jpg");
}

TEST(PictureImport, CancelSeenAtTheStartOfAPassAfterTheClickWasProcessed) {
    TAlbumFixture album;
    bool clicked = false;
    int passes = 0;
    TImportCallbacks callbacks;
    callbacks.CancelRequested = [&] { return clicked; };
    // The click arrives while pass 1's file converts; pass 2 processes it in its progress
    // report and still imports its file; pass 3 ends the loop.
    callbacks.OnProgress = [&](int position, int, const std::string&) {
        passes = position;
        if (position == 2) clicked = true;
    };
    const std::vector<std::string> files(4, Data("C.jpg"));
    const TImportResult result = ImportPictures(album.Store, files, callbacks);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_TRUE(result.Result);
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(result.Imported, 2);
    EXPECT_EQ(album.SavedRecords().size(), 2u);  // saved after the cancel too
}

TEST(PictureImport, EmptyListReturnsFalseAndRewritesTheRecords) {
    TAlbumFixture album;
    album.Store.Pics.resize(1);
    album.Store.Pics[0].Dwell = 9;
    album.Store.Pics[0].StoredName.SetText("P7.jpg");
    album.Store.PicCount = 1;
    album.Store.SaveRecords("P");
    const auto before = test::ReadBytes(album.Root / "album/PicInfo");
    fs::remove(album.Root / "album/PicInfo");
    const TImportResult result = ImportPictures(album.Store, {});
    EXPECT_FALSE(result.Result);
    EXPECT_EQ(test::ReadBytes(album.Root / "album/PicInfo"), before);
}

TEST(PictureImport, EveryFileFailingStillSavesAnEmptyRecordFile) {
    TAlbumFixture album;
    const TImportResult result = ImportPictures(album.Store, {Data("B.jpg"), "/no/such.bmp"});
    EXPECT_TRUE(result.Result);
    EXPECT_EQ(result.Skipped.size(), 2u);
    EXPECT_TRUE(fs::exists(album.Root / "album/PicInfo"));
    EXPECT_EQ(fs::file_size(album.Root / "album/PicInfo"), 0u);
    EXPECT_TRUE(
        fs::is_empty(album.Root / "album") ||
        std::distance(fs::directory_iterator(album.Root / "album"), fs::directory_iterator()) == 1);
}

TEST(PictureImport, CommandLineReportsProgressAndSkippedFiles) {
    test::TempDir root;
    const std::string store = root.Dir();
    ASSERT_EQ(test::RunCli({"--store", store, "album", "create", "旅行"}).ExitCode, 0);
    const test::CliResult r = test::RunCli(
        {"--store", store, "import-pictures", "旅行", Data("A.bmp"), Data("B.jpg"), Data("C.jpg")});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out, "imported 2 of 3 pictures into 旅行\nskipped: " + Data("B.jpg") + "\n");
    EXPECT_NE(r.Err.find("(2/3) " + Data("B.jpg") + "\n"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("is not a valid TIFF file"), std::string::npos);
    const test::CliResult missing =
        test::RunCli({"--store", store, "import-pictures", "Nope", Data("C.jpg")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_NE(missing.Err.find("no album named"), std::string::npos);
}

TEST(ConvertToJpeg, FailuresLeaveNoFile) {
    test::TempDir dir;
    const auto dest = dir / "out.jpg";
    EXPECT_FALSE(ConvertToJpeg(Data("B.jpg"), dest.string()));
    EXPECT_FALSE(ConvertToJpeg(Data("rgb-lzw.tif"), dest.string()));
    EXPECT_FALSE(ConvertToJpeg(Data("C.jpg"), (dir / "missing/out.jpg").string()));
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    EXPECT_TRUE(ConvertToJpeg(Data("palette-k20.tif"), dest.string()));
    EXPECT_EQ(DecodeJpeg(test::ReadBytes(dest), "out").Width(), 9);
}

}  // namespace
}  // namespace velmora
