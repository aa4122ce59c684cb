#pragma once
// The audio library of Velmora: the BASS calls of TBassApi over FFmpeg (decoding, resampling,
// FFT) and SDL2 (output). Each playing stream decodes on a thread of its own into a lock-free
// ring buffer (AudioChannel.h); the output device's callback only reads those rings and mixes
// them, so it never decodes, never takes a lock and never waits. The callers' calls share one
// mutex among themselves, which the device never touches.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/AudioChannel.h"
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

    /// The output device's callback: mixes `frames` stereo frames of every playing stream into
    /// `out`. SDL calls it on its audio thread; tests call it directly on an engine whose
    /// device is not started.
    void DeviceFill(std::int16_t* out, int frames);
    /// Sets what each stream's decoder thread calls before each piece it decodes (streams
    /// opened later take it); tests stall decoding with it.
    void SetDecodeGate(TDecodeGate gate);
    /// Halts the device's callback (BASS_Start starts it again); the engine then plays only as
    /// far as DeviceFill is called, which is how tests play without real time.
    bool BASS_Stop();
    /// Waits until every playing stream has `frames` decoded ahead of the device or has
    /// decoded its last frame; false when `limit` passes first.
    bool WaitUntilBuffered(std::size_t frames, std::chrono::milliseconds limit);
    /// Frames a stream has decoded ahead of the device.
    std::size_t BufferedFrames(HSTREAM handle);
    /// Callbacks in which a playing stream ran dry before its end.
    std::uint64_t Underruns(HSTREAM handle);

private:
    using TClock = std::chrono::steady_clock;
    /// Streams that can play at the same time.
    static constexpr std::size_t MaxPlaying = 32;

    static void FillThunk(void* user, std::int16_t* out, int frames);
    TAudioChannel* Find(HSTREAM handle);
    bool EnsurePlayable(TAudioChannel& channel);
    void WaitForCallbackToLeave();
    bool Fail(int code) {
        FError = code;
        return false;
    }
    bool Ok() {
        FError = BASS_OK;
        return true;
    }

    mutable std::mutex FLock;  // the callers' state; never taken by the device
    std::atomic<int> FError{BASS_OK};
    bool FInitialised = false;
    int FOutRate = 44100;  // fixed before the device starts
    std::map<HSTREAM, std::unique_ptr<TAudioChannel>> FChannels;
    HSTREAM FNextHandle = 1;
    TDecodeGate FGate;
    TFft1024 FFft;
    std::array<float, TFft1024::Size> FWindow{};

    // What the device reads: the playing channels, and its own mixing buffers.
    std::array<std::atomic<TAudioChannel*>, MaxPlaying> FPlaying{};
    std::atomic<std::uint64_t> FCallbackSeq{0};  // odd while the callback runs
    std::vector<std::int32_t> FMix;
    std::vector<std::int16_t> FScratch;
    // Declared last so that it is destroyed first: closing the device ends the callbacks
    // before the channels they read go away.
    std::unique_ptr<TSdlAudioOutput> FOutput;
};

/// The engine of the process, like the one audio library of a program: created on first use,
/// shared by every player.
TBassEngine& BassEngine();

}  // namespace velmora
