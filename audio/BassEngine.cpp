#include "audio/BassEngine.h"

#include <algorithm>
#include <cstring>

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

bool TBassEngine::BASS_Init(int device, std::uint32_t freq, std::uint32_t, void*) {
    std::unique_lock lock(FLock);
    if (FInitialised) return Fail(BASS_ERROR_ALREADY);
    FOutRate = freq >= 8000 && freq <= 192000 ? int(freq) : 44100;
    if (device != 0) {
        auto output = std::make_unique<TSdlAudioOutput>();
        // The device calls back under FLock; opening it needs no lock of ours.
        lock.unlock();
        const bool opened = output->Open(FOutRate, &TBassEngine::FillThunk, this);
        lock.lock();
        if (!opened) return Fail(BASS_ERROR_DRIVER);
        FOutRate = output->Rate();
        FMix.assign(std::size_t(output->BufferFrames()) * 2, 0);
        FChannelBuffer.assign(std::size_t(output->BufferFrames()) * 2, 0);
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
    // SDL takes its device lock here, and the device's callback takes FLock inside that
    // lock: calling SDL while holding FLock could deadlock. FOutput is set once by BASS_Init
    // and lives as long as the engine.
    if (output) output->SetRunning(true);
    return Ok();
}

std::string TBassEngine::DriverName() const {
    std::lock_guard lock(FLock);
    return FOutput ? FOutput->Driver() : std::string();
}

HSTREAM TBassEngine::BASS_StreamCreateFile(bool mem, const std::string& file, std::uint32_t offset,
                                           std::uint32_t length, std::uint32_t) {
    int outRate;
    {
        std::lock_guard lock(FLock);
        if (!FInitialised) return Fail(BASS_ERROR_INIT), 0;
        outRate = FOutRate;
    }
    if (mem || offset != 0 || length != 0) return Fail(BASS_ERROR_NOTAVAIL), 0;
    // Opening reads and probes the file: done outside the lock, so the device never waits.
    int error = BASS_OK;
    auto stream = TBassStream::Open(file, outRate, error);
    if (!stream) return Fail(error), 0;
    auto channel = std::make_unique<TChannel>();
    channel->Stream = std::move(stream);
    std::lock_guard lock(FLock);
    const HSTREAM handle = FNextHandle++;
    if (FNextHandle == 0) FNextHandle = 1;
    FChannels.emplace(handle, std::move(channel));
    Ok();
    return handle;
}

bool TBassEngine::BASS_StreamFree(HSTREAM handle) {
    std::unique_ptr<TChannel> released;
    {
        std::lock_guard lock(FLock);
        auto it = FChannels.find(handle);
        if (it == FChannels.end()) return Fail(BASS_ERROR_HANDLE);
        released = std::move(it->second);
        FChannels.erase(it);
    }
    // The decoder closes outside the lock.
    return Ok();
}

TBassEngine::TChannel* TBassEngine::Find(HSTREAM handle) {
    auto it = FChannels.find(handle);
    if (it == FChannels.end()) {
        Fail(BASS_ERROR_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

std::uint64_t TBassEngine::BASS_StreamGetLength(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return 0;
    Ok();
    return c->Stream->LengthFrames() * BytesPerFrame;
}

float TBassEngine::BASS_ChannelBytes2Seconds(HSTREAM handle, std::uint64_t bytes) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return 0.0f;
    Ok();
    return float(double(bytes / BytesPerFrame) / c->Stream->Rate());
}

std::uint64_t TBassEngine::HeardFrames(const TChannel& c, TClock::time_point now) const {
    if (c.State != TState::Playing || !c.HasCallback) return c.Delivered;
    // The last callback's frames play from the moment it returned: count them in as time
    // passes, so positions move smoothly between callbacks.
    const double elapsed = std::chrono::duration<double>(now - c.LastTime).count();
    const auto played = std::uint64_t(std::max(0.0, elapsed) * FOutRate);
    return c.LastStart + std::min(played, c.LastCount);
}

bool TBassEngine::Finished(const TChannel& c, TClock::time_point now) const {
    return c.Stream->Exhausted() && HeardFrames(c, now) >= c.Delivered;
}

std::uint32_t TBassEngine::BASS_StreamGetFilePosition(HSTREAM handle, std::uint32_t mode) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return 0;
    const TBassStream& s = *c->Stream;
    if (mode == BASS_FILEPOS_END) {
        Ok();
        return std::uint32_t(s.FileSize());
    }
    if (mode != BASS_FILEPOS_CURRENT) return Fail(BASS_ERROR_NOTAVAIL), 0;
    Ok();
    const auto now = TClock::now();
    if (Finished(*c, now)) return std::uint32_t(s.FileSize());
    const std::uint64_t native =
        s.OutputBase() + HeardFrames(*c, now) * std::uint64_t(s.Rate()) / std::uint64_t(FOutRate);
    return std::uint32_t(s.FilePosAt(native));
}

std::uint64_t TBassEngine::HeardBytes(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return 0;
    Ok();
    const TBassStream& s = *c->Stream;
    const std::uint64_t heard = HeardFrames(*c, TClock::now());
    return (s.OutputBase() + heard * std::uint64_t(s.Rate()) / std::uint64_t(FOutRate)) *
           BytesPerFrame;
}

bool TBassEngine::IsActive(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return false;
    Ok();
    return c->State == TState::Playing && !Finished(*c, TClock::now());
}

bool TBassEngine::BASS_StreamPlay(HSTREAM handle, bool flush, std::uint32_t) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return false;
    if (!FOutput) return Fail(BASS_ERROR_INIT);
    if (flush) {
        if (!c->Stream->Seek(0)) return Fail(BASS_ERROR_POSITION);
        c->Delivered = 0;
        std::fill(c->History.begin(), c->History.end(), 0.0f);
    }
    c->State = TState::Playing;
    c->HasCallback = false;
    return Ok();
}

bool TBassEngine::BASS_ChannelResume(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return false;
    if (c->State != TState::Paused) return Fail(BASS_ERROR_ALREADY);
    c->State = TState::Playing;
    c->HasCallback = false;
    return Ok();
}

bool TBassEngine::BASS_ChannelPause(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return false;
    if (c->State != TState::Playing) return Fail(BASS_ERROR_ALREADY);
    c->State = TState::Paused;
    c->HasCallback = false;
    return Ok();
}

bool TBassEngine::BASS_ChannelStop(HSTREAM handle) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return false;
    c->State = TState::Stopped;
    c->HasCallback = false;
    return Ok();
}

