#include "store/PictureImport.h"

#include <cerrno>
#include <filesystem>

#include "base/Errors.h"
#include "base/UniqueFd.h"
#include "imaging/JpegCodec.h"
#include "imaging/LoadPicture.h"
#include "production/MclImage.h"
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
    // Nothing is written anywhere before the album folder is known to be a real folder.
    if (store.AlbumPath.empty()) throw InvalidArgument("no album is open to import pictures into");
    const TUniqueFd folder = OpenStoreFolder(store.AlbumPath);
    if (folder.Get() < 0) throw IoError("cannot open the album folder", store.AlbumPath, ENOENT);
    // Files are written through the folder's descriptor, never through a link in its place.
    const std::string albumDir = PathThroughDescriptor(folder.Get());
    TImportResult result;
    const int count = int(files.size());
    for (int i = 0; i < count; ++i) {
        result.Result = true;
        if (callbacks.CancelRequested && callbacks.CancelRequested()) {
            result.Cancelled = true;
            break;
        }
        if (callbacks.OnProgress) callbacks.OnProgress(i + 1, count, files[i]);
        const std::string name = "P" + NextFreeNumber(albumDir, "P", "jpg") + ".jpg";
        if (!ConvertToJpeg(files[i], albumDir + name, callbacks.OnMessage)) {
            result.Skipped.push_back(files[i]);
            continue;
        }
        store.Pics.resize(std::size_t(store.PicCount));
        store.Pics.push_back(NewPictureRecord(files[i], name));
        store.PicCount = std::int32_t(store.Pics.size());
        ++result.Imported;
        // Saved after every file: a killed import loses at most the file in progress, which
        // exists only under a temporary name until it is complete.
        store.SaveRecords("P");
    }
    store.SaveRecords("P");
    return result;
}

}  // namespace velmora
