#pragma once
// An audio library for the player's tests: files of given sizes that "play" by a clock the
// test advances, with every call logged. Decoded bytes advance at 4 x Rate per second; the
// heard file position is proportional to them, as in a constant-bit-rate file.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/BassApi.h"

namespace velmora::test {

class TFakeBass : public TBassApi {
public:
    struct TFile {
        std::uint64_t Length = 0;   // decoded bytes
        std::uint32_t FileEnd = 0;  // file bytes
        int Rate = 44100;
    };
    struct TStream {
        TFile File;
        bool Playing = false;
        bool Paused = false;
        std::uint64_t Pos = 0;  // decoded bytes heard
    };

    std::map<std::string, TFile> Files;
    std::map<HSTREAM, TStream> Streams;
    std::vector<std::string> Calls;
    float Magnitude = 0.1f;  // every FFT bin while playing

    /// Lets `ms` milliseconds of playback pass.
    void Advance(int ms) {
        for (auto& [h, s] : Streams) {
            if (!s.Playing) continue;
            s.Pos = std::min(s.File.Length, s.Pos + std::uint64_t(s.File.Rate) * 4 * ms / 1000);
        }
    }
    std::uint64_t PosOf(HSTREAM h) { return Streams.count(h) ? Streams[h].Pos : 0; }

    bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, void*) override {
        Calls.push_back("Init " + std::to_string(device) + " " + std::to_string(freq) + " " +
                        std::to_string(flags));
        return true;
    }
    bool BASS_Start() override {
        Calls.push_back("Start");
        return true;
    }
    HSTREAM BASS_StreamCreateFile(bool, const std::string& file, std::uint32_t, std::uint32_t,
                                  std::uint32_t) override {
        Calls.push_back("Create " + file);
        auto it = Files.find(file);
        if (it == Files.end()) return 0;
        const HSTREAM h = FNext++;
        Streams[h].File = it->second;
        return h;
    }
    bool BASS_StreamFree(HSTREAM h) override {
        Calls.push_back("Free " + std::to_string(h));
        return Streams.erase(h) > 0;
    }
    std::uint64_t BASS_StreamGetLength(HSTREAM h) override {
        return Streams.count(h) ? Streams[h].File.Length : 0;
    }
    float BASS_ChannelBytes2Seconds(HSTREAM h, std::uint64_t bytes) override {
        return Streams.count(h) ? float(double(bytes) / (4.0 * Streams[h].File.Rate)) : 0.0f;
    }
    std::uint32_t BASS_StreamGetFilePosition(HSTREAM h, std::uint32_t mode) override {
        if (!Streams.count(h)) return 0;
        const TStream& s = Streams[h];
        if (mode == BASS_FILEPOS_END) return s.File.FileEnd;
        return s.File.Length ? std::uint32_t(s.Pos * s.File.FileEnd / s.File.Length) : 0;
    }
    bool BASS_StreamPlay(HSTREAM h, bool, std::uint32_t) override {
        Calls.push_back("Play " + std::to_string(h));
        if (!Streams.count(h)) return false;
        Streams[h].Playing = true;
        return true;
    }
    bool BASS_ChannelResume(HSTREAM h) override {
        Calls.push_back("Resume " + std::to_string(h));
        if (!Streams.count(h) || !Streams[h].Paused) return false;
        Streams[h].Paused = false;
        Streams[h].Playing = true;
        return true;
    }
    bool BASS_ChannelPause(HSTREAM h) override {
        Calls.push_back("Pause " + std::to_string(h));
        if (!Streams.count(h) || !Streams[h].Playing) return false;
        Streams[h].Playing = false;
        Streams[h].Paused = true;
        return true;
    }
    bool BASS_ChannelStop(HSTREAM h) override {
        Calls.push_back("Stop " + std::to_string(h));
        if (!Streams.count(h)) return false;
        Streams[h].Playing = Streams[h].Paused = false;
        return true;
    }
    bool BASS_ChannelSetPosition(HSTREAM h, std::uint64_t pos) override {
        Calls.push_back("SetPosition " + std::to_string(h) + " " + std::to_string(pos));
        if (!Streams.count(h) || pos > Streams[h].File.Length) return false;
        Streams[h].Pos = pos;
        return true;
    }
    std::uint32_t BASS_ChannelGetData(HSTREAM h, void* buffer, std::uint32_t length) override {
        if (!Streams.count(h) || length != BASS_DATA_FFT1024) return 0xFFFFFFFFu;
        auto* out = static_cast<float*>(buffer);
        for (int i = 0; i < 512; ++i) out[i] = Streams[h].Playing ? Magnitude : 0.0f;
        return 2048;
    }
    int BASS_ErrorGetCode() override { return BASS_OK; }

private:
    HSTREAM FNext = 1;
};

}  // namespace velmora::test
