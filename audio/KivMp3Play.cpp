#include "audio/KivMp3Play.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int DefaultDevice = -1;
constexpr std::uint32_t OutputRate = 44100;
constexpr std::uint32_t DeviceFlags = 32;

// Seconds as a whole number, truncated toward zero and kept inside 32 bits.
std::int32_t TruncSeconds(float seconds) {
    if (std::isnan(seconds)) return 0;
    return std::int32_t(std::clamp(seconds, -2.0e9f, 2.0e9f));
}

}  // namespace

TKivMp3Play::TKivMp3Play(TBassApi& bass, int width, int height, void* windowHandle)
    : FBass(bass), FSurface(std::max(0, width), std::max(0, height)) {
    FTimer.Interval = 50;
    FTimer.Enabled = false;
    FBass.BASS_Init(DefaultDevice, OutputRate, DeviceFlags, windowHandle);
    FBass.BASS_Start();
}

TKivMp3Play::~TKivMp3Play() {
    FBass.BASS_ChannelStop(FStream);
    ReleaseStream();
}

void TKivMp3Play::ReleaseStream() {
    if (FStream != 0) FBass.BASS_StreamFree(FStream);
    FStream = 0;
}

void TKivMp3Play::SetSize(int width, int height) {
    FSurface.SetSize(std::max(0, width), std::max(0, height));
    Repaint();
}

void TKivMp3Play::Repaint() {
    // The control paints nothing of its own: the area shows what lies behind it until the
    // next tick draws a frame.
    FFrameShown = false;
    if (OnInvalidate) OnInvalidate();
}

void TKivMp3Play::SetFileName(const std::string& value) {
    auto spectrum = std::make_unique<TSpectrum>(Width(), Height());
    spectrum->SetBackColor(BackColor);
    spectrum->SetBarColor(Pen);
    spectrum->SetPeakColor(Peak);
    spectrum->SetBarFallOff(LineFallOff);
    spectrum->SetBarWidth(LineWidth);
    FSpectrum = std::move(spectrum);
    if (FOpened) Stop();
    FFileName = value;
    Repaint();
}

void TKivMp3Play::Play() {
    if (FOpened) {
        FBass.BASS_ChannelResume(FStream);
        FTimer.SetEnabled(true);
        return;
    }
    FOpened = true;
    // The stream of an earlier start is not used any more.
    ReleaseStream();
    FStream = FBass.BASS_StreamCreateFile(false, FFileName, 0, 0, 0);
    FByteLength = std::uint32_t(FBass.BASS_StreamGetLength(FStream));
    FSeconds = TruncSeconds(FBass.BASS_ChannelBytes2Seconds(FStream, FByteLength));
    FFileEnd = std::int32_t(FBass.BASS_StreamGetFilePosition(FStream, BASS_FILEPOS_END));
    FBass.BASS_StreamPlay(FStream, false, 0);
    FTimer.SetEnabled(true);
}

void TKivMp3Play::Pause() {
    FTimer.SetEnabled(false);
    FBass.BASS_ChannelPause(FStream);
    Repaint();
}

void TKivMp3Play::HoldForSeek() {
    FReporting = false;
    Pause();
}

void TKivMp3Play::Stop() {
    FTimer.SetEnabled(false);
    FBass.BASS_ChannelStop(FStream);
    FPosition = 0;
    FOpened = false;
    FReporting = true;
    if (OnProgress) OnProgress(nullptr, FFileEnd, 0, "00:00");
    Repaint();
}

void TKivMp3Play::SeekTo(std::int32_t position) {
    if (FFileEnd > 0) {
        // 64-bit: a position of millions of bytes times a decoded length of tens of millions
        // does not fit 32 bits.
        const std::int64_t target =
            std::int64_t(position) * std::int64_t(FByteLength) / std::int64_t(FFileEnd);
        FBass.BASS_ChannelSetPosition(FStream, std::uint64_t(target));
    }
    FReporting = true;
    Play();
}

float TKivMp3Play::GetPlayLength() {
    const HSTREAM stream = FBass.BASS_StreamCreateFile(false, FFileName, 0, 0, 0);
    const std::uint64_t length = FBass.BASS_StreamGetLength(stream);
    const float seconds = FBass.BASS_ChannelBytes2Seconds(stream, length);
    if (stream != 0) FBass.BASS_StreamFree(stream);
    return seconds;
}

void TKivMp3Play::TimerTick() {
    if (FPosition >= FFileEnd) {
        // The position reached the end on the previous tick.
        Stop();
        return;
    }
    FPosition = std::int32_t(FBass.BASS_StreamGetFilePosition(FStream, BASS_FILEPOS_CURRENT));
    FFftData.fill(0.0f);
    FBass.BASS_ChannelGetData(FStream, FFftData.data(), BASS_DATA_FFT1024);
    if (FSpectrum) {
        FSpectrum->Draw(FSurface, FFftData);
        FFrameShown = true;
        if (OnInvalidate) OnInvalidate();
    }
    const std::int64_t elapsed = FFileEnd > 0 ? std::int64_t(FPosition) * FSeconds / FFileEnd : 0;
    const std::string curTime = MinSecText(std::int32_t(elapsed));
    if (FReporting && OnProgress) OnProgress(&FTimer, FFileEnd, FPosition, curTime);
}

std::string TKivMp3Play::MinSecText(std::int32_t seconds) {
    const std::int32_t minutes = (seconds / 60) % 60;
    const std::int32_t secs = seconds % 60;
    const auto two = [](std::int32_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return two(minutes) + ":" + two(secs);
}

}  // namespace velmora
