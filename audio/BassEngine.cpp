#include "audio/BassEngine.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace velmora {

namespace {
constexpr std::uint32_t DataFailed = 0xFFFFFFFFu;
constexpr std::uint64_t BytesPerFrame = 4;  // 16-bit stereo
}  // namespace

TBassEngine& BassEngine() {
    static TBassEngine engine;
    return engine;
}

TBassEngine::TBassEngine() = default;

TBassEngine::~TBassEngine() {
    // Stop the device's thread before any channel goes away.
    FOutput.reset();
}

void TBassEngine::SetDecodeGate(TDecodeGate gate) {
    std::lock_guard lock(FLock);
    FGate = std::move(gate);
}

bool TBassEngine::BASS_Init(int device, std::uint32_t freq, std::uint32_t, void*) {
    std::unique_lock lock(FLock);
    if (FInitialised) return Fail(BASS_ERROR_ALREADY);
    FOutRate = freq >= 8000 && freq <= 192000 ? int(freq) : 44100;
    if (device != 0) {
        auto output = std::make_unique<TSdlAudioOutput>();
        lock.unlock();
        const bool opened = output->Open(FOutRate, &TBassEngine::FillThunk, this);
        lock.lock();
        if (!opened) return Fail(BASS_ERROR_DRIVER);
        FOutRate = output->Rate();
        FMix.assign(std::size_t(output->BufferFrames()) * 2, 0);
        FScratch.assign(std::size_t(output->BufferFrames()) * 2, 0);
        FOutput = std::move(output);
    }
    FInitialised = true;
    return Ok();
}

bool TBassEngine::BASS_Start() {
    TSdlAudioOutput* output;
    {
        std::lock_guard lock(FLock);
        if (!FInitialised) return Fail(BASS_ERROR_INIT);
        output = FOutput.get();
    }
    // FOutput is set once by BASS_Init and lives as long as the engine.
    if (output) output->SetRunning(true);
    return Ok();
}

bool TBassEngine::BASS_Stop() {
    TSdlAudioOutput* output;
    {
        std::lock_guard lock(FLock);
        if (!FInitialised) return Fail(BASS_ERROR_INIT);
        output = FOutput.get();
    }
    if (output) output->SetRunning(false);
    return Ok();
}

bool TBassEngine::WaitUntilBuffered(std::size_t frames, std::chrono::milliseconds limit) {
    const auto deadline = TClock::now() + limit;
    for (;;) {
        bool ready = true;
        {
            std::lock_guard lock(FLock);
            for (auto& slot : FPlaying) {
                const TAudioChannel* c = slot.load();
                if (c && c->State() == TAudioChannel::TState::Playing &&
                    c->BufferedFrames() < frames && !c->DecodedToEnd()) {
                    ready = false;
                }
            }
        }
        if (ready) return true;
        if (TClock::now() > deadline) return false;
        std::this_thread::yield();
    }
}

std::string TBassEngine::DriverName() const {
    std::lock_guard lock(FLock);
    return FOutput ? FOutput->Driver() : std::string();
}

HSTREAM TBassEngine::BASS_StreamCreateFile(bool mem, const std::string& file, std::uint32_t offset,
                                           std::uint32_t length, std::uint32_t) {
    int outRate;
    TDecodeGate gate;
    {
        std::lock_guard lock(FLock);
        if (!FInitialised) return Fail(BASS_ERROR_INIT), 0;
        outRate = FOutRate;
        gate = FGate;
    }
    if (mem || offset != 0 || length != 0) return Fail(BASS_ERROR_NOTAVAIL), 0;
    // Opening reads and probes the file: done outside the lock.
    int error = BASS_OK;
    auto stream = TBassStream::Open(file, outRate, error);
    if (!stream) return Fail(error), 0;
    auto channel = std::make_unique<TAudioChannel>(std::move(stream), outRate, std::move(gate));
    std::lock_guard lock(FLock);
    const HSTREAM handle = FNextHandle++;
    if (FNextHandle == 0) FNextHandle = 1;
    FChannels.emplace(handle, std::move(channel));
    Ok();
    return handle;
}

void TBassEngine::WaitForCallbackToLeave() {
    // A callback that started before the channel left the playing slots may still hold it;
    // one that starts later cannot see it.
    const std::uint64_t seq = FCallbackSeq.load();
    if (seq & 1) {
        while (FCallbackSeq.load() == seq) std::this_thread::yield();
    }
}

bool TBassEngine::BASS_StreamFree(HSTREAM handle) {
    std::unique_ptr<TAudioChannel> released;
    {
        std::lock_guard lock(FLock);
        auto it = FChannels.find(handle);
        if (it == FChannels.end()) return Fail(BASS_ERROR_HANDLE);
        released = std::move(it->second);
        FChannels.erase(it);
        for (auto& slot : FPlaying) {
            if (slot.load() == released.get()) slot = nullptr;
        }
    }
    WaitForCallbackToLeave();
    // The decoder thread ends and the file closes outside the lock.
    released.reset();
    return Ok();
}

