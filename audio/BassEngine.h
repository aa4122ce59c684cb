#pragma once
// The audio library of Velmora: the BASS calls of TBassApi over FFmpeg (decoding, resampling,
// FFT) and SDL2 (output). The output device asks for samples on SDL's thread; every piece of
// state that thread shares with the callers is guarded by one mutex.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/BassApi.h"
#include "audio/BassStream.h"
#include "audio/Fft.h"
#include "audio/SdlAudio.h"

namespace velmora {

class TBassEngine final : public TBassApi {
public:
    TBassEngine();
    ~TBassEngine() override;
    TBassEngine(const TBassEngine&) = delete;
    TBassEngine& operator=(const TBassEngine&) = delete;

    /// Device -1 or 1: the default sound device, or SDL's silent driver when none opens;
    /// device 0: no output at all (streams can be measured, not played).
    bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, void* win) override;
    bool BASS_Start() override;
    HSTREAM BASS_StreamCreateFile(bool mem, const std::string& file, std::uint32_t offset,
                                  std::uint32_t length, std::uint32_t flags) override;
    bool BASS_StreamFree(HSTREAM handle) override;
    std::uint64_t BASS_StreamGetLength(HSTREAM handle) override;
    float BASS_ChannelBytes2Seconds(HSTREAM handle, std::uint64_t bytes) override;
    std::uint32_t BASS_StreamGetFilePosition(HSTREAM handle, std::uint32_t mode) override;
    bool BASS_StreamPlay(HSTREAM handle, bool flush, std::uint32_t flags) override;
    bool BASS_ChannelResume(HSTREAM handle) override;
    bool BASS_ChannelPause(HSTREAM handle) override;
    bool BASS_ChannelStop(HSTREAM handle) override;
    bool BASS_ChannelSetPosition(HSTREAM handle, std::uint64_t pos) override;
    std::uint32_t BASS_ChannelGetData(HSTREAM handle, void* buffer, std::uint32_t length) override;
    int BASS_ErrorGetCode() override { return FError.load(); }

    /// Stream position heard now, in decoded bytes (4 a frame at the file's rate).
    std::uint64_t HeardBytes(HSTREAM handle);
    /// True while a stream plays and the last of its sound has not been heard yet.
    bool IsActive(HSTREAM handle);
    /// The SDL driver in use; empty before BASS_Init or with device 0.
    std::string DriverName() const;

private:
    using TClock = std::chrono::steady_clock;
    enum class TState { Stopped, Playing, Paused };
    static constexpr int HistoryFrames = 16384;  // mono samples kept for the FFT window

    struct TChannel {
        std::unique_ptr<TBassStream> Stream;
        TState State = TState::Stopped;
        std::uint64_t Delivered = 0;  // output frames handed to the device since OutputBase
        std::uint64_t LastStart = 0;  // Delivered before the last callback's share
        std::uint64_t LastCount = 0;  // frames of the last callback's share
        TClock::time_point LastTime{};
        bool HasCallback = false;  // the device took frames since the last start or seek
        std::vector<float> History = std::vector<float>(HistoryFrames, 0.0f);
    };

    static void FillThunk(void* user, std::int16_t* out, int frames);
    void Fill(std::int16_t* out, int frames);
    TChannel* Find(HSTREAM handle);
    std::uint64_t HeardFrames(const TChannel& channel, TClock::time_point now) const;
    bool Finished(const TChannel& channel, TClock::time_point now) const;
    bool Fail(int code) {
        FError = code;
        return false;
    }
    bool Ok() {
        FError = BASS_OK;
        return true;
    }

    mutable std::mutex FLock;
    std::atomic<int> FError{BASS_OK};
    bool FInitialised = false;
    int FOutRate = 44100;
    std::map<HSTREAM, std::unique_ptr<TChannel>> FChannels;
    HSTREAM FNextHandle = 1;
    std::vector<std::int32_t> FMix;
    std::vector<std::int16_t> FChannelBuffer;
    TFft1024 FFft;
    std::array<float, TFft1024::Size> FWindow{};
    // Declared last so that it is destroyed first: closing the device ends the callbacks
    // before the channels they read go away.
    std::unique_ptr<TSdlAudioOutput> FOutput;
};

/// The engine of the process, like the one audio library of a program: created on first use,
/// shared by every player.
TBassEngine& BassEngine();

}  // namespace velmora
