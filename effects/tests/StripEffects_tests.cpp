// Bars, criss-cross, uneven shreds, speckles, blinds and grid shreds: the pixels each frame
// reveals, worked out by hand from the effect formulas, the shapes of the random strips and
// speckles, and the seams that the grid shreds leave at full progress.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "effects/EffectRandom.h"
#include "effects/EffectTable.h"
#include "effects/tests/EffectTestSupport.h"

namespace velmora {
namespace {

using namespace velmora::test;

bool EvenBand(int v, int band) { return (v / band) % 2 == 0; }

struct TWorkedExample {
    const char* Name;
    int Effect;
    int W;
    int H;
    int Progress;
    Predicate Expected;
};

// Worked by hand from the frame metrics. On 185 x 153: Divisions 10; at 20 % X = 37, Y = 31;
// at 40 % X = 74, Y = 61; at 48 % X = 89; at 52 % X = 96, Y = 79.
const std::vector<TWorkedExample>& WorkedExamples() {
    static const std::vector<TWorkedExample> examples = {
        // XP = 192 > 185: even bands full, odd bands grow from the right by 7 (columns 178..).
        {"Bars43At52", 43, 185, 153, 52, [](int x, int y) { return EvenBand(y, 10) || x >= 178; }},
        // XP = 178, within Divisions of 185: the even bands snap to the full width.
        {"Bars43At48", 43, 185, 153, 48, [](int, int y) { return EvenBand(y, 10); }},
        {"Bars44At52FromLeft", 44, 185, 153, 52,
         [](int x, int y) { return EvenBand(y, 10) || x < 7; }},
        {"Bars44At20", 44, 185, 153, 20, [](int x, int y) { return EvenBand(y, 10) && x < 74; }},
        // HMode 4: first set from the left, second from the right.
        {"Bars45At20", 45, 185, 153, 20, [](int x, int y) { return EvenBand(y, 10) && x < 74; }},
        {"Bars45At52", 45, 185, 153, 52, [](int x, int y) { return EvenBand(y, 10) || x >= 178; }},
        // HMode 5: first set from the right, second from the left.
        {"Bars46At20", 46, 185, 153, 20, [](int x, int y) { return EvenBand(y, 10) && x >= 111; }},
        {"Bars46At52", 46, 185, 153, 52, [](int x, int y) { return EvenBand(y, 10) || x < 7; }},
        // YP = 158 > 153: even column bands full, odd ones from the bottom by 5 (rows 148..).
        {"Bars53At52", 53, 185, 153, 52, [](int x, int y) { return EvenBand(x, 10) || y >= 148; }},
        {"Bars54At52", 54, 185, 153, 52, [](int x, int y) { return EvenBand(x, 10) || y < 5; }},
        {"Bars54At20", 54, 185, 153, 20,
         [](int x, int y) { return EvenBand(x, 10) && y >= 153 - 62; }},
        // Criss-cross at 20 %: XP = 74, YP = 62, bands of 20.
        {"CrissCross65At20", 65, 185, 153, 20,
         [](int x, int y) {
             return (EvenBand(y, 20) && x >= 111) || (EvenBand(x, 20) && y >= 91);
         }},
        {"CrissCross66At20", 66, 185, 153, 20,
         [](int x, int y) { return (EvenBand(y, 20) && x >= 111) || (EvenBand(x, 20) && y < 62); }},
        // The intersection of (right, bottom) and (left, top): crossings only.
        {"CrissCross73At20", 73, 185, 153, 20,
         [](int x, int y) {
             const bool both = EvenBand(y, 20) && EvenBand(x, 20);
             return both && ((x >= 111 && y < 62) || (x < 74 && y >= 91));
         }},
        // XP = X = 74, YP = Y = 61; VMode 3: even column bands from the bottom, odd from the top.
        {"CrissCross69At40", 69, 185, 153, 40,
         [](int x, int y) {
             return (EvenBand(y, 20) && x >= 111) || (EvenBand(x, 20) ? y >= 92 : y < 61);
         }},
        {"CrissCross71At40", 71, 185, 153, 40,
         [](int x, int y) {
             return (EvenBand(y, 20) ? x >= 111 : x < 74) || (EvenBand(x, 20) && y >= 92);
         }},
        // Blinds: slats of 185 / 10 = 18 columns, half full at 50 %; 153 / 10 = 15 rows.
        {"Blinds99At50", 99, 185, 153, 50, [](int x, int) { return x % 18 < 9; }},
        {"Blinds100At50", 100, 185, 153, 50, [](int, int y) { return y % 15 < 7; }},
        // Rectangular shred on 720 x 576 at 50 %: 18 x 14 rectangles about a 36 x 28 grid.
        {"RectShred101At50", 101, 720, 576, 50,
         [](int x, int y) { return (x + 9) % 36 < 18 && (y + 7) % 28 < 14; }},
    };
    return examples;
}

class WorkedExampleTest : public testing::TestWithParam<TWorkedExample> {};

TEST_P(WorkedExampleTest, RevealsExactlyThePixelsOfTheFormula) {
    const TWorkedExample& e = GetParam();
    const TFrameResult frame(e.Effect, e.W, e.H, e.Progress);
    EXPECT_TRUE(frame.Clean);
    EXPECT_EQ("", frame.Differences(e.Expected));
}

INSTANTIATE_TEST_SUITE_P(StripEffects, WorkedExampleTest, testing::ValuesIn(WorkedExamples()),
                         [](const auto& info) { return std::string(info.param.Name); });

// At full progress: which pixels stay uncovered, per effect and frame size.
struct TFullProgressCase {
    int Effect;
    int W;
    int H;
    Predicate Uncovered;
};

Predicate None() {
    return [](int, int) { return false; };
}

// The triangular shred's pixels as the formula gives them: the union of the right triangles
// with the right angle at (j cw - lx, i ch - ly), legs 2 lx across and 2 ly down, for grid
// points 0 .. n; a pixel belongs to a triangle when its centre lies inside, or on its top or
// left side.
Predicate TriangleShredGaps(int n, int lx, int ly, int cw, int ch) {
    return [=](int x, int y) {
        const long long p = 2 * lx;
        const long long q = 2 * ly;
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                const long long u = 2LL * x + 1 - 2LL * (j * cw - lx);
                const long long v = 2LL * y + 1 - 2LL * (i * ch - ly);
                if (u >= 0 && v >= 0 && u * q + v * p < 2 * p * q) return false;
            }
        }
        return true;
    };
}

