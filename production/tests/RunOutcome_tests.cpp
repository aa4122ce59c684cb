// What a production run leaves behind: nothing when it produced nothing, never a file under
// the final name before the run has ended, never an output over the store or its own inputs,
// and only the records the counts name.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/Errors.h"
#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct RunOutcome : ::testing::Test {
    test::TempDir Root;
    std::string Album() const { return Root.Dir() + "Test/"; }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Root.Path())) {
            if (e.is_regular_file()) names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(RunOutcome, ARunWithoutOneReadablePictureOrSongFailsAndLeavesNothing) {
    TAlbumStore store = test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}}, {{"M0.mp3", 2}});
    test::WriteText(Album() + "P0.jpg", "not a picture");
    test::MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "out.mpg";
    TProductionReport report = RunProduction(store, settings);
    EXPECT_FALSE(report.Success);
    EXPECT_EQ(report.Text, RunFailureText);
    EXPECT_NE(report.FailureDetail.find("no picture"), std::string::npos) << report.FailureDetail;
    EXPECT_EQ(Entries(), std::vector<std::string>{"Album"});

    test::MakePicture(Album() + "P0.jpg", 64, 48, "xc:#336699");
    test::WriteText(Album() + "M0.mp3", "not a song");
    report = RunProduction(store, settings);
    EXPECT_FALSE(report.Success);
    EXPECT_NE(report.FailureDetail.find("no song"), std::string::npos) << report.FailureDetail;
    EXPECT_EQ(Entries(), std::vector<std::string>{"Album"});
}

TEST_F(RunOutcome, TheVideoGetsItsNameOnlyWhenTheRunHasEnded) {
    TAlbumStore store = test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}}, {{"M0.mp3", 2}});
    test::MakePicture(Album() + "P0.jpg", 64, 48, "xc:#336699");
    test::MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "out.mpg";
    bool seenDuringRun = false;
    std::vector<std::string> during;
    TProductionHooks hooks;
    hooks.OnProgress = [&](const TProgressInfo& info) {
        if (info.Stage != 3 || seenDuringRun) return;
        seenDuringRun = true;
        during = Entries();
    };
    const TProductionReport report = RunProduction(store, settings, hooks);
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    ASSERT_TRUE(seenDuringRun);
    ASSERT_EQ(during.size(), 2u);  // the catalogue and the hidden partial file
    EXPECT_EQ(during[0].rfind(".out.part", 0), 0u) << during[0];
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Album", "out.mpg"}));
}

TEST_F(RunOutcome, OutputsInsideTheStoreOrOverAnInputAreRefused) {
    TAlbumStore store = test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}}, {{"M0.mp3", 2}});
    test::MakePicture(Album() + "P0.jpg", 64, 48, "xc:#336699");
    test::MakeSong(Album() + "M0.mp3", 2);
    fs::create_directory(Root / "BackPic");
    test::TempDir elsewhere;
    test::MakePicture(elsewhere.Dir() + "back.jpg", 64, 48, "xc:#000000");
    TProductionSettings settings;
    settings.Background.Pictures = {elsewhere.Dir() + "back.jpg"};
    for (const std::string& out :
         {Album() + "P0.jpg", Album() + "M0.mp3", Album() + "PicInfo", Album() + "new.mpg",
          Root.Dir() + "Album", Root.Dir() + "BackPic/x.mpg", Root.Dir() + "Test/../Album",
          elsewhere.Dir() + "back.jpg"}) {
        settings.OutputPath = out;
        EXPECT_NE(CheckProduction(store, settings), "") << out;
        EXPECT_THROW(RunProduction(store, settings), InvalidArgument) << out;
    }
    EXPECT_EQ(test::ReadBytes(Album() + "PicInfo").size(), TPicInfo::Size);
    settings.OutputPath = Root.Dir() + "fine.mpg";
    EXPECT_EQ(CheckProduction(store, settings), "");
    settings.OutputPath = elsewhere.Dir() + "fine.mpg";
    EXPECT_EQ(CheckProduction(store, settings), "");
}

