// The spectrum display: heights, fall-off of bars and markers, and the pixel geometry.

#include <gtest/gtest.h>

#include "audio/spectrum_vis.h"

namespace velmora {
namespace {

constexpr std::uint32_t Lime = 0x00FF00, Yellow = 0xFFFF00, Black = 0x000000;

TSpectrum MainWindowSpectrum() {
    TSpectrum s(177, 121);
    s.SetBarColor(Lime);
    s.SetPeakColor(Yellow);
    s.SetBarFallOff(8);
    s.SetBarWidth(6);
    return s;
}

TFFTData Flat(float v) {
    TFFTData d{};
    d.fill(v);
    return d;
}

// Rows of column x from the top that have the colour, as a count from the bottom.
int ColumnHeight(const Bitmap& b, int x, std::uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y) n += b.RgbAt(x, y) == rgb;
    return n;
}

TEST(Spectrum, HeightsFromMagnitudes) {
    const struct {
        float Magnitude;
        int Height;
    } cases[] = {{1.0f, 100},
                 {0.2f, 100},
                 {0.1f, 50},
                 {0.002f, 1},
                 {0.0019f, 0},
                 {-0.05f, 25},
                 {0.0f, 0},
                 {1e30f, 100},
                 // The floats just below 17/500 and 68/500: their product with 500 is below
                 // 17 (68), though a single-precision product rounds up to it.
                 {0.0339999981f, 16},
                 {0.135999992f, 67}};
    for (const auto& c : cases) {
        TSpectrum s = MainWindowSpectrum();
        Bitmap target(177, 121);
        TFFTData d{};
        d[5] = c.Magnitude;  // band 0 reads bin 5
        d[4] = 1.0f;         // bins before 5 are never read
        s.Draw(target, d);
        EXPECT_EQ(s.Bars()[0], c.Height) << c.Magnitude;
        EXPECT_EQ(s.Peaks()[0], c.Height) << c.Magnitude;
        EXPECT_EQ(ColumnHeight(target, 0, Lime), std::min(c.Height, 121)) << c.Magnitude;
        EXPECT_EQ(s.Bars()[1], 0);
    }
}

TEST(Spectrum, FullScaleBarIsExactlyOneHundredPixels) {
    TSpectrum s = MainWindowSpectrum();
    Bitmap target(177, 121);
    s.Draw(target, Flat(1.0f));
    for (int y = 0; y < 121; ++y) {
        const std::uint32_t expected = y >= 21 ? Lime : Black;
        ASSERT_EQ(target.RgbAt(3, y), expected) << y;
    }
}

TEST(Spectrum, BarsStandSevenPixelsApartForWidthSix) {
    TSpectrum s = MainWindowSpectrum();
    Bitmap target(177, 121);
    s.Draw(target, Flat(1.0f));
    const int bottom = 120;
    for (int x = 0; x < 177; ++x) {
        const bool inBar = x % 7 != 6;
        EXPECT_EQ(target.RgbAt(x, bottom), inBar ? Lime : Black) << x;
    }
    // 177 / 7: bands 0..25 are seen, the last one (x = 175) only two columns wide.
    EXPECT_EQ(target.RgbAt(175, bottom), Lime);
    EXPECT_EQ(target.RgbAt(176, bottom), Lime);
}

TEST(Spectrum, SilenceAfterLoudPassageSinksByTheFallOffs) {
    TSpectrum s = MainWindowSpectrum();
    Bitmap target(177, 121);
    s.Draw(target, Flat(1.0f));
    const TFFTData silence = Flat(0.0f);
    for (int frame = 1; frame <= 120; ++frame) {
        s.Draw(target, silence);
        const int bar = std::max(0, 100 - 8 * frame);
        const int peak = std::max(0, 100 - frame);
        ASSERT_EQ(s.Bars()[10], bar) << frame;
        ASSERT_EQ(s.Peaks()[10], peak) << frame;
        ASSERT_EQ(ColumnHeight(target, 70, Lime), bar) << frame;
        // The marker floats above the bar; at height 0 it lies outside the frame.
        ASSERT_EQ(ColumnHeight(target, 70, Yellow), peak > bar ? 1 : 0) << frame;
        if (peak > bar) {
            ASSERT_EQ(target.RgbAt(70, 121 - peak), Yellow) << frame;
        }
    }
}

TEST(Spectrum, SteadyToneHidesItsMarkerUnderTheBar) {
    TSpectrum s = MainWindowSpectrum();
    Bitmap target(177, 121);
    TFFTData d{};
    d[5 + 3] = 0.1f;
    for (int frame = 0; frame < 5; ++frame) s.Draw(target, d);
    EXPECT_EQ(s.Bars()[3], 50);
    EXPECT_EQ(s.Peaks()[3], 50);
    EXPECT_EQ(ColumnHeight(target, 21, Lime), 50);
    EXPECT_EQ(ColumnHeight(target, 21, Yellow), 0);
}

TEST(Spectrum, LowFrameClipsAndCopyReplacesTarget) {
    TSpectrum s(97, 25);  // the import dialog's invisible player: default colours
    Bitmap target(97, 25);
    target.FillRgb(0x123456);
    s.Draw(target, Flat(1.0f));
    // Width 5, pitch 6: column 5 is background, and the bar fills the whole low frame.
    EXPECT_EQ(target.RgbAt(0, 0), 0xFFFFFFu);
    EXPECT_EQ(target.RgbAt(5, 0), 0x000000u);
    EXPECT_EQ(target.RgbAt(96, 24), 0xFFFFFFu);  // band 16 starts at x = 96
    // A larger target keeps what lies outside the frame.
    Bitmap larger(120, 30);
    larger.FillRgb(0x123456);
    s.Draw(larger, Flat(0.0f));
    EXPECT_EQ(larger.RgbAt(100, 10), 0x123456u);
    EXPECT_EQ(larger.RgbAt(10, 29), 0x123456u);
    EXPECT_EQ(larger.RgbAt(5, 24), 0x000000u);
}

}  // namespace
}  // namespace velmora