std::vector<TFullProgressCase> FullProgressCases() {
    std::vector<TFullProgressCase> cases;
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {2, 3}, {185, 153}, {720, 576}};
    // Effects whose pieces cover every frame at 100 %.
    for (int e : {43, 44, 45, 46, 47, 48, 49, 53, 54, 55, 56, 57, 65, 66, 67, 68, 69, 70,
                  71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 91, 92, 93, 94, 99, 100}) {
        for (auto [w, h] : sizes) cases.push_back({e, w, h, None()});
    }
    // Strips from both sides meet at W / 2 and W - W / 2, one column apart on odd widths
    // (rows alike for the vertical strips); with both, only the centre pixel stays.
    for (auto [w, h] : sizes) {
        const int cx = w / 2;
        const int cy = h / 2;
        const bool oddW = w % 2 == 1;
        const bool oddH = h % 2 == 1;
        cases.push_back({50, w, h, [=](int x, int) { return oddW && x == cx; }});
        cases.push_back({58, w, h, [=](int, int y) { return oddH && y == cy; }});
        cases.push_back(
            {82, w, h, [=](int x, int y) { return oddW && oddH && x == cx && y == cy; }});
    }
    // Rectangular shred: rectangles of 2 (X / Divisions) on cells of W / N; 185 x 153 has
    // cells of 37 and rectangles of 36 (a seam every 37 columns from 18), 320 x 288 cells of 35
    // and rectangles of 34. Frames without divisions count as one division: one cell.
    cases.push_back({101, 1, 1, None()});
    cases.push_back({101, 2, 3, None()});
    cases.push_back({101, 185, 153, [](int x, int) { return x % 37 == 18; }});
    // 720 x 576: rectangles of 36 x 28 (576 / 40 = 14 rows each side of a grid row) reach
    // row 20 x 28 + 14 = 574, so the last two rows stay.
    cases.push_back({101, 720, 576, [](int, int y) { return y >= 574; }});
    cases.push_back({101, 320, 288, [](int x, int) { return x % 35 == 17; }});
    cases.push_back({101, 480, 576, None()});
    // Slats of W / Divisions (H / Divisions) round down to nothing across a thin frame; they
    // are one pixel wide then.
    cases.push_back({100, 720, 5, None()});
    cases.push_back({99, 5, 720, None()});
    // Triangular shred: (n, lx, ly, cw, ch) per frame size.
    cases.push_back({90, 1, 1, TriangleShredGaps(1, 1, 1, 1, 1)});
    cases.push_back({90, 2, 3, TriangleShredGaps(1, 2, 3, 2, 3)});
    cases.push_back({90, 185, 153, TriangleShredGaps(5, 37, 30, 37, 30)});
    cases.push_back({90, 320, 288, TriangleShredGaps(9, 35, 32, 35, 32)});
    cases.push_back({90, 480, 576, TriangleShredGaps(16, 30, 36, 30, 36)});
    cases.push_back({90, 720, 576, TriangleShredGaps(20, 36, 28, 36, 28)});
    return cases;
}

