#include "effects/EffectSheet.h"

#include <algorithm>
#include <string>

#include "base/Errors.h"
#include "effects/EffectHelpers.h"
#include "effects/EffectTable.h"
#include "effects/TransitionDriver.h"
#include "imaging/TextRenderer.h"

namespace velmora {

namespace {

constexpr int Margin = 8;
constexpr int Gap = 6;
constexpr int TextSize = 16;
constexpr std::uint32_t Paper = 0xFFFFFF;
constexpr TTextColor Ink = 0x000000;

std::string Percent(int k) { return std::to_string(10 * k) + "%"; }

/// The labels' style: a Song-style CJK face for simplified Chinese in black, no outline, drawn
/// from its outlines (its one-bit bitmaps at this size look ragged beside the thumbnails).
TTextStyle LabelStyle() {
    TTextStyle style;
    style.Face = "AR PL UMing CN";
    style.Size = TextSize;
    style.EmbeddedBitmaps = false;
    style.Color = Ink;
    return style;
}

}  // namespace

TSheetRow RenderSheetRow(int effect, const Bitmap& from, const Bitmap& to) {
    TSheetRow row;
    Bitmap display = from;
    TTransitionDriver driver;
    row.Effect = driver.Begin(display, to, effect);
    for (int step = 1; step <= 50; ++step) {
        driver.Step(2 * step);
        if (step % 5 == 0) row.Frames.push_back(display);
    }
    return row;
}

Bitmap ComposeSheet(std::span<const TSheetRow> rows, int thumbWidth) {
    if (rows.empty() || rows[0].Frames.empty()) throw InvalidArgument("empty effect sheet");
    const Bitmap& first = rows[0].Frames[0];
    const int tw = std::clamp(thumbWidth, 1, std::max(first.Width(), 1));
    const int th = std::max(1, first.Height() * tw / std::max(first.Width(), 1));

    TTextRenderer text(LabelStyle());
    const int frames = int(rows[0].Frames.size());
    int labelWidth = 0;
    int lineHeight = 0;
    for (const TSheetRow& row : rows) {
        const TTextBox label = text.Measure(EffectListLine(row.Effect));
        labelWidth = std::max(labelWidth, label.Width);
        lineHeight = std::max(lineHeight, label.Height);
    }
    for (int k = 0; k < frames; ++k)
        lineHeight = std::max(lineHeight, text.Measure(Percent(k + 1)).Height);
    const int headerHeight = lineHeight + Gap;
    const int rowHeight = std::max(th, lineHeight) + Gap;
    const int left = Margin + labelWidth + Gap;
    Bitmap sheet(left + frames * (tw + Gap) + Margin,
                 Margin + headerHeight + int(rows.size()) * rowHeight + Margin);
    sheet.FillRgb(Paper);
    for (int k = 0; k < frames; ++k)
        text.Draw(sheet, left + k * (tw + Gap), Margin, Percent(k + 1));
    int y = Margin + headerHeight;
    for (const TSheetRow& row : rows) {
        // The label centred on the thumbnail: its baseline (th + ascent) / 2 below the row top.
        const std::string label = EffectListLine(row.Effect);
        const int ascent = text.Measure(label).Ascent;
        text.Draw(sheet, Margin, y + (th + ascent) / 2 - ascent, label);
        for (int k = 0; k < int(row.Frames.size()) && k < frames; ++k) {
            const Bitmap& frame = row.Frames[std::size_t(k)];
            const int x = left + k * (tw + Gap);
            CopyRect(sheet, {x, y, x + tw, y + th}, frame, {0, 0, frame.Width(), frame.Height()});
        }
        y += rowHeight;
    }
    return sheet;
}

}  // namespace velmora
