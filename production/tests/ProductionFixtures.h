#pragma once
// Fixtures of the production tests, made at test time by independent tools: pictures by
// ImageMagick, songs by ffmpeg's command line; and readers of the rendered files through
// ffprobe and ffmpeg's command line.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora::test {

/// MakeJpeg at quality 95, the production tests' pictures.
void MakePicture(const std::string& path, int width, int height, const std::string& pattern);
/// MakeMp3 at 128 kbit/s, the production tests' songs.
void MakeSong(const std::string& path, int seconds);

/// One picture of a test album.
struct TTestPicture {
    std::string StoredName;
    int Dwell = 1;
    int Effect = 1;
    std::string Title;
};

/// An album "Test" in a store rooted at root: its folder, catalogue entry and records (also
/// written to disk, so the command line can open it). Pictures and songs must be made in
/// store.AlbumPath by the caller.
TAlbumStore MakeStore(const std::string& root, const std::vector<TTestPicture>& pictures,
                      const std::vector<std::pair<std::string, int>>& songs);

/// What ffprobe says of a file's first video stream.
struct TProbe {
    int Frames = -1;       ///< decoded frames
    double Duration = -1;  ///< container duration in seconds
    int Width = 0;
    int Height = 0;
    std::string Codec;
};
TProbe ProbeVideo(const std::string& path);

/// Decodes frame n (0-based) of a video, scaled to width x height, as a bitmap.
Bitmap ReadVideoFrame(const std::string& path, int n, int width, int height);

/// Peak signal-to-noise ratio of two bitmaps of the same size over all channels of the rows
/// firstRow to lastRow - 1 (all rows by default), in dB (100 for identical bitmaps).
double Psnr(const Bitmap& a, const Bitmap& b, int firstRow = 0, int lastRow = -1);

}  // namespace velmora::test