TAudioChannel* TBassEngine::Find(HSTREAM handle) {
    auto it = FChannels.find(handle);
    if (it == FChannels.end()) {
        Fail(BASS_ERROR_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

bool TBassEngine::EnsurePlayable(TAudioChannel& channel) {
    for (auto& slot : FPlaying) {
        if (slot.load() == &channel) return true;
    }
    for (auto& slot : FPlaying) {
        if (!slot.load()) {
            channel.StartDecoding();
            slot = &channel;
            return true;
        }
    }
    return false;
}

std::uint64_t TBassEngine::BASS_StreamGetLength(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return 0;
    Ok();
    return c->LengthFrames() * BytesPerFrame;
}

float TBassEngine::BASS_ChannelBytes2Seconds(HSTREAM handle, std::uint64_t bytes) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return 0.0f;
    Ok();
    return float(double(bytes / BytesPerFrame) / c->Rate());
}

std::uint32_t TBassEngine::BASS_StreamGetFilePosition(HSTREAM handle, std::uint32_t mode) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return 0;
    if (mode == BASS_FILEPOS_END) {
        Ok();
        return std::uint32_t(c->FileSize());
    }
    if (mode != BASS_FILEPOS_CURRENT) return Fail(BASS_ERROR_NOTAVAIL), 0;
    Ok();
    return std::uint32_t(c->FilePosition(TClock::now()));
}

std::uint64_t TBassEngine::HeardBytes(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return 0;
    Ok();
    return c->HeardNative(TClock::now()) * BytesPerFrame;
}

bool TBassEngine::IsActive(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return false;
    Ok();
    return c->State() == TAudioChannel::TState::Playing && !c->Finished(TClock::now());
}

std::size_t TBassEngine::BufferedFrames(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    return c ? c->BufferedFrames() : 0;
}

std::uint64_t TBassEngine::Underruns(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    return c ? c->Underruns() : 0;
}

bool TBassEngine::BASS_StreamPlay(HSTREAM handle, bool flush, std::uint32_t) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return false;
    if (!FOutput) return Fail(BASS_ERROR_INIT);
    if (!EnsurePlayable(*c)) return Fail(BASS_ERROR_NOTAVAIL);
    if (flush && !c->Seek(0)) return Fail(BASS_ERROR_POSITION);
    c->SetState(TAudioChannel::TState::Playing);
    return Ok();
}

bool TBassEngine::BASS_ChannelResume(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return false;
    if (c->State() != TAudioChannel::TState::Paused) return Fail(BASS_ERROR_ALREADY);
    c->SetState(TAudioChannel::TState::Playing);
    return Ok();
}

bool TBassEngine::BASS_ChannelPause(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return false;
    if (c->State() != TAudioChannel::TState::Playing) return Fail(BASS_ERROR_ALREADY);
    c->SetState(TAudioChannel::TState::Paused);
    return Ok();
}

bool TBassEngine::BASS_ChannelStop(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return false;
    c->SetState(TAudioChannel::TState::Stopped);
    return Ok();
}

bool TBassEngine::BASS_ChannelSetPosition(HSTREAM handle, std::uint64_t pos) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return false;
    const std::uint64_t frame = pos / BytesPerFrame;
    if (frame > c->LengthFrames()) return Fail(BASS_ERROR_POSITION);
    if (!c->Seek(frame)) return Fail(BASS_ERROR_POSITION);
    return Ok();
}

std::uint32_t TBassEngine::BASS_ChannelGetData(HSTREAM handle, void* buffer, std::uint32_t length) {
    std::lock_guard lock(FLock);
    TAudioChannel* c = Find(handle);
    if (!c) return DataFailed;
    if (length != BASS_DATA_FFT1024 || !buffer) return Fail(BASS_ERROR_NOTAVAIL), DataFailed;
    c->SpectrumWindow(TClock::now(), FWindow.data());
    FFft.Magnitudes(FWindow, static_cast<float*>(buffer));
    Ok();
    return TFft1024::Bins * sizeof(float);
}

void TBassEngine::FillThunk(void* user, std::int16_t* out, int frames) {
    static_cast<TBassEngine*>(user)->DeviceFill(out, frames);
}

void TBassEngine::DeviceFill(std::int16_t* out, int frames) {
    FCallbackSeq.fetch_add(1);
    const auto now = TClock::now();
    const std::size_t samples = std::size_t(std::max(frames, 0)) * 2;
    // Sized for the device's buffer at BASS_Init; only a caller asking for more grows them.
    if (FMix.size() < samples) FMix.resize(samples);
    if (FScratch.size() < samples) FScratch.resize(samples);
    std::fill(FMix.begin(), FMix.begin() + std::ptrdiff_t(samples), 0);
    for (auto& slot : FPlaying) {
        if (TAudioChannel* c = slot.load()) c->Render(FMix.data(), FScratch.data(), frames, now);
    }
    for (std::size_t i = 0; i < samples; ++i) {
        out[i] = std::int16_t(std::clamp<std::int32_t>(FMix[i], -32768, 32767));
    }
    FCallbackSeq.fetch_add(1);
}

}  // namespace velmora
