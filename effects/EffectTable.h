#pragma once
// The effect table: 105 transition effects, each an English name and a procedure that draws one
// frame. An effect is given the display (which holds the outgoing picture before the first
// frame and what the previous frame left before every later one), the incoming image of the
// same size, the frame rectangle (0, 0, width, height), the granularity 5 and the progress in
// percent; at progress 100 it shows the image wherever its shape covers the frame. Effect
// index 0 in a picture record means a random effect, turned into 1 .. 105 by ResolveEffect.

#include <span>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"

namespace velmora {

/// An effect procedure: Display, Image, R, Granularity, Progress; no result.
using EffectProc = void (*)(Bitmap& display, const Bitmap& image, const TRect& r, int granularity,
                            int progress);

/// One row of the effect table.
struct TEffect {
    /// The English name (not shown to the user).
    const char* Name;
    /// The effect's drawing procedure.
    EffectProc Proc;
};

/// Number of effects; indices 1 .. EffectCount select a row, 0 means random.
inline constexpr int EffectCount = 105;

/// The constant effect table, indexed 1 to 105 like the picture records.
class TEffectTable {
public:
    /// Row index (1 .. 105). Throws InvalidArgument for any other index, including 0: callers
    /// resolve 0 with ResolveEffect first.
    const TEffect& operator[](int index) const;
    /// The 105 rows in table order (row i at position i - 1).
    std::span<const TEffect> Rows() const noexcept;
};

/// The effect table.
extern const TEffectTable Effects;

/// Whether index selects a row of the table (1 .. 105).
constexpr bool IsEffectIndex(int index) noexcept { return index >= 1 && index <= EffectCount; }

/// The Chinese list name (UTF-8): "随机效果" for 0, the table's name for 1 .. 105 (without a
/// number), "000 随机效果" for every other value.
std::string EffectName(int index);

/// The editor's effect list line of index 0 .. 105: three-digit index, a blank and the name,
/// e.g. "001 淡入淡出".
std::string EffectListLine(int index);

/// All 106 list lines, "000 随机效果" to "105 星形顺时针旋转"; line number = effect index.
std::vector<std::string> EffectListLines();

/// The effect to draw for a stored effect index: 1 .. 105 is returned unchanged; 0 reseeds the
/// random generator (Randomize) and returns a uniformly chosen effect, RandomBelow(105) + 1.
/// A value outside 0 .. 105 (a damaged record) is treated as random too, so the result is
/// always a valid row. Call it once per transition, before the first frame.
int ResolveEffect(int index);

}  // namespace velmora
