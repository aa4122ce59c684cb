// The random generator: its sequence worked out by hand, and the reseed source that makes a
// render reproducible.

#include <gtest/gtest.h>

#include <set>

#include "effects/EffectRandom.h"

namespace velmora {
namespace {

// Restores the global seed and reseed source after each test.
class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { FSaved = RandSeed(); }
    void TearDown() override {
        SetRandSeed(FSaved);
        SetReseedSource({});
    }
    std::uint32_t FSaved = 0;
};

TEST_F(RandomTest, DrawsFollowTheLinearCongruentialSequence) {
    // seed' = seed x 134775813 + 1 mod 2^32, draw = (seed' x n) >> 32.
    struct Step {
        std::uint32_t N, Seed, Draw;
    } steps[] = {
        {100, 1, 0},          {100, 134775814, 3},   {100, 3698175007u, 86},
        {105, 870078620, 21}, {105, 1172187917, 28}, {0xFFFFFFFFu, 2884733762u, 2884733761u}};
    SetRandSeed(0);
    for (const Step& s : steps) {
        EXPECT_EQ(RandomBelow(s.N), s.Draw);
        EXPECT_EQ(RandSeed(), s.Seed);
    }
    SetRandSeed(12345);
    EXPECT_EQ(RandomBelow(10), 3u);
    EXPECT_EQ(RandomBelow(10), 2u);
    EXPECT_EQ(RandomBelow(10), 0u);
    EXPECT_EQ(RandomBelow(0), 0u) << "a draw below 0 is 0";
    EXPECT_EQ(RandSeed(), 342459380u * 134775813u + 1u) << "and still advances the seed";
}

TEST_F(RandomTest, ScopedSeedMakesReseedsReproducibleAndRestores) {
    SetRandSeed(777);
    std::vector<std::uint32_t> first;
    std::vector<std::uint32_t> again;
    std::vector<std::uint32_t> other;
    auto record = [](std::uint32_t seed, std::vector<std::uint32_t>& out) {
        TScopedSeed scoped(seed);
        for (int reseed = 0; reseed < 3; ++reseed) {
            Randomize();
            for (int i = 0; i < 4; ++i) out.push_back(RandomBelow(1000000));
        }
    };
    record(42, first);
    EXPECT_EQ(RandSeed(), 777u);
    record(42, again);
    record(43, other);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    // Successive reseeds of one scoped seed give different sequences.
    EXPECT_NE(std::vector(first.begin(), first.begin() + 4),
              std::vector(first.begin() + 4, first.begin() + 8));
}

TEST_F(RandomTest, InstalledSourceFeedsRandomizeAndEmptyRestoresTheClock) {
    SetReseedSource([] { return 99u; });
    Randomize();
    EXPECT_EQ(RandSeed(), 99u);
    SetReseedSource({});
    std::set<std::uint32_t> seeds;
    for (int i = 0; i < 20; ++i) {
        Randomize();
        seeds.insert(RandSeed());
    }
    EXPECT_GT(seeds.size(), 1u) << "the clock moves between reseeds";
}

}  // namespace
}  // namespace velmora
