#pragma once
// The album of the render benchmarks: detailed 12-megapixel photos and a 100-second song made
// once by ImageMagick and ffmpeg into velmora-bench-data/ of the temporary folder (about 80 MB,
// so later runs start at once), a store holding them, and the frames of the reference encodes.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchChild.h"
#include "effects/EffectHelpers.h"
#include "production/ComposePicture.h"
#include "production/Mcl.h"
#include "store/Pub.h"

namespace velmora::bench {

/// The folder the photos and the song are kept in between runs.
inline std::filesystem::path BenchDataFolder() {
    return std::filesystem::temp_directory_path() / "velmora-bench-data";
}

/// Makes the photos P0.jpg .. P<count-1>.jpg (variations of a 4000 x 3000 plasma fractal with
/// noise, like a camera's JPEG) and the song M0.mp3, each only when missing.
inline void MakeBenchData(const std::filesystem::path& data, int count) {
    std::filesystem::create_directories(data);
    const std::filesystem::path base = data / "base.png";
    if (!std::filesystem::exists(base)) {
        std::cout << "making the photos with ImageMagick (once)..." << std::endl;
        Check(RunChild({"convert", "-size", "1000x750", "-seed", "5", "plasma:fractal", "-resize",
                        "4000x3000!", "-attenuate", "0.3", "+noise", "Gaussian", base.string()}),
              "convert");
    }
    for (int i = 0; i < count; ++i) {
        const std::filesystem::path photo = data / ("P" + std::to_string(i) + ".jpg");
        if (std::filesystem::exists(photo)) continue;
        Check(RunChild({"convert", base.string(), "-roll",
                        "+" + std::to_string(i * 190) + "+" + std::to_string(i * 130), "-modulate",
                        std::to_string(80 + i * 2) + ",100," + std::to_string(60 + i * 4),
                        "-quality", "92", photo.string()}),
              "convert");
    }
    const std::filesystem::path song = data / "M0.mp3";
    if (!std::filesystem::exists(song)) {
        Check(RunChild({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        "sine=frequency=330:duration=100", "-ac", "2", "-ar", "44100", "-c:a",
                        "libmp3lame", "-b:a", "192k", song.string()}),
              "ffmpeg song");
    }
}

/// A fresh store at root with one album "Bench": copies of the first count photos (the store
/// follows no link), each with the dwell, a random effect and a title, and the song. Returns
/// the store's root path.
inline std::string MakeBenchStore(const std::filesystem::path& root,
                                  const std::filesystem::path& data, int count, int dwell) {
    std::filesystem::remove_all(root);
    TAlbumStore store;
    store.RootPath = root.string() + "/";
    store.Albums.resize(1);
    store.Albums[0].Name.SetText("Bench");
    store.AlbumCount = 1;
    store.AlbumPath = store.RootPath + "Bench/";
    std::filesystem::create_directories(store.AlbumPath);
    for (int i = 0; i < count; ++i) {
        const std::string name = "P" + std::to_string(i) + ".jpg";
        std::filesystem::copy_file(data / name, store.AlbumPath + name);
        TPicInfo pic;
        pic.Dwell = dwell;
        pic.Effect = 0;
        pic.Title.SetText("第 " + std::to_string(i + 1) + " 张 Picture " + std::to_string(i + 1));
        pic.StoredName.SetText(name);
        store.Pics.push_back(pic);
    }
    std::filesystem::copy_file(data / "M0.mp3", store.AlbumPath + "M0.mp3");
    TMusicInfo music;
    music.PlayTime = 100;
    music.StoredName.SetText("M0.mp3");
    store.Musics.push_back(music);
    store.PicCount = count;
    store.MusicCount = 1;
    store.SaveRecords("");
    return store.RootPath;
}

/// The first count photos composed into width x height frames.
inline std::vector<Bitmap> ComposeBenchPictures(const std::filesystem::path& data, int count,
                                                int width, int height) {
    std::vector<Bitmap> pictures;
    TFrameComposer composer(width, height, {});
    for (int i = 0; i < count; ++i) {
        pictures.emplace_back();
        composer.ComposePicture((data / ("P" + std::to_string(i) + ".jpg")).string(),
                                pictures.back());
    }
    return pictures;
}

/// The frames of the reference encodes: for every picture the opening repeat, a 50-frame blend
/// from the previous picture and the still frames, from pictures composed beforehand.
class TFrameFeed {
public:
    TFrameFeed(const std::vector<Bitmap>& pictures, std::int64_t frames, int dwell)
        : FPictures(pictures),
          FFrames(frames),
          FDwell(dwell),
          FCurrent(pictures.at(0).Width(), pictures.at(0).Height()) {}

    /// The next frame, or nullptr after the last.
    const Bitmap* Next() {
        if (FDone >= FFrames) return nullptr;
        ++FDone;
        if (FDone == 1 || FPicture >= FPictures.size()) return &FCurrent;
        const Bitmap& picture = FPictures[FPicture];
        if (FPhase >= 1 && FPhase <= 50) BlendBitmaps(FCurrent, picture, 2 * FPhase);
        if (FPhase == 51) FCurrent = picture;
        if (++FPhase == 51 + FDwell * 25) {
            FPhase = 0;
            ++FPicture;
        }
        return &FCurrent;
    }

    /// Writes every remaining frame as raw BGR rows.
    void WriteRaw(FILE* out) {
        while (const Bitmap* frame = Next()) {
            for (int y = 0; y < frame->Height(); ++y) {
                std::fwrite(frame->Row(y), 1, std::size_t(frame->Width()) * 3, out);
            }
        }
    }

private:
    const std::vector<Bitmap>& FPictures;
    std::int64_t FFrames;
    int FDwell;
    std::int64_t FDone = 0;
    std::size_t FPicture = 0;
    int FPhase = 0;
    Bitmap FCurrent;
};

/// The start of ffmpeg's command line for the reference encodes: raw BGR frames of
/// width x height at 25 a second on standard input as the first input, the song as the second,
/// the video of the first and the sound of the second mapped. The caller adds the encoder
/// settings and the output.
inline std::vector<std::string> FfmpegRawInput(int width, int height, const std::string& song) {
    return {"ffmpeg",   "-v",
            "error",    "-y",
            "-f",       "rawvideo",
            "-pix_fmt", "bgr24",
            "-s",       std::to_string(width) + "x" + std::to_string(height),
            "-r",       "25",
            "-i",       "-",
            "-i",       song,
            "-map",     "0:v",
            "-map",     "1:a"};
}

/// Encodes the feed's frames and the song through the media layer alone, in this process, with
/// the preset; returns the layer's own time in seconds.
inline double EncodeWithMediaLayer(TFrameFeed& feed, const std::string& song,
                                   const std::string& out, int preset) {
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
    MclSetFormatPreset(*h, preset, 0);
    MclVideoSetKeepDuration(*h, -1);
    const TMclResult result = MclConvert(*h);
    MclFree(h);
    if (!result.Ok) throw std::runtime_error("media layer: " + result.Message);
    return result.Seconds;
}

}  // namespace velmora::bench
