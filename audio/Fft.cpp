#include "audio/Fft.h"

#include <cmath>
#include <numbers>

#include "base/Errors.h"

namespace velmora {

TFft1024::TFft1024() {
    AVTXContext* context = nullptr;
    const float scale = 1.0f;
    if (av_tx_init(&context, &FTransform, AV_TX_FLOAT_RDFT, 0, Size, &scale, 0) < 0 || !context) {
        throw Error("the FFT of 1024 samples is not available");
    }
    FContext.reset(context);
    // Periodic Hann window; its sum is Size / 2.
    for (int i = 0; i < Size; ++i) {
        FWindow[i] = float(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / Size));
    }
}

void TFft1024::Magnitudes(const std::array<float, Size>& samples, float* out) noexcept {
    for (int i = 0; i < Size; ++i) FInput[i] = samples[i] * FWindow[i];
    FTransform(FContext.get(), FOutput.data(), FInput.data(), sizeof(float));
    // A sine of amplitude A at a bin centre gives |X| = A * sum(window) / 2 = A * Size / 4;
    // dividing by Size / 2 makes a full-scale sine 0.5.
    constexpr float norm = 2.0f / Size;
    for (int k = 0; k < Bins; ++k) {
        out[k] = std::hypot(FOutput[k].re, FOutput[k].im) * norm;
    }
}

}  // namespace velmora
