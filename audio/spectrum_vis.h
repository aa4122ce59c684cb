#pragma once
// TSpectrum: one frame of a bar spectrum from FFT magnitudes, with bars that fall by a few
// pixels per frame and peak markers that fall by one. The frame is composed in an off-screen
// bitmap and copied onto the target in one transfer.

#include <array>
#include <cstdint>

#include "audio/BassApi.h"
#include "imaging/Bitmap.h"

namespace velmora {

class TSpectrum {
public:
    static constexpr int Bands = 129;  ///< bands 0..128 show FFT bins 5..133
    static constexpr int FirstBin = 5;
    static constexpr int MaxHeight = 100;  ///< cap of bars and peaks in pixels
    static constexpr int PeakFallOff = 1;

    /// An off-screen frame of width x height; all heights 0.
    TSpectrum(int width, int height);

    void SetBackColor(std::uint32_t rgb) noexcept { FBackColor = rgb; }
    void SetBarColor(std::uint32_t rgb) noexcept { FBarColor = rgb; }
    void SetPeakColor(std::uint32_t rgb) noexcept { FPeakColor = rgb; }
    /// Pixels a bar sinks per frame.
    void SetBarFallOff(int pixels) noexcept { FBarFallOff = pixels; }
    /// Bar width in pixels; bars stand one pixel apart.
    void SetBarWidth(int pixels) noexcept { FBarWidth = pixels; }

    /// Updates bars and peaks from `data` and draws one frame onto `target` at its origin
    /// (clipped to the smaller of the two sizes).
    void Draw(Bitmap& target, const TFFTData& data) noexcept;

    const std::array<std::int32_t, Bands>& Bars() const noexcept { return FBars; }
    const std::array<std::int32_t, Bands>& Peaks() const noexcept { return FPeaks; }
    const Bitmap& Buffer() const noexcept { return FBuffer; }

private:
    void FillRect(int left, int top, int right, int bottom, std::uint32_t rgb) noexcept;

    Bitmap FBuffer;
    std::uint32_t FBackColor = 0x000000;
    std::uint32_t FBarColor = 0xFFFFFF;
    std::uint32_t FPeakColor = 0xFFFF00;
    std::int32_t FBarFallOff = 3;
    std::int32_t FBarWidth = 5;
    std::array<std::int32_t, Bands> FPeaks{};
    std::array<std::int32_t, Bands> FBars{};
};

}  // namespace velmora
