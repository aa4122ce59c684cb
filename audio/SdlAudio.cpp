#include "audio/SdlAudio.h"

#include <cstring>

namespace velmora {

TSdlAudioOutput::~TSdlAudioOutput() { Close(); }

void TSdlAudioOutput::Close() {
    if (FDevice != 0) {
        // Closing waits for a running callback to return, so nothing calls FFill afterwards.
        SDL_CloseAudioDevice(FDevice);
        FDevice = 0;
    }
    if (FSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FSubsystem = false;
    }
}

bool TSdlAudioOutput::Open(int rate, TFill fill, void* user) {
    Close();
    FFill = fill;
    FUser = user;
    if (TryOpen(rate)) return true;
    // No sound device here (a server without sound card, CI): the silent driver plays in
    // real time instead.
    Close();
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (TryOpen(rate)) return true;
    Close();
    return false;
}

bool TSdlAudioOutput::TryOpen(int rate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        FError = SDL_GetError();
        return false;
    }
    FSubsystem = true;
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;  // about 23 ms at 44.1 kHz
    want.callback = &TSdlAudioOutput::Callback;
    want.userdata = this;
    // No allowed changes: SDL converts to whatever the hardware wants, so the callback always
    // sees exactly the format asked for.
    FDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &FSpec, 0);
    if (FDevice == 0) {
        FError = SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    FDriver = driver ? driver : "";
    return true;
}

void TSdlAudioOutput::SetRunning(bool running) {
    if (FDevice != 0) SDL_PauseAudioDevice(FDevice, running ? 0 : 1);
}

void TSdlAudioOutput::Callback(void* user, Uint8* stream, int len) {
    auto* self = static_cast<TSdlAudioOutput*>(user);
    const int frames = len / 4;
    if (self->FFill) {
        self->FFill(self->FUser, reinterpret_cast<std::int16_t*>(stream), frames);
    } else {
        std::memset(stream, 0, std::size_t(len));
    }
}

}  // namespace velmora