class FullProgressTest : public testing::TestWithParam<TFullProgressCase> {};

TEST_P(FullProgressTest, LeavesExactlyTheFormulasGapsUncovered) {
    const TFullProgressCase& c = GetParam();
    const TFrameResult frame(c.Effect, c.W, c.H, 100);
    EXPECT_TRUE(frame.Clean);
    const Predicate uncovered = c.Uncovered;
    EXPECT_EQ("", frame.Differences([&](int x, int y) { return !uncovered(x, y); }));
}

INSTANTIATE_TEST_SUITE_P(StripEffects, FullProgressTest, testing::ValuesIn(FullProgressCases()),
                         [](const auto& info) {
                             return "Effect" + std::to_string(info.param.Effect) + "_" +
                                    SizeName(info.param.W, info.param.H);
                         });

TEST(FullProgressTest, TriangularShredOn720x576LeavesTheBottomRowsBelowTheLastGridRowOpen) {
    // The grid reaches 20 x 28 = 560 rows; below it only the lower halves of the last row of
    // triangles reach, narrowing from 35 columns per cell at row 560 to 16 at row 575.
    const TFrameResult frame(90, 720, 576, 100);
    for (int x = 0; x < 720; ++x) EXPECT_TRUE(frame.Revealed(x, 559)) << x;
    for (int x = 0; x < 36; ++x) {
        EXPECT_EQ(x < 35, frame.Revealed(x, 560)) << x;
        EXPECT_EQ(x < 16, frame.Revealed(x, 575)) << x;
    }
}

// The random effects at 185 x 153, 40 %: X = 74, Y = 61.
const std::vector<int> RandomEffects = {47, 48, 49, 50, 55, 56, 57, 58, 74, 75, 76,
                                        77, 78, 79, 80, 81, 82, 91, 92, 93, 94};

TEST(RandomStripTest, SameSeedSameFramesOtherSeedOtherFrames) {
    for (int effect : RandomEffects) {
        auto frame = [effect](std::uint32_t seed) {
            const TScopedSeed scoped(seed);
            return TFrameResult(effect, 185, 153, 40).Mask();
        };
        EXPECT_EQ(frame(11), frame(11)) << effect;
        EXPECT_NE(frame(11), frame(12)) << effect;
    }
}

