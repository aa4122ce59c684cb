// Disc images after a production: the DVD folder's chapters read back by lsdvd (libdvdread,
// an independent reader of the IFO files), the ISO image listed by xorriso, the VCD .cue read
// as text, and the refusals (a missing tool, a folder that is not ours) that keep the MPEG file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "production/DiscImage.h"
#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

/// Sets PATH for its lifetime (a test of a missing tool).
class TScopedPath {
public:
    explicit TScopedPath(const std::string& path) : FOld(std::getenv("PATH")) {
        ::setenv("PATH", path.c_str(), 1);
    }
    ~TScopedPath() { ::setenv("PATH", FOld.c_str(), 1); }

private:
    std::string FOld;
};

/// Chapter start times in seconds as lsdvd reads them from a DVD folder.
std::vector<double> ReadChapterStarts(const std::string& folder) {
    std::string out;
    std::string err;
    EXPECT_EQ(test::RunProgram({"lsdvd", "-c", "-Ox", folder}, &out, &err), 0) << err;
    std::vector<double> starts;
    double at = 0;
    const std::regex length(R"(<chapter>\s*<ix>\d+</ix>\s*<length>([0-9.]+)</length>)");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), length);
         it != std::sregex_iterator(); ++it) {
        starts.push_back(at);
        at += std::stod((*it)[1].str());
    }
    return starts;
}

class DiscImageTest : public ::testing::Test {
protected:
    /// An album of `count` pictures of dwell 1 and a song long enough for them.
    TAlbumStore MakeAlbum(int count) {
        std::vector<test::TTestPicture> pictures;
        for (int i = 0; i < count; ++i) {
            const std::string name = "P" + std::to_string(i) + ".jpg";
            pictures.push_back({name, 1, 1 + i, "第" + std::to_string(i)});
        }
        TAlbumStore store = test::MakeStore(Root.Dir(), pictures, {{"M0.mp3", 3 * count}});
        for (int i = 0; i < count; ++i) {
            test::MakePicture(store.AlbumPath + "P" + std::to_string(i) + ".jpg", 320, 240,
                              i % 2 ? "gradient:red-blue" : "gradient:green-yellow");
        }
        test::MakeSong(store.AlbumPath + "M0.mp3", 3 * count);
        return store;
    }
    TProductionReport Render(const TAlbumStore& store, TOutputType type, const std::string& out,
                             bool disc) {
        TProductionSettings settings;
        settings.OutputType = type;
        settings.OutputPath = out;
        settings.DiscImage = disc;
        return RunProduction(store, settings);
    }
    test::TempDir Root;
};

TEST(DiscImageTimes, ChaptersStartAtEverySlot) {
    // One opening frame, then slots of still + 51 frames.
    const std::vector<std::int64_t> still{25, 50, 1};
    EXPECT_EQ(PictureStartFrames(still), (std::vector<std::int64_t>{1, 77, 178}));
    EXPECT_EQ(ChapterSeconds(still), (std::vector<double>{0.0, 77 / 25.0, 178 / 25.0}));
    EXPECT_TRUE(ChapterSeconds({}).empty());
    EXPECT_EQ(DvdFolderPath("/a/DVD-3.mpg"), "/a/DVD-3");
    EXPECT_EQ(DvdIsoPath("/a/DVD-3.mpg"), "/a/DVD-3.iso");
    EXPECT_EQ(VcdCuePath("/a/b.c/VCD-0.mpg"), "/a/b.c/VCD-0.cue");
}

TEST_F(DiscImageTest, DvdFolderHasAChapterPerPictureAndAnIso) {
    const TAlbumStore store = MakeAlbum(3);
    const std::string out = Root.Dir() + "DVD-0.mpg";
    const TProductionReport report = Render(store, TOutputType::DVD, out, true);
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    ASSERT_TRUE(report.DiscFailure.empty()) << report.DiscFailure;
    EXPECT_EQ(report.DiscFiles,
              (std::vector<std::string>{Root.Dir() + "DVD-0", Root.Dir() + "DVD-0.iso"}));
    EXPECT_EQ(test::ProbeVideo(out).Frames, report.TotalFrames + 2);

    // dvdauthor puts each chapter on the video unit (a GOP of at most 15 frames, 0.6 s) that
    // lies nearest to the time asked for.
    const std::vector<double> expected = ChapterSeconds(PlanStillFrames(store, false));
    const std::vector<double> starts = ReadChapterStarts(Root.Dir() + "DVD-0");
    ASSERT_EQ(starts.size(), expected.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        EXPECT_NEAR(starts[i], expected[i], 0.6) << "chapter " << i + 1;
    }

    std::string listing;
    std::string err;
    ASSERT_EQ(test::RunProgram({"xorriso", "-indev", Root.Dir() + "DVD-0.iso", "-ls", "/VIDEO_TS"},
                               &listing, &err),
              0)
        << err;
    EXPECT_NE(listing.find("'VIDEO_TS.IFO'"), std::string::npos) << listing;
    EXPECT_NE(listing.find("'VTS_01_1.VOB'"), std::string::npos) << listing;
    EXPECT_NE((listing + err).find("'DVD_0'"), std::string::npos) << "volume name";

    // Made again: the DVD folder of the first run is replaced, nothing else is left behind.
    const TDiscImageResult again =
        MakeDiscImage(out, TOutputType::DVD, PlanStillFrames(store, false));
    ASSERT_TRUE(again.Ok) << again.Message;
    EXPECT_EQ(ReadChapterStarts(Root.Dir() + "DVD-0").size(), 3u);
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(Root.Path())) {
        entries.push_back(entry.path().filename().string());
    }
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Album", "DVD-0", "DVD-0.iso", "DVD-0.mpg", "Test"}));
}

