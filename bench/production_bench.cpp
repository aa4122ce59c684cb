// Whole production against pure encoding: renders a 20-picture DVD album (12-megapixel JPEG
// photos, 3 s dwell, random effects, titles, one MP3) through `velmora-cli make`, then encodes
// the same number of 720 x 576 frames (composed pictures joined by blends) with the same song
// twice: through our media layer alone, and with ffmpeg's command line (-target pal-dvd).
// Prints the wall times, the ratios and the peak memory of the render.
// Goal: production at most 1.3 x the pure encode, peak memory under 300 MB.
//
// The photos are made once by ImageMagick and kept in velmora-bench-data/ of the temporary
// folder (about 80 MB), so later runs start at once.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "effects/EffectHelpers.h"
#include "production/ComposePicture.h"
#include "production/Mcl.h"
#include "store/Pub.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int PictureCount = 20;
constexpr int Dwell = 3;
constexpr int PhotoWidth = 4000;
constexpr int PhotoHeight = 3000;

struct TChildRun {
    int Status = -1;
    double Seconds = 0;
    double CpuSeconds = 0;  // user + system time of the child
    long PeakKilobytes = 0;
};

/// Runs argv; when feed is given, the child's stdin is a pipe that feed writes to.
TChildRun RunChild(const std::vector<std::string>& argv,
                   const std::function<void(FILE*)>& feed = {}) {
    int pipeFds[2] = {-1, -1};
    if (feed && ::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (feed) {
            ::dup2(pipeFds[0], 0);
            ::close(pipeFds[0]);
            ::close(pipeFds[1]);
        } else {
            // The render's progress bar and report would drown the figures.
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::close(null);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        _exit(127);
    }
    if (feed) {
        ::close(pipeFds[0]);
        FILE* out = ::fdopen(pipeFds[1], "wb");
        feed(out);
        std::fclose(out);
    }
    TChildRun run;
    struct rusage usage {};
    ::wait4(pid, &run.Status, 0, &usage);
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.PeakKilobytes = usage.ru_maxrss;
    run.CpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return run;
}

void Check(const TChildRun& run, const std::string& what) {
    if (!WIFEXITED(run.Status) || WEXITSTATUS(run.Status) != 0) {
        throw std::runtime_error(what + " failed");
    }
}

/// Makes the photos and the song once: a detailed 12-megapixel base photo (plasma fractal with
/// noise, like a real camera picture in JPEG size) and its variations.
void MakeData(const fs::path& data) {
    fs::create_directories(data);
    const fs::path base = data / "base.png";
    if (!fs::exists(base)) {
        std::cout << "making the photos with ImageMagick (once)..." << std::endl;
        Check(RunChild({"convert", "-size", "1000x750", "-seed", "5", "plasma:fractal", "-resize",
                        "4000x3000!", "-attenuate", "0.3", "+noise", "Gaussian", base.string()}),
              "convert");
    }
    for (int i = 0; i < PictureCount; ++i) {
        const fs::path photo = data / ("P" + std::to_string(i) + ".jpg");
        if (fs::exists(photo)) continue;
        Check(RunChild({"convert", base.string(), "-roll",
                        "+" + std::to_string(i * 190) + "+" + std::to_string(i * 130), "-modulate",
                        std::to_string(80 + i * 2) + ",100," + std::to_string(60 + i * 4),
                        "-quality", "92", photo.string()}),
              "convert");
    }
    const fs::path song = data / "M0.mp3";
    if (!fs::exists(song)) {
        Check(RunChild({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        "sine=frequency=330:duration=100", "-ac", "2", "-ar", "44100", "-c:a",
                        "libmp3lame", "-b:a", "192k", song.string()}),
              "ffmpeg song");
    }
}

/// A store with one album "Bench" whose files are links to the bench data.
std::string MakeStore(const fs::path& root, const fs::path& data) {
    fs::remove_all(root);
    TAlbumStore store;
    store.RootPath = root.string() + "/";
    store.Albums.resize(1);
    store.Albums[0].Name.SetText("Bench");
    store.AlbumCount = 1;
    store.AlbumPath = store.RootPath + "Bench/";
    fs::create_directories(store.AlbumPath);
    for (int i = 0; i < PictureCount; ++i) {
        const std::string name = "P" + std::to_string(i) + ".jpg";
        // Copies: the store does not follow links for its stored files.
        fs::copy_file(data / name, store.AlbumPath + name);
        TPicInfo pic;
        pic.Dwell = Dwell;
        pic.Effect = 0;
        pic.Title.SetText("第 " + std::to_string(i + 1) + " 张 Picture " + std::to_string(i + 1));
        pic.StoredName.SetText(name);
        store.Pics.push_back(pic);
    }
    fs::copy_file(data / "M0.mp3", store.AlbumPath + "M0.mp3");
    TMusicInfo music;
    music.PlayTime = 100;
    music.StoredName.SetText("M0.mp3");
    store.Musics.push_back(music);
    store.PicCount = PictureCount;
    store.MusicCount = 1;
    store.SaveRecords("");
    return store.RootPath;
}

/// The frames of the reference encodes: for every picture the opening repeat, a 50-frame blend
/// from the previous picture and the still frames, from pictures composed beforehand.
class TFrameFeed {
public:
    TFrameFeed(const std::vector<Bitmap>& pictures, std::int64_t frames)
        : FPictures(pictures), FFrames(frames), FCurrent(720, 576) {}

    /// The next frame, or nullptr after the last.
    const Bitmap* Next() {
        if (FDone >= FFrames) return nullptr;
        ++FDone;
        if (FDone == 1 || FPicture >= FPictures.size()) return &FCurrent;
        const Bitmap& picture = FPictures[FPicture];
        if (FPhase >= 1 && FPhase <= 50) BlendBitmaps(FCurrent, picture, 2 * FPhase);
        if (FPhase == 51) FCurrent = picture;
        if (++FPhase == 51 + Dwell * 25) {
            FPhase = 0;
            ++FPicture;
        }
        return &FCurrent;
    }

private:
    const std::vector<Bitmap>& FPictures;
    std::int64_t FFrames;
    std::int64_t FDone = 0;
    std::size_t FPicture = 0;
    int FPhase = 0;
    Bitmap FCurrent;
};

/// Encodes the feed's frames and the song through the media layer alone, in this process.
double EncodeWithMediaLayer(TFrameFeed& feed, const std::string& song, const std::string& out) {
    MclHandle h = MclCreate();
    MclAssignVideoSource(*h, [&feed](TMclSource& source, int) {
        if (const Bitmap* frame = feed.Next()) {
            MclSourceSetDIB(source, *frame);
        } else {
            MclSourceFinished(source);
        }
    });
    MclAssignAudioSource(*h, [&song](TMclSource& source, int index) {
        if (index == 0) {
            MclSourceSetFile(source, song);
        } else {
            MclSourceFinished(source);
        }
    });
    MclVideoSetFileName(*h, out);
    MclAudioSetFileName(*h, out);
    MclEnableMPEG2();
    MclSetFormatPreset(*h, MclPresetDvd, 0);
    MclVideoSetKeepDuration(*h, -1);
    const TMclResult result = MclConvert(*h);
    MclFree(h);
    if (!result.Ok) throw std::runtime_error("media layer: " + result.Message);
    return result.Seconds;
}

}  // namespace

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    try {
        const fs::path data = fs::temp_directory_path() / "velmora-bench-data";
        const fs::path work =
            fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
        MakeData(data);
        const std::string root = MakeStore(work / "store", data);
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

        std::vector<Bitmap> pictures;
        TFrameComposer composer(720, 576, {});
        for (int i = 0; i < PictureCount; ++i) {
            pictures.emplace_back();
            composer.ComposePicture((data / ("P" + std::to_string(i) + ".jpg")).string(),
                                    pictures.back());
        }
        TFrameFeed layerFeed(pictures, totalFrames);
        const double layerSeconds = EncodeWithMediaLayer(layerFeed, (data / "M0.mp3").string(),
                                                         (work / "layer.mpg").string());

        const fs::path encoded = work / "ffmpeg.mpg";
        TFrameFeed feed(pictures, totalFrames);
        const TChildRun reference = RunChild(
            {"ffmpeg",
             "-v",
             "error",
             "-y",
             "-f",
             "rawvideo",
             "-pix_fmt",
             "bgr24",
             "-s",
             "720x576",
             "-r",
             "25",
             "-i",
             "-",
             "-i",
             (data / "M0.mp3").string(),
             "-map",
             "0:v",
             "-map",
             "1:a",
             "-target",
             "pal-dvd",
             "-aspect",
             "4:3",
             "-t",
             std::to_string(double(totalFrames) / 25),
             encoded.string()},
            [&](FILE* out) {
                while (const Bitmap* frame = feed.Next()) {
                    for (int y = 0; y < frame->Height(); ++y) {
                        std::fwrite(frame->Row(y), 1, std::size_t(frame->Width()) * 3, out);
                    }
                }
            });
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
