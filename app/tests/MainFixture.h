#pragma once
// A main window over a store in a temporary folder, with the window services and the audio
// library replaced by the tests' own: albums are made through the core, pictures are small
// BMP files, songs are files the fake audio library knows by name.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <memory>

#include "app/MainWidgets.h"
#include "app/PicturePreview.h"
#include "app/UnitMain.h"
#include "audio/ui/KivMp3PlayWidget.h"
#include "audio/tests/FakeBass.h"
#include "imaging/Bitmap.h"
#include "store/Catalogue.h"
#include "store/Pub.h"
#include "tests/FakeServices.h"
#include "tests/TestSupport.h"

namespace velmora::test {

class MainFixture : public ::testing::Test {
protected:
    TempDir Dir;
    std::string RootDir = Dir.Dir();  ///< the store root, a folder of Dir
    TAlbumStore Store;
    TFakeServices Services;
    TFakeBass Bass;
    std::unique_ptr<ui::TFrmMain> Window;

    /// Creates an album with `pics` pictures (w x h BMP files P<i>.bmp, remark "pic<i>") and
    /// `songs` songs (M<i>.mp3, known to the fake audio library). Returns its index.
    int AddAlbum(const std::string& name, int pics, int songs, int w = 40, int h = 30) {
        Store.RootPath = RootDir;
        CreateAlbum(Store, name);
        const int index = Store.AlbumCount - 1;
        Store.OpenAlbum(index);
        for (int i = 0; i < pics; ++i) {
            Bitmap picture;
            picture.SetSize(w, h);
            picture.FillRgb(0x204060 + 0x10 * i);
            const std::string file = "P" + std::to_string(i) + ".bmp";
            picture.WriteBmp(Store.AlbumPath + file);
            TPicInfo pic;
            pic.Dwell = 3 + i;
            pic.Remark.SetText("pic" + std::to_string(i));
            pic.StoredName.SetText(file);
            Store.Pics.push_back(pic);
        }
        Store.PicCount = pics;
        for (int i = 0; i < songs; ++i) {
            const std::string file = "M" + std::to_string(i) + ".mp3";
            WriteText(Store.AlbumPath + file, "not really an mp3");
            Bass.Files[Store.AlbumPath + file] = {4 * 44100 * 60, 960000, 44100};
            TMusicInfo song;
            song.PlayTime = 60;
            song.SongName.SetText("song" + std::to_string(i));
            song.StoredName.SetText(file);
            Store.Musics.push_back(song);
        }
        Store.MusicCount = songs;
        Store.SaveRecords("P");
        Store.SaveRecords("M");
        return index;
    }

    ui::TFrmMain& Open() {
        Store = TAlbumStore{};
        Store.RootPath = RootDir;
        Window = std::make_unique<ui::TFrmMain>(Store, Services, Bass);
        // The tests tick the player themselves.
        Window->KivMp3Play1->SetTimerEnabledForTests(false);
        return *Window;
    }

    ui::TFrmMain& W() { return *Window; }
    int Selected(const QTableView* list) { return ui::TFrmMain::SelectedRow(list); }
    QString AlbumPath() const { return QString::fromStdString(Store.AlbumPath); }
};

}  // namespace velmora::test
