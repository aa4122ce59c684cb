#pragma once
// Fixtures of the production dialog's tests: a store with one album whose pictures are made by
// ImageMagick and whose songs are made by ffmpeg's command line, a scoped home folder (which
// stands for the root of drive C), and a dialog under test with its buttons found by name.

#include <QString>

class QFileDialog;
#include <string>
#include <vector>

#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora::test {

/// One picture of a test album: a real file when Width > 0, a record alone otherwise.
struct TMakePicture {
    int Dwell = 1;
    int Effect = 1;
    std::string Title;
    int Width = 0;
    int Height = 0;
    std::string Pattern = "gradient:red-blue";  ///< ImageMagick's pattern for the picture
};

/// One song of a test album: a real MP3 of Seconds when Real, a record alone otherwise.
struct TMakeSong {
    int PlayTime = 3;
    bool Real = true;
};

/// A store rooted at root with one current album "相册一" holding these pictures and songs
/// (stored as P<n>.jpg and M<n>.mp3, records saved).
TAlbumStore MakeAlbumStore(const std::string& root, const std::vector<TMakePicture>& pictures,
                           const std::vector<TMakeSong>& songs);

// The pictures and songs are made by MakeJpeg and MakeMp3 (tests/TestSupport.h).

/// Sets HOME for its lifetime (the dialog proposes its output there).
class TScopedHome {
public:
    explicit TScopedHome(const std::string& home);
    ~TScopedHome();
    TScopedHome(const TScopedHome&) = delete;
    TScopedHome& operator=(const TScopedHome&) = delete;

private:
    std::string FPrevious;
    bool FHad = false;
};

/// Puts `path` into an open file dialog's name field, as the user does by pasting it.
void TypeFileName(QFileDialog& dialog, const QString& path);

/// Frames of a video file's first video stream as ffprobe counts them (-1 on failure).
int CountVideoFrames(const std::string& path);

}  // namespace velmora::test
