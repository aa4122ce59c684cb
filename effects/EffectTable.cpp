#include "effects/EffectTable.h"

#include <QtGlobal>
#include <array>
#include <cstdio>

#include "base/Errors.h"
#include "effects/EffectProcs.h"
#include "effects/EffectRandom.h"

namespace velmora {

namespace {

// Rows 1 .. 105 in table order; row i is element i - 1. Rows 20 and 27 share their name.
constexpr std::array<TEffect, EffectCount> RowTable{{
    {"Fade", effects::Fade},
    {"Slide in from right", effects::SlideInFromRight},
    {"Slide in from left", effects::SlideInFromLeft},
    {"Reveal from left", effects::RevealFromLeft},
    {"Reveal from right", effects::RevealFromRight},
    {"Expand in from right", effects::ExpandInFromRight},
    {"Expand in from left", effects::ExpandInFromLeft},
    {"Expand in to middle", effects::ExpandInToMiddle},
    {"Reveal out from middle", effects::RevealOutFromMiddle},
    {"Reveal in from sides", effects::RevealInFromSides},
    {"Unroll from left", effects::UnrollFromLeft},
    {"Unroll from right", effects::UnrollFromRight},
    {"Build up from right", effects::BuildUpFromRight},
    {"Build up from left", effects::BuildUpFromLeft},
    {"Slide in from bottom", effects::SlideInFromBottom},
    {"Slide in from top", effects::SlideInFromTop},
    {"Reveal from top", effects::RevealFromTop},
    {"Reveal from bottom", effects::RevealFromBottom},
    {"Expand in from bottom", effects::ExpandInFromBottom},
    {"Expand in from top", effects::ExpandInFromTop},
    {"Expand in to middle (horiz)", effects::ExpandInToMiddleHoriz},
    {"Reveal from middle (horiz)", effects::RevealFromMiddleHoriz},
    {"Slide in from top / bottom", effects::SlideInFromTopBottom},
    {"Unroll from top", effects::UnrollFromTop},
    {"Unroll from bottom", effects::UnrollFromBottom},
    {"Expand from bottom", effects::ExpandFromBottom},
    {"Expand in from top", effects::ExpandInFromTopBuildUp},
    {"Reveal from top left", effects::RevealFromTopLeft},
    {"Reveal from bottom left", effects::RevealFromBottomLeft},
    {"Reveal from bottom right", effects::RevealFromBottomRight},
    {"Reveal from top right", effects::RevealFromTopRight},
    {"Appear and Contract to top left", effects::AppearAndContractToTopLeft},
    {"Appear and Contract to bottom left", effects::AppearAndContractToBottomLeft},
    {"Appear and Contract to bottom right", effects::AppearAndContractToBottomRight},
    {"Appear and Contract to top right", effects::AppearAndContractToTopRight},
    {"Appear and Contract to middle", effects::AppearAndContractToMiddle},
    {"Reveal out from centre", effects::RevealOutFromCentre},
    {"Reveal in to centre", effects::RevealInToCentre},
    {"Quarters Reveal in to middle", effects::QuartersRevealInToMiddle},
    {"Quarters Slide in to middle", effects::QuartersSlideInToMiddle},
    {"Curved Reveal from left", effects::CurvedRevealFromLeft},
    {"Curved Reveal from right", effects::CurvedRevealFromRight},
    {"Bars in from right", effects::BarsInFromRight},
    {"Bars in from left", effects::BarsInFromLeft},
    {"Bars left then right", effects::BarsLeftThenRight},
    {"Bars right then left", effects::BarsRightThenLeft},
    {"Uneven shred from right", effects::UnevenShredFromRight},
    {"Uneven shred from left", effects::UnevenShredFromLeft},
    {"Uneven shred out from middle (horiz)", effects::UnevenShredOutFromMiddleHoriz},
    {"Uneven shred in to middle (horiz)", effects::UnevenShredInToMiddleHoriz},
    {"Curved Reveal from top", effects::CurvedRevealFromTop},
    {"Curved Reveal from bottom", effects::CurvedRevealFromBottom},
    {"Bars from bottom", effects::BarsFromBottom},
    {"Bars bottom then top", effects::BarsBottomThenTop},
    {"Unven shred from bottom", effects::UnevenShredFromBottom},
    {"Uneven shred from top", effects::UnevenShredFromTop},
    {"Uneven shred from horizon", effects::UnevenShredFromHorizon},
    {"Uneven shred in to horizon", effects::UnevenShredInToHorizon},
    {"Curved reveal from top left", effects::CurvedRevealFromTopLeft},
    {"Curved reveal from top right", effects::CurvedRevealFromTopRight},
    {"Curved reveal from bottom left", effects::CurvedRevealFromBottomLeft},
    {"Curved reveal from bottom right", effects::CurvedRevealFromBottomRight},
    {"Circular reveal from centre", effects::CircularRevealFromCentre},
    {"Circular reveal to centre", effects::CircularRevealToCentre},
    {"Criss Cross reveal from bottom right", effects::CrissCrossRevealFromBottomRight},
    {"Criss Cross reveal from top right", effects::CrissCrossRevealFromTopRight},
    {"Criss Cross reveal bounce from bottom left", effects::CrissCrossRevealBounceFromBottomLeft},
    {"Criss Cross reveal bounce from bottom right", effects::CrissCrossRevealBounceFromBottomRight},
    {"Criss Cross reveal from right top and bottom",
     effects::CrissCrossRevealFromRightTopAndBottom},
    {"Criss Cross reveal from left top and bottom", effects::CrissCrossRevealFromLeftTopAndBottom},
    {"Criss Cross reveal from left right and bottom",
     effects::CrissCrossRevealFromLeftRightAndBottom},
    {"Criss Cross reveal from left right and top", effects::CrissCrossRevealFromLeftRightAndTop},
    {"Criss Cross reveal from bottom left top right",
     effects::CrissCrossRevealFromBottomLeftTopRight},
    {"Uneven shred from bottom and right", effects::UnevenShredFromBottomAndRight},
    {"Uneven shred from top and right", effects::UnevenShredFromTopAndRight},
    {"Uneven shred from bottom and left", effects::UnevenShredFromBottomAndLeft},
    {"Uneven shred from horiz and right", effects::UnevenShredFromHorizAndRight},
    {"Uneven shred from horiz and left", effects::UnevenShredFromHorizAndLeft},
    {"Uneven shred from bottom and vert middle", effects::UnevenShredFromBottomAndVertMiddle},
    {"Uneven shred from top and vert middle", effects::UnevenShredFromTopAndVertMiddle},
    {"Uneven shred from centre", effects::UnevenShredFromCentre},
    {"Uneven shred to centre", effects::UnevenShredToCentre},
    {"Reveal diagonal from top left", effects::RevealDiagonalFromTopLeft},
    {"Reveal diagonal from top right", effects::RevealDiagonalFromTopRight},
    {"Reveal diagonal from bottom left", effects::RevealDiagonalFromBottomLeft},
    {"Reveal diagonal from bottom right", effects::RevealDiagonalFromBottomRight},
    {"Diagonal sweep from top left bottom right anticlockwise",
     effects::DiagonalSweepAnticlockwise},
    {"Diagonal sweep from top left bottom right clockwise", effects::DiagonalSweepClockwise},
    {"Starburst clockwise from center", effects::StarburstClockwiseFromCenter},
    {"Triangular shred to top left", effects::TriangularShredToTopLeft},
    {"Speckle appear from right", effects::SpeckleAppearFromRight},
    {"Speckle appear from left", effects::SpeckleAppearFromLeft},
    {"Speckle appear from bottom", effects::SpeckleAppearFromBottom},
    {"Speckle appear from top", effects::SpeckleAppearFromTop},
    {"Push right", effects::PushRight},
    {"Push left", effects::PushLeft},
    {"Push down", effects::PushDown},
    {"Push up", effects::PushUp},
    {"Blind vertically", effects::BlindVertically},
    {"Blind horizontally", effects::BlindHorizontally},
    {"Rectangular shred", effects::RectangularShred},
    {"Sweep clockwise", effects::SweepClockwise},
    {"Sweep anticlockwise", effects::SweepAnticlockwise},
    {"Rotational rectangle", effects::RotationalRectangle},
    {"Rotational star", effects::RotationalStar},
}};

// List names of 0 .. 105, marked for the windows' translations (effects/ui/EffectTexts.h).
constexpr std::array<const char*, EffectCount + 1> ListNames{{
    QT_TRANSLATE_NOOP("velmora::Effects", "随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "淡入淡出"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右向左滑入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左向右滑入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左侧渐铺至右"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右侧渐铺至左"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右至左推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左至右推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从两侧向中间推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从中间向两边显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从两侧向中间显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左向右滚动展开"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右向左滚动展开"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左向右流入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右向左流入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从下向上滑入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上向下滑入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由上面渐铺至下"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由下面渐铺至上"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从下向上压缩"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上向下压缩"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上下向中间压缩"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从中间向上下展开"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上下向中间合拢"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由上至向滚动展开"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由下至上滚动展开"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从下向上流入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上向下流入"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左上渐铺至右下"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左下渐铺至右上"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右下渐铺至左上"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右上渐铺至左下"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右下至左上推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右上至左下推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左上至右下推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左下至右上推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从四周向中间推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从中间向四周显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从四周向中间显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从四角向中间显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从四角转动向中间显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左至右曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右至左曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅从右向左显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅从左向右显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅从左至右交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅从右至左交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从右至左随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从左至右随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从中间至两侧随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从两侧至中间随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由上至下曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由下至上曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅从向上显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅从上至下交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从下至上随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从上至下随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从中间向上下随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从上下向中间随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左上向右下曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右上向左下曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由左下向右上曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "由右下向左上曲面显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "椭圆向外渐铺显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "椭贺向内渐铺显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右下角重复交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右上角重复交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左下角重复交叉返回显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右下角重复交叉返回显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右边上下同时交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左边上下同时交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从底部左右同时交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上部左右同时交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左下和右上角同时交叉显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从右下方向左上角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从右上方向左下角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从左下方向右上角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从右方和中间向左上和左下角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从左方和中间向右上和右下角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从下方和中间向左上和右上角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从上方和中间向左下和右下角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从中间向四角随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "类长条从四周向中间随机效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左上角渐铺显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右上角渐铺显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左下角渐铺显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右下角渐铺显示"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左上角和右下角逆时针斜线扫描"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左上角和右下角顺时针斜线扫描"),
    QT_TRANSLATE_NOOP("velmora::Effects", "中央星形裂开顺时针旋转"),
    QT_TRANSLATE_NOOP("velmora::Effects", "三角碎片至左上角"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从右向左斑纹效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从左向右斑纹效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从下向上斑纹效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "从上向下斑纹效果"),
    QT_TRANSLATE_NOOP("velmora::Effects", "向右推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "向左推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "向下推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "向上推进"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅不等水平扫描"),
    QT_TRANSLATE_NOOP("velmora::Effects", "栏栅不等垂直扫描"),
    QT_TRANSLATE_NOOP("velmora::Effects", "矩形碎片"),
    QT_TRANSLATE_NOOP("velmora::Effects", "顺时针扫描"),
    QT_TRANSLATE_NOOP("velmora::Effects", "逆时针扫描"),
    QT_TRANSLATE_NOOP("velmora::Effects", "长方形顺时针旋转"),
    QT_TRANSLATE_NOOP("velmora::Effects", "星形顺时针旋转"),
}};

}  // namespace

const TEffectTable Effects;

const TEffect& TEffectTable::operator[](int index) const {
    if (!IsEffectIndex(index)) {
        throw InvalidArgument("effect index " + std::to_string(index) + " is not 1 to 105");
    }
    return RowTable[std::size_t(index - 1)];
}

std::span<const TEffect> TEffectTable::Rows() const noexcept { return RowTable; }

std::string EffectName(int index) {
    if (index < 0 || index > EffectCount) return EffectListLine(0);
    return ListNames[std::size_t(index)];
}

std::string EffectListLine(int index) {
    if (index < 0 || index > EffectCount) index = 0;
    char number[8];
    std::snprintf(number, sizeof number, "%03d ", index);
    return number + std::string(ListNames[std::size_t(index)]);
}

std::vector<std::string> EffectListLines() {
    std::vector<std::string> lines;
    lines.reserve(EffectCount + 1);
    for (int i = 0; i <= EffectCount; ++i) lines.push_back(EffectListLine(i));
    return lines;
}

int ResolveEffect(int index) {
    if (IsEffectIndex(index)) return index;
    Randomize();
    return int(RandomBelow(EffectCount)) + 1;
}

}  // namespace velmora
