#pragma once
// The settings of a production run that the production dialog collects, as core logic free of
// any widget: the output presets, the time texts, the totals, the proposed output name, the
// automatic-sync check, the background picture list and the preview geometry.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/Geometry.h"

namespace velmora {

class TAlbumStore;
struct TPicInfo;
struct TMusicInfo;

/// The output types: the three disc formats of the dialog's radio group, in its order, and
/// the two HD MP4 formats.
enum class TOutputType { VCD = 0, SVCD = 1, DVD = 2, MP4_720p = 3, MP4_1080p = 4 };

/// What an output type fixes for a whole run.
struct TOutputPreset {
    TOutputType Type;
    const char* Caption;  ///< "VCD", "SVCD", "DVD", "MP4 720p", "MP4 1080p"
    int FrameWidth;
    int FrameHeight;
    const char* Prefix;  ///< file name prefix of the proposed output name
    int LibraryPreset;   ///< MclSetFormatPreset's preset number
    bool Mpeg2;          ///< MclEnableMPEG2 is called
    int TitleSize;       ///< font size of the title overlay
    int TitleLine;       ///< y of the title overlay
};

/// Frames per second of every preset.
constexpr int FramesPerSecond = 25;

/// The preset of an output type.
const TOutputPreset& OutputPreset(TOutputType type) noexcept;
/// The file extension of an output type's files: "mpg", or "mp4" for the HD types.
const char* OutputExtension(TOutputType type) noexcept;
/// The output type named "vcd", "svcd", "dvd", "mp4-720p" or "mp4-1080p" (any case; the
/// captions are accepted too); nullopt for anything else.
std::optional<TOutputType> ParseOutputType(const std::string& name);

/// Seconds as "HH 时 MM 分 SS 秒"; hours do not wrap and take more digits when needed.
std::string SecondsToText(std::int64_t seconds);

/// The sum of Dwell + 2 over the pictures (two seconds of transition each), in 64 bits.
std::int64_t PicTotalSeconds(std::span<const TPicInfo> pics) noexcept;
/// The sum of the songs' PlayTime, in 64 bits.
std::int64_t MusicTotalSeconds(std::span<const TMusicInfo> musics) noexcept;

/// The folder that stands for the root of drive C: the user's home folder, ending in "/".
std::string DefaultOutputFolder();
/// The folder part of a path, up to and including the last "/"; "" when there is none.
std::string FolderPart(const std::string& path);
/// folder + prefix + NextFreeNumber(folder, prefix, extension) + "." + extension, with the
/// output type's extension.
std::string ProposeOutputName(const std::string& folder, TOutputType type);
/// The dialog's output name after the output type changed: the same folder, the new type's
/// prefix and first free number. Any error keeps the current name.
std::string SwitchOutputName(const std::string& currentName, TOutputType type) noexcept;

/// The message shown when the music is too short for automatic sync.
extern const char* const SyncTooShortText;
/// Automatic sync needs more than two seconds of music per picture.
bool CanSync(std::int64_t picCount, std::int64_t musicTotalSeconds) noexcept;

/// The text of the picture total label: "全部图片播放时间:" + the time; with sync on (and
/// possible) the music's total stands for the pictures'.
std::string PicTimeLabel(std::int64_t seconds);
/// The text of the music total label.
std::string MusicTimeLabel(std::int64_t seconds);

/// The folder of the background pictures: RootPath + "BackPic/".
std::string BackPicFolder(const std::string& rootPath);
/// The names of the files in RootPath + "BackPic" whose lower-cased extension is ".jpg", in the
/// order the file system lists them; folders are skipped. A missing folder gives none.
std::vector<std::string> ListBackPictures(const std::string& rootPath);

/// Width and height of the dialog's preview panel.
constexpr int PreviewPanelWidth = 233;
constexpr int PreviewPanelHeight = 189;

/// The preview image fitted into a panel of panelWidth x panelHeight with the frame's ratio:
/// FittedPictureRect's rule (the scaled side rounded to nearest, halves to even, and centred).
TRect PreviewGeometry(int frameWidth, int frameHeight, int panelWidth = PreviewPanelWidth,
                      int panelHeight = PreviewPanelHeight) noexcept;

}  // namespace velmora
