// Media conversion layer against ffmpeg's command line on the same frames.
//
// An album of 20 pictures at 3 seconds each (126 frames per picture: the repeated frame, 50
// wipe frames and 75 still frames; 2520 frames) goes through MclConvert with an MP3
// soundtrack, and the same raw frames are piped into `ffmpeg -target pal-vcd|pal-svcd|pal-dvd`
// with the same MP3. Prints frames per second of both, their ratio (ours / ffmpeg's), the CPU
// use of both, and the peak resident memory. Each side runs `rounds` times, alternating, and
// the fastest run counts (the machine may be busy with other work).
//
// Usage: media_bench [frames] [rounds] [presets...]    e.g. media_bench 2520 2 dvd svcd vcd

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "production/Mcl.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

struct TBenchPreset {
    const char* Name;
    int Number;
    int Width, Height;
    const char* Target;
};

const TBenchPreset BenchPresets[] = {
    {"dvd", 2, 720, 576, "pal-dvd"},
    {"svcd", 1, 480, 576, "pal-svcd"},
    {"vcd", 0, 320, 288, "pal-vcd"},
};

constexpr int Pictures = 20;
constexpr int SlotFrames = 126;  // 1 repeated + 50 transition + 75 still frames (3 s)

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakRssMb(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss / 1024;
}

// A photograph-like picture: smooth colour fields, edges and fine texture.
Bitmap MakePicture(int width, int height, int seed) {
    Bitmap picture(width, height);
    unsigned noise = unsigned(seed) * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const double u = double(x) / width, v = double(y) / height;
            const double field = std::sin(6.0 * u + seed) * std::cos(4.0 * v - seed * 0.7);
            const double stripes = std::sin((u * 40 + v * 25) * (1 + seed % 3));
            const int grain = int(noise >> 27) - 16;
            const int base = int(128 + 80 * field + 20 * stripes) + grain;
            row[3 * x] = std::uint8_t(std::clamp(base + int(60 * v) - 30, 0, 255));
            row[3 * x + 1] = std::uint8_t(std::clamp(base + seed * 7 % 50 - 25, 0, 255));
            row[3 * x + 2] = std::uint8_t(std::clamp(255 - base + grain, 0, 255));
        }
    }
    return picture;
}

// Frame `index` of the album: a left-to-right wipe from the previous picture, then a still.
void DrawFrame(const std::vector<Bitmap>& pictures, int index, Bitmap& frame) {
    const int slot = index / SlotFrames, phase = index % SlotFrames;
    const Bitmap& next = pictures[std::size_t(slot % Pictures)];
    const Bitmap& previous = pictures[std::size_t((slot + Pictures - 1) % Pictures)];
    const int split = phase == 0 ? 0 : phase >= 51 ? frame.Width() : frame.Width() * phase / 50;
    for (int y = 0; y < frame.Height(); ++y) {
        std::memcpy(frame.Row(y), next.Row(y), std::size_t(split) * 3);
        std::memcpy(frame.Row(y) + split * 3, previous.Row(y) + split * 3,
                    std::size_t(frame.Width() - split) * 3);
    }
}

struct TFigures {
    double Fps = 0;
    double Cores = 0;
    double CpuMsPerFrame = 0;
    long Bytes = 0;
};

// Keeps the faster of two runs (the machine may be busy with other work).
void KeepBest(TFigures& best, const TFigures& run) {
    if (run.Fps > best.Fps) best = run;
}

// CPU milliseconds per frame that drawing the frames costs the bench itself.
double DrawMsPerFrame(const std::vector<Bitmap>& pictures, int frames, int width, int height) {
    Bitmap frame(width, height);
    const double before = CpuSeconds(RUSAGE_SELF);
    for (int i = 0; i < frames; ++i) DrawFrame(pictures, i, frame);
    return (CpuSeconds(RUSAGE_SELF) - before) * 1000 / frames;
}

TFigures RunOurs(const TBenchPreset& p, const std::vector<Bitmap>& pictures, int frames,
                 const std::string& song, const std::string& out) {
    MclHandle h = MclCreate();
    MclListHandle list = MclListCreate();
    MclListAdd(*list, song, 16, 0, 0);
    Bitmap frame(p.Width, p.Height);
    MclAssignVideoSource(*h, [&](TMclSource& source, int index) {
        DrawFrame(pictures, index, frame);
        MclSourceSetDIB(source, frame);
        if (index + 1 >= frames) MclSourceFinished(source);
    });
    MclAssignAudioSource(
        *h, [&](TMclSource& source, int index) { MclSourceSetListEntry(source, *list, index); });
    MclAssignError(*h, [](int, const std::string& message, int& result) {
        std::fprintf(stderr, "error: %s\n", message.c_str());
        result = 2;
    });
    MclVideoSetFileName(*h, out);
    MclAudioSetFileName(*h, out);
    if (p.Number != 0) MclEnableMPEG2();
    MclSetFormatPreset(*h, p.Number, 0);
    MclVideoSetKeepDuration(*h, -1);
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const auto start = std::chrono::steady_clock::now();
    const TMclResult result = MclConvert(*h);
    const double wall = Seconds(start);
    if (!result.Ok) std::fprintf(stderr, "our conversion failed: %s\n", result.Message.c_str());
    for (const std::string& line : result.Notices()) std::printf("  notice: %s\n", line.c_str());
    const double cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    return {frames / wall, cpu / wall, cpu * 1000 / frames, long(fs::file_size(out))};
}

