#pragma once
// The ticker's rules without painting: its properties with their setters' rules, the text's
// measurement with the width estimate, the step of each timer tick and the rectangle the text
// is drawn in. TKivScrollText (KivSText.h) maps this onto a widget, a QTimer and a painter;
// tests drive it directly with a measurement of their own.

#include <QRect>
#include <QString>
#include <functional>

namespace velmora::ui {

/// Direction of travel of the ticker's text.
enum TScrollDirect : int { sdLeft = 0, sdRight = 1, sdUp = 2, sdDown = 3 };
/// Horizontal alignment of the text (honoured only while scrolling up or down).
enum TAlignment : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
/// Vertical layout of the text (honoured only while scrolling left or right).
enum TTextLayout : int { tlTop = 0, tlCenter = 1, tlBottom = 2 };

/// Size of a text drawn without word wrap: the widest line and the height of all lines.
struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

/// Raised when the text has left the area; setting `abort` stops the scrolling.
using TFrameScrolledEvent = std::function<void(TScrollDirect direct, int curPos, bool& abort)>;

class TKivScrollState {
public:
    /// Measures a text as drawn without word wrap in the control's font.
    std::function<TTextExtent(const QString& text)> Measure;
    /// The control's timer follows Active through this.
    std::function<void(bool enabled)> OnTimerEnabled;
    /// The control's timer follows Interval through this.
    std::function<void(int ms)> OnTimerInterval;
    /// Asks the control for a repaint.
    std::function<void()> OnRepaint;
    TFrameScrolledEvent OnFrameScrolled;

    /// Height of the control's font in pixels (the absolute font height), for the estimate.
    int FontHeight = 12;

    bool Active() const noexcept { return FActive; }
    /// When the value changes: stores it and switches the timer.
    void SetActive(bool value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    /// Taken while scrolling up or down; left-justified while scrolling left or right.
    void SetAlignment(TAlignment value);
    int Interval() const noexcept { return FInterval; }
    /// When the value changes: stores it and sets the timer's interval (ms).
    void SetInterval(int value);
    TTextLayout Layout() const noexcept { return FLayout; }
    /// Taken while scrolling left or right; top while scrolling up or down.
    void SetLayout(TTextLayout value);
    TScrollDirect ScrollDirection() const noexcept { return FDirection; }
    /// When the value changes: word wrap, alignment and layout follow the direction and the
    /// text starts again at offset 0.
    void SetScrollDirection(TScrollDirect value);
    const QString& KivScrollText() const noexcept { return FText; }
    /// Stores the text, measures it, puts the offset to 0 and repaints.
    void SetKivScrollText(const QString& value);
    int Step() const noexcept { return FStep; }
    /// Taken only when it differs and is less than the client width.
    void SetStep(int value);
    bool WordWrap() const noexcept { return FWordWrap; }

    /// The control's client size; the wrap points and the step limit depend on it.
    void SetClientSize(int width, int height) noexcept;
    int ClientWidth() const noexcept { return FClientWidth; }
    int ClientHeight() const noexcept { return FClientHeight; }

    /// Measures the current text again (the font changed); the offset stays.
    void MeasureText();
    /// One timer event: moves the text by Step and starts it over when it has left the area.
    void ScrollTick();

    /// Offset of the text rectangle in pixels.
    int Pos() const noexcept { return FPos; }
    int TextWidth() const noexcept { return FTextWidth; }
    int TextHeight() const noexcept { return FTextHeight; }
    /// The client rectangle with the offset added to its left edge (left, right) or its top
    /// edge (up, down).
    QRect TextRect() const noexcept;
    /// Qt alignment and wrap flags the text is drawn with in TextRect().
    int DrawFlags() const noexcept;
    bool Horizontal() const noexcept { return FDirection == sdLeft || FDirection == sdRight; }

    /// |font height| x bytes div 2, the bytes counted in GB18030 on the longest line: a
    /// double-byte character counts as a square of the font height.
    static int EstimateWidth(const QString& text, int fontHeight);

private:
    void Repaint();

    bool FActive = true;
    TAlignment FAlignment = taLeftJustify;
    int FInterval = 200;
    TTextLayout FLayout = tlCenter;
    TScrollDirect FDirection = sdLeft;
    QString FText;
    int FStep = 5;
    bool FWordWrap = false;
    int FClientWidth = 200;
    int FClientHeight = 17;
    int FPos = 0;
    int FTextWidth = 0;
    int FTextHeight = 0;
    bool FInTick = false;  // the handler is detached from the timer while a tick runs
};

}  // namespace velmora::ui
