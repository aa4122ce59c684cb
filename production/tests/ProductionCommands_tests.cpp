// The production commands of velmora-cli, run as a real process: make (with its exit statuses,
// report texts and Ctrl-C) and compose.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "production/ComposePicture.h"
#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

using test::RunCli;

class ProductionCommandsTest : public ::testing::Test {
protected:
    void MakeAlbum(int dwell, int effect) {
        test::MakeStore(Root.Dir(), {{"P0.jpg", dwell, effect, "春天"}}, {{"M0.mp3", 2}});
        test::MakePicture(Root.Dir() + "Test/P0.jpg", 300, 200, "gradient:orange-purple");
        test::MakeSong(Root.Dir() + "Test/M0.mp3", 2);
    }
    test::TempDir Root;
};

TEST_F(ProductionCommandsTest, MakeRendersAndReports) {
    MakeAlbum(1, 0);
    const std::string out = Root.Dir() + "made.mpg";
    const auto result = RunCli({"--store", Root.Dir(), "make", "Test", "--preset", "vcd", "--out",
                                out, "--seed", "5", "--fade", "--background-color", "203040"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Out.find(RunSuccessText), std::string::npos);
    EXPECT_NE(result.Out.find(out), std::string::npos);
    EXPECT_NE(result.Err.find("100%"), std::string::npos);
    EXPECT_NE(result.Err.find("fps"), std::string::npos);
    EXPECT_NEAR(test::ProbeVideo(out).Frames, 51 + 25 + 2, 1);
}

TEST_F(ProductionCommandsTest, MakeRefusals) {
    MakeAlbum(1, 1);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"make", "Test", "--preset", "bluray"}, 2, "--preset"},
        {{"make", "Nope", "--preset", "vcd"}, 1, "No album"},
        // One picture needs more than 2 seconds of music; the song lasts 2.
        {{"make", "Test", "--preset", "vcd", "--sync"}, 1, SyncTooShortText},
        {{"make", "Test", "--preset", "vcd", "--background-color", "12345"}, 2, "RRGGBB"},
        {{"make", "Test", "--preset", "vcd", "--background-pictures"}, 1, "BackPic"},
        {{"make", "Test", "--preset", "vcd", "--out", Root.Dir() + "no/such/dir/x.mpg"},
         1,
         "创建相册视频文件出错，请重新制作！"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--store", Root.Dir()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.ExitCode, c.exitCode) << c.args.back() << ": " << result.Err;
        EXPECT_NE(result.Err.find(c.message), std::string::npos) << result.Err;
    }
}

TEST_F(ProductionCommandsTest, InterruptStopsWithAPlayableFile) {
    MakeAlbum(30, 3);
    const std::string out = Root.Dir() + "stopped.mpg";
    int errPipe[2];
    ASSERT_EQ(::pipe(errPipe), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errPipe[1], 2);
        ::close(errPipe[0]);
        ::close(errPipe[1]);
        const std::string store = Root.Dir();
        ::execl(VELMORA_CLI_PATH, VELMORA_CLI_PATH, "--store", store.c_str(), "make", "Test",
                "--preset", "vcd", "--out", out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(errPipe[1]);
    // Wait until the progress bar shows encoding, then press Ctrl-C.
    std::string err;
    char buffer[512];
    bool interrupted = false;
    ssize_t n;
    while ((n = ::read(errPipe[0], buffer, sizeof buffer)) > 0) {
        err.append(buffer, std::size_t(n));
        if (!interrupted && err.find("frame 1") != std::string::npos) {
            ::kill(pid, SIGINT);
            interrupted = true;
        }
    }
    ::close(errPipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(interrupted) << err;
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 130) << err;
    EXPECT_NE(err.find("Stopped"), std::string::npos) << err;
    const test::TProbe probe = test::ProbeVideo(out);
    EXPECT_GT(probe.Frames, 0);
    EXPECT_LT(probe.Frames, 51 + 750 + 2);
}

TEST_F(ProductionCommandsTest, ComposeWritesOneFrame) {
    const std::string picture = Root.Dir() + "wide.jpg";
    test::MakePicture(picture, 640, 288, "gradient:white-black");
    const std::string out = Root.Dir() + "frame.bmp";
    const auto result = RunCli(
        {"compose", picture, "--preset", "dvd", "--out", out, "--background-color", "ff8000"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const Bitmap frame = Bitmap::ReadBmp(out);
    ASSERT_EQ(frame.Width(), 720);
    ASSERT_EQ(frame.Height(), 576);
    // 640 x 288 shown at 4:3 (a DVD pixel is 16/15 as wide as tall) on the 2160 x 1728
    // canvas: h' = 288 x 16 x 2160 / (640 x 15) = 1036, top = 346 -> frame rows 116 to 459,
    // with mixed rows 115 and 460.
    EXPECT_EQ(frame.RgbAt(360, 0), 0xff8000u);
    EXPECT_EQ(frame.RgbAt(360, 114), 0xff8000u);
    EXPECT_EQ(frame.RgbAt(360, 461), 0xff8000u);
    EXPECT_GT(frame.RgbAt(360, 120) & 0xff, 200u);  // white end of the gradient
    EXPECT_LT(frame.RgbAt(360, 455) & 0xff, 50u);   // black end

    const auto missing = RunCli(
        {"compose", Root.Dir() + "none.jpg", "--preset", "vcd", "--out", Root.Dir() + "x.bmp"});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Root.Dir() + "x.bmp"));

    // A full disk: the command fails and leaves no file, whatever the format.
    test::FullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    for (const char* name : {"full.bmp", "full.png"}) {
        const auto full =
            RunCli({"compose", picture, "--preset", "vcd", "--out", (disk.Path() / name).string()});
        EXPECT_EQ(full.ExitCode, 1) << name;
    }
    EXPECT_EQ(disk.Entries(), std::vector<std::string>{});
}

}  // namespace
}  // namespace velmora
