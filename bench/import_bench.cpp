// Picture import speed: twenty 12-megapixel JPEG photos imported into an empty album (decode,
// media layer round trip, JPEG at quality 90, records saved), against libjpeg-turbo's own
// command line tools doing the same work on the same files, one after the other in one run:
// djpeg to a PPM file, then cjpeg -quality 90. Prints seconds per photo and the ratio.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "imaging/JpegCodec.h"
#include "store/PictureImport.h"
#include "store/Pub.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

constexpr int PhotoCount = 20;
constexpr int PhotoWidth = 4000;
constexpr int PhotoHeight = 3000;

/// A photo-like picture: smooth colour fields with grain, different for every seed.
Bitmap MakePhoto(std::uint32_t seed) {
    Bitmap photo(PhotoWidth, PhotoHeight);
    std::uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < PhotoHeight; ++y) {
        std::uint8_t* row = photo.Row(y);
        for (int x = 0; x < PhotoWidth; ++x, row += 3) {
            state = state * 134775813u + 1;
            const int grain = int(state >> 28) - 8;
            const int fx = (x * 255) / PhotoWidth;
            const int fy = (y * 255) / PhotoHeight;
            auto clamp = [](int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            row[0] = clamp(fx / 2 + fy / 3 + int(seed * 11 % 60) + grain);
            row[1] = clamp(255 - fy + ((x / 37 + y / 53) % 5) * 6 + grain);
            row[2] = clamp(fx + grain);
        }
    }
    return photo;
}

std::vector<std::string> PreparePhotos(const fs::path& folder) {
    fs::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < PhotoCount; ++i) {
        const fs::path path = folder / ("photo" + std::to_string(i) + ".jpg");
        if (!fs::exists(path)) WriteJpegFile(MakePhoto(std::uint32_t(i)), path.string(), 92);
        paths.push_back(path.string());
    }
    return paths;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double ImportAll(const std::vector<std::string>& photos, const fs::path& work) {
    const fs::path album = work / "album";
    fs::remove_all(album);
    fs::create_directories(album);
    TAlbumStore store;
    store.RootPath = work.string() + "/";
    store.AlbumPath = album.string() + "/";
    const auto start = std::chrono::steady_clock::now();
    const TImportResult result = ImportPictures(store, photos);
    const double seconds = Seconds(start);
    if (result.Imported != int(photos.size())) {
        std::cerr << "import_bench: only " << result.Imported << " photos imported\n";
        std::exit(1);
    }
    return seconds;
}

double ToolsAll(const std::vector<std::string>& photos, const fs::path& work) {
    const fs::path out = work / "tools";
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string ppm = (out / "frame.ppm").string();
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < photos.size(); ++i) {
        const std::string jpg = (out / ("P" + std::to_string(i) + ".jpg")).string();
        const std::string command = "djpeg -outfile '" + ppm + "' '" + photos[i] +
                                    "' && cjpeg -quality 90 -outfile '" + jpg + "' '" + ppm + "'";
        if (std::system(command.c_str()) != 0) {
            std::cerr << "import_bench: djpeg/cjpeg failed (package libjpeg-turbo-progs)\n";
            std::exit(1);
        }
    }
    return Seconds(start);
}

}  // namespace

int main() {
    const fs::path base = fs::temp_directory_path() / "velmora-import-bench";
    std::cout << "preparing " << PhotoCount << " photos of " << PhotoWidth << " x " << PhotoHeight
              << " in " << base << "\n";
    const std::vector<std::string> photos = PreparePhotos(base / "photos");
    const fs::path work = base / "work";
    // One warm-up import so that both sides read the photos from the page cache.
    ImportAll({photos.front()}, work);
    const double ours = ImportAll(photos, work) / PhotoCount;
    const double tools = ToolsAll(photos, work) / PhotoCount;
    std::cout << std::fixed << std::setprecision(3);
    std::cout << "import (velmora)         " << ours << " s per photo\n";
    std::cout << "djpeg + cjpeg -quality 90 " << tools << " s per photo\n";
    std::cout << "ratio velmora / tools     " << std::setprecision(2) << ours / tools
              << " (goal <= 1.20)\n";
    fs::remove_all(work);
    return 0;
}
