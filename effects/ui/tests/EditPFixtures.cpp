#include "effects/ui/tests/EditPFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "effects/EffectTable.h"
#include "store/Catalogue.h"
#include "store/PictureImport.h"

namespace velmora::test {

void TTestEditPHost::RefreshPictureRow(int index) {
    const TPicInfo& pic = FStore.Pics.at(std::size_t(index));
    Refreshed.emplace_back(index, QStringList{QString::number(pic.Dwell),
                                              QString::fromStdString(EffectName(pic.Effect)),
                                              QString::fromStdString(pic.Title.Text()),
                                              QString::fromStdString(pic.Remark.Text())});
}

void TTestEditPHost::SetPictureDwellText(int index, const QString& text) {
    DwellTexts.emplace_back(index, text);
}

TEditPStore::TEditPStore(const std::vector<std::string>& colours, int width, int height) {
    Store.RootPath = FDir.Dir();
    CreateAlbum(Store, "测试相册");
    Store.OpenAlbum(0);
    std::filesystem::create_directories(FDir / "source");
    std::vector<std::string> files;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::string path = (FDir / "source" / ("pic" + std::to_string(i) + ".bmp")).string();
        std::string err;
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        EXPECT_EQ(RunProgram({"convert", "-size", size,
                              (colours[i].find(':') == std::string::npos ? "xc:" + colours[i]
                                                                         : colours[i]),
                              path},
                             nullptr, &err),
                  0)
            << err;
        files.push_back(path);
    }
    const TImportResult result = ImportPictures(Store, files);
    EXPECT_EQ(result.Imported, int(colours.size()));
    Store.PicIndex = 0;
}

std::vector<std::uint8_t> TEditPStore::PicInfoBytes() const {
    return ReadBytes(Store.AlbumPath + "PicInfo");
}

std::vector<TPicInfo> TEditPStore::RecordsOnDisk() const {
    TAlbumStore fresh;
    fresh.RootPath = Store.RootPath;
    fresh.AlbumPath = Store.AlbumPath;
    fresh.LoadRecords("P");
    fresh.Pics.resize(std::size_t(fresh.PicCount));
    return fresh.Pics;
}

QImage AsImage(const Bitmap& bitmap) {
    return bitmap.ToQImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace velmora::test