TEST_F(RunOutcome, OnlyTheRecordsTheCountsNameTakePart) {
    // An album whose record files are empty keeps the previous album's records in the arrays.
    TAlbumStore store =
        test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, ""}, {"P1.jpg", 4, 1, ""}}, {{"M0.mp3", 30}});
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "out.mpg";
    store.MusicCount = 0;
    EXPECT_NE(CheckProduction(store, settings).find("no songs"), std::string::npos);
    store.MusicCount = 1;
    store.PicCount = 1;
    EXPECT_EQ(PlanStillFrames(store, false), (std::vector<std::int64_t>{25}));
    EXPECT_EQ(PlanStillFrames(store, true), (std::vector<std::int64_t>{(30 - 2) * 25}));
    store.PicCount = 0;
    EXPECT_NE(CheckProduction(store, settings).find("no pictures"), std::string::npos);
}

/// Runs make in a child, sends `signal` once encoding has begun, and returns the child's
/// wait status and its stderr.
std::pair<int, std::string> SignalDuringMake(const std::string& store, const std::string& out,
                                             int signal) {
    int errPipe[2];
    if (::pipe(errPipe) != 0) return {-1, "pipe"};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errPipe[1], 2);
        ::close(errPipe[0]);
        ::close(errPipe[1]);
        ::execl(VELMORA_CLI_PATH, VELMORA_CLI_PATH, "--store", store.c_str(), "make", "Test",
                "--preset", "vcd", "--out", out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(errPipe[1]);
    std::string err;
    char buffer[512];
    bool sent = false;
    ssize_t n;
    while ((n = ::read(errPipe[0], buffer, sizeof buffer)) > 0) {
        err.append(buffer, std::size_t(n));
        if (!sent && err.find("frame 1") != std::string::npos) {
            ::kill(pid, signal);
            sent = true;
        }
    }
    ::close(errPipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {status, err};
}

TEST_F(RunOutcome, SigtermStopsLikeCtrlCAndAKilledRunLeavesNoFinishedLookingFile) {
    test::MakeStore(Root.Dir(), {{"P0.jpg", 30, 3, ""}}, {{"M0.mp3", 2}});
    test::MakePicture(Album() + "P0.jpg", 64, 48, "xc:#336699");
    test::MakeSong(Album() + "M0.mp3", 2);

    const std::string stopped = Root.Dir() + "stopped.mpg";
    auto [status, err] = SignalDuringMake(Root.Dir(), stopped, SIGTERM);
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM) << err;
    EXPECT_NE(err.find("Stopped"), std::string::npos) << err;
    const test::TProbe probe = test::ProbeVideo(stopped);
    EXPECT_GT(probe.Frames, 0);
    EXPECT_LT(probe.Frames, 51 + 750 + 2);

    const std::string killed = Root.Dir() + "killed.mpg";
    std::tie(status, err) = SignalDuringMake(Root.Dir(), killed, SIGKILL);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(fs::exists(killed));
}

TEST_F(RunOutcome, ALongTitleIsDrawnSmallerUntilItFitsTheFrame) {
    const std::string title(36, 'W');  // the most a title holds, in the widest letters
    TAlbumStore store = test::MakeStore(Root.Dir(), {{"P0.jpg", 1, 1, title}}, {{"M0.mp3", 2}});
    test::MakePicture(Album() + "P0.jpg", 64, 48, "xc:#000000");
    test::MakeSong(Album() + "M0.mp3", 2);
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "title.mpg";
    const TProductionReport report = RunProduction(store, settings);
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    const Bitmap frame = test::ReadVideoFrame(report.OutputPath, 60, 320, 288);
    int lit = 0, litAtRightEdge = 0;
    for (int y = 200; y < 288; ++y) {
        for (int x = 0; x < 320; ++x) {
            if ((frame.RgbAt(x, y) & 0xff) < 100) continue;
            ++lit;
            litAtRightEdge += x >= 316;
        }
    }
    EXPECT_GT(lit, 200);  // the title is there
    EXPECT_EQ(litAtRightEdge, 0);
}

TEST_F(RunOutcome, ARefusedLengthIsTheRealOne) {
    TAlbumStore store =
        test::MakeStore(Root.Dir(), {{"P0.jpg", 2147483647, 1, ""}}, {{"M0.mp3", 2}});
    TProductionSettings settings;
    settings.OutputPath = Root.Dir() + "out.mpg";
    // 2147483647 + 2 seconds: 596523 hours, 14 minutes and 9 seconds.
    EXPECT_NE(CheckProduction(store, settings).find("596523 时 14 分 09 秒"), std::string::npos)
        << CheckProduction(store, settings);
}

}  // namespace
}  // namespace velmora
