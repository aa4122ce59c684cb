#pragma once
// The effect contact sheet: for each effect one row of thumbnails of a two-second transition
// (the display after the steps 2, 4, ..., 2k for k = 5, 10, ..., 50, i.e. at 10, 20, ...,
// 100 percent), with the effect's list line beside the row. Used by the command line to look
// at effects side by side.

#include <span>
#include <vector>

#include "imaging/Bitmap.h"

namespace velmora {

/// The picture of one sheet row: frames at 10, 20, ..., 100 percent.
struct TSheetRow {
    /// The effect drawn (1 .. 105).
    int Effect = 0;
    /// The display after steps 2, 4, ..., 20, then ..., 100: ten frames.
    std::vector<Bitmap> Frames;
};

/// Runs the transition of effect (1 .. 105) from `from` to `to` (same size) through the 50
/// steps of a video transition and keeps the display after every fifth step.
TSheetRow RenderSheetRow(int effect, const Bitmap& from, const Bitmap& to);

/// Lays the rows out as one picture: a header with the percentages, then per row the list
/// line ("001 淡入淡出") and the ten frames, each scaled (nearest pixel) to at most
/// thumbWidth pixels wide.
Bitmap ComposeSheet(std::span<const TSheetRow> rows, int thumbWidth);

}  // namespace velmora