// The revealed runs of one row (or column) of a frame.
std::vector<std::pair<int, int>> Runs(const TFrameResult& frame, bool column, int line) {
    const int length = column ? frame.H : frame.W;
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < length; ++i) {
        const bool on = column ? frame.Revealed(line, i) : frame.Revealed(i, line);
        if (!on) continue;
        if (!runs.empty() && runs.back().second == i) {
            ++runs.back().second;
        } else {
            runs.push_back({i, i + 1});
        }
    }
    return runs;
}

// Bounds of one revealed run: its start in [StartLo, StartHi], its end in [EndLo, EndHi].
struct TRunBounds {
    int StartLo, StartHi, EndLo, EndHi;
};

struct TShredCase {
    int Effect;
    bool Columns;
    std::vector<TRunBounds> Runs;
};

// Strip ends move by r1 - r2 with draws below J: J = 185 / 7 = 26 across, 153 / 7 = 21 down.
// Overlapping strips only widen a run within the same bounds.
const std::vector<TShredCase>& ShredCases() {
    static const std::vector<TShredCase> cases = {
        {47, false, {{86, 136, 185, 185}}},                   // from the right: W - X = 111
        {48, false, {{0, 0, 49, 99}}},                        // from the left: X = 74
        {49, false, {{43, 68, 117, 142}}},                    // (111 +- 25) / 2, (259 +- 25) / 2
        {50, false, {{0, 0, 24, 49}, {136, 161, 185, 185}}},  // (74 +- 25) / 2 from each side
        {55, true, {{72, 112, 153, 153}}},                    // from the bottom: H - Y = 92
        {56, true, {{0, 0, 41, 81}}},                         // from the top: Y = 61
        {57, true, {{36, 56, 97, 117}}},                      // (92 +- 20) / 2, (214 +- 20) / 2
        {58, true, {{0, 0, 20, 40}, {113, 133, 153, 153}}},   // (61 +- 20) / 2 from each side
    };
    return cases;
}

TEST(UnevenShredTest, EveryLineIsOneRaggedStripWithinTheJitterRange) {
    for (const TShredCase& c : ShredCases()) {
        const TScopedSeed scoped(5);
        const TFrameResult frame(c.Effect, 185, 153, 40);
        std::set<int> starts;
        const int lines = c.Columns ? frame.W : frame.H;
        for (int line = 0; line < lines; ++line) {
            const auto runs = Runs(frame, c.Columns, line);
            ASSERT_EQ(c.Runs.size(), runs.size()) << c.Effect << " line " << line;
            for (std::size_t k = 0; k < runs.size(); ++k) {
                const TRunBounds& b = c.Runs[k];
                EXPECT_GE(runs[k].first, b.StartLo) << c.Effect << " line " << line;
                EXPECT_LE(runs[k].first, b.StartHi) << c.Effect << " line " << line;
                EXPECT_GE(runs[k].second, b.EndLo) << c.Effect << " line " << line;
                EXPECT_LE(runs[k].second, b.EndHi) << c.Effect << " line " << line;
            }
            starts.insert(runs.back().first + 1000 * runs.front().second);
        }
        // The ends are ragged: many different lengths.
        EXPECT_GT(starts.size(), 10u) << c.Effect;
    }
}

struct TSpeckleCase {
    int Effect;
    bool Columns;
    bool FromFar;  // edge advancing from the right (bottom)
    int Length;    // frame size along the advance
    int Progress;  // X or Y at 40 %
    int Depth;     // D: size / 10
};

