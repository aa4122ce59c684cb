// A sweep over all 105 effects with a fixed seed: one checksum per effect over the frames of
// a whole video transition on the preview size. The checksums only guard against change; the
// pixels themselves are proven by the family tests. After an intended change, regenerate the
// list with VELMORA_UPDATE_SWEEP=1 and say why in the commit; VELMORA_SWEEP_EFFECT=N runs one
// effect and prints its checksum.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "effects/EffectRandom.h"
#include "effects/TransitionDriver.h"
#include "effects/tests/EffectTestSupport.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using namespace velmora::test;

const char* const SweepFile = "effects/tests/data/effect_sweep.txt";

// FNV-1a over the pixel bytes of every row (padding left out), continued from hash.
std::uint64_t Hash(const Bitmap& b, std::uint64_t hash) {
    for (int y = 0; y < b.Height(); ++y) {
        const std::uint8_t* row = b.Row(y);
        for (int i = 0; i < 3 * b.Width(); ++i) hash = (hash ^ row[i]) * 0x100000001B3ull;
    }
    return hash;
}

// Steps 2, 4, ..., 100 on 185 x 153 with the seed 1000 + effect; the display after every
// fifth step is hashed.
std::uint64_t SweepChecksum(int effect, std::uint32_t userSeed = 0) {
    const TScopedSeed seed(userSeed ? userSeed : 1000u + unsigned(effect));
    const Bitmap image = CodedPicture(185, 153, ImageTag);
    Bitmap display = CodedPicture(185, 153, DisplayTag);
    TTransitionDriver driver;
    driver.Begin(display, image, effect);
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (int k = 1; k <= 50; ++k) {
        driver.Step(2 * k);
        if (k % 5 == 0) hash = Hash(display, hash);
    }
    return hash;
}

std::map<int, std::uint64_t> ReadSweep() {
    std::map<int, std::uint64_t> sums;
    std::ifstream in(SourcePath(SweepFile));
    int index = 0;
    std::string hex;
    while (in >> index >> hex) sums[index] = std::stoull(hex, nullptr, 16);
    return sums;
}

TEST(EffectSweepTest, EveryEffectDrawsTheSameFramesAsRecorded) {
    if (const char* one = std::getenv("VELMORA_SWEEP_EFFECT")) {
        const int effect = std::atoi(one);
        std::printf("effect %d checksum %016llx\n", effect,
                    (unsigned long long)SweepChecksum(effect));
        return;
    }
    std::map<int, std::uint64_t> now;
    for (int effect = 1; effect <= 105; ++effect) now[effect] = SweepChecksum(effect);
    if (std::getenv("VELMORA_UPDATE_SWEEP")) {
        std::ofstream out(SourcePath(SweepFile));
        for (auto [effect, sum] : now) {
            char line[40];
            std::snprintf(line, sizeof line, "%d %016llx\n", effect, (unsigned long long)sum);
            out << line;
        }
        GTEST_SKIP() << "sweep list rewritten";
    }
    const std::map<int, std::uint64_t> recorded = ReadSweep();
    ASSERT_EQ(recorded.size(), 105u) << "missing " << SweepFile;
    for (auto [effect, sum] : now) {
        EXPECT_EQ(sum, recorded.at(effect)) << "effect " << effect << " draws other frames";
    }
}

TEST(EffectSweepTest, TheSameSeedRedrawsTheSameFramesAndAnotherSeedOthers) {
    // Shreds and speckles draw from the generator on every frame.
    for (int effect : {47, 81, 91, 94}) {
        EXPECT_EQ(SweepChecksum(effect, 5), SweepChecksum(effect, 5)) << effect;
        EXPECT_NE(SweepChecksum(effect, 5), SweepChecksum(effect, 6)) << effect;
    }
}

}  // namespace
}  // namespace velmora
