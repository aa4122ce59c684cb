#include "effects/EffectSheet.h"

#include <algorithm>
#include <string>

#include "base/Errors.h"
#include "effects/EffectHelpers.h"
#include "effects/EffectTable.h"
#include "effects/SheetText.h"
#include "effects/TransitionDriver.h"

namespace velmora {

namespace {

constexpr int Margin = 8;
constexpr int Gap = 6;
constexpr int TextSize = 16;
constexpr std::uint32_t Paper = 0xFFFFFF;
constexpr std::uint32_t Ink = 0x000000;

std::string Percent(int k) { return std::to_string(10 * k) + "%"; }

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

    std::string allText = "0123456789% ";
    for (const TSheetRow& row : rows) allText += EffectListLine(row.Effect);
    const TSheetText text(TextSize, allText);
    int labelWidth = 0;
    for (const TSheetRow& row : rows) {
        labelWidth = std::max(labelWidth, text.Width(EffectListLine(row.Effect)));
    }
    const int frames = int(rows[0].Frames.size());
    const int headerHeight = text.LineHeight() + Gap;
    const int rowHeight = std::max(th, text.LineHeight()) + Gap;
    const int left = Margin + labelWidth + Gap;
    Bitmap sheet(left + frames * (tw + Gap) + Margin,
                 Margin + headerHeight + int(rows.size()) * rowHeight + Margin);
    sheet.FillRgb(Paper);
    for (int k = 0; k < frames; ++k) {
        text.Draw(sheet, left + k * (tw + Gap), Margin + text.Ascent(), Percent(k + 1), Ink);
    }
    int y = Margin + headerHeight;
    for (const TSheetRow& row : rows) {
        text.Draw(sheet, Margin, y + (th + text.Ascent()) / 2, EffectListLine(row.Effect), Ink);
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
