#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "imaging/Bitmap.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::RunCli;
using test::SourcePath;

std::string Data(const std::string& name) {
    return SourcePath("imaging/tests/data/" + name).string();
}

TEST(ImagingCli, DecodeWritesTheBitmap) {
    test::TempDir dir;
    const std::string out = (dir / "out.bmp").string();
    const test::CliResult r = RunCli({"decode", Data("grey8-be.tif"), "--out", out});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, "10 x 6 -> " + out + "\n");
    const Bitmap b = Bitmap::ReadBmp(out);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.RgbAt(9, 5), ((25 * 9 + 40 * 5) % 256) * 0x010101u);
}

TEST(ImagingCli, DecodeFailuresAndReaderMessagesOnStderr) {
    test::TempDir dir;
    const std::string out = (dir / "out.png").string();
    test::CliResult r = RunCli({"decode", Data("rgb-lzw.tif"), "--out", out});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("Cant read compressed RGB Full Color Image"), std::string::npos);
    EXPECT_NE(r.Err.find("nothing decoded"), std::string::npos);
    r = RunCli({"decode", Data("C.jpg"), "--out", (dir / "x.gif").string()});
    EXPECT_EQ(r.ExitCode, 2);
    r = RunCli({"decode", Data("C.jpg"), "--out", out});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, "40 x 30 -> " + out + "\n");
}

TEST(ImagingCli, DecodeRefusesFoldersAndFifosNamedLikePictures) {
    test::TempDir dir;
    const std::string out = (dir / "out.png").string();
    std::filesystem::create_directory(dir / "folder.jpg");
    test::CliResult r = RunCli({"decode", (dir / "folder.jpg").string(), "--out", out});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("is a folder, not a regular file"), std::string::npos) << r.Err;
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    r = RunCli({"decode", (dir / "pipe.jpg").string(), "--out", out});  // never waits
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("is a FIFO, not a regular file"), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ImagingCli, DecodeOnAFullDiskFailsAndLeavesNoFile) {
    test::FullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    for (const char* name : {"out.bmp", "out.png"}) {
        const test::CliResult r =
            RunCli({"decode", Data("C.jpg"), "--out", (disk.Path() / name).string()});
        EXPECT_EQ(r.ExitCode, 1) << name;
        EXPECT_NE(r.Err.find("No space left on device"), std::string::npos) << r.Err;
    }
    EXPECT_EQ(disk.Entries(), std::vector<std::string>{});
}

TEST(ImagingCli, ADamagedJpegIsNotCalledAnInvalidTiff) {
    test::TempDir dir;
    test::WriteText(dir / "broken.jpg", "not a picture at all");
    const auto r =
        RunCli({"decode", (dir / "broken.jpg").string(), "--out", (dir / "out.png").string()});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("no decoder could read it"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Err.find("TIFF"), std::string::npos) << r.Err;
}

}  // namespace
}  // namespace velmora
