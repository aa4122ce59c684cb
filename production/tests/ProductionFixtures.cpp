#include "production/tests/ProductionFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace velmora::test {

void MakePicture(const std::string& path, int width, int height, const std::string& pattern) {
    MakeJpeg(path, width, height, pattern, 95);
}

void MakeSong(const std::string& path, int seconds) { MakeMp3(path, seconds, 128); }

TAlbumStore MakeStore(const std::string& root, const std::vector<TTestPicture>& pictures,
                      const std::vector<std::pair<std::string, int>>& songs) {
    TAlbumStore store;
    store.RootPath = root;
    store.Albums.resize(1);
    store.Albums[0].Name.SetText("Test");
    store.AlbumCount = 1;
    store.AlbumIndex = 0;
    store.AlbumPath = root + "Test/";
    std::filesystem::create_directories(store.AlbumPath);
    for (const TTestPicture& picture : pictures) {
        TPicInfo info;
        info.Dwell = picture.Dwell;
        info.Effect = picture.Effect;
        info.Title.SetText(picture.Title);
        info.StoredName.SetText(picture.StoredName);
        store.Pics.push_back(info);
    }
    for (const auto& [name, seconds] : songs) {
        TMusicInfo info;
        info.PlayTime = seconds;
        info.StoredName.SetText(name);
        info.SongName.SetText("Tone " + name);
        store.Musics.push_back(info);
    }
    store.PicCount = int(store.Pics.size());
    store.MusicCount = int(store.Musics.size());
    store.SaveRecords("");
    return store;
}

TProbe ProbeVideo(const std::string& path) {
    TProbe probe;
    std::string out;
    std::string err;
    if (RunProgram({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0",
                    "-show_entries", "stream=nb_read_frames,width,height,codec_name", "-of",
                    "default=noprint_wrappers=1", path},
                   &out, &err) != 0) {
        ADD_FAILURE() << "ffprobe failed: " << err;
        return probe;
    }
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "nb_read_frames") probe.Frames = std::stoi(value);
        if (key == "width") probe.Width = std::stoi(value);
        if (key == "height") probe.Height = std::stoi(value);
        if (key == "codec_name") probe.Codec = value;
    }
    // The program streams leave out the presentation time of some packets, so the duration is
    // measured on the decoding times, which every video packet carries.
    if (RunProgram({"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                    "packet=dts_time,duration_time", "-of", "csv=p=0", path},
                   &out, &err) != 0) {
        ADD_FAILURE() << "ffprobe failed: " << err;
        return probe;
    }
    double first = -1, last = -1, frame = 0;
    std::istringstream packets(out);
    while (std::getline(packets, line)) {
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || line.compare(0, 3, "N/A") == 0) continue;
        const double dts = std::stod(line.substr(0, comma));
        if (first < 0) first = dts;
        last = dts;
        if (line.compare(comma + 1, 3, "N/A") != 0) frame = std::stod(line.substr(comma + 1));
    }
    if (first >= 0) probe.Duration = last - first + frame;
    return probe;
}

Bitmap ReadVideoFrame(const std::string& path, int n, int width, int height) {
    std::string out;
    std::string err;
    const std::string filter = "select=eq(n\\," + std::to_string(n) +
                               "),scale=" + std::to_string(width) + ":" + std::to_string(height) +
                               ":flags=bicubic";
    const int code = RunProgram({"ffmpeg", "-v", "error", "-i", path, "-vf", filter, "-vsync", "0",
                                 "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "bgr24", "-"},
                                &out, &err);
    Bitmap frame(width, height);
    if (code != 0 || out.size() != std::size_t(width) * height * 3) {
        ADD_FAILURE() << "cannot read frame " << n << " of " << path << ": " << err;
        return frame;
    }
    for (int y = 0; y < height; ++y) {
        std::copy_n(out.data() + std::size_t(y) * width * 3, width * 3,
                    reinterpret_cast<char*>(frame.Row(y)));
    }
    return frame;
}

double Psnr(const Bitmap& a, const Bitmap& b, int firstRow, int lastRow) {
    if (lastRow < 0) lastRow = a.Height();
    double sum = 0;
    for (int y = firstRow; y < lastRow; ++y) {
        for (int i = 0; i < 3 * a.Width(); ++i) {
            const double d = double(a.Row(y)[i]) - double(b.Row(y)[i]);
            sum += d * d;
        }
    }
    const double mse = sum / (3.0 * a.Width() * (lastRow - firstRow));
    return mse == 0 ? 100 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace velmora::test
