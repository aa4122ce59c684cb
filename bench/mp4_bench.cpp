// MP4 1080p against ffmpeg's command line: renders a 20-picture album (12-megapixel JPEG
// photos, 1 s dwell, random effects, titles, one MP3) through `velmora-cli make --preset
// mp4-1080p`, then encodes the same number of 1920 x 1080 frames (the composed pictures
// joined by blends) with the same song twice: through our media layer alone, and with ffmpeg's
// command line given the same raw frames and the same encoder settings (H264Settings()).
// Prints the wall times and the ratios. Goal: the render at most 1.1 x ffmpeg's encode.
//
// The photos are made once by ImageMagick and kept in velmora-bench-data/ of the temporary
// folder, shared with production_bench.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchAlbum.h"
#include "production/MclHdPreset.h"

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::bench;

namespace {

constexpr int PictureCount = 20;
constexpr int Dwell = 1;
constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr double Goal = 1.1;

/// ffmpeg's command line with the settings of the HD presets, reading raw BGR frames.
std::vector<std::string> FfmpegCommand(const std::string& song, double seconds,
                                       const std::string& out) {
    const mcl::TH264Settings& s = mcl::H264Settings();
    std::vector<std::string> command = FfmpegRawInput(Width, Height, song);
    command.insert(command.end(), {"-vf",
                                   "scale=out_color_matrix=bt709:out_range=tv",
                                   "-c:v",
                                   "libx264",
                                   "-preset",
                                   s.Speed,
                                   "-tune",
                                   s.Tune,
                                   "-crf",
                                   std::to_string(s.Crf),
                                   "-profile:v",
                                   s.Profile,
                                   "-level",
                                   s.Level,
                                   "-maxrate",
                                   std::to_string(s.MaxRate),
                                   "-bufsize",
                                   std::to_string(s.BufferSize),
                                   "-g",
                                   std::to_string(s.Gop),
                                   "-pix_fmt",
                                   "yuv420p",
                                   "-colorspace",
                                   "bt709",
                                   "-color_primaries",
                                   "bt709",
                                   "-color_trc",
                                   "bt709",
                                   "-c:a",
                                   "aac",
                                   "-b:a",
                                   std::to_string(s.AudioBitRate),
                                   "-ar",
                                   "48000",
                                   "-ac",
                                   "2",
                                   "-movflags",
                                   "+faststart",
                                   "-t",
                                   std::to_string(seconds),
                                   out});
    return command;
}

}  // namespace

int main() {
    try {
        const fs::path data = BenchDataFolder();
        const fs::path work =
            fs::temp_directory_path() / ("velmora-mp4-bench-" + std::to_string(::getpid()));
        MakeBenchData(data, PictureCount);
        const std::string root = MakeBenchStore(work / "store", data, PictureCount, Dwell);
        const std::int64_t totalFrames = PictureCount * (51 + Dwell * 25) + 2;

        const fs::path made = work / "made.mp4";
        const TChildRun render =
            RunChild({VELMORA_CLI_PATH, "--store", root, "make", "Bench", "--preset", "mp4-1080p",
                      "--out", made.string(), "--seed", "1"});
        Check(render, "velmora-cli make");

        const std::vector<Bitmap> pictures =
            ComposeBenchPictures(data, PictureCount, Width, Height);
        const std::string song = (data / "M0.mp3").string();
        TFrameFeed layerFeed(pictures, totalFrames, Dwell);
        const double layerSeconds = EncodeWithMediaLayer(
            layerFeed, song, (work / "layer.mp4").string(), MclPresetMp4_1080p);

        TFrameFeed feed(pictures, totalFrames, Dwell);
        const TChildRun reference =
            RunChild(FfmpegCommand(song, double(totalFrames) / 25, (work / "ffmpeg.mp4").string()),
                     [&](FILE* out) { feed.WriteRaw(out); });
        Check(reference, "ffmpeg libx264");

        std::printf("frames                         %lld (20 pictures, %d s dwell, MP4 1080p)\n",
                    static_cast<long long>(totalFrames), Dwell);
        std::printf("velmora-cli make               %8.2f s  %6.1f fps  %6.1f MB\n", render.Seconds,
                    totalFrames / render.Seconds, double(fs::file_size(made)) / 1e6);
        std::printf("media layer alone, same frames %8.2f s  %6.1f fps\n", layerSeconds,
                    totalFrames / layerSeconds);
        std::printf("ffmpeg libx264, same frames    %8.2f s  %6.1f fps\n", reference.Seconds,
                    totalFrames / reference.Seconds);
        std::printf("ratio make / ffmpeg            %8.2f   (goal <= %.2f)\n",
                    render.Seconds / reference.Seconds, Goal);
        std::printf("ratio media layer / ffmpeg     %8.2f\n", layerSeconds / reference.Seconds);
        std::printf("peak memory of the render      %8.1f MB\n", render.PeakKilobytes / 1024.0);
        fs::remove_all(work);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mp4_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
