// Shape effects: the shapes each frame reveals (worked out by hand from the effect formulas),
// the pixels left uncovered at full progress, and frames that stay inside the display.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "effects/EffectHelpers.h"
#include "effects/EffectTable.h"
#include "effects/tests/EffectTestSupport.h"

namespace velmora {
namespace {

using namespace velmora::test;
using TShapeFrame = TFrameResult;

Predicate Inside(Region region) {
    return [region = std::move(region)](int x, int y) { return region.Contains(x, y); };
}

Region Tri(int x1, int y1, int x2, int y2, int x3, int y3) {
    return TriangleRegion(x1, y1, x2, y2, x3, y3);
}

struct TShapeExample {
    const char* Name;
    int Effect;
    int Progress;
    std::function<Region()> Shape;
};

// On 185 x 153: at 25 % X = 46, Y = 38; at 50 % X = 93, Y = 77; centre (92, 76); the sweep
// radius is ceil(sqrt(92^2 + 76^2)) = 120.
const std::vector<TShapeExample>& ShapeExamples() {
    constexpr double pi = std::numbers::pi;
    static const std::vector<TShapeExample> examples = {
        {"Curved41At50", 41, 50, [] { return Region::RoundRect(-370, -5, 186, 158, 370, 370); }},
        {"Curved42At50", 42, 50, [] { return Region::RoundRect(-1, -5, 555, 158, 370, 370); }},
        {"Curved51At50", 51, 50, [] { return Region::RoundRect(-5, -306, 190, 154, 306, 306); }},
        {"Curved52At50", 52, 50, [] { return Region::RoundRect(-5, -1, 190, 459, 306, 306); }},
        {"Curved59At25", 59, 25, [] { return Region::RoundRect(-370, -306, 92, 76, 370, 306); }},
        {"Curved60At25", 60, 25, [] { return Region::RoundRect(93, -306, 555, 76, 370, 306); }},
        {"Curved61At25", 61, 25, [] { return Region::RoundRect(-370, 77, 92, 459, 370, 306); }},
        // The bottom-right front is rounded by 2H x 2H.
        {"Curved62At25", 62, 25, [] { return Region::RoundRect(93, 77, 555, 459, 306, 306); }},
        {"Ellipse63At50", 63, 50, [] { return Region::RoundRect(-1, -1, 185, 153, 167, 138); }},
        {"Ellipse64At50", 64, 50,
         [] {
             return Region(TRect{0, 0, 185, 153}) - Region::RoundRect(1, 1, 184, 152, 165, 136);
         }},
        {"Triangle83At50", 83, 50, [] { return Tri(0, 0, 186, 0, 0, 154); }},
        {"Triangle84At25", 84, 25, [] { return Tri(185, 0, 93, 0, 185, 76); }},
        {"Triangle85At25", 85, 25, [] { return Tri(0, 153, 92, 153, 0, 77); }},
        {"Triangle86At25", 86, 25, [] { return Tri(185, 153, 93, 153, 185, 77); }},
        {"Diagonal87At50", 87, 50,
         [] { return Tri(0, 153, 0, 0, 93, 153) | Tri(185, 153, 185, 0, 92, 0); }},
        {"Diagonal88At50", 88, 50,
         [] { return Tri(185, 0, 0, 0, 185, 77) | Tri(185, 153, 0, 153, 0, 76); }},
        {"Starburst89At50", 89, 50,
         [] {
             return Tri(92, 76, 0, 153, 0, 76) | Tri(0, 0, 93, 0, 92, 76) |
                    Tri(92, 153, 92, 76, 185, 153) | Tri(92, 76, 185, 0, 185, 77);
         }},
        {"Sweep102At25", 102, 25, [] { return SectorRegion(92, 76, 120, -pi / 2, 0, 25); }},
        {"Sweep103At25", 103, 25, [] { return SectorRegion(92, 76, 120, -pi / 2, -pi, 25); }},
        // Half a turn maps the rectangle and the star onto themselves.
        {"Rectangle104At50", 104, 50,
         [] {
             return Region(TRect{46, 38, 138, 114});
         }},
        {"Star105At50", 105, 50,
         [] {
             const TPoint star[] = {{-94, 76}, {46, 38},   {92, -78}, {138, 38},
                                    {278, 76}, {138, 114}, {92, 230}, {46, 114}};
             return Region::Polygon(star);
         }},
    };
    return examples;
}

class ShapeExampleTest : public testing::TestWithParam<TShapeExample> {};

TEST_P(ShapeExampleTest, RevealsExactlyTheShapeOfTheFormula) {
    const TShapeExample& e = GetParam();
    const TShapeFrame frame(e.Effect, 185, 153, e.Progress);
    EXPECT_TRUE(frame.Clean);
    EXPECT_EQ("", frame.Differences(Inside(e.Shape())));
}

INSTANTIATE_TEST_SUITE_P(ShapeEffects, ShapeExampleTest, testing::ValuesIn(ShapeExamples()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ShapeExampleTest, SweepAtAQuarterTurnStopsJustShortOfThreeOClock) {
    // The last arc point is 3.6 degrees above three o'clock: (212, 68).
    const TShapeFrame clockwise(102, 185, 153, 25);
    EXPECT_TRUE(clockwise.Revealed(100, 10));   // right of straight up
    EXPECT_FALSE(clockwise.Revealed(80, 10));   // left of straight up
    EXPECT_TRUE(clockwise.Revealed(150, 70));   // above the last hand position
    EXPECT_FALSE(clockwise.Revealed(150, 74));  // below it, still above three o'clock
    EXPECT_FALSE(clockwise.Revealed(150, 100));
    const TShapeFrame anticlockwise(103, 185, 153, 25);
    EXPECT_TRUE(anticlockwise.Revealed(80, 10));
    EXPECT_FALSE(anticlockwise.Revealed(100, 10));
    EXPECT_TRUE(anticlockwise.Revealed(34, 70));
    EXPECT_FALSE(anticlockwise.Revealed(34, 74));
}

// At full progress: which pixels stay uncovered, per effect and frame size.
struct TShapeFullCase {
    int Effect;
    int W;
    int H;
    Predicate Uncovered;
};

// The wedge the clock-hand sweep leaves at 100 %: between straight up and the last hand
// position, 3.6 degrees before it (to the left for the clockwise sweep, to the right for the
// anticlockwise one). The hand is a boundary of the slice: a pixel whose centre lies on it is
// revealed when the slice lies right of it.
Predicate SweepWedge(int w, int h, bool clockwise) {
    const int cx = w / 2;
    const int cy = h / 2;
    const int radius = int(std::ceil(std::sqrt(double(cx) * cx + double(cy) * cy)));
    const double turn = 99 * std::numbers::pi / 50;
    const double t = -std::numbers::pi / 2 + (clockwise ? turn : -turn);
    const long long dx = Round(radius * std::cos(t));
    const long long dy = Round(radius * std::sin(t));
    return [=](int x, int y) {
        const long long px = 2LL * x + 1 - 2LL * cx;  // doubled offsets of the pixel centre
        const long long py = 2LL * y + 1 - 2LL * cy;
        if (py >= 0) return false;
        if (clockwise) return px < 0 && px * dy <= py * dx;
        return px > 0 && px * dy > py * dx;
    };
}

std::vector<TShapeFullCase> ShapeFullCases() {
    std::vector<TShapeFullCase> cases;
    const std::pair<int, int> sizes[] = {{1, 1},     {2, 3},     {185, 153},
                                         {320, 288}, {480, 576}, {720, 576}};
    for (auto [w, h] : sizes) {
        for (int e : {41, 42, 51, 52, 59, 60, 61, 62, 63, 64, 83, 84, 85, 86, 87, 88, 89}) {
            cases.push_back({e, w, h, [](int, int) { return false; }});
        }
        // The rectangle reaches W / 2 + X / 2 = W - 1 on odd widths: the last column (row)
        // stays.
        cases.push_back({104, w, h, [w, h](int x, int y) {
                             return (w % 2 == 1 && x == w - 1) || (h % 2 == 1 && y == h - 1);
                         }});
        // The star's inner corners land on (W - 1, H - 1) and the like on odd sizes; only the
        // bottom-right corner pixel lies outside both of its edges.
        cases.push_back({105, w, h, [w, h](int x, int y) {
                             return w % 2 == 1 && h % 2 == 1 && x == w - 1 && y == h - 1;
                         }});
        if (w == 1 && h == 1) {
            // Radius 0: the slice has no area at all.
            for (int e : {102, 103}) cases.push_back({e, w, h, [](int, int) { return true; }});
        } else if (w == 185) {
            // On odd sizes the centre is (W / 2, H / 2) and the radius reaches only the nearer
            // corners: the far corner's centre lies 120.03 from (92, 76), and the arc point
            // (184, 0) puts the centre of pixel (184, 0) on a chord, outside the slice.
            for (bool clockwise : {true, false}) {
                const Predicate wedge = SweepWedge(w, h, clockwise);
                cases.push_back({clockwise ? 102 : 103, w, h, [wedge](int x, int y) {
                                     return wedge(x, y) ||
                                            (x == 184 && (y == 0 || y == 151 || y == 152));
                                 }});
            }
        } else if (w > 2) {
            cases.push_back({102, w, h, SweepWedge(w, h, true)});
            cases.push_back({103, w, h, SweepWedge(w, h, false)});
        }
    }
    return cases;
}

class ShapeFullProgressTest : public testing::TestWithParam<TShapeFullCase> {};

TEST_P(ShapeFullProgressTest, LeavesExactlyTheFormulasGapsUncovered) {
    const TShapeFullCase& c = GetParam();
    const TShapeFrame frame(c.Effect, c.W, c.H, 100);
    EXPECT_TRUE(frame.Clean);
    const Predicate uncovered = c.Uncovered;
    EXPECT_EQ("", frame.Differences([&](int x, int y) { return !uncovered(x, y); }));
}

INSTANTIATE_TEST_SUITE_P(ShapeEffects, ShapeFullProgressTest, testing::ValuesIn(ShapeFullCases()),
                         [](const auto& info) {
                             return "Effect" + std::to_string(info.param.Effect) + "_" +
                                    SizeName(info.param.W, info.param.H);
                         });

TEST(ShapeFullProgressTest, SweepWedgeOnThePreviewIsAThinSliverLeftOfStraightUp) {
    // The last hand points from the centre (92, 76) to (84, -44), one column left every 15
    // rows: at the top row it passes x = 86.97, so columns 87 to 91 stay.
    const TShapeFrame frame(102, 185, 153, 100);
    for (int x = 87; x < 92; ++x) EXPECT_FALSE(frame.Revealed(x, 0)) << x;
    EXPECT_TRUE(frame.Revealed(86, 0));
    EXPECT_TRUE(frame.Revealed(92, 0));
    EXPECT_FALSE(frame.Revealed(91, 60));
    EXPECT_TRUE(frame.Revealed(91, 70));
    EXPECT_TRUE(frame.Revealed(91, 76));
}

const std::vector<int> ShapeEffectList = {41, 42, 51, 52, 59, 60, 61,  62,  63,  64, 83,
                                          84, 85, 86, 87, 88, 89, 102, 103, 104, 105};

TEST(ShapeSweepTest, EveryProgressOnSmallAndVideoFramesStaysInside) {
    std::vector<int> all(101);
    for (int p = 0; p <= 100; ++p) all[std::size_t(p)] = p;
    for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {185, 153}, {720, 576}}) {
        const Bitmap outgoing = CodedPicture(w, h, DisplayTag);
        const Bitmap image = CodedPicture(w, h, ImageTag);
        for (int effect : ShapeEffectList) {
            EXPECT_TRUE(StaysInside(effect, outgoing, image, all))
                << effect << " " << SizeName(w, h);
        }
    }
}

TEST(ShapeSweepTest, LargeAndThinFramesStayInside) {
    const std::vector<int> some = {0, 1, 2, 49, 50, 51, 99, 100};
    for (auto [w, h] : {std::pair{1920, 1080}, {1920, 1}, {1, 1080}, {9, 9}, {720, 5}}) {
        const Bitmap outgoing = CodedPicture(w, h, DisplayTag);
        const Bitmap image = CodedPicture(w, h, ImageTag);
        for (int effect : ShapeEffectList) {
            EXPECT_TRUE(StaysInside(effect, outgoing, image, some))
                << effect << " " << SizeName(w, h);
        }
    }
}

}  // namespace
}  // namespace velmora
