// MP4 1080p against ffmpeg's command line: renders a 20-picture album (12-megapixel JPEG
// photos, 1 s dwell, random effects, titles, one MP3) through `velmora-cli make --preset
// mp4-1080p`, then encodes the same number of 1920 x 1080 frames (the composed pictures
// joined by blends) with the same song twice: through our media layer alone, and with ffmpeg's
// command line given the same raw frames and the same encoder settings (H264Settings()).
// Prints the wall times and the ratios. Goal: the render at most 1.1 x ffmpeg's encode.
//
// The photos are made once by ImageMagick and kept in velmora-bench-data/ of the temporary
// folder, shared with production_bench.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchChild.h"
#include "effects/EffectHelpers.h"
#include "production/ComposePicture.h"
#include "production/Mcl.h"
#include "production/MclHdPreset.h"
#include "store/Pub.h"

namespace fs = std::filesystem;
using namespace velmora;
using bench::Check;
using bench::RunChild;

namespace {

constexpr int PictureCount = 20;
constexpr int Dwell = 1;
constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr double Goal = 1.1;

/// The photos (4000 x 3000, detailed like a camera's) and a 100-second song, made once.
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

/// A store with one album "Bench" whose files are hard links to the bench data (the store
/// follows no symbolic link).
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
        fs::create_hard_link(data / name, store.AlbumPath + name);
        TPicInfo pic;
        pic.Dwell = Dwell;
        pic.Effect = 0;
        pic.Title.SetText("第 " + std::to_string(i + 1) + " 张 Picture " + std::to_string(i + 1));
        pic.StoredName.SetText(name);
        store.Pics.push_back(pic);
    }
    fs::create_hard_link(data / "M0.mp3", store.AlbumPath + "M0.mp3");
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
/// from the previous picture and the still frames.
class TFrameFeed {
public:
    TFrameFeed(const std::vector<Bitmap>& pictures, std::int64_t frames)
        : FPictures(pictures), FFrames(frames), FCurrent(Width, Height) {}

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
    MclSetFormatPreset(*h, MclPresetMp4_1080p, 0);
    MclVideoSetKeepDuration(*h, -1);
    const TMclResult result = MclConvert(*h);
    MclFree(h);
    if (!result.Ok) throw std::runtime_error("media layer: " + result.Message);
    return result.Seconds;
}

/// ffmpeg's command line with the settings of the HD presets, reading raw BGR frames.
std::vector<std::string> FfmpegCommand(const std::string& song, double seconds,
                                       const std::string& out) {
    const mcl::TH264Settings& s = mcl::H264Settings();
    return {"ffmpeg",
            "-v",
            "error",
            "-y",
            "-f",
            "rawvideo",
            "-pix_fmt",
            "bgr24",
            "-s",
            std::to_string(Width) + "x" + std::to_string(Height),
            "-r",
            "25",
            "-i",
            "-",
            "-i",
            song,
            "-map",
            "0:v",
            "-map",
            "1:a",
            "-vf",
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
            out};
}

}  // namespace

int main() {
    try {
        const fs::path data = fs::temp_directory_path() / "velmora-bench-data";
        const fs::path work =
            fs::temp_directory_path() / ("velmora-mp4-bench-" + std::to_string(::getpid()));
        MakeData(data);
        const std::string root = MakeStore(work / "store", data);
        const std::int64_t totalFrames = PictureCount * (51 + Dwell * 25) + 2;

        const fs::path made = work / "made.mp4";
        const bench::TChildRun render =
            RunChild({VELMORA_CLI_PATH, "--store", root, "make", "Bench", "--preset", "mp4-1080p",
                      "--out", made.string(), "--seed", "1"});
        Check(render, "velmora-cli make");

        std::vector<Bitmap> pictures;
        TFrameComposer composer(Width, Height, {});
        for (int i = 0; i < PictureCount; ++i) {
            pictures.emplace_back();
            composer.ComposePicture((data / ("P" + std::to_string(i) + ".jpg")).string(),
                                    pictures.back());
        }
        const std::string song = (data / "M0.mp3").string();
        TFrameFeed layerFeed(pictures, totalFrames);
        const double layerSeconds =
            EncodeWithMediaLayer(layerFeed, song, (work / "layer.mp4").string());

        TFrameFeed feed(pictures, totalFrames);
        const bench::TChildRun reference = RunChild(
            FfmpegCommand(song, double(totalFrames) / 25, (work / "ffmpeg.mp4").string()),
            [&](FILE* out) {
                while (const Bitmap* frame = feed.Next()) {
                    for (int y = 0; y < frame->Height(); ++y) {
                        std::fwrite(frame->Row(y), 1, std::size_t(frame->Width()) * 3, out);
                    }
                }
            });
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
