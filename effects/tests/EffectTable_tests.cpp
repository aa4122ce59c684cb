// The effect table, the list names and the random effect choice.

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "base/Errors.h"
#include "effects/EffectRandom.h"
#include "effects/EffectTable.h"

namespace velmora {
namespace {

TEST(EffectTableTest, HoldsTheNamedRowsInOrder) {
    ASSERT_EQ(Effects.Rows().size(), 105u);
    const std::pair<int, const char*> names[] = {
        {1, "Fade"},
        {2, "Slide in from right"},
        {20, "Expand in from top"},
        {27, "Expand in from top"},
        {40, "Quarters Slide in to middle"},
        {55, "Unven shred from bottom"},
        {73, "Criss Cross reveal from bottom left top right"},
        {89, "Starburst clockwise from center"},
        {101, "Rectangular shred"},
        {105, "Rotational star"},
    };
    for (auto [index, name] : names) EXPECT_STREQ(Effects[index].Name, name) << index;
    std::set<EffectProc> procs;
    for (const TEffect& row : Effects.Rows()) {
        ASSERT_NE(row.Proc, nullptr) << row.Name;
        procs.insert(row.Proc);
    }
    EXPECT_EQ(procs.size(), 105u) << "every row has its own procedure";
    EXPECT_NE(Effects[20].Proc, Effects[27].Proc);
}

TEST(EffectTableTest, IndicesOutsideTheTableAreRefused) {
    for (int index : {0, -1, 106, INT_MIN}) {
        EXPECT_THROW(Effects[index], InvalidArgument) << index;
    }
}

TEST(EffectNameTest, ListNamesAndTheRandomFallback) {
    const std::pair<int, const char*> cases[] = {
        {0, "随机效果"},           {1, "淡入淡出"},          {24, "由上至向滚动展开"},
        {53, "栏栅从向上显示"},    {64, "椭贺向内渐铺显示"}, {105, "星形顺时针旋转"},
        {106, "000 随机效果"},     {-1, "000 随机效果"},     {INT_MIN, "000 随机效果"},
        {INT_MAX, "000 随机效果"},
    };
    for (auto [index, name] : cases) EXPECT_EQ(EffectName(index), name) << index;
}

TEST(EffectNameTest, TheListHas106NumberedLines) {
    const std::vector<std::string> lines = EffectListLines();
    ASSERT_EQ(lines.size(), 106u);
    EXPECT_EQ(lines[0], "000 随机效果");
    EXPECT_EQ(lines[1], "001 淡入淡出");
    EXPECT_EQ(lines[47], "047 类长条从右至左随机效果");
    EXPECT_EQ(lines[105], "105 星形顺时针旋转");
    for (int i = 0; i <= 105; ++i) {
        char number[5];
        std::snprintf(number, sizeof number, "%03d ", i);
        EXPECT_EQ(lines[std::size_t(i)], number + EffectName(i));
    }
}

class ResolveEffectTest : public ::testing::Test {
protected:
    void TearDown() override { SetReseedSource({}); }
};

TEST_F(ResolveEffectTest, KeepsRealIndicesAndDrawsOneToOneHundredFiveForRandom) {
    EXPECT_EQ(ResolveEffect(37), 37);
    EXPECT_EQ(ResolveEffect(1), 1);
    EXPECT_EQ(ResolveEffect(105), 105);
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
        const int effect = ResolveEffect(0);
        ASSERT_GE(effect, 1);
        ASSERT_LE(effect, 105);
        seen.insert(effect);
    }
    EXPECT_GT(seen.size(), 90u) << "clock reseeds spread over the table";
}

TEST_F(ResolveEffectTest, DamagedIndicesBecomeRandomEffects) {
    for (int index : {106, -1, INT_MIN, INT_MAX}) {
        const int effect = ResolveEffect(index);
        EXPECT_TRUE(IsEffectIndex(effect)) << index;
    }
}

TEST_F(ResolveEffectTest, ReseedsFromTheSourceSoASeedReproducesTheChoices) {
    // The k-th choice is RandomBelow(105) + 1 right after the k-th reseed.
    SetReseedSource([] { return 0u; });
    EXPECT_EQ(ResolveEffect(0), 1) << "seed 0 -> 1 -> (1 x 105) >> 32 = 0";
    SetReseedSource([] { return 12345u; });
    EXPECT_EQ(ResolveEffect(0), 41) << "seed 1655067934: (1655067934 x 105) >> 32 = 40";
    std::vector<int> first, again;
    {
        TScopedSeed seed(5);
        for (int i = 0; i < 20; ++i) first.push_back(ResolveEffect(0));
    }
    {
        TScopedSeed seed(5);
        for (int i = 0; i < 20; ++i) again.push_back(ResolveEffect(0));
    }
    EXPECT_EQ(first, again);
    EXPECT_GT(std::set<int>(first.begin(), first.end()).size(), 1u)
        << "two random transitions of one video can differ";
}

}  // namespace
}  // namespace velmora
