// Speed at HD sizes: every effect through a whole transition at 1920 x 1080 (goal: at most
// 8 ms a frame for the slowest), and the composition of a 24-megapixel photo into a 1080p
// frame with the blurred fill (goal: at most 60 ms), beside the plain colour fill and the
// blurred fill alone. Figures are processor time of this thread, the best of a few runs (the
// machine may be shared; wall time would count the waits).
//
// The photo is made once by ImageMagick and kept in velmora-bench-data/ of the temporary
// folder.

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "effects/EffectRandom.h"
#include "effects/EffectTable.h"
#include "imaging/LoadPicture.h"
#include "production/BlurFill.h"
#include "production/ComposePicture.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Frames = 50;
constexpr double GoalEffectMs = 8.0;
constexpr double GoalBlurComposeMs = 60.0;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

/// The best of `runs` timings of work, in milliseconds of this thread's processor time.
double BestMs(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = CpuSeconds();
        work();
        best = std::min(best, (CpuSeconds() - start) * 1000.0);
    }
    return best;
}

// A picture with detail everywhere: smooth gradients crossed by a fine pattern.
Bitmap TestPicture(int variant) {
    Bitmap b(Width, Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const int r = (x * 255 / Width + variant * 90) & 0xFF;
            const int g = (y * 255 / Height + ((x ^ y) & 15)) & 0xFF;
            const int bl = ((x + y) * 3 + variant * 50) & 0xFF;
            b.SetRgb(x, y, std::uint32_t(r << 16 | g << 8 | bl));
        }
    }
    return b;
}

void EffectsAtFullHd() {
    const Bitmap from = TestPicture(0);
    const Bitmap to = TestPicture(1);
    const TRect frame{0, 0, Width, Height};
    Bitmap display(Width, Height);
    std::vector<std::pair<int, double>> figures;
    for (int index = 1; index <= EffectCount; ++index) {
        const TScopedSeed seed(2024);
        const double ms = BestMs(2, [&] {
            display = from;
            for (int k = 1; k <= Frames; ++k) Effects[index].Proc(display, to, frame, 5, 2 * k);
        });
        figures.push_back({index, ms / Frames});
    }
    std::sort(figures.begin(), figures.end(),
              [](const auto& a, const auto& b) { return a.second > b.second; });
    double sum = 0;
    for (const auto& f : figures) sum += f.second;
    std::printf("effects at %d x %d, ms per frame (processor time), the ten slowest:\n", Width,
                Height);
    for (std::size_t i = 0; i < 10 && i < figures.size(); ++i) {
        std::printf("  %3d %-50s %7.3f\n", figures[i].first, Effects[figures[i].first].Name,
                    figures[i].second);
    }
    std::printf("slowest effect %d: %.3f ms/frame (goal <= %.1f, ratio %.2f); mean %.3f\n",
                figures.front().first, figures.front().second, GoalEffectMs,
                figures.front().second / GoalEffectMs, sum / double(figures.size()));
}

fs::path MakePhoto() {
    const fs::path data = fs::temp_directory_path() / "velmora-bench-data";
    fs::create_directories(data);
    const fs::path photo = data / "photo24mp.jpg";
    if (fs::exists(photo)) return photo;
    std::printf("making a 6000 x 4000 photo with ImageMagick (once)...\n");
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execlp("convert", "convert", "-size", "1500x1000", "-seed", "7", "plasma:fractal",
                 "-resize", "6000x4000!", "-attenuate", "0.3", "+noise", "Gaussian", "-quality",
                 "92", photo.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("convert failed");
    return photo;
}

void BlurredCompose() {
    const fs::path photo = MakePhoto();
    Bitmap picture;
    const double decodeMs =
        BestMs(1, [&] { picture = DecodeForFrame(photo.string(), Width, Height); });
    TBackgroundFill colour;
    colour.Colour = 0x203040;
    TBackgroundFill blur = colour;
    blur.Blur = true;
    TFrameComposer plainComposer(Width, Height, colour);
    TFrameComposer blurComposer(Width, Height, blur);
    Bitmap frame;
    const double plainMs = BestMs(5, [&] { plainComposer.Compose(picture, "photo", frame); });
    const double blurMs = BestMs(5, [&] { blurComposer.Compose(picture, "photo", frame); });
    Bitmap fill;
    const double fillMs = BestMs(5, [&] { MakeBlurredFill(picture, Width, Height, fill); });
    std::printf("\n24-megapixel photo into a %d x %d frame (decoded to %d x %d in %.1f ms)\n",
                Width, Height, picture.Width(), picture.Height(), decodeMs);
    std::printf("  compose with the colour fill   %7.1f ms\n", plainMs);
    std::printf("  compose with the blurred fill  %7.1f ms (goal <= %.0f, ratio %.2f)\n", blurMs,
                GoalBlurComposeMs, blurMs / GoalBlurComposeMs);
    std::printf("  the blurred fill alone         %7.1f ms\n", fillMs);
}

}  // namespace

int main() {
    try {
        BlurredCompose();
        std::printf("\n");
        EffectsAtFullHd();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hd_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
