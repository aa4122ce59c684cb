// The picture import dialog over real files made by ImageMagick: the captions and progress
// per file, a damaged file skipped and named in one notice afterwards, Cancel handled between
// files with the described timing, the records saved also after a cancel, and neither Esc,
// Enter nor closing ending an import. Timers are driven by calling their handler.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "store/Catalogue.h"
#include "store/Pub.h"
#include "store/ui/UnitAddP.h"
#include "tests/FakeServices.h"
#include "tests/TestSupport.h"

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;

// One album "旅行" made current, and picture files made by ImageMagick beside the store.
struct TAddPFixture : ::testing::Test {
    test::TempDir Dir;
    TAlbumStore Store;
    test::TFakeServices Services;

    void SetUp() override {
        fs::create_directory(Dir / "store");
        fs::create_directory(Dir / "in");
        Store.RootPath = (Dir / "store").string() + "/";
        CreateAlbum(Store, "旅行");
        Store.OpenAlbum(0);
    }
    QString Make(const std::string& name, const std::string& pattern) {
        const std::string path = (Dir / "in" / name).string();
        EXPECT_EQ(test::RunProgram({"convert", "-size", "64x48", pattern, path}), 0) << name;
        return QString::fromStdString(path);
    }
    QString Damaged(const std::string& name) {
        const fs::path path = Dir / "in" / name;
        std::vector<std::uint8_t> bytes(3000);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 37 + 11);
        test::WriteBytes(path, bytes);
        return QString::fromStdString(path.string());
    }
    std::vector<std::string> SavedRemarks() {
        TAlbumStore reader;
        reader.RootPath = Store.RootPath;
        reader.AlbumPath = Store.AlbumPath;
        reader.LoadRecords("P");
        std::vector<std::string> remarks;
        for (int i = 0; i < reader.PicCount; ++i) remarks.push_back(reader.Pics[i].Remark.Text());
        return remarks;
    }
    bool Stored(const std::string& name) { return fs::exists(Store.AlbumPath + name); }
};

