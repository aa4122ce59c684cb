// Whole production against pure encoding: renders a 20-picture DVD album (12-megapixel JPEG
// photos, 3 s dwell, random effects, titles, one MP3) through `velmora-cli make`, then encodes
// the same number of 720 x 576 frames (composed pictures joined by blends) with the same song
// twice: through our media layer alone, and with ffmpeg's command line (-target pal-dvd).
// Prints the wall times, the ratios and the peak memory of the render.
// Goal: production at most 1.3 x the pure encode, peak memory under 300 MB.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchAlbum.h"

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::bench;

namespace {

constexpr int PictureCount = 20;
constexpr int Dwell = 3;

}  // namespace

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    try {
        const fs::path data = BenchDataFolder();
        const fs::path work =
            fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
        MakeBenchData(data, PictureCount);
        const std::string root = MakeBenchStore(work / "store", data, PictureCount, Dwell);
        const std::int64_t totalFrames = PictureCount * (51 + Dwell * 25) + 2;

        const fs::path made = work / "made.mpg";
        const TChildRun render =
            RunChild({VELMORA_CLI_PATH, "--store", root, "make", "Bench", "--preset", "dvd",
                      "--out", made.string(), "--seed", "1"});
        Check(render, "velmora-cli make");
        // The fade option softens every still frame: the same render with it.
        const TChildRun faded =
            RunChild({VELMORA_CLI_PATH, "--store", root, "make", "Bench", "--preset", "dvd",
                      "--out", (work / "faded.mpg").string(), "--seed", "1", "--fade"});
        Check(faded, "velmora-cli make --fade");

        const std::vector<Bitmap> pictures = ComposeBenchPictures(data, PictureCount, 720, 576);
        TFrameFeed layerFeed(pictures, totalFrames, Dwell);
        const double layerSeconds = EncodeWithMediaLayer(
            layerFeed, (data / "M0.mp3").string(), (work / "layer.mpg").string(), MclPresetDvd);

        const fs::path encoded = work / "ffmpeg.mpg";
        TFrameFeed feed(pictures, totalFrames, Dwell);
        std::vector<std::string> command = FfmpegRawInput(720, 576, (data / "M0.mp3").string());
        command.insert(command.end(), {"-target", "pal-dvd", "-aspect", "4:3", "-t",
                                       std::to_string(double(totalFrames) / 25), encoded.string()});
        const TChildRun reference = RunChild(command, [&](FILE* out) { feed.WriteRaw(out); });
        Check(reference, "ffmpeg -target pal-dvd");

        std::printf("frames                         %lld (20 pictures, 3 s dwell, DVD)\n",
                    static_cast<long long>(totalFrames));
        std::printf("velmora-cli make               %8.2f s  %6.1f fps\n", render.Seconds,
                    totalFrames / render.Seconds);
        std::printf("media layer alone, same frames %8.2f s  %6.1f fps\n", layerSeconds,
                    totalFrames / layerSeconds);
        std::printf("ffmpeg -target pal-dvd         %8.2f s  %6.1f fps\n", reference.Seconds,
                    totalFrames / reference.Seconds);
        std::printf("ratio make / ffmpeg            %8.2f   (goal <= 1.30)\n",
                    render.Seconds / reference.Seconds);
        std::printf("ratio make / media layer alone %8.2f   (composition, effects, titles)\n",
                    render.Seconds / layerSeconds);
        std::printf("velmora-cli make --fade        %8.2f s  %6.1f fps\n", faded.Seconds,
                    totalFrames / faded.Seconds);
        std::printf("ratio fade / no fade           %8.2f   (goal <= 1.30; CPU time %.2f)\n",
                    faded.Seconds / render.Seconds, faded.CpuSeconds / render.CpuSeconds);
        std::printf("peak memory of make            %8.1f MB (goal < 300 MB)\n",
                    render.PeakKilobytes / 1024.0);
        fs::remove_all(work);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "production_bench: %s\n", e.what());
        return 1;
    }
}