TEST_F(DiscImageTest, RefusesToReplaceAFolderThatIsNotADvdFolder) {
    const TAlbumStore store = MakeAlbum(1);
    const std::string out = Root.Dir() + "DVD-0.mpg";
    fs::create_directories(Root.Path() / "DVD-0");
    test::WriteText(Root.Path() / "DVD-0" / "notes.txt", "mine");
    const TProductionReport report = Render(store, TOutputType::DVD, out, true);
    ASSERT_TRUE(report.Success);
    EXPECT_NE(report.DiscFailure.find("not replaced"), std::string::npos) << report.DiscFailure;
    EXPECT_NE(report.DiscFailure.find("MPEG file is kept"), std::string::npos);
    EXPECT_TRUE(fs::exists(Root.Path() / "DVD-0" / "notes.txt"));
    EXPECT_FALSE(fs::exists(Root.Path() / "DVD-0.iso"));
    EXPECT_GT(test::ProbeVideo(out).Frames, 0);
}

TEST_F(DiscImageTest, VcdAndSvcdCueNamesItsBin) {
    const TAlbumStore store = MakeAlbum(1);
    for (const auto& [type, name] : {std::pair{TOutputType::VCD, std::string("VCD-0")},
                                     std::pair{TOutputType::SVCD, std::string("SVCD-0")}}) {
        const std::string out = Root.Dir() + name + ".mpg";
        const TProductionReport report = Render(store, type, out, true);
        ASSERT_TRUE(report.Success) << report.FailureDetail;
        ASSERT_TRUE(report.DiscFailure.empty()) << report.DiscFailure;
        const std::vector<std::uint8_t> cue = test::ReadBytes(Root.Path() / (name + ".cue"));
        const std::string text(cue.begin(), cue.end());
        EXPECT_EQ(text.rfind("FILE \"" + name + ".bin\" BINARY", 0), 0u) << text;
        EXPECT_NE(text.find("MODE2/2352"), std::string::npos) << text;
        const auto binSize = fs::file_size(Root.Path() / (name + ".bin"));
        EXPECT_GT(binSize, fs::file_size(out));
        EXPECT_EQ(binSize % 2352, 0u);
    }
}

TEST(DiscImageNames, AnImageNeverTakesTheMpegFilesName) {
    test::TempDir dir;
    for (const auto& [name, dvd] : {std::pair{"x.bin", false}, std::pair{"x.cue", false},
                                    std::pair{"x.iso", true}, std::pair{"x", true}}) {
        test::WriteText(dir / name, "mpeg");
        const TDiscImageResult result =
            dvd ? MakeDvdImage(dir.Dir() + name, {}) : MakeVcdImage(dir.Dir() + name, false);
        EXPECT_FALSE(result.Ok) << name;
        EXPECT_NE(result.Message.find("MPEG file is kept"), std::string::npos) << result.Message;
        EXPECT_EQ(test::ReadBytes(dir / name).size(), 4u) << name;
    }
}

TEST_F(DiscImageTest, MissingToolKeepsTheMpegFile) {
    const TAlbumStore store = MakeAlbum(1);
    test::TempDir emptyBin;
    const std::string out = Root.Dir() + "VCD-0.mpg";
    TProductionReport report;
    {
        TScopedPath path(emptyBin.Path().string());
        report = Render(store, TOutputType::VCD, out, true);
    }
    ASSERT_TRUE(report.Success) << report.FailureDetail;
    EXPECT_NE(report.DiscFailure.find("vcdimager is not installed"), std::string::npos)
        << report.DiscFailure;
    EXPECT_FALSE(fs::exists(Root.Path() / "VCD-0.bin"));
    EXPECT_FALSE(fs::exists(Root.Path() / "VCD-0.cue"));
    EXPECT_EQ(test::ProbeVideo(out).Frames, report.TotalFrames + 2);

    // The same for the DVD tools, through the command line: exit status 1, the MPEG kept.
    const std::string dvd = Root.Dir() + "DVD-0.mpg";
    test::CliResult result;
    {
        TScopedPath path(emptyBin.Path().string());
        result = test::RunCli(
            {"--store", Root.Dir(), "make", "Test", "--preset", "dvd", "--out", dvd, "--disc"});
    }
    EXPECT_EQ(result.ExitCode, 1) << result.Err;
    EXPECT_NE(result.Err.find("dvdauthor is not installed"), std::string::npos) << result.Err;
    EXPECT_NE(result.Out.find(dvd), std::string::npos) << result.Out;
    EXPECT_GT(test::ProbeVideo(dvd).Frames, 0);
    EXPECT_FALSE(fs::exists(Root.Path() / "DVD-0"));
}

}  // namespace
}  // namespace velmora
