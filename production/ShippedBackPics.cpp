#include "production/ShippedBackPics.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/Errors.h"
#include "production/ProductionSettings.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> ShippedPictures(const std::string& shippedFolder) {
    std::vector<fs::path> pictures;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(shippedFolder, error)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".jpg" && entry.is_regular_file(error)) pictures.push_back(entry.path());
    }
    std::sort(pictures.begin(), pictures.end());
    return pictures;
}

}  // namespace

int OfferShippedBackPics(const std::string& rootPath, const std::string& shippedFolder) {
    std::string target = BackPicFolder(rootPath);
    target.pop_back();  // no trailing "/": the folder itself is renamed into place
    std::error_code error;
    if (fs::exists(fs::symlink_status(target, error))) return 0;
    const std::vector<fs::path> pictures = ShippedPictures(shippedFolder);
    if (pictures.empty()) return 0;

    const std::string staging = target + ".new-" + std::to_string(::getpid());
    fs::remove_all(staging, error);
    if (!fs::create_directory(staging, error)) {
        throw IoError("cannot create the background picture folder", staging, error.value());
    }
    for (const fs::path& picture : pictures) {
        if (!fs::copy_file(picture, fs::path(staging) / picture.filename(), error)) {
            const int code = error.value();
            fs::remove_all(staging, error);
            throw IoError("cannot copy a background picture", picture.string(), code);
        }
    }
    fs::rename(staging, target, error);
    if (error) {
        const int code = error.value();
        fs::remove_all(staging, error);
        // Another program made the folder in the meantime: its folder stands.
        if (fs::exists(fs::symlink_status(target, error))) return 0;
        throw IoError("cannot create the background picture folder", target, code);
    }
    return static_cast<int>(pictures.size());
}

}  // namespace velmora
