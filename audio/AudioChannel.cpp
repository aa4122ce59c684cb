#include "audio/AudioChannel.h"

#include <algorithm>

#include "audio/Fft.h"

namespace velmora {

namespace {

std::int64_t Nanoseconds(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

}  // namespace

TAudioChannel::TAudioChannel(std::unique_ptr<TBassStream> stream, int outRate, TDecodeGate gate)
    : FOutRate(outRate),
      FRate(stream->Rate()),
      FLengthFrames(stream->LengthFrames()),
      FFileSize(stream->FileSize()),
      FGate(std::move(gate)),
      FStream(std::move(stream)),
      FChunk(ChunkFrames * 2),
      FHistory(std::make_unique<std::atomic<float>[]>(HistoryFrames)) {
    FProduced.Base = FStream->OutputBase();
    PublishSegment(FProduced);
}

TAudioChannel::~TAudioChannel() {
    FQuit = true;
    WakeDecoder();
    if (FDecoder.joinable()) FDecoder.join();
}

void TAudioChannel::WakeDecoder() {
    FWake.fetch_add(1);
    FWake.notify_one();
}

void TAudioChannel::SetState(TState state) {
    FHasCallback = false;
    FState = state;
}

void TAudioChannel::StartDecoding() {
    if (!FDecoder.joinable()) FDecoder = std::thread(&TAudioChannel::DecodeLoop, this);
}

void TAudioChannel::DecodeLoop() {
    while (!FQuit) {
        const std::uint32_t seen = FWake.load();
        bool progressed;
        {
            std::lock_guard lock(FDecodeLock);
            if (FGate) FGate();
            progressed = Produce();
        }
        if (!progressed && !FQuit) FWake.wait(seen);
    }
}

bool TAudioChannel::Produce() {
    if (FProduced.RingEnd != TSegment::NoEnd) return false;  // the segment is decoded
    const std::size_t room = FRing.FreeSpace() / 2;
    if (room < ChunkFrames / 2) return false;  // the device makes room and wakes us
    const int n = FStream->Read(FChunk.data(), int(std::min(room, ChunkFrames)));
    FRing.Write(FChunk.data(), std::size_t(n) * 2);
    if (FStream->Exhausted()) {
        FProduced.RingEnd = FRing.WritePosition();
        PublishSegment(FProduced);
    }
    return true;
}

bool TAudioChannel::Seek(std::uint64_t nativeFrame) {
    {
        std::lock_guard lock(FDecodeLock);
        if (!FStream->Seek(nativeFrame)) return false;
        // Whatever the ring holds now belongs to the old place: the new segment begins where
        // the decoder writes next, and the callback drops everything before it.
        FProduced = TSegment{FProduced.Id + 1, FRing.WritePosition(), FStream->OutputBase(),
                             TSegment::NoEnd};
        PublishSegment(FProduced);
    }
    FHasCallback = false;
    WakeDecoder();
    return true;
}

// Sequence locks: the writer makes the counter odd, writes, makes it even again. All accesses
// are sequentially consistent atomics, so a reader that sees the same even counter before and
// after has read one whole record.
void TAudioChannel::PublishSegment(const TSegment& s) {
    const std::uint64_t seq = FSegSeq.load();
    FSegSeq = seq + 1;
    FSegId = s.Id;
    FSegRingStart = s.RingStart;
    FSegBase = s.Base;
    FSegRingEnd = s.RingEnd;
    FSegSeq = seq + 2;
}

bool TAudioChannel::ReadSegment(TSegment& s) const {
    const std::uint64_t before = FSegSeq.load();
    if (before & 1) return false;
    s.Id = FSegId;
    s.RingStart = FSegRingStart;
    s.Base = FSegBase;
    s.RingEnd = FSegRingEnd;
    return FSegSeq.load() == before;
}

void TAudioChannel::PublishHeard(const THeard& h) {
    const std::uint64_t seq = FHeardSeq.load();
    FHeardSeq = seq + 1;
    FHeardSegment = h.Segment;
    FHeardDelivered = h.Delivered;
    FHeardLastStart = h.LastStart;
    FHeardLastCount = h.LastCount;
    FHeardLastTime = h.LastTime;
    FHeardEnded = h.Ended;
    FHeardSeq = seq + 2;
}

TAudioChannel::THeard TAudioChannel::ReadHeard() const {
    for (;;) {
        const std::uint64_t before = FHeardSeq.load();
        if (before & 1) {
            std::this_thread::yield();
            continue;
        }
        THeard h{FHeardSegment,   FHeardDelivered, FHeardLastStart,
                 FHeardLastCount, FHeardLastTime,  FHeardEnded};
        if (FHeardSeq.load() == before) return h;
    }
}

std::uint64_t TAudioChannel::HeardOutputFrames(const THeard& h,
                                               std::chrono::steady_clock::time_point now) const {
    if (FState != TState::Playing || !FHasCallback) return h.Delivered;
    // The last callback's frames play from the moment it ran: count them in as time passes,
    // so positions move smoothly between callbacks, never past what was delivered.
    const double elapsed = double(Nanoseconds(now) - h.LastTime) * 1e-9;
    const auto played = std::uint64_t(std::max(0.0, elapsed) * FOutRate);
    return h.LastStart + std::min(played, h.LastCount);
}

std::uint64_t TAudioChannel::HeardNative(std::chrono::steady_clock::time_point now) const {
    TSegment s;
    while (!ReadSegment(s)) std::this_thread::yield();
    const THeard h = ReadHeard();
    // A segment the device has not reached yet: nothing of it has been heard.
    if (h.Segment != s.Id) return s.Base;
    return s.Base + HeardOutputFrames(h, now) * std::uint64_t(FRate) / std::uint64_t(FOutRate);
}

bool TAudioChannel::DecodedToEnd() const {
    TSegment s;
    while (!ReadSegment(s)) std::this_thread::yield();
    return s.RingEnd != TSegment::NoEnd;
}

bool TAudioChannel::Finished(std::chrono::steady_clock::time_point now) const {
    TSegment s;
    while (!ReadSegment(s)) std::this_thread::yield();
    const THeard h = ReadHeard();
    return h.Segment == s.Id && h.Ended && HeardOutputFrames(h, now) >= h.Delivered;
}

std::uint64_t TAudioChannel::FilePosition(std::chrono::steady_clock::time_point now) {
    if (Finished(now)) return FFileSize;
    const std::uint64_t native = HeardNative(now);
    std::lock_guard lock(FDecodeLock);
    return FStream->FilePosAt(native);
}

void TAudioChannel::SpectrumWindow(std::chrono::steady_clock::time_point now, float* window) const {
    TSegment s;
    while (!ReadSegment(s)) std::this_thread::yield();
    const THeard h = ReadHeard();
    std::fill(window, window + TFft1024::Size, 0.0f);
    if (h.Segment != s.Id) return;
    // The window of 1024 samples around what is heard now, never past what was delivered.
    const std::uint64_t heard = HeardOutputFrames(h, now);
    const std::int64_t end = std::int64_t(std::min(h.Delivered, heard + TFft1024::Size / 2));
    const std::int64_t oldest = std::int64_t(h.Delivered) - HistoryFrames;
    for (int i = 0; i < TFft1024::Size; ++i) {
        const std::int64_t frame = end - TFft1024::Size + i;
        if (frame >= 0 && frame >= oldest) {
            window[i] =
                FHistory[std::size_t(frame % HistoryFrames)].load(std::memory_order_relaxed);
        }
    }
}

int TAudioChannel::Render(std::int32_t* mix, std::int16_t* scratch, int frames,
                          std::chrono::steady_clock::time_point now) {
    if (FState != TState::Playing || frames <= 0) return 0;
    // The published end first: a segment published before it is then seen below.
    const std::uint64_t published = FRing.PublishedPosition();
    TSegment s;
    if (!ReadSegment(s)) return 0;  // a seek is being published this very moment
    // Dropping what a seek left behind makes room too: the decoder may be waiting for it with
    // nothing of the new segment written yet.
    bool madeRoom = false;
    if (s.Id != FRendered.Segment) {
        madeRoom = FRing.ReadPosition() != s.RingStart;
        FRing.SkipTo(s.RingStart);
        FRendered = THeard{};
        FRendered.Segment = s.Id;
    }
    const std::uint64_t limit = std::min(published, s.RingEnd);
    const int got = int(FRing.Read(scratch, std::size_t(frames) * 2, limit) / 2);
    for (int i = 0; i < got; ++i) {
        const std::int32_t left = scratch[2 * i];
        const std::int32_t right = scratch[2 * i + 1];
        mix[2 * i] += left;
        mix[2 * i + 1] += right;
        FHistory[std::size_t((FRendered.Delivered + std::uint64_t(i)) % HistoryFrames)].store(
            float(left + right) / 65536.0f, std::memory_order_relaxed);
    }
    const bool ended = s.RingEnd != TSegment::NoEnd && FRing.ReadPosition() >= s.RingEnd;
    // Silence in the middle of a segment that had started to sound is a drop-out.
    if (got < frames && !ended && FRendered.Delivered > 0) ++FUnderruns;
    FRendered.LastStart = FRendered.Delivered;
    FRendered.LastCount = std::uint64_t(got);
    FRendered.LastTime = Nanoseconds(now);
    FRendered.Delivered += std::uint64_t(got);
    FRendered.Ended = ended;
    PublishHeard(FRendered);
    FHasCallback = true;
    if (got > 0 || madeRoom) WakeDecoder();
    return got;
}

}  // namespace velmora
