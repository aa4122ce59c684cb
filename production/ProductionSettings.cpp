#include "production/ProductionSettings.h"

#include <QDir>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "imaging/Fitting.h"
#include "production/MclPreset.h"
#include "store/Pub.h"

namespace velmora {

namespace {

// One row per output type. The caption, the frame size and the codec come from the media
// layer's own row of the same preset, so the dialog, the run and the encoder read one table;
// what only the program uses (file prefix, title size and place) is added here.
TOutputPreset Row(TOutputType type, const char* prefix, int titleSize, int titleLine) {
    const mcl::TPreset& media = *mcl::FindPreset(static_cast<int>(type));
    return {type,
            media.Name,
            media.InputWidth,
            media.InputHeight,
            prefix,
            static_cast<int>(type),
            media.VideoCodec == AV_CODEC_ID_MPEG2VIDEO,
            titleSize,
            titleLine};
}

const TOutputPreset Presets[] = {
    Row(TOutputType::VCD, "VCD-", 17, 265),
    Row(TOutputType::SVCD, "SVCD-", 24, 540),
    Row(TOutputType::DVD, "DVD-", 36, 530),
    // HD: title size and line scale with the frame height from DVD's 36 and 530 at 576 lines.
    Row(TOutputType::MP4_720p, "MP4-720p-", 45, 663),
    Row(TOutputType::MP4_1080p, "MP4-1080p-", 68, 994),
};

std::string TwoDigits(std::int64_t n) {
    std::string text = std::to_string(n);
    return n < 10 ? "0" + text : text;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

const char* const SyncTooShortText = "音乐太短,无法同步!请删除部分图片或者添加音乐。";

const TOutputPreset& OutputPreset(TOutputType type) noexcept {
    return Presets[static_cast<int>(type)];
}

const char* OutputExtension(TOutputType type) noexcept {
    return type == TOutputType::MP4_720p || type == TOutputType::MP4_1080p ? "mp4" : "mpg";
}

std::optional<TOutputType> ParseOutputType(const std::string& name) {
    const std::string lower = Lower(name);
    for (const TOutputPreset& preset : Presets) {
        // The prefix without its dash is the command line's name ("mp4-720p").
        std::string prefixName = Lower(preset.Prefix);
        prefixName.pop_back();
        if (lower == Lower(preset.Caption) || lower == prefixName) return preset.Type;
    }
    return std::nullopt;
}

std::string SecondsToText(std::int64_t seconds) {
    // Negative totals cannot come from the dialog's sums of whole seconds; show them as zero.
    const std::int64_t n = std::max<std::int64_t>(seconds, 0);
    const std::int64_t s = n % 60;
    const std::int64_t m = (n / 60) % 60;
    const std::int64_t h = (n / 60) / 60;
    return TwoDigits(h) + " 时 " + TwoDigits(m) + " 分 " + TwoDigits(s) + " 秒";
}

std::int64_t PicTotalSeconds(std::span<const TPicInfo> pics) noexcept {
    std::int64_t total = 0;
    for (const TPicInfo& pic : pics) total += std::int64_t(pic.Dwell) + 2;
    return total;
}

std::int64_t MusicTotalSeconds(std::span<const TMusicInfo> musics) noexcept {
    std::int64_t total = 0;
    for (const TMusicInfo& music : musics) total += music.PlayTime;
    return total;
}

std::string DefaultOutputFolder() {
    std::string home = QDir::homePath().toStdString();
    if (home.empty() || home.back() != '/') home += '/';
    return home;
}

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ProposeOutputName(const std::string& folder, TOutputType type) {
    const std::string prefix = OutputPreset(type).Prefix;
    const std::string extension = OutputExtension(type);
    return folder + prefix + NextFreeNumber(folder, prefix, extension) + "." + extension;
}

std::string SwitchOutputName(const std::string& currentName, TOutputType type) noexcept {
    try {
        return ProposeOutputName(FolderPart(currentName), type);
    } catch (...) {
        return currentName;
    }
}

bool CanSync(std::int64_t picCount, std::int64_t musicTotalSeconds) noexcept {
    return picCount > 0 && 2 * picCount < musicTotalSeconds;
}

std::string PicTimeLabel(std::int64_t seconds) {
    return "全部图片播放时间:" + SecondsToText(seconds);
}

std::string MusicTimeLabel(std::int64_t seconds) {
    return "全部音乐播放时间:" + SecondsToText(seconds);
}

std::string BackPicFolder(const std::string& rootPath) { return rootPath + "BackPic/"; }

std::vector<std::string> ListBackPictures(const std::string& rootPath) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(BackPicFolder(rootPath)), ec);
    if (ec) return names;
    for (const fs::directory_entry& entry : it) {
        std::error_code typeError;
        if (entry.is_directory(typeError)) continue;
        const fs::path name = entry.path().filename();
        if (Lower(name.extension().string()) != ".jpg") continue;
        names.push_back(name.string());
    }
    return names;
}

TRect PreviewGeometry(int frameWidth, int frameHeight, int panelWidth, int panelHeight) noexcept {
    return FittedPictureRect(frameWidth, frameHeight, panelWidth, panelHeight);
}

}  // namespace velmora
