// The music import dialog over real MP3 files made by lame and ffmpeg, measured by the real
// audio engine on SDL's silent driver: records with play time, song name, singer and remark,
// a file that cannot be read skipped and named in one notice afterwards, and Cancel during
// the first of four files. Timers are driven by calling their handler.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "audio/ui/UnitAddM.h"
#include "store/Catalogue.h"
#include "store/Pub.h"
#include "tests/FakeServices.h"
#include "tests/TestSupport.h"

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;

QString Fixture(const std::string& name) {
    return QString::fromStdString(test::SourcePath("audio/tests/data/" + name).string());
}

struct TAddMFixture : ::testing::Test {
    test::TempDir Dir;
    TAlbumStore Store;
    test::TFakeServices Services;

    void SetUp() override {
        Store.RootPath = Dir.Dir();
        CreateAlbum(Store, "音乐相册");
        Store.OpenAlbum(0);
    }
    std::vector<TMusicInfo> Saved() {
        TAlbumStore reader;
        reader.RootPath = Store.RootPath;
        reader.AlbumPath = Store.AlbumPath;
        reader.LoadRecords("M");
        return {reader.Musics.begin(), reader.Musics.begin() + reader.MusicCount};
    }
};

TEST_F(TAddMFixture, CopiesMeasuresAndTagsEachFileAndSkipsAnUnreadableOne) {
    const QString missing = QString::fromStdString((Dir / "gone.mp3").string());
    const QStringList files = {Fixture("tag_id3v1.mp3"), missing, Fixture("short_1s.mp3")};
    TFrmAddM dialog(Store, Services, files);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导入音乐"));
    EXPECT_EQ(dialog.size(), QSize(434, 125));
    dialog.show();
    EXPECT_EQ(dialog.Timer1->interval(), 1000);
    QStringList captions;
    dialog.AfterEventsForTests = [&](int) {
        captions << dialog.Label1->text() + " " + dialog.CurrentPath().section('/', -1);
    };
    dialog.Timer1Timer();
    EXPECT_EQ(captions, (QStringList{QString::fromUtf8("正在导入文件：（1/3） tag_id3v1.mp3"),
                                     QString::fromUtf8("正在导入文件：（2/3） gone.mp3"),
                                     QString::fromUtf8("正在导入文件：（3/3） short_1s.mp3")}));
    EXPECT_FALSE(dialog.isVisible());

    const std::vector<TMusicInfo> saved = Saved();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].StoredName.Text(), "M0.mp3");
    EXPECT_EQ(saved[0].SongName.Text(), "tag_id3v1.mp3");
    EXPECT_EQ(saved[0].PlayTime, 3);  // 3.03 s by ffprobe
    EXPECT_EQ(saved[0].Singer.Text(), "Fixture Artist");
    EXPECT_EQ(saved[0].Remark.Text(), "a comment");
    EXPECT_EQ(saved[1].StoredName.Text(), "M1.mp3");
    EXPECT_EQ(saved[1].PlayTime, 1);  // 1.04 s
    EXPECT_EQ(saved[1].Singer.Text(), "");
    EXPECT_TRUE(fs::exists(Store.AlbumPath + "M1.mp3"));
    EXPECT_FALSE(fs::exists(Store.AlbumPath + "M2.mp3"));
    EXPECT_EQ(dialog.Outcome().Skipped, QStringList{missing});
}

TEST_F(TAddMFixture, CancelDuringTheFirstOfFourImportsTheFirstTwo) {
    const QStringList files = {Fixture("short_1s.mp3"), Fixture("tag_both.mp3"),
                               Fixture("mono_48k_id3v2.mp3"), Fixture("damaged.mp3")};
    TFrmAddM dialog(Store, Services, files);
    dialog.show();
    dialog.AfterEventsForTests = [&](int position) {
        if (position == 1) {
            // Clicked while file 1 is copied: handled with the events of pass 2.
            QMetaObject::invokeMethod(dialog.Button1, &QPushButton::click, Qt::QueuedConnection);
        }
    };
    dialog.Timer1Timer();
    EXPECT_TRUE(dialog.Outcome().Cancelled);
    EXPECT_TRUE(dialog.Outcome().Result);
    const std::vector<TMusicInfo> saved = Saved();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1].SongName.Text(), "tag_both.mp3");
    EXPECT_EQ(saved[1].Singer.Text(), "Singer Two");
    EXPECT_FALSE(fs::exists(Store.AlbumPath + "M2.mp3"));
    EXPECT_FALSE(dialog.isVisible());
}

int RunDriven(TAlbumStore& store, test::TFakeServices& services, const QStringList& files) {
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<TImportDialog*>(QApplication::activeModalWidget()))
            dialog->Timer1Timer();
    });
    return RunMusicImport(store, services, files, nullptr);
}

TEST_F(TAddMFixture, RunMusicImportNamesTheSkippedFilesInOneNotice) {
    // A folder chosen in place of a file cannot be copied.
    fs::create_directory(Dir / "folder.mp3");
    const QString folder = QString::fromStdString((Dir / "folder.mp3").string());
    EXPECT_EQ(RunDriven(Store, Services, {folder, Fixture("short_1s.mp3")}), 1);
    ASSERT_EQ(Services.Prompts.size(), 1);
    EXPECT_EQ(Services.Prompts[0].Text,
              QString::fromUtf8("有1个文件无法导入，已跳过：\n") + folder);
    EXPECT_EQ(Services.Prompts[0].Caption, QString::fromUtf8("提示"));

    // A damaged MP3 is still copied and recorded, as every readable file is.
    Services.Prompts.clear();
    EXPECT_EQ(RunDriven(Store, Services, {Fixture("damaged.mp3")}), 1);
    EXPECT_TRUE(Services.Prompts.isEmpty());
    EXPECT_EQ(Saved().size(), 2u);
}

}  // namespace
}  // namespace velmora::ui