bool TBassEngine::BASS_ChannelSetPosition(HSTREAM handle, std::uint64_t pos) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return false;
    const std::uint64_t frame = pos / BytesPerFrame;
    if (frame > c->Stream->LengthFrames()) return Fail(BASS_ERROR_POSITION);
    if (!c->Stream->Seek(frame)) return Fail(BASS_ERROR_POSITION);
    c->Delivered = 0;
    c->LastStart = 0;
    c->LastCount = 0;
    c->HasCallback = false;
    std::fill(c->History.begin(), c->History.end(), 0.0f);
    return Ok();
}

std::uint32_t TBassEngine::BASS_ChannelGetData(HSTREAM handle, void* buffer, std::uint32_t length) {
    std::lock_guard lock(FLock);
    TChannel* c = Find(handle);
    if (!c) return DataFailed;
    if (length != BASS_DATA_FFT1024 || !buffer) return Fail(BASS_ERROR_NOTAVAIL), DataFailed;
    auto* out = static_cast<float*>(buffer);
    // The window of 1024 samples around what is heard now, never past what was delivered.
    const std::uint64_t heard = HeardFrames(*c, TClock::now());
    const std::int64_t end = std::int64_t(std::min(c->Delivered, heard + TFft1024::Size / 2));
    const std::int64_t oldest = std::int64_t(c->Delivered) - HistoryFrames;
    for (int i = 0; i < TFft1024::Size; ++i) {
        const std::int64_t frame = end - TFft1024::Size + i;
        FWindow[i] =
            frame < 0 || frame < oldest ? 0.0f : c->History[std::size_t(frame % HistoryFrames)];
    }
    FFft.Magnitudes(FWindow, out);
    Ok();
    return TFft1024::Bins * sizeof(float);
}

void TBassEngine::FillThunk(void* user, std::int16_t* out, int frames) {
    static_cast<TBassEngine*>(user)->Fill(out, frames);
}

void TBassEngine::Fill(std::int16_t* out, int frames) {
    std::lock_guard lock(FLock);
    const auto now = TClock::now();
    const std::size_t samples = std::size_t(frames) * 2;
    if (FMix.size() < samples) FMix.resize(samples);
    if (FChannelBuffer.size() < samples) FChannelBuffer.resize(samples);
    std::fill(FMix.begin(), FMix.begin() + std::ptrdiff_t(samples), 0);
    for (auto& [handle, c] : FChannels) {
        if (c->State != TState::Playing) continue;
        const int n = c->Stream->Read(FChannelBuffer.data(), frames);
        for (int i = 0; i < n; ++i) {
            const std::int32_t left = FChannelBuffer[2 * i];
            const std::int32_t right = FChannelBuffer[2 * i + 1];
            FMix[2 * i] += left;
            FMix[2 * i + 1] += right;
            c->History[std::size_t((c->Delivered + i) % HistoryFrames)] =
                float(left + right) / 65536.0f;
        }
        c->LastStart = c->Delivered;
        c->LastCount = std::uint64_t(n);
        c->LastTime = now;
        c->HasCallback = true;
        c->Delivered += std::uint64_t(n);
    }
    for (std::size_t i = 0; i < samples; ++i) {
        out[i] = std::int16_t(std::clamp<std::int32_t>(FMix[i], -32768, 32767));
    }
}

}  // namespace velmora
