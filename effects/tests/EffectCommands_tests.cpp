// The effects commands of velmora-cli, run as a real process.

#include <gtest/gtest.h>

#include <QImage>
#include <nlohmann/json.hpp>

#include "effects/EffectProcs.h"
#include "effects/TransitionDriver.h"
#include "effects/tests/EffectTestSupport.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using namespace velmora::test;

class EffectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FFrom = CodedPicture(185, 153, DisplayTag);
        FTo = CodedPicture(185, 153, ImageTag);
        FFrom.WriteBmp(Path("from.bmp"));
        FTo.WriteBmp(Path("to.bmp"));
    }
    std::string Path(const std::string& name) const { return (FDir / name).string(); }
    CliResult Effect(const std::vector<std::string>& extra) const {
        std::vector<std::string> args{"effect", "--from", Path("from.bmp"), "--to", Path("to.bmp")};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }
    TempDir FDir;
    Bitmap FFrom;
    Bitmap FTo;
};

TEST_F(EffectCommandsTest, ListsThe106Lines) {
    const CliResult text = RunCli({"effects"});
    ASSERT_EQ(text.ExitCode, 0) << text.Err;
    EXPECT_EQ(text.Out.substr(0, text.Out.find('\n')), "000 随机效果");
    EXPECT_EQ(std::count(text.Out.begin(), text.Out.end(), '\n'), 106);
    EXPECT_NE(text.Out.find("\n105 星形顺时针旋转\n"), std::string::npos);

    const CliResult json = RunCli({"effects", "--json"});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    const auto list = nlohmann::json::parse(json.Out);
    ASSERT_EQ(list.size(), 106u);
    EXPECT_EQ(list[1]["english"], "Fade");
    EXPECT_EQ(list[1]["name"], "淡入淡出");
    EXPECT_EQ(list[27]["line"], "027 从上向下流入");
}

