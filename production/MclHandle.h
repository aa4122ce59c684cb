#pragma once
// The objects behind the media conversion layer's handles (private to the layer).

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "production/Mcl.h"
#include "production/MclPreset.h"

namespace velmora {

class TMcl {
public:
    TMclVideoSource VideoSource;
    TMclVideoFunc VideoFunc;
    TMclAudioSource AudioSource;
    TMclAudioFunc AudioFunc;
    TMclProgress Progress;
    TMclError ErrorHandler;
    std::string VideoFileName;
    std::string AudioFileName;
    const mcl::TPreset* Preset = nullptr;
    bool KeepDuration = true;

    std::atomic<bool> AbortRequested{false};
    std::atomic<bool> Running{false};
    std::atomic<int> FramesDone{0};
    std::atomic<bool> Started{false};
    std::chrono::steady_clock::time_point StartTime;
    std::atomic<double> FinalSeconds{-1.0};  // the run's time once it has ended
};

class TMclSource {
public:
    enum class TKind { Video, Audio };

    TMclSource(TKind kind, const mcl::TPreset* preset, Bitmap* frame)
        : Kind(kind), Preset(preset), Frame(frame) {}

    TKind Kind;
    const mcl::TPreset* Preset;  // video: the size frames must have
    Bitmap* Frame;               // video: where MclSourceSetDIB copies the pixels
    bool HasFrame = false;
    bool HasFile = false;
    bool Finished = false;
    std::string File;
};

class TMclList {
public:
    struct TEntry {
        std::string Path;
        std::int64_t Samples = 0;
    };
    std::vector<TEntry> Entries;
};

}  // namespace velmora