TEST_F(TAddPFixture, ShowsEachFileSkipsTheDamagedOneAndSaves) {
    const QStringList files = {Make("A.bmp", "gradient:red-blue"), Damaged("B.jpg"),
                               Make("C.jpg", "plasma:fractal")};
    TFrmAddP dialog(Store, Services, files);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导入图片"));
    EXPECT_EQ(dialog.size(), QSize(434, 125));
    EXPECT_EQ(dialog.Label1->text(), QString::fromUtf8("正在导入文件："));
    EXPECT_EQ(dialog.Button1->text(), QString::fromUtf8("取消"));
    EXPECT_FALSE(dialog.Timer1->isActive());
    dialog.show();
    EXPECT_TRUE(dialog.Timer1->isActive());
    EXPECT_EQ(dialog.Timer1->interval(), 1000);

    QStringList seen;
    dialog.AfterEventsForTests = [&](int) {
        seen << dialog.Label1->text() + " " + QString::number(dialog.ProgressBar1->value()) + "/" +
                    QString::number(dialog.ProgressBar1->maximum()) + " " +
                    dialog.CurrentPath().section('/', -1);
        EXPECT_TRUE(dialog.isVisible());
    };
    dialog.Timer1Timer();
    EXPECT_FALSE(dialog.Timer1->isActive());
    EXPECT_EQ(seen, (QStringList{QString::fromUtf8("正在导入文件：（1/3） 1/3 A.bmp"),
                                 QString::fromUtf8("正在导入文件：（2/3） 2/3 B.jpg"),
                                 QString::fromUtf8("正在导入文件：（3/3） 3/3 C.jpg")}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(SavedRemarks(), (std::vector<std::string>{"A.bmp", "C.jpg"}));
    EXPECT_TRUE(Stored("P0.jpg"));
    EXPECT_TRUE(Stored("P1.jpg"));
    EXPECT_FALSE(Stored("P2.jpg"));
    EXPECT_TRUE(dialog.Outcome().Result);
    EXPECT_EQ(dialog.Outcome().Imported, 2);
    EXPECT_EQ(dialog.Outcome().Skipped, QStringList{files[1]});
}

TEST_F(TAddPFixture, CancelDuringTheFirstOfFourIsSeenInTheSecondPass) {
    const QStringList files = {Make("1.jpg", "xc:red"), Make("2.jpg", "xc:green"),
                               Make("3.jpg", "xc:blue"), Make("4.jpg", "xc:white")};
    TFrmAddP dialog(Store, Services, files);
    dialog.show();
    QStringList captions;
    dialog.AfterEventsForTests = [&](int position) {
        captions << dialog.Label1->text();
        // The click arrives while file 1 is being converted: it waits in the queue until
        // the events of pass 2 are processed, so file 2 is still imported.
        if (position == 1) {
            QMetaObject::invokeMethod(dialog.Button1, &QPushButton::click, Qt::QueuedConnection);
        }
    };
    dialog.Timer1Timer();
    EXPECT_EQ(dialog.CancelTag(), 1);
    EXPECT_EQ(captions, (QStringList{QString::fromUtf8("正在导入文件：（1/4）"),
                                     QString::fromUtf8("正在导入文件：（2/4）")}));
    EXPECT_TRUE(dialog.Outcome().Cancelled);
    EXPECT_TRUE(dialog.Outcome().Result);
    EXPECT_EQ(SavedRemarks(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
    EXPECT_FALSE(Stored("P2.jpg"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Services.Prompts.isEmpty());
}

TEST_F(TAddPFixture, EscEnterAndClosingDoNotEndAnImport) {
    const QStringList files = {Make("1.jpg", "xc:red"), Make("2.jpg", "xc:green")};
    TFrmAddP dialog(Store, Services, files);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);  // before the start: the dialog stays
    QTest::keyClick(dialog.Button1, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.CancelTag(), 0);
    dialog.AfterEventsForTests = [&](int position) {
        if (position != 1) return;
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Enter);
        dialog.close();
        dialog.reject();
        EXPECT_TRUE(dialog.isVisible());
    };
    dialog.Timer1Timer();
    EXPECT_EQ(SavedRemarks(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(TAddPFixture, ClosingBeforeTheStartImportsAndSavesNothing) {
    const QStringList files = {Make("1.jpg", "xc:red")};
    fs::remove(Store.AlbumPath + "PicInfo");
    TFrmAddP dialog(Store, Services, files);
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.Timer1->isActive());
    dialog.Timer1Timer();  // a late tick does nothing either
    EXPECT_FALSE(fs::exists(Store.AlbumPath + "PicInfo"));
    EXPECT_EQ(Store.PicCount, 0);
    EXPECT_FALSE(dialog.Outcome().Result);
}

// Runs the modal dialog, starting its import from inside the dialog's own event loop.
int RunDriven(TAlbumStore& store, test::TFakeServices& services, const QStringList& files) {
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<TImportDialog*>(QApplication::activeModalWidget()))
            dialog->Timer1Timer();
    });
    return RunPictureImport(store, services, files, nullptr);
}

TEST_F(TAddPFixture, RunPictureImportNamesTheSkippedFilesInOneNotice) {
    const QString missing = QString::fromStdString((Dir / "in" / "gone.jpg").string());
    const QStringList files = {Make("A.jpg", "xc:red"), Damaged("B.jpg"), missing};
    EXPECT_EQ(RunDriven(Store, Services, files), 1);
    // The TIFF reader, the decoder of last resort, names the damaged file while it is tried;
    // the list of skipped files follows once the dialog has closed.
    ASSERT_EQ(Services.Prompts.size(), 2);
    EXPECT_EQ(Services.Prompts[0].Caption, "Velmora");
    EXPECT_TRUE(Services.Prompts[0].Text.contains("B.jpg"));
    const TPrompt& notice = Services.Prompts[1];
    EXPECT_EQ(notice.Caption, QString::fromUtf8("提示"));
    EXPECT_EQ(notice.Icon, QMessageBox::Warning);
    EXPECT_EQ(notice.Buttons, QMessageBox::Ok);
    EXPECT_EQ(notice.Text,
              QString::fromUtf8("有2个文件无法导入，已跳过：\n") + files[1] + "\n" + missing);

    Services.Prompts.clear();
    EXPECT_EQ(RunDriven(Store, Services, {Make("C.jpg", "xc:blue")}), 1);
    EXPECT_TRUE(Services.Prompts.isEmpty());
    EXPECT_EQ(SavedRemarks(), (std::vector<std::string>{"A.jpg", "C.jpg"}));

    // An empty list still writes the records, unchanged.
    EXPECT_EQ(RunDriven(Store, Services, {}), 0);
    EXPECT_EQ(SavedRemarks(), (std::vector<std::string>{"A.jpg", "C.jpg"}));
    EXPECT_TRUE(Services.Prompts.isEmpty());
}

TEST(SkippedFilesText, ListsAtMostTheGivenNumberOfPaths) {
    EXPECT_EQ(SkippedFilesText({"/a", "/b", "/c"}, 2),
              QString::fromUtf8("有3个文件无法导入，已跳过：\n/a\n/b\n……另有1个文件"));
}

}  // namespace
}  // namespace velmora::ui
