#include "store/PictureImport.h"

#include <filesystem>

#include "base/Errors.h"
#include "imaging/JpegCodec.h"
#include "imaging/LoadPicture.h"
#include "imaging/MclImage.h"
#include "store/FileOps.h"

namespace velmora {

std::string ImportProgressCaption(int position, int count) {
    return "正在导入文件：（" + std::to_string(position) + "/" + std::to_string(count) + "）";
}

bool ConvertToJpeg(const std::string& source, const std::string& dest,
                   const MessageSink& messages) {
    try {
        Bitmap bitmap;
        MclImg img = MclImgCreate();
        LoadPictureToBitmap(source, bitmap, messages);
        if (bitmap.Empty()) return false;
        // The bitmap hands its pixels to the image and gets the round trip's new bitmap back.
        MclDIBToImg(*img, std::move(bitmap));
        bitmap = MclImgToDIB(*img);
        MclImgFree(img);
        WriteJpegFile(bitmap, dest, 90);
        return true;
    } catch (const Error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

namespace {

TPicInfo NewPictureRecord(const std::string& source, const std::string& storedName) {
    TPicInfo info;
    info.Dwell = ImportedDwell;
    info.Effect = 0;
    info.Remark.SetText(std::filesystem::path(source).filename().string());
    info.StoredName.SetText(storedName);
    return info;
}

}  // namespace

TImportResult ImportPictures(TAlbumStore& store, const std::vector<std::string>& files,
                             const TImportCallbacks& callbacks) {
    const TImportFolder folder = OpenImportFolder(store, "pictures");
    return RunImportLoop(store, files, "P", callbacks.OnProgress, callbacks.CancelRequested,
                         [&](const std::string& source) {
                             const std::string name =
                                 "P" + NextFreeNumber(folder.Dir, "P", "jpg") + ".jpg";
                             if (!ConvertToJpeg(source, folder.Dir + name, callbacks.OnMessage)) {
                                 return false;
                             }
                             store.Pics.resize(std::size_t(store.PicCount));
                             store.Pics.push_back(NewPictureRecord(source, name));
                             store.PicCount = std::int32_t(store.Pics.size());
                             return true;
                         });
}

}  // namespace velmora
