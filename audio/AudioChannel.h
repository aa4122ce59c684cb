#pragma once
// One playing stream of the audio engine, split between three threads that never wait on each
// other where it matters:
//   - the decoder thread decodes the file ahead into a lock-free ring buffer;
//   - the device callback only reads the ring (Render): no decoding, no lock, no allocation;
//   - the caller's thread plays, pauses, seeks and asks for positions.
// A seek or a restart is done by the caller's thread under the decode lock (the same lock the
// decoder thread holds while it decodes) and published as a new "segment": the ring position
// where the segment's sound begins and the file frame it starts at. The callback drops what
// lies before that position when it sees the new segment. What the callback has delivered is
// published back the same way, so the position heard is counted in frames, not guessed.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/BassStream.h"
#include "audio/SpscRing.h"

namespace velmora {

/// Called by the decoder thread before each piece it decodes, holding the decode lock as a
/// slow disk would; tests use it to stall decoding.
using TDecodeGate = std::function<void()>;

class TAudioChannel {
public:
    enum class TState : int { Stopped, Playing, Paused };
    /// Frames the ring holds ahead of the device: about 0.74 s at 44.1 kHz.
    static constexpr std::size_t RingFrames = 32768;
    /// Mono samples kept for the spectrum's window.
    static constexpr int HistoryFrames = 16384;

    /// What the callback has delivered of the current segment, as the caller's thread sees it.
    struct THeard {
        std::uint64_t Segment = 0;    // segment the figures belong to
        std::uint64_t Delivered = 0;  // frames at the output rate handed to the device
        std::uint64_t LastStart = 0;  // Delivered before the last callback's share
        std::uint64_t LastCount = 0;  // frames of the last callback's share
        std::int64_t LastTime = 0;    // steady clock, ns, when the last callback ran
        bool Ended = false;           // the segment's last frame has been delivered
    };
    /// The segment the producer published last.
    struct TSegment {
        std::uint64_t Id = 0;
        std::uint64_t RingStart = 0;    // ring position (samples) of its first frame
        std::uint64_t Base = 0;         // frame at the file's rate that it starts at
        std::uint64_t RingEnd = NoEnd;  // ring position after its last frame, once decoded
        static constexpr std::uint64_t NoEnd = ~std::uint64_t(0);
    };

    TAudioChannel(std::unique_ptr<TBassStream> stream, int outRate, TDecodeGate gate);
    /// Ends the decoder thread; the device must no longer reach this channel.
    ~TAudioChannel();
    TAudioChannel(const TAudioChannel&) = delete;
    TAudioChannel& operator=(const TAudioChannel&) = delete;

    // --- caller's thread ---

    int Rate() const noexcept { return FRate; }
    std::uint64_t LengthFrames() const noexcept { return FLengthFrames; }
    std::uint64_t FileSize() const noexcept { return FFileSize; }
    TState State() const noexcept { return FState.load(); }
    /// Sets the state; a new start or pause makes the position count from the next callback.
    void SetState(TState state);
    /// Starts the decoder thread if it is not running yet.
    void StartDecoding();
    /// Moves to a frame at the file's rate; false when the file cannot seek there.
    bool Seek(std::uint64_t nativeFrame);
    /// Frame at the file's rate heard now.
    std::uint64_t HeardNative(std::chrono::steady_clock::time_point now) const;
    /// The last sound of the stream has been heard.
    bool Finished(std::chrono::steady_clock::time_point now) const;
    /// Byte of the file heard now (the file's size once finished).
    std::uint64_t FilePosition(std::chrono::steady_clock::time_point now);
    /// The 1024 mono samples around what is heard now, zeros where nothing was delivered.
    void SpectrumWindow(std::chrono::steady_clock::time_point now, float* window) const;
    /// Frames decoded ahead and not yet delivered.
    std::size_t BufferedFrames() const noexcept { return FRing.Filled() / 2; }
    /// The decoder has reached the end of the current segment.
    bool DecodedToEnd() const;

    // --- device callback ---

    /// Adds up to `frames` frames of this channel to `mix` (interleaved stereo) and returns how
    /// many it had; never blocks. `scratch` holds at least 2 * frames samples.
    int Render(std::int32_t* mix, std::int16_t* scratch, int frames,
               std::chrono::steady_clock::time_point now);
    /// Callbacks that found the ring empty while the segment had sound still to come.
    std::uint64_t Underruns() const noexcept { return FUnderruns.load(); }

private:
    static constexpr std::size_t ChunkFrames = 2048;

    void DecodeLoop();
    bool Produce();                                // under FDecodeLock
    void PublishSegment(const TSegment& segment);  // under FDecodeLock
    bool ReadSegment(TSegment& segment) const;
    void PublishHeard(const THeard& heard);
    THeard ReadHeard() const;
    std::uint64_t HeardOutputFrames(const THeard& heard,
                                    std::chrono::steady_clock::time_point now) const;
    void WakeDecoder();

    const int FOutRate;
    int FRate = 0;
    std::uint64_t FLengthFrames = 0;
    std::uint64_t FFileSize = 0;
    TDecodeGate FGate;

    // Producer side: the stream and the decode buffer, under FDecodeLock.
    std::mutex FDecodeLock;
    std::unique_ptr<TBassStream> FStream;
    std::vector<std::int16_t> FChunk;
    TSegment FProduced;  // the segment being produced
    std::thread FDecoder;
    std::atomic<bool> FQuit{false};
    std::atomic<std::uint32_t> FWake{0};

    TSpscRing<std::int16_t> FRing{RingFrames * 2};
    std::atomic<TState> FState{TState::Stopped};
    std::atomic<bool> FHasCallback{false};  // the device took frames since the last start

    // The published segment, a sequence lock over atomics (odd while being written).
    std::atomic<std::uint64_t> FSegSeq{0};
    std::atomic<std::uint64_t> FSegId{0}, FSegRingStart{0}, FSegBase{0},
        FSegRingEnd{TSegment::NoEnd};

    // Callback side only.
    THeard FRendered;

    // What the callback delivered, a sequence lock over atomics.
    std::atomic<std::uint64_t> FHeardSeq{0};
    std::atomic<std::uint64_t> FHeardSegment{0}, FHeardDelivered{0}, FHeardLastStart{0},
        FHeardLastCount{0};
    std::atomic<std::int64_t> FHeardLastTime{0};
    std::atomic<bool> FHeardEnded{false};
    std::atomic<std::uint64_t> FUnderruns{0};

    std::unique_ptr<std::atomic<float>[]> FHistory;
};

}  // namespace velmora