// Speckles of 2 pixels (D / 20 < 2) in rows every pixel, so each line holds the squares of two
// speckle rows; a square k ahead of the edge covers pixels edge + 2k - 2 and edge + 2k - 1.
TEST(SpeckleTest, SolidUpToTheEdgeAndPairedSpecklesWithinTheDepth) {
    const TSpeckleCase cases[] = {
        {91, false, true, 185, 74, 18},
        {92, false, false, 185, 74, 18},
        {93, true, true, 153, 61, 15},
        {94, true, false, 153, 61, 15},
    };
    for (const TSpeckleCase& c : cases) {
        const TScopedSeed scoped(3);
        const TFrameResult frame(c.Effect, 185, 153, 40);
        const int lines = c.Columns ? frame.W : frame.H;
        for (int line = 0; line < lines; ++line) {
            // Distance ahead of the edge, in pixels, of position i.
            auto ahead = [&](int i) {
                return c.FromFar ? c.Length - c.Progress - 1 - i : i - c.Progress;
            };
            auto on = [&](int i) {
                return c.Columns ? frame.Revealed(line, i) : frame.Revealed(i, line);
            };
            for (int i = 0; i < c.Length; ++i) {
                const int d = ahead(i);
                if (d < 2) {
                    EXPECT_TRUE(on(i)) << c.Effect << " line " << line << " at " << i;
                } else if (d >= c.Depth - c.Depth % 2) {
                    EXPECT_FALSE(on(i)) << c.Effect << " line " << line << " at " << i;
                } else if (d % 2 == 0) {
                    const int partner = c.FromFar ? i - 1 : i + 1;
                    EXPECT_EQ(on(i), on(partner)) << c.Effect << " line " << line << " at " << i;
                }
            }
        }
    }
}

TEST(SpeckleTest, NearSquaresAppearWithChanceTwoOverKFartherOnesOneOverK) {
    // 185 wide: D = 18, S = 2, nine squares, T = (3 x 18 / 2) / 4 = 6. A line holds two speckle
    // rows, so square k shows with chance 1 - (1 - p)^2, p = min(2 / k, 1) up to k = 6, else 1 / k.
    std::vector<int> shown(10, 0);
    int samples = 0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const TScopedSeed scoped(seed);
        const TFrameResult frame(92, 185, 153, 40);
        for (int y = 1; y < 153; ++y, ++samples) {
            for (int k = 1; k <= 9; ++k) shown[k] += frame.Revealed(74 + 2 * k - 2, y) ? 1 : 0;
        }
    }
    for (int k = 1; k <= 9; ++k) {
        const double p = k <= 6 ? std::min(2.0 / k, 1.0) : 1.0 / k;
        const double expected = 1 - (1 - p) * (1 - p);
        EXPECT_NEAR(expected, double(shown[k]) / samples, 0.06) << "square " << k;
    }
}

const std::vector<int> StripEffectList = {43, 44, 45, 46, 47, 48, 49, 50, 53, 54, 55,  56, 57, 58,
                                          65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75,  76, 77, 78,
                                          79, 80, 81, 82, 90, 91, 92, 93, 94, 99, 100, 101};

TEST(StripSweepTest, EveryProgressOnSmallAndVideoFramesStaysInside) {
    std::vector<int> all(101);
    for (int p = 0; p <= 100; ++p) all[std::size_t(p)] = p;
    for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {185, 153}, {720, 576}}) {
        const Bitmap outgoing = CodedPicture(w, h, DisplayTag);
        const Bitmap image = CodedPicture(w, h, ImageTag);
        for (int effect : StripEffectList) {
            EXPECT_TRUE(StaysInside(effect, outgoing, image, all))
                << effect << " " << SizeName(w, h);
        }
    }
}

TEST(StripSweepTest, LargeAndThinFramesStayInside) {
    const std::vector<int> some = {0, 1, 2, 49, 50, 51, 99, 100};
    for (auto [w, h] : {std::pair{1920, 1080}, {1920, 1}, {1, 1080}, {9, 9}, {720, 5}}) {
        const Bitmap outgoing = CodedPicture(w, h, DisplayTag);
        const Bitmap image = CodedPicture(w, h, ImageTag);
        for (int effect : StripEffectList) {
            EXPECT_TRUE(StaysInside(effect, outgoing, image, some))
                << effect << " " << SizeName(w, h);
        }
    }
}

}  // namespace
}  // namespace velmora