TEST_F(EffectCommandsTest, DrawsTheStepsOnOneDisplay) {
    const CliResult run =
        Effect({"--index", "95", "--progress", "2:10:2,50", "--out", Path("o.bmp")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    Bitmap expected = FFrom;
    for (int p : {2, 4, 6, 8, 10, 50}) effects::PushRight(expected, FTo, {0, 0, 185, 153}, 5, p);
    EXPECT_EQ(Bitmap::ReadBmp(Path("o.bmp")), expected);

    const CliResult png = Effect({"--index", "4", "--progress", "50", "--out", Path("o.png")});
    ASSERT_EQ(png.ExitCode, 0) << png.Err;
    const Bitmap written = Bitmap::FromQImage(QImage(QString::fromStdString(Path("o.png"))));
    EXPECT_EQ(written.RgbAt(92, 7), Code(ImageTag, 92, 7));
    EXPECT_EQ(written.RgbAt(93, 7), Code(DisplayTag, 93, 7));
}

TEST_F(EffectCommandsTest, SeedReproducesRandomEffectsAndShreds) {
    auto run = [&](const std::string& seed, const std::string& out) {
        const CliResult r =
            Effect({"--index", "0", "--progress", "2:60:2", "--seed", seed, "--out", Path(out)});
        EXPECT_EQ(r.ExitCode, 0) << r.Err;
        return r.Out.substr(0, r.Out.find(':'));  // "effect NNN name"
    };
    EXPECT_EQ(run("17", "a.bmp"), run("17", "b.bmp"));
    EXPECT_EQ(ReadBytes(Path("a.bmp")), ReadBytes(Path("b.bmp")));
    const CliResult shred1 =
        Effect({"--index", "81", "--progress", "30", "--seed", "1", "--out", Path("s1.bmp")});
    const CliResult shred2 =
        Effect({"--index", "81", "--progress", "30", "--seed", "2", "--out", Path("s2.bmp")});
    ASSERT_EQ(shred1.ExitCode, 0);
    ASSERT_EQ(shred2.ExitCode, 0);
    EXPECT_NE(ReadBytes(Path("s1.bmp")), ReadBytes(Path("s2.bmp")));
}

TEST_F(EffectCommandsTest, RefusesBadArguments) {
    struct Case {
        std::vector<std::string> Args;
        int Exit;
    } cases[] = {
        {{"--index", "106", "--progress", "2", "--out", Path("x.bmp")}, 2},
        {{"--index", "-1", "--progress", "2", "--out", Path("x.bmp")}, 2},
        {{"--index", "3", "--progress", "101", "--out", Path("x.bmp")}, 2},
        {{"--index", "3", "--progress", "2:1", "--out", Path("x.bmp")}, 2},
        {{"--index", "3", "--progress", "4,x", "--out", Path("x.bmp")}, 2},
        {{"--index", "3", "--progress", "2:10:0", "--out", Path("x.bmp")}, 2},
    };
    for (const Case& c : cases) {
        const CliResult r = Effect(c.Args);
        EXPECT_EQ(r.ExitCode, c.Exit) << c.Args[1] << " " << c.Args[3];
        EXPECT_FALSE(r.Err.empty());
    }
    Bitmap(10, 10).WriteBmp(Path("small.bmp"));
    const CliResult sizes = RunCli({"effect", "--index", "3", "--from", Path("small.bmp"), "--to",
                                    Path("to.bmp"), "--progress", "2", "--out", Path("x.bmp")});
    EXPECT_EQ(sizes.ExitCode, 1);
    const CliResult missing = RunCli({"effect", "--index", "3", "--from", Path("none.bmp"), "--to",
                                      Path("to.bmp"), "--progress", "2", "--out", Path("x.bmp")});
    EXPECT_EQ(missing.ExitCode, 1);
}

TEST_F(EffectCommandsTest, AFullDiskFailsAndLeavesNoFile) {
    test::FullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    for (const char* name : {"out.bmp", "out.png"}) {
        const CliResult r =
            Effect({"--index", "3", "--progress", "50", "--out", (disk.Path() / name).string()});
        EXPECT_EQ(r.ExitCode, 1) << name;
    }
    EXPECT_EQ(disk.Entries(), std::vector<std::string>{});
}

// Pixels that are not white in a part of the sheet.
int InkIn(const QImage& sheet, int x0, int y0, int x1, int y1) {
    int ink = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) ink += (sheet.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    }
    return ink;
}

TEST_F(EffectCommandsTest, SheetShowsLabelledRowsOfTenFrames) {
    const CliResult one =
        RunCli({"effect-sheet", "--index", "4", "--from", Path("from.bmp"), "--to", Path("to.bmp"),
                "--out", Path("one.png"), "--thumb-width", "185"});
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    const QImage sheet(QString::fromStdString(Path("one.png")));
    ASSERT_FALSE(sheet.isNull());
    // Ten full-size frames with gaps of 6 after a label column; the last one is the image.
    const int left = sheet.width() - 8 - 10 * (185 + 6);
    ASSERT_GT(left, 8 + 6);
    const int top = sheet.height() - 8 - (153 + 6);
    const Bitmap bitmap = Bitmap::FromQImage(sheet);
    const int lastX = left + 9 * (185 + 6);
    EXPECT_EQ(bitmap.RgbAt(lastX, top), Code(ImageTag, 0, 0));
    EXPECT_EQ(bitmap.RgbAt(lastX + 184, top + 152), Code(ImageTag, 184, 152));
    // 10 % of effect 4: columns 0 .. 18 revealed.
    EXPECT_EQ(bitmap.RgbAt(left + 18, top), Code(ImageTag, 18, 0));
    EXPECT_EQ(bitmap.RgbAt(left + 19, top), Code(DisplayTag, 19, 0));
    // The label "004 由左侧渐铺至右": Chinese glyphs drawn, not blank.
    EXPECT_GT(InkIn(sheet, 8, top, left - 6, top + 153), 200);

    const Bitmap small = CodedPicture(40, 30, ImageTag);
    small.WriteBmp(Path("a40.bmp"));
    CodedPicture(40, 30, DisplayTag).WriteBmp(Path("b40.bmp"));
    const CliResult all =
        RunCli({"effect-sheet", "--index", "all", "--from", Path("b40.bmp"), "--to",
                Path("a40.bmp"), "--out", Path("all.png"), "--seed", "1"});
    ASSERT_EQ(all.ExitCode, 0) << all.Err;
    const QImage allSheet(QString::fromStdString(Path("all.png")));
    // Same header, then 105 rows of 30-pixel frames (taller than a text line) and gaps.
    EXPECT_EQ(allSheet.height(), top + 105 * (30 + 6) + 8);
}

}  // namespace
}  // namespace velmora
