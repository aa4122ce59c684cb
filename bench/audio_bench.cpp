// Audio benchmark. Makes a 10-minute VBR MP3 with a Xing header (ffmpeg's command line feeds
// lame) in a temporary folder, then prints:
//  - the time of GetPlayLength on it, which reads the header and must not decode the file,
//    next to a full decode of the same file by our engine and by ffmpeg's command line;
//  - the CPU share of playback with the spectrum ticking every 50 ms (process CPU time over
//    wall time) for a few seconds on SDL's silent driver.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/BassEngine.h"
#include "audio/KivMp3Play.h"

namespace fs = std::filesystem;
using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double CpuSeconds() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

double FullDecode(const std::string& path, std::uint64_t& frames) {
    const auto start = Clock::now();
    int error = 0;
    auto stream = TBassStream::Open(path, 44100, error);
    if (!stream) return -1;
    std::vector<std::int16_t> buffer(2 * 4096);
    frames = 0;
    while (!stream->Exhausted()) frames += std::uint64_t(stream->Read(buffer.data(), 4096));
    return Seconds(start);
}

void MeasurePlayLength(TBassEngine& engine, const std::string& mp3) {
    TKivMp3Play player(engine);
    player.SetFileName(mp3);
    std::vector<double> times;
    float length = 0;
    for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        length = player.GetPlayLength();
        times.push_back(Seconds(start));
    }
    std::uint64_t frames = 0;
    const double decode = FullDecode(mp3, frames);
    const auto start = Clock::now();
    Run("ffmpeg -nostdin -loglevel error -i '" + mp3 + "' -f null - >/dev/null 2>&1");
    const double ffmpegDecode = Seconds(start);
    const double playLength = Median(times);
    std::printf("GetPlayLength (10-minute VBR, Xing)  %9.3f ms  -> %.3f s\n", playLength * 1e3,
                length);
    std::printf("full decode by the engine            %9.3f ms  -> %.3f s of sound\n", decode * 1e3,
                double(frames) / 44100);
    std::printf("full decode by ffmpeg (command line) %9.3f ms\n", ffmpegDecode * 1e3);
    std::printf("ratio full decode / GetPlayLength     %9.0f x\n", decode / playLength);
}

void MeasurePlaybackCpu(TBassEngine& engine, const std::string& mp3, double seconds) {
    TKivMp3Play player(engine, 177, 121);
    player.Pen = 0x00FF00;
    player.LineWidth = 6;
    player.LineFallOff = 8;
    player.SetFileName(mp3);
    int reports = 0;
    player.OnProgress = [&](const void*, std::int32_t, std::int32_t, const std::string&) {
        ++reports;
    };
    const double cpu0 = CpuSeconds();
    const auto start = Clock::now();
    player.Play();
    auto next = start;
    while (Seconds(start) < seconds) {
        next += std::chrono::milliseconds(player.Timer().Interval);
        std::this_thread::sleep_until(next);
        player.TimerTick();
    }
    const double wall = Seconds(start);
    const double cpu = CpuSeconds() - cpu0;
    player.Stop();
    std::printf(
        "playback with spectrum, driver %-6s  %.1f s wall, %.3f s CPU = %.2f %% of one "
        "core (%d ticks)\n",
        engine.DriverName().c_str(), wall, cpu, 100.0 * cpu / wall, reports);
}

}  // namespace

int main() {
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    const fs::path dir =
        fs::temp_directory_path() / ("velmora-audio-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string mp3 = (dir / "ten-minutes.mp3").string();
    std::printf("making a 10-minute VBR MP3 with ffmpeg and lame ...\n");
    const bool made = Run(
        "ffmpeg -nostdin -loglevel error -f lavfi -i "
        "'aevalsrc=0.2*sin(2*PI*220*t)*sin(2*PI*0.3*t)+0.1*sin(2*PI*880*t)|0.2*sin(2*PI*330*t):"
        "s=44100:d=600' -f lavfi -i 'anoisesrc=d=600:c=pink:r=44100:a=0.03:seed=3' "
        "-filter_complex '[1]aformat=channel_layouts=stereo[n];[0][n]amix=inputs=2:normalize=0' "
        "-f wav - | lame --quiet -V 4 - '" +
        mp3 + "'");
    if (!made || !fs::exists(mp3)) {
        std::fprintf(stderr, "audio_bench: cannot make the test file (ffmpeg and lame needed)\n");
        fs::remove_all(dir);
        return 1;
    }
    std::printf("file: %.1f MB\n", double(fs::file_size(mp3)) / 1e6);
    TBassEngine engine;
    engine.BASS_Init(-1, 44100, 32, nullptr);
    engine.BASS_Start();
    MeasurePlayLength(engine, mp3);
    MeasurePlaybackCpu(engine, mp3, 5.0);
    fs::remove_all(dir);
    return 0;
}
