#pragma once
// The output device of the audio engine: SDL's audio subsystem and one opened device that
// asks a callback for 16-bit stereo samples on SDL's own thread. When no sound device opens,
// SDL's silent "dummy" driver takes its place; it consumes samples in real time, so playback
// advances as it would through speakers.

#include <SDL2/SDL.h>

#include <string>

namespace velmora {

class TSdlAudioOutput {
public:
    /// Fills `frames` interleaved stereo frames; runs on SDL's audio thread.
    using TFill = void (*)(void* user, std::int16_t* out, int frames);

    TSdlAudioOutput() = default;
    ~TSdlAudioOutput();
    TSdlAudioOutput(const TSdlAudioOutput&) = delete;
    TSdlAudioOutput& operator=(const TSdlAudioOutput&) = delete;

    /// Opens the default device at `rate` Hz, paused; falls back to the dummy driver.
    /// False (with SDL's reason in Error()) only when not even that opens.
    bool Open(int rate, TFill fill, void* user);
    /// Starts or halts the device's callback.
    void SetRunning(bool running);

    int Rate() const noexcept { return FSpec.freq; }
    /// Frames the device asks for in one callback.
    int BufferFrames() const noexcept { return FSpec.samples; }
    /// The SDL driver in use, e.g. "pulseaudio" or "dummy".
    const std::string& Driver() const noexcept { return FDriver; }
    const std::string& Error() const noexcept { return FError; }

private:
    static void Callback(void* user, Uint8* stream, int len);
    bool TryOpen(int rate);
    void Close();

    bool FSubsystem = false;
    SDL_AudioDeviceID FDevice = 0;
    SDL_AudioSpec FSpec{};
    TFill FFill = nullptr;
    void* FUser = nullptr;
    std::string FDriver;
    std::string FError;
};

}  // namespace velmora
