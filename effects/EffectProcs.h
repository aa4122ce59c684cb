#pragma once
// The 105 effect procedures of the effect table, grouped by family with the file that
// implements each group. Every procedure has the EffectProc shape: it draws one frame of its
// transition onto the display (see EffectTable.h for the contract).

#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"

namespace velmora::effects {

/// The function type of an effect procedure: (display, image, frame rectangle, granularity,
/// progress percent). Declaring `TEffectFunction Name;` declares such a procedure.
using TEffectFunction = void(Bitmap& display, const Bitmap& image, const TRect& r, int granularity,
                             int progress);

// Blend, slides, reveals, zooms and the quarter slide: implemented in effects/RectEffects.cpp.
TEffectFunction Fade;                            ///<   1 "Fade"
TEffectFunction SlideInFromRight;                ///<   2 "Slide in from right"
TEffectFunction SlideInFromLeft;                 ///<   3 "Slide in from left"
TEffectFunction RevealFromLeft;                  ///<   4 "Reveal from left"
TEffectFunction RevealFromRight;                 ///<   5 "Reveal from right"
TEffectFunction ExpandInFromRight;               ///<   6 "Expand in from right"
TEffectFunction ExpandInFromLeft;                ///<   7 "Expand in from left"
TEffectFunction ExpandInToMiddle;                ///<   8 "Expand in to middle"
TEffectFunction RevealOutFromMiddle;             ///<   9 "Reveal out from middle"
TEffectFunction RevealInFromSides;               ///<  10 "Reveal in from sides"
TEffectFunction SlideInFromBottom;               ///<  15 "Slide in from bottom"
TEffectFunction SlideInFromTop;                  ///<  16 "Slide in from top"
TEffectFunction RevealFromTop;                   ///<  17 "Reveal from top"
TEffectFunction RevealFromBottom;                ///<  18 "Reveal from bottom"
TEffectFunction ExpandInFromBottom;              ///<  19 "Expand in from bottom"
TEffectFunction ExpandInFromTop;                 ///<  20 "Expand in from top"
TEffectFunction ExpandInToMiddleHoriz;           ///<  21 "Expand in to middle (horiz)"
TEffectFunction RevealFromMiddleHoriz;           ///<  22 "Reveal from middle (horiz)"
TEffectFunction SlideInFromTopBottom;            ///<  23 "Slide in from top / bottom"
TEffectFunction RevealFromTopLeft;               ///<  28 "Reveal from top left"
TEffectFunction RevealFromBottomLeft;            ///<  29 "Reveal from bottom left"
TEffectFunction RevealFromBottomRight;           ///<  30 "Reveal from bottom right"
TEffectFunction RevealFromTopRight;              ///<  31 "Reveal from top right"
TEffectFunction AppearAndContractToTopLeft;      ///<  32 "Appear and Contract to top left"
TEffectFunction AppearAndContractToBottomLeft;   ///<  33 "Appear and Contract to bottom left"
TEffectFunction AppearAndContractToBottomRight;  ///<  34 "Appear and Contract to bottom right"
TEffectFunction AppearAndContractToTopRight;     ///<  35 "Appear and Contract to top right"
TEffectFunction AppearAndContractToMiddle;       ///<  36 "Appear and Contract to middle"
TEffectFunction RevealOutFromCentre;             ///<  37 "Reveal out from centre"
TEffectFunction RevealInToCentre;                ///<  38 "Reveal in to centre"
TEffectFunction QuartersRevealInToMiddle;        ///<  39 "Quarters Reveal in to middle"
TEffectFunction QuartersSlideInToMiddle;         ///<  40 "Quarters Slide in to middle"

// Unrolls, build-ups and pushes: implemented in effects/RollEffects.cpp.
TEffectFunction UnrollFromLeft;          ///<  11 "Unroll from left"
TEffectFunction UnrollFromRight;         ///<  12 "Unroll from right"
TEffectFunction UnrollFromTop;           ///<  24 "Unroll from top"
TEffectFunction UnrollFromBottom;        ///<  25 "Unroll from bottom"
TEffectFunction BuildUpFromRight;        ///<  13 "Build up from right"
TEffectFunction BuildUpFromLeft;         ///<  14 "Build up from left"
TEffectFunction ExpandFromBottom;        ///<  26 "Expand from bottom"
TEffectFunction ExpandInFromTopBuildUp;  ///<  27 "Expand in from top"
TEffectFunction PushRight;               ///<  95 "Push right"
TEffectFunction PushLeft;                ///<  96 "Push left"
TEffectFunction PushDown;                ///<  97 "Push down"
TEffectFunction PushUp;                  ///<  98 "Push up"

// Bars, criss-cross, uneven shreds, speckles, blinds and the grid shreds: implemented in
// effects/StripEffects.cpp.
TEffectFunction BarsInFromRight;                  ///<  43 "Bars in from right"
TEffectFunction BarsInFromLeft;                   ///<  44 "Bars in from left"
TEffectFunction BarsLeftThenRight;                ///<  45 "Bars left then right"
TEffectFunction BarsRightThenLeft;                ///<  46 "Bars right then left"
TEffectFunction BarsFromBottom;                   ///<  53 "Bars from bottom"
TEffectFunction BarsBottomThenTop;                ///<  54 "Bars bottom then top"
TEffectFunction CrissCrossRevealFromBottomRight;  ///<  65 "Criss Cross reveal from bottom right"
TEffectFunction CrissCrossRevealFromTopRight;     ///<  66 "Criss Cross reveal from top right"
TEffectFunction
    CrissCrossRevealBounceFromBottomLeft;  ///<  67 "Criss Cross reveal bounce from bottom left"
TEffectFunction
    CrissCrossRevealBounceFromBottomRight;  ///<  68 "Criss Cross reveal bounce from bottom right"
TEffectFunction
    CrissCrossRevealFromRightTopAndBottom;  ///<  69 "Criss Cross reveal from right top and bottom"
TEffectFunction
    CrissCrossRevealFromLeftTopAndBottom;  ///<  70 "Criss Cross reveal from left top and bottom"
TEffectFunction CrissCrossRevealFromLeftRightAndBottom;  ///<  71 "Criss Cross reveal from left
                                                         ///<  right and bottom"
TEffectFunction
    CrissCrossRevealFromLeftRightAndTop;  ///<  72 "Criss Cross reveal from left right and top"
TEffectFunction CrissCrossRevealFromBottomLeftTopRight;  ///<  73 "Criss Cross reveal from bottom
                                                         ///<  left top right"
TEffectFunction UnevenShredFromRight;                    ///<  47 "Uneven shred from right"
TEffectFunction UnevenShredFromLeft;                     ///<  48 "Uneven shred from left"
TEffectFunction UnevenShredOutFromMiddleHoriz;  ///<  49 "Uneven shred out from middle (horiz)"
TEffectFunction UnevenShredInToMiddleHoriz;     ///<  50 "Uneven shred in to middle (horiz)"
TEffectFunction UnevenShredFromBottom;          ///<  55 "Unven shred from bottom"
TEffectFunction UnevenShredFromTop;             ///<  56 "Uneven shred from top"
TEffectFunction UnevenShredFromHorizon;         ///<  57 "Uneven shred from horizon"
TEffectFunction UnevenShredInToHorizon;         ///<  58 "Uneven shred in to horizon"
TEffectFunction UnevenShredFromBottomAndRight;  ///<  74 "Uneven shred from bottom and right"
TEffectFunction UnevenShredFromTopAndRight;     ///<  75 "Uneven shred from top and right"
TEffectFunction UnevenShredFromBottomAndLeft;   ///<  76 "Uneven shred from bottom and left"
TEffectFunction UnevenShredFromHorizAndRight;   ///<  77 "Uneven shred from horiz and right"
TEffectFunction UnevenShredFromHorizAndLeft;    ///<  78 "Uneven shred from horiz and left"
TEffectFunction
    UnevenShredFromBottomAndVertMiddle;  ///<  79 "Uneven shred from bottom and vert middle"
TEffectFunction UnevenShredFromTopAndVertMiddle;  ///<  80 "Uneven shred from top and vert middle"
TEffectFunction UnevenShredFromCentre;            ///<  81 "Uneven shred from centre"
TEffectFunction UnevenShredToCentre;              ///<  82 "Uneven shred to centre"
TEffectFunction SpeckleAppearFromRight;           ///<  91 "Speckle appear from right"
TEffectFunction SpeckleAppearFromLeft;            ///<  92 "Speckle appear from left"
TEffectFunction SpeckleAppearFromBottom;          ///<  93 "Speckle appear from bottom"
TEffectFunction SpeckleAppearFromTop;             ///<  94 "Speckle appear from top"
TEffectFunction BlindVertically;                  ///<  99 "Blind vertically"
TEffectFunction BlindHorizontally;                ///< 100 "Blind horizontally"
TEffectFunction RectangularShred;                 ///< 101 "Rectangular shred"
TEffectFunction TriangularShredToTopLeft;         ///<  90 "Triangular shred to top left"

// Curved fronts, ellipses, corner triangles, sweeps, starburst and rotating shapes: implemented in
// effects/ShapeEffects.cpp.
TEffectFunction CurvedRevealFromLeft;           ///<  41 "Curved Reveal from left"
TEffectFunction CurvedRevealFromRight;          ///<  42 "Curved Reveal from right"
TEffectFunction CurvedRevealFromTop;            ///<  51 "Curved Reveal from top"
TEffectFunction CurvedRevealFromBottom;         ///<  52 "Curved Reveal from bottom"
TEffectFunction CurvedRevealFromTopLeft;        ///<  59 "Curved reveal from top left"
TEffectFunction CurvedRevealFromTopRight;       ///<  60 "Curved reveal from top right"
TEffectFunction CurvedRevealFromBottomLeft;     ///<  61 "Curved reveal from bottom left"
TEffectFunction CurvedRevealFromBottomRight;    ///<  62 "Curved reveal from bottom right"
TEffectFunction CircularRevealFromCentre;       ///<  63 "Circular reveal from centre"
TEffectFunction CircularRevealToCentre;         ///<  64 "Circular reveal to centre"
TEffectFunction RevealDiagonalFromTopLeft;      ///<  83 "Reveal diagonal from top left"
TEffectFunction RevealDiagonalFromTopRight;     ///<  84 "Reveal diagonal from top right"
TEffectFunction RevealDiagonalFromBottomLeft;   ///<  85 "Reveal diagonal from bottom left"
TEffectFunction RevealDiagonalFromBottomRight;  ///<  86 "Reveal diagonal from bottom right"
TEffectFunction
    DiagonalSweepAnticlockwise;  ///<  87 "Diagonal sweep from top left bottom right anticlockwise"
TEffectFunction
    DiagonalSweepClockwise;  ///<  88 "Diagonal sweep from top left bottom right clockwise"
TEffectFunction StarburstClockwiseFromCenter;  ///<  89 "Starburst clockwise from center"
TEffectFunction SweepClockwise;                ///< 102 "Sweep clockwise"
TEffectFunction SweepAnticlockwise;            ///< 103 "Sweep anticlockwise"
TEffectFunction RotationalRectangle;           ///< 104 "Rotational rectangle"
TEffectFunction RotationalStar;                ///< 105 "Rotational star"

}  // namespace velmora::effects
