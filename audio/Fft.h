#pragma once
// The spectrum analysis behind BASS_ChannelGetData: a Hann-windowed real FFT of 1024 samples
// over FFmpeg's av_tx, scaled so that a full-scale sine centred on a bin gives 0.5 there.

#include <array>

#include "base/FfmpegHandles.h"

namespace velmora {

class TFft1024 {
public:
    static constexpr int Size = 1024;
    static constexpr int Bins = Size / 2;

    /// Sets up the transform. Throws Error when av_tx offers none.
    TFft1024();

    /// Magnitudes of bins 0 to 511 of `samples` (values in -1..1) into `out`.
    void Magnitudes(const std::array<float, Size>& samples, float* out) noexcept;

private:
    TTxPtr FContext;
    av_tx_fn FTransform = nullptr;
    std::array<float, Size> FWindow{};
    alignas(64) std::array<float, Size> FInput{};
    alignas(64) std::array<AVComplexFloat, Size / 2 + 1> FOutput{};
};

}  // namespace velmora
