#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velmora
