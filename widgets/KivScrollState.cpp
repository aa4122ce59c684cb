#include "widgets/KivScrollState.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "store/TextCodec.h"

namespace velmora::ui {

void TKivScrollState::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (OnTimerEnabled) OnTimerEnabled(value);
}

void TKivScrollState::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = Horizontal() ? taLeftJustify : value;
}

void TKivScrollState::SetInterval(int value) {
    if (value == FInterval) return;
    FInterval = value;
    if (OnTimerInterval) OnTimerInterval(value);
}

void TKivScrollState::SetLayout(TTextLayout value) {
    if (value == FLayout) return;
    FLayout = Horizontal() ? value : tlTop;
}

void TKivScrollState::SetScrollDirection(TScrollDirect value) {
    if (value == FDirection) return;
    FDirection = value;
    if (Horizontal()) {
        FWordWrap = false;
        FAlignment = taLeftJustify;
    } else {
        FWordWrap = true;
        FLayout = tlTop;
    }
    SetKivScrollText(FText);
}

void TKivScrollState::SetKivScrollText(const QString& value) {
    FText = value;
    MeasureText();
    FPos = 0;
    Repaint();
}

void TKivScrollState::SetStep(int value) {
    if (value != FStep && value < FClientWidth) FStep = value;
}

void TKivScrollState::SetClientSize(int width, int height) noexcept {
    FClientWidth = width;
    FClientHeight = height;
}

int TKivScrollState::EstimateWidth(const QString& text, int fontHeight) {
    std::size_t longest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString plain = line;
        if (plain.endsWith(QLatin1Char('\r'))) plain.chop(1);
        longest = std::max(longest, Utf8ToGb18030(plain.toStdString()).size());
    }
    return static_cast<int>(std::abs(fontHeight) * static_cast<long long>(longest) / 2);
}

void TKivScrollState::MeasureText() {
    const TTextExtent extent = Measure ? Measure(FText) : TTextExtent{};
    FTextWidth = extent.Width;
    FTextHeight = extent.Height;
    // Fonts whose glyphs are narrower than the nominal height would start the text over
    // before it has left the area; the estimate keeps a double-byte character a square.
    FTextWidth = std::max(FTextWidth, EstimateWidth(FText, FontHeight));
}

void TKivScrollState::ScrollTick() {
    if (FStep == 0 || FInTick) return;
    SetActive(false);
    FInTick = true;
    bool abort = false;
    const auto leftArea = [&] {
        if (OnFrameScrolled) OnFrameScrolled(FDirection, FPos, abort);
        return !abort;
    };
    switch (FDirection) {
        case sdLeft:
            FPos -= FStep;
            if (FPos < 0 && -FPos > FTextWidth && leftArea()) FPos = FClientWidth - 1;
            break;
        case sdRight:
            FPos += FStep;
            if (FPos > 0 && FPos > FClientWidth && leftArea()) FPos = 1 - FTextWidth;
            break;
        case sdUp:
            FPos -= FStep;
            if (FPos < 0 && -FPos > FTextHeight && leftArea()) FPos = FClientHeight - 1;
            break;
        case sdDown:
            FPos += FStep;
            if (FPos > 0 && FPos > FClientHeight && leftArea()) FPos = 1 - FTextHeight;
            break;
    }
    Repaint();
    if (!abort) SetActive(true);
    FInTick = false;
}

QRect TKivScrollState::TextRect() const noexcept {
    QRect rect(0, 0, FClientWidth, FClientHeight);
    if (Horizontal()) {
        rect.setLeft(FPos);
    } else {
        rect.setTop(FPos);
    }
    return rect;
}

int TKivScrollState::DrawFlags() const noexcept {
    int flags = 0;
    switch (FAlignment) {
        case taLeftJustify:
            flags |= Qt::AlignLeft;
            break;
        case taRightJustify:
            flags |= Qt::AlignRight;
            break;
        case taCenter:
            flags |= Qt::AlignHCenter;
            break;
    }
    switch (FLayout) {
        case tlTop:
            flags |= Qt::AlignTop;
            break;
        case tlCenter:
            flags |= Qt::AlignVCenter;
            break;
        case tlBottom:
            flags |= Qt::AlignBottom;
            break;
    }
    if (FWordWrap) flags |= Qt::TextWordWrap;
    return flags;
}

void TKivScrollState::Repaint() {
    if (OnRepaint) OnRepaint();
}

}  // namespace velmora::ui