TFigures RunFfmpeg(const TBenchPreset& p, const std::vector<Bitmap>& pictures, int frames,
                   const std::string& song, const std::string& out) {
    const std::string command = "ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s " +
                                std::to_string(p.Width) + "x" + std::to_string(p.Height) +
                                " -r 25 -i - -i '" + song + "' -map 0:v -map 1:a -target " +
                                p.Target + " -shortest '" + out + "'";
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "w");
    if (pipe == nullptr) return {};
    // Rows of these widths need no padding: one write per frame.
    std::vector<char> buffer(std::size_t(4) << 20);
    std::setvbuf(pipe, buffer.data(), _IOFBF, buffer.size());
    Bitmap frame(p.Width, p.Height);
    for (int i = 0; i < frames; ++i) {
        DrawFrame(pictures, i, frame);
        std::fwrite(frame.Bits(), 1, frame.ByteCount(), pipe);
    }
    const int status = pclose(pipe);
    const double wall = Seconds(start);
    if (status != 0) std::fprintf(stderr, "ffmpeg exited with %d\n", status);
    const double cpu = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    return {frames / wall, cpu / wall, cpu * 1000 / frames, long(fs::file_size(out))};
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : Pictures * SlotFrames;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    std::vector<std::string> wanted;
    for (int i = 3; i < argc; ++i) wanted.emplace_back(argv[i]);
    if (wanted.empty()) wanted = {"dvd", "svcd", "vcd"};

    const fs::path dir =
        fs::temp_directory_path() / ("velmora-media-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string song = (dir / "song.mp3").string();
    const double seconds = frames / 25.0 + 1;
    const std::string makeSong =
        "ffmpeg -v error -y -f lavfi -i 'sine=frequency=330:sample_rate=44100:duration=" +
        std::to_string(seconds) + "' -f lavfi -i 'anoisesrc=d=" + std::to_string(seconds) +
        ":a=0.05' -filter_complex amix=inputs=2 -ac 2 -c:a libmp3lame -b:a 192k '" + song + "'";
    if (std::system(makeSong.c_str()) != 0) {
        std::fprintf(stderr, "cannot make the soundtrack with ffmpeg\n");
        return 1;
    }
    std::printf(
        "media_bench: %d frames (%d pictures x %d frames, wipes and stills), one MP3, "
        "best of %d runs\n",
        frames, Pictures, SlotFrames, rounds);
    for (const TBenchPreset& p : BenchPresets) {
        if (std::find(wanted.begin(), wanted.end(), p.Name) == wanted.end()) continue;
        std::vector<Bitmap> pictures;
        for (int i = 0; i < Pictures; ++i) pictures.push_back(MakePicture(p.Width, p.Height, i));
        TFigures ours, theirs;
        // Alternating which side goes first evens out changes in the machine's load.
        for (int round = 0; round < rounds; ++round) {
            for (int side = 0; side < 2; ++side) {
                if ((side + round) % 2 == 0) {
                    KeepBest(ours, RunOurs(p, pictures, frames, song, (dir / "ours.mpg").string()));
                } else {
                    KeepBest(theirs,
                             RunFfmpeg(p, pictures, frames, song, (dir / "ffmpeg.mpg").string()));
                }
            }
        }
        const long ourRss = PeakRssMb(RUSAGE_SELF);
        const double drawMs = DrawMsPerFrame(pictures, frames, p.Width, p.Height);
        std::printf(
            "%-4s %dx%d  ours %6.1f fps (%.2f cores, %ld KB)   ffmpeg -target %s %6.1f fps "
            "(%.2f cores, %ld KB)   ratio %.2f\n",
            p.Name, p.Width, p.Height, ours.Fps, ours.Cores, ours.Bytes / 1024, p.Target,
            theirs.Fps, theirs.Cores, theirs.Bytes / 1024, ours.Fps / theirs.Fps);
        std::printf(
            "     CPU per frame: ours %.2f ms (without the bench's drawing, %.2f ms), "
            "ffmpeg %.2f ms   peak RSS of the bench process %ld MB\n",
            ours.CpuMsPerFrame - drawMs, drawMs, theirs.CpuMsPerFrame, ourRss);
        std::fflush(stdout);
    }
    std::printf("peak RSS of ffmpeg's command line: %ld MB\n", PeakRssMb(RUSAGE_CHILDREN));
    fs::remove_all(dir);
    return 0;
}
