#include "production/ui/tests/MakeFixtures.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <cstdlib>
#include <filesystem>

namespace velmora::test {

TAlbumStore MakeAlbumStore(const std::string& root, const std::vector<TMakePicture>& pictures,
                           const std::vector<TMakeSong>& songs) {
    TAlbumStore store;
    store.RootPath = root;
    store.Albums.resize(1);
    store.Albums[0].Name.SetText("相册一");
    store.AlbumCount = 1;
    store.AlbumIndex = 0;
    store.AlbumPath = root + "相册一/";  // the folder of an album is its name
    std::filesystem::create_directories(store.AlbumPath);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TMakePicture& picture = pictures[i];
        TPicInfo info;
        info.Dwell = picture.Dwell;
        info.Effect = picture.Effect;
        info.Title.SetText(picture.Title);
        info.StoredName.SetText("P" + std::to_string(i) + ".jpg");
        if (picture.Width > 0) {
            MakeJpeg(store.AlbumPath + info.StoredName.Text(), picture.Width, picture.Height,
                     picture.Pattern);
        }
        store.Pics.push_back(info);
    }
    for (std::size_t i = 0; i < songs.size(); ++i) {
        TMusicInfo info;
        info.PlayTime = songs[i].PlayTime;
        info.StoredName.SetText("M" + std::to_string(i) + ".mp3");
        info.SongName.SetText("Tone " + std::to_string(i));
        if (songs[i].Real) MakeMp3(store.AlbumPath + info.StoredName.Text(), songs[i].PlayTime);
        store.Musics.push_back(info);
    }
    store.PicCount = int(store.Pics.size());
    store.PicIndex = store.PicCount > 0 ? 0 : -1;
    store.MusicCount = int(store.Musics.size());
    store.MusicIndex = store.MusicCount > 0 ? 0 : -1;
    store.SaveRecords("");
    return store;
}

TScopedHome::TScopedHome(const std::string& home) {
    if (const char* previous = std::getenv("HOME")) {
        FPrevious = previous;
        FHad = true;
    }
    ::setenv("HOME", home.c_str(), 1);
}

TScopedHome::~TScopedHome() {
    if (FHad) {
        ::setenv("HOME", FPrevious.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

void TypeFileName(QFileDialog& dialog, const QString& path) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    // As pasted: the completer's popup (which would take the typed keys) stays shut.
    edit->setText(path);
}

int CountVideoFrames(const std::string& path) {
    std::string out;
    std::string err;
    if (RunProgram({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0",
                    "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", path},
                   &out, &err) != 0) {
        ADD_FAILURE() << "ffprobe failed: " << err;
        return -1;
    }
    return std::atoi(out.c_str());
}

}  // namespace velmora::test
