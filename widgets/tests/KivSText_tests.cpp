// The ticker: its defaults, the setters' rules, the offsets of each tick in all four
// directions worked out by hand, the wrap estimate, and what the widget paints and signals.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "widgets/KivSText.h"

namespace velmora::ui {
namespace {

// A state over a 100 x 20 client area whose text measures 30 x 14 (the estimate of "ab" at
// font height 12 is 12, below the measurement).
struct TTickerFixture : ::testing::Test {
    TKivScrollState State;
    int Repaints = 0;
    std::vector<std::pair<TScrollDirect, int>> Events;
    bool AbortNext = false;

    void SetUp() override {
        State.Measure = [](const QString&) { return TTextExtent{30, 14}; };
        State.OnRepaint = [this] { ++Repaints; };
        State.OnFrameScrolled = [this](TScrollDirect direct, int pos, bool& abort) {
            Events.emplace_back(direct, pos);
            abort = AbortNext;
        };
        State.SetClientSize(100, 20);
        State.SetKivScrollText("ab");
    }
    std::vector<int> Ticks(int n) {
        std::vector<int> positions;
        for (int i = 0; i < n; ++i) {
            State.ScrollTick();
            positions.push_back(State.Pos());
        }
        return positions;
    }
};

TEST_F(TTickerFixture, LeftStartsOverOnePixelInsideTheRightEdgeOnceTheTextHasLeft) {
    // -30 has not passed the text's width of 30; -35 has: the event sees -35, then 100 - 1.
    EXPECT_EQ(Ticks(9), (std::vector<int>{-5, -10, -15, -20, -25, -30, 99, 94, 89}));
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0], std::make_pair(sdLeft, -35));
    EXPECT_TRUE(State.Active());
}

TEST_F(TTickerFixture, RightStartsOverWithTheTextOnePixelInsideTheLeftEdge) {
    State.SetScrollDirection(sdRight);
    // 100 is not beyond the width of 100; 105 is: the text's right end goes to x = 1.
    const auto positions = Ticks(22);
    EXPECT_EQ(positions[19], 100);
    EXPECT_EQ(positions[20], 1 - 30);
    EXPECT_EQ(positions[21], -24);
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0], std::make_pair(sdRight, 105));
}

TEST_F(TTickerFixture, UpAndDownUseTheHeights) {
    State.SetScrollDirection(sdUp);
    EXPECT_EQ(Ticks(4), (std::vector<int>{-5, -10, 19, 14}));  // -15 is past the height 14
    State.SetScrollDirection(sdDown);
    EXPECT_EQ(State.Pos(), 0);
    EXPECT_EQ(Ticks(6), (std::vector<int>{5, 10, 15, 20, -13, -8}));  // 25 > 20: 1 - 14
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[1], std::make_pair(sdDown, 25));
}

TEST_F(TTickerFixture, AbortStopsTheTickerWhereItIsAndActiveResumes) {
    std::vector<bool> timer;
    State.OnTimerEnabled = [&](bool on) { timer.push_back(on); };
    AbortNext = true;
    Ticks(7);
    EXPECT_FALSE(State.Active());
    EXPECT_EQ(State.Pos(), -35);
    // Each tick switches the timer off and on again; the aborting one leaves it off.
    EXPECT_EQ(timer.size(), 13u);
    EXPECT_FALSE(timer.back());
    AbortNext = false;
    State.SetActive(true);
    State.ScrollTick();
    // -40 is still beyond the text: raised again, not aborted now, so it starts over.
    EXPECT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[1], std::make_pair(sdLeft, -40));
    EXPECT_EQ(State.Pos(), 99);
}

TEST_F(TTickerFixture, StepZeroFreezesWithoutRepaintAndLargeStepsAreRefused) {
    State.SetStep(100);  // the client width: refused
    EXPECT_EQ(State.Step(), 5);
    State.SetStep(99);
    EXPECT_EQ(State.Step(), 99);
    State.SetStep(0);
    const int before = Repaints;
    Ticks(3);
    EXPECT_EQ(State.Pos(), 0);
    EXPECT_EQ(Repaints, before);
}

TEST_F(TTickerFixture, DirectionDecidesWrapAlignmentAndLayout) {
    Ticks(3);
    State.SetAlignment(taCenter);  // scrolling left: stays left
    EXPECT_EQ(State.Alignment(), taLeftJustify);
    State.SetLayout(tlBottom);  // scrolling left: taken
    EXPECT_EQ(State.Layout(), tlBottom);
    EXPECT_EQ(State.TextRect(), QRect(QPoint(-15, 0), QPoint(99, 19)));
    EXPECT_EQ(State.DrawFlags(), int(Qt::AlignLeft | Qt::AlignBottom));

    State.SetScrollDirection(sdUp);
    EXPECT_TRUE(State.WordWrap());
    EXPECT_EQ(State.Layout(), tlTop);
    EXPECT_EQ(State.Pos(), 0);  // the text starts again at its normal place
    State.SetAlignment(taCenter);
    EXPECT_EQ(State.Alignment(), taCenter);
    State.SetLayout(tlCenter);
    EXPECT_EQ(State.Layout(), tlTop);
    Ticks(2);
    EXPECT_EQ(State.TextRect(), QRect(QPoint(0, -10), QPoint(99, 19)));
    EXPECT_EQ(State.DrawFlags(), int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap));

    State.SetScrollDirection(sdLeft);
    EXPECT_FALSE(State.WordWrap());
    EXPECT_EQ(State.Alignment(), taLeftJustify);
}

