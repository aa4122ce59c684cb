#include "audio/spectrum_vis.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora {

TSpectrum::TSpectrum(int width, int height) : FBuffer(std::max(0, width), std::max(0, height)) {}

void TSpectrum::FillRect(int left, int top, int right, int bottom, std::uint32_t rgb) noexcept {
    // Right and bottom edges excluded; clipped to the buffer.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, FBuffer.Width());
    bottom = std::min(bottom, FBuffer.Height());
    const auto blue = std::uint8_t(rgb), green = std::uint8_t(rgb >> 8),
               red = std::uint8_t(rgb >> 16);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* p = FBuffer.Pixel(left, y);
        for (int x = left; x < right; ++x, p += 3) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

namespace {

int HeightOf(float magnitude) noexcept {
    // The single-precision magnitude is scaled in double precision: a float product rounds
    // up across a whole number for some values and gives a bar one pixel too high.
    const double scaled = std::fabs(double(magnitude)) * 500.0;
    if (std::isnan(scaled)) return 0;
    if (scaled >= double(TSpectrum::MaxHeight)) return TSpectrum::MaxHeight;
    return int(scaled);  // truncated toward zero
}

}  // namespace

void TSpectrum::Draw(Bitmap& target, const TFFTData& data) noexcept {
    const int w = FBuffer.Width();
    const int h = FBuffer.Height();
    FBuffer.FillRgb(FBackColor);
    for (int i = 0; i < Bands; ++i) {
        const int v = HeightOf(data[std::size_t(i + FirstBin)]);
        FPeaks[i] = v >= FPeaks[i] ? v : FPeaks[i] - PeakFallOff;
        FBars[i] = v >= FBars[i] ? v : FBars[i] - FBarFallOff;
        FPeaks[i] = std::max(FPeaks[i], 0);
        FBars[i] = std::max(FBars[i], 0);
        if (FBarWidth <= 0) continue;
        const long long x64 = static_cast<long long>(i) * (FBarWidth + 1LL);
        if (x64 >= w) continue;  // beyond the right edge
        const int x = int(x64);
        const int right = int(std::min<long long>(x64 + FBarWidth, w));
        // The marker first, so the bar hides it unless it floats above the bar's top row.
        FillRect(x, h - FPeaks[i], right, h - FPeaks[i] + 1, FPeakColor);
        FillRect(x, h - FBars[i], right, h, FBarColor);
    }
    // One transfer of the whole frame, so the target never shows a half-drawn one.
    const int copyW = std::min(w, target.Width());
    const int copyH = std::min(h, target.Height());
    for (int y = 0; y < copyH; ++y) {
        std::memcpy(target.Row(y), FBuffer.Row(y), std::size_t(copyW) * 3);
    }
}

}  // namespace velmora
