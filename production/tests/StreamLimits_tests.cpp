// The rendered files against their standards, read back from the bytes on disk: the SVCD
// program stream holds 2.6 Mbit/s in every second of its system clock and declares no more.

#include <gtest/gtest.h>

#include <map>

#include "production/ProductionRun.h"
#include "production/tests/ProductionFixtures.h"

namespace velmora {
namespace {

/// A short album of one detailed picture and a song, rendered with a preset.
std::string Render(const test::TempDir& root, TOutputType type, const std::string& name) {
    TAlbumStore store = test::MakeStore(root.Dir(), {{"P0.jpg", 1, 1, "标题"}}, {{"M0.mp3", 3}});
    test::MakePicture(root.Dir() + "Test/P0.jpg", 720, 576, "plasma:fractal");
    test::MakeSong(root.Dir() + "Test/M0.mp3", 3);
    TProductionSettings settings;
    settings.OutputType = type;
    settings.OutputPath = root.Dir() + name;
    const TProductionReport report = RunProduction(store, settings);
    EXPECT_TRUE(report.Success) << report.FailureDetail;
    return report.OutputPath;
}

TEST(StreamLimits, SvcdHoldsItsTotalRateInEverySecondAndDeclaresNoMore) {
    test::TempDir root;
    const std::vector<std::uint8_t> bytes =
        test::ReadBytes(Render(root, TOutputType::SVCD, "svcd.mpg"));
    // Every MPEG-2 pack header: its system clock (90 kHz) and the pack's bytes up to the next.
    std::map<std::int64_t, std::int64_t> bitsPerSecond;
    std::int64_t declared = 0;
    int packs = 0;
    for (std::size_t i = 0; i + 14 <= bytes.size();) {
        const std::uint8_t* b = &bytes[i];
        if (!(b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0xBA)) {
            ++i;
            continue;
        }
        const std::int64_t scr = std::int64_t((b[4] >> 3) & 7) << 30 |
                                 std::int64_t(b[4] & 3) << 28 | std::int64_t(b[5]) << 20 |
                                 std::int64_t(b[6] >> 3) << 15 | std::int64_t(b[6] & 3) << 13 |
                                 std::int64_t(b[7]) << 5 | (b[8] >> 3);
        declared = std::max<std::int64_t>(
            declared, (std::int64_t(b[10]) << 14 | std::int64_t(b[11]) << 6 | b[12] >> 2) * 400);
        bitsPerSecond[scr / 90000] += 2324 * 8;
        ++packs;
        i += 2324;
    }
    ASSERT_GT(packs, 100);
    EXPECT_LE(declared, 2600000);
    EXPECT_GT(declared, 0);
    for (const auto& [second, bits] : bitsPerSecond) {
        EXPECT_LE(bits, 2600000) << "second " << second;
    }
}

}  // namespace
}  // namespace velmora