TEST(KivScrollState, EstimateCountsGb18030BytesOfTheLongestLine) {
    EXPECT_EQ(TKivScrollState::EstimateWidth("", 12), 0);
    EXPECT_EQ(TKivScrollState::EstimateWidth(QString::fromUtf8("春夏秋冬春夏秋冬春夏"), 12), 120);
    EXPECT_EQ(TKivScrollState::EstimateWidth("abc", -12), 18);  // 12 x 3 div 2
    EXPECT_EQ(TKivScrollState::EstimateWidth(QString::fromUtf8("ab\n相册ab\r\nx"), 12), 36);

    TKivScrollState state;  // a measurement narrower than the estimate is raised to it
    state.Measure = [](const QString&) { return TTextExtent{50, 12}; };
    state.SetKivScrollText(QString::fromUtf8("春夏秋冬春夏秋冬春夏"));
    EXPECT_EQ(state.TextWidth(), 120);
    state.SetKivScrollText(QString());
    EXPECT_EQ(state.TextWidth(), 50);
}

TEST(KivScrollText, DefaultsAndAnEmptyTextStartingOverAtOnce) {
    TKivScrollText ticker;
    EXPECT_TRUE(ticker.Active());
    EXPECT_TRUE(ticker.TimerRunning());
    EXPECT_EQ(ticker.TimerInterval(), 200);
    EXPECT_EQ(ticker.Step(), 5);
    EXPECT_EQ(ticker.ScrollDirection(), sdLeft);
    EXPECT_EQ(ticker.Alignment(), taLeftJustify);
    EXPECT_EQ(ticker.Layout(), tlCenter);
    EXPECT_FALSE(ticker.WordWrap());
    EXPECT_EQ(ticker.width(), 200);
    EXPECT_EQ(ticker.Color(), QColor(0, 0x80, 0));
    EXPECT_EQ(ticker.FontColor(), QColor(0, 0xFF, 0xFF));
    EXPECT_EQ(ticker.State().FontHeight, 12);
    EXPECT_EQ(ticker.State().TextWidth(), 0);

    // Empty: -5 is already past the width 0, so the text restarts at 199 and runs down.
    ticker.ScrollTick();
    EXPECT_EQ(ticker.State().Pos(), 199);
    ticker.ScrollTick();
    EXPECT_EQ(ticker.State().Pos(), 194);
    EXPECT_TRUE(ticker.TimerRunning());

    ticker.SetInterval(50);
    EXPECT_EQ(ticker.TimerInterval(), 50);
    ticker.SetActive(false);
    EXPECT_FALSE(ticker.TimerRunning());
}

// The leftmost column in which the ticker painted text (anything not of its background
// colour; glyph edges are smoothed), -1 when none.
int LeftmostTextColumn(TKivScrollText& ticker) {
    const QImage image = ticker.grab().toImage();
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != ticker.Color()) return x;
    return -1;
}

TEST(KivScrollText, PaintsTheTextShiftedByTheOffset) {
    TKivScrollText ticker;
    ticker.SetActive(false);
    ticker.resize(300, 25);
    ticker.SetFontColor(Qt::white);
    ticker.SetKivScrollText(QString::fromUtf8("新版本发布 Velmora"));
    EXPECT_GE(ticker.State().TextWidth(), 12 * 18 / 2);  // 18 GB18030 bytes
    const int start = LeftmostTextColumn(ticker);
    ASSERT_GE(start, 0);
    ASSERT_LT(start, 5);
    ticker.SetScrollDirection(sdRight);
    ticker.ScrollTick();
    ticker.ScrollTick();
    EXPECT_EQ(LeftmostTextColumn(ticker), start + 10);
    // Transparent: no background is painted behind the text.
    ticker.SetTransparent(true);
    QImage image(300, 25, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    ticker.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta));
}

TEST(KivScrollText, ClickSignalsOnReleaseInside) {
    TKivScrollText ticker;
    int clicks = 0;
    QObject::connect(&ticker, &TKivScrollText::Clicked, [&] { ++clicks; });
    QTest::mouseClick(&ticker, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(&ticker, Qt::RightButton, {}, QPoint(10, 8));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace velmora::ui
