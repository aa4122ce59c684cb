#include "production/ProductionRun.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <future>
#include <limits>
#include <optional>
#include <span>
#include <system_error>

#include "base/Errors.h"
#include "effects/TransitionDriver.h"
#include "production/DiscImage.h"
#include "production/FramePixels.h"
#include "production/Mcl.h"
#include "production/MclText.h"
#include "store/Pub.h"
#include "store/StoreLock.h"

namespace velmora {

const char* const RunSuccessText = "文件生成完毕！请确定查看。";
const char* const RunFailureText = "创建相册视频文件出错，请重新制作！";

namespace {

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

/// The valid records: the first PicCount (MusicCount) of the arrays, never more than they
/// hold. An album whose record file is empty keeps the previous album's records in the
/// arrays; only the counts say they are gone.
std::span<const TPicInfo> ValidPics(const TAlbumStore& store) {
    const auto count =
        std::min<std::size_t>(store.Pics.size(), std::size_t(std::max(store.PicCount, 0)));
    return std::span(store.Pics.data(), count);
}

std::span<const TMusicInfo> ValidMusics(const TAlbumStore& store) {
    const auto count =
        std::min<std::size_t>(store.Musics.size(), std::size_t(std::max(store.MusicCount, 0)));
    return std::span(store.Musics.data(), count);
}

/// The hidden name the video is written under until the run ends: the output's folder,
/// "." + the output's name + ".part" + the process id + the extension.
std::string PartialOutputPath(const std::string& outputPath) {
    const std::filesystem::path out(outputPath);
    const std::string name =
        "." + out.stem().string() + ".part" + std::to_string(::getpid()) + out.extension().string();
    return (out.parent_path() / name).string();
}

/// Left edge of the titles, and their least margin on the right.
constexpr int TitleLeft = 10;

/// The title style of a preset at a text size: glyphs narrowed by the frame's pixel shape
/// (a disc preset's frame is shown at 4:3, an HD frame has square pixels), so they keep
/// their shape on the screen.
MclTextHandle MakeTitleStyle(const TOutputPreset& preset, int size) {
    MclTextHandle style = MclTextCreate();
    MclTextSetFont(*style, "宋体", size, 1, 1);
    MclTextSetColor(*style, MclRGB(225, 225, 225), MclRGB(96, 96, 96), 8421504, -1);
    MclTextShadow(*style, 2, 1, 1);
    MclTextSetWidthScale(*style, SquarePixelFrame(preset.FrameWidth, preset.FrameHeight)
                                     ? 1.0
                                     : 3.0 * preset.FrameWidth / (4.0 * preset.FrameHeight));
    return style;
}

/// The full path of a stored file of the current album, or nullopt when its stored name is not
/// a safe single path component.
std::optional<std::string> StoredPath(const TAlbumStore& store, std::string_view storedName) {
    try {
        return store.StoredFilePath(Trim(storedName));
    } catch (const Error&) {
        return std::nullopt;
    }
}

/// One production run: the state that the media layer's callbacks share.
class TRun {
public:
    TRun(const TAlbumStore& store, const TProductionSettings& settings,
         const TProductionHooks& hooks)
        : FStore(store),
          FSettings(settings),
          FHooks(hooks),
          FPreset(OutputPreset(settings.OutputType)),
          FTimeline(PlanStillFrames(store, settings.Sync)),
          FComposer(FPreset.FrameWidth, FPreset.FrameHeight, settings.Background),
          FNextPicture(FPreset.FrameWidth, FPreset.FrameHeight),
          FCurrentFrame(FPreset.FrameWidth, FPreset.FrameHeight) {}

    TProductionReport Execute(const std::string& outputPath);

private:
    void SetUpSongs();
    void SetUpTitleStyle();
    void VideoSource(TMclSource& source);
    void VideoFunc(Bitmap& image) {
        MclImgText(image, TitleStyleFor(FCurTitle), TitleLeft, FPreset.TitleLine, FCurTitle);
    }
    /// The title style at the preset's size, or a smaller one for a title that would not fit.
    TMclText& TitleStyleFor(const std::string& title);
    void AudioSource(TMclSource& source, int index);
    void Progress(TMcl& h, int stage, int position);
    void BeginPicture(int index);
    /// The file of picture index and the name it is reported under; the file is empty when
    /// its stored name is not usable.
    std::pair<std::string, std::string> PicturePaths(int index) const;
    void StartPrefetch(int index);
    /// True when every picture of the run failed to decode.
    bool NoPictureDecoded() const;

    const TAlbumStore& FStore;
    const TProductionSettings& FSettings;
    const TProductionHooks& FHooks;
    const TOutputPreset& FPreset;
    TTimeline FTimeline;
    TFrameComposer FComposer;
    Bitmap FNextPicture;
    Bitmap FCurrentFrame;
    std::string FCurTitle;
    TTransitionDriver FDriver;
    MclHandle FConvHandle;
    MclListHandle FAudioList;
    std::int64_t FTotalSamples = 0;
    MclTextHandle FTitleStyle;
    MclTextHandle FSmallTitleStyle;  ///< for the current title when it is too wide
    std::string FSmallTitle;         ///< the title FSmallTitleStyle was sized for
    // The next picture, composed on a worker while the current one is encoded.
    std::future<Bitmap> FPrefetch;
    int FPrefetchIndex = -1;
    bool FStopped = false;
    std::size_t FSongCount = 0;  ///< songs handed to the layer
    std::vector<std::string> FNotices;
};

TProductionReport TRun::Execute(const std::string& outputPath) {
    FConvHandle = MclCreate();
    TMcl& h = *FConvHandle;
    MclAssignVideoSource(h, [this](TMclSource& source, int) { VideoSource(source); });
    MclAssignVideoFunc(h, [this](TMcl&, Bitmap& image, int) { VideoFunc(image); });
    MclAssignAudioSource(h, [this](TMclSource& source, int index) { AudioSource(source, index); });
    MclAssignAudioFunc(h, [](TMcl&, std::span<float>, int) {});
    MclAssignProgress(
        h, [this](TMcl& conv, int stage, int position, int) { Progress(conv, stage, position); });
    MclAssignError(h, [](int, const std::string&, int& result) { result = 2; });
    SetUpSongs();
    FTotalSamples = MclListGetSampleCount(*FAudioList);
    // The video is written under a hidden temporary name in the output's folder and renamed
    // when the run has ended: a killed run never leaves a file that looks finished.
    const std::string partPath = PartialOutputPath(outputPath);
    MclVideoSetFileName(h, partPath);
    MclAudioSetFileName(h, partPath);
    if (FPreset.Mpeg2) MclEnableMPEG2();
    MclSetFormatPreset(h, FPreset.LibraryPreset, 0);
    MclVideoSetKeepDuration(h, -1);
    SetUpTitleStyle();

    const TMclResult result = MclConvert(h);
    MclListFree(FAudioList);
    MclFree(FConvHandle);
    if (FPrefetch.valid()) FPrefetch.wait();

    TProductionReport report;
    std::error_code ec;
    report.Success = result.Ok && std::filesystem::is_regular_file(partPath, ec);
    report.Stopped = FStopped || result.Aborted;
    if (!result.Ok) report.FailureDetail = result.Message;
    // A run that finished without one readable picture or song produced nothing worth a file.
    if (report.Success && !report.Stopped && NoPictureDecoded()) {
        report.Success = false;
        report.FailureDetail = "no picture of the album could be decoded";
    } else if (report.Success && !report.Stopped && result.SkippedSongs.size() >= FSongCount) {
        report.Success = false;
        report.FailureDetail = "no song of the album could be read";
    }
    if (report.Success && std::rename(partPath.c_str(), outputPath.c_str()) != 0) {
        report.Success = false;
        report.FailureDetail =
            IoError("cannot rename the finished video", outputPath, errno).what();
    }
    if (!report.Success) std::filesystem::remove(partPath, ec);
    report.Text = report.Success ? RunSuccessText : RunFailureText;
    report.Notices = FNotices;
    for (const std::string& path : FComposer.Failures()) {
        report.Notices.push_back("Could not decode the picture " + path +
                                 "; its frames show the background alone.");
    }
    for (const std::string& path : FComposer.BackgroundFailures()) {
        report.Notices.push_back("Could not decode the background picture " + path +
                                 "; the fill colour took its place.");
    }
    for (const std::string& notice : result.Notices()) report.Notices.push_back(notice);
    report.TotalFrames = FTimeline.TotalFrames();
    report.FramesWritten = result.Frames;
    report.Seconds = result.Seconds;
    report.OutputPath = outputPath;
    return report;
}

bool TRun::NoPictureDecoded() const {
    const std::vector<std::string>& failures = FComposer.Failures();
    for (int i = 0; i < FTimeline.PicCount(); ++i) {
        const std::string name = PicturePaths(i).second;
        if (std::find(failures.begin(), failures.end(), name) == failures.end()) return false;
    }
    return true;
}

void TRun::SetUpSongs() {
    FAudioList = MclListCreate();
    for (const TMusicInfo& music : ValidMusics(FStore)) {
        const std::optional<std::string> path = StoredPath(FStore, music.StoredName.Text());
        if (path) {
            MclListAdd(*FAudioList, *path, 16, 0, 0);
            ++FSongCount;
        } else {
            FNotices.push_back("Skipped the song " + music.SongName.Text() +
                               ": its stored file name is not usable.");
        }
    }
}

void TRun::SetUpTitleStyle() {
    // The style is the same for every frame, so it is made once per run; the layer caches the
    // rasterised title inside it.
    FTitleStyle = MakeTitleStyle(FPreset, FPreset.TitleSize);
}

TMclText& TRun::TitleStyleFor(const std::string& title) {
    if (title.empty()) return *FTitleStyle;
    // The title starts TitleLeft pixels from the left edge and keeps the same margin on the
    // right; a longer one is drawn smaller until it fits.
    const int room = FPreset.FrameWidth - 2 * TitleLeft;
    int width = 0, height = 0;
    MclTextExtent(*FTitleStyle, title, width, height);
    if (width <= room) return *FTitleStyle;
    if (FSmallTitleStyle && FSmallTitle == title) return *FSmallTitleStyle;
    int size = std::max(1, FPreset.TitleSize * room / std::max(width, 1));
    for (;; --size) {
        FSmallTitleStyle = MakeTitleStyle(FPreset, size);
        MclTextExtent(*FSmallTitleStyle, title, width, height);
        if (width <= room || size <= 1) break;
    }
    FSmallTitle = title;
    return *FSmallTitleStyle;
}

void TRun::VideoSource(TMclSource& source) {
    const TFrameAction action = FTimeline.VideoSource();
    if (action.BeginPicture >= 0) BeginPicture(action.BeginPicture);
    if (!action.Repeat) {
        if (action.Soften && FSettings.Fade) BlurBitmap(FCurrentFrame);
        if (action.TransitionStep > 0) {
            FDriver.Step(2 * action.TransitionStep);
        } else if (action.ShowComplete) {
            FDriver.Finish();
        }
        if (action.Preview && FHooks.OnPreview) FHooks.OnPreview(FCurrentFrame);
    }
    MclSourceSetDIB(source, FCurrentFrame);
    if (action.Finished) MclSourceFinished(source);
}

void TRun::BeginPicture(int index) {
    const TPicInfo& pic = FStore.Pics[std::size_t(index)];
    FCurTitle = pic.Title.Text();
    // The effect is chosen (a random one drawn anew for 0) before the picture is composed.
    FDriver.Begin(FCurrentFrame, FNextPicture, pic.Effect);
    if (FPrefetch.valid() && FPrefetchIndex == index) {
        FNextPicture = FPrefetch.get();
    } else {
        const auto [path, name] = PicturePaths(index);
        FComposer.ComposeFile(path, name, FComposer.ChooseBackground(), FNextPicture);
    }
    StartPrefetch(index + 1);
}

std::pair<std::string, std::string> TRun::PicturePaths(int index) const {
    const TPicInfo& pic = FStore.Pics[std::size_t(index)];
    const std::optional<std::string> path = StoredPath(FStore, pic.StoredName.Text());
    if (path) return {*path, *path};
    return {std::string(), FStore.AlbumPath + Trim(pic.StoredName.Text())};
}

void TRun::StartPrefetch(int index) {
    if (index >= FTimeline.PicCount()) return;
    // The next picture is decoded and composed on a worker while this one's frames are
    // encoded; its background is drawn here, on the thread that owns the random generator.
    const int background = FComposer.ChooseBackground();
    auto [path, name] = PicturePaths(index);
    FPrefetchIndex = index;
    FPrefetch = std::async(std::launch::async,
                           [this, path = std::move(path), name = std::move(name), background] {
                               Bitmap frame(FPreset.FrameWidth, FPreset.FrameHeight);
                               FComposer.ComposeFile(path, name, background, frame);
                               return frame;
                           });
}

void TRun::AudioSource(TMclSource& source, int index) {
    MclSourceSetListEntry(source, *FAudioList, index);
}

void TRun::Progress(TMcl& h, int stage, int position) {
    FTimeline.Progress();
    TProgressInfo info;
    info.Stage = stage;
    info.Position = position;
    info.TotalFrames = FTimeline.TotalFrames();
    info.ElapsedSeconds = MclGetElapsedTime(h);
    std::string timeText;
    if (stage == MclStageDone) {
        timeText = MclMakeTimeStr(info.ElapsedSeconds);
    } else if (stage == MclStageEncoding) {
        timeText =
            MclMakeTimeStr(MclGetRemainingTime(h, int(FTimeline.TotalFrames()), FTotalSamples));
    }
    info.Texts = ProgressTexts(stage, position, FTimeline.TotalFrames(), timeText);
    if (FHooks.OnProgress) FHooks.OnProgress(info);
    if (!FStopped && FHooks.ShouldStop && FHooks.ShouldStop()) {
        FStopped = true;
        MclAbort(h);
    }
}

/// Makes the disc image of a complete run into the report; a stopped or failed run gets none.
void AddDiscImage(TProductionReport& report, const TAlbumStore& store,
                  const TProductionSettings& settings) {
    if (!report.Success || report.Stopped) {
        report.DiscFailure = "The run did not complete, so no disc image was made.";
        return;
    }
    const TDiscImageResult disc = MakeDiscImage(report.OutputPath, settings.OutputType,
                                                PlanStillFrames(store, settings.Sync));
    if (disc.Ok) {
        report.DiscFiles = disc.Made;
    } else {
        report.DiscFailure = "No disc image: " + disc.Message;
    }
}

}  // namespace

std::string OutputRefusal(const TAlbumStore& store, const TProductionSettings& settings) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path out = fs::weakly_canonical(fs::absolute(Trim(settings.OutputPath), ec), ec);
    const std::string refused = "The output file " + out.string() + " ";
    // Inside the store root, only files that are no part of the store may be written: never
    // the catalogue or the lock, nothing in a folder of the root (the albums' folders and the
    // background folder).
    if (!store.RootPath.empty()) {
        const fs::path root = fs::weakly_canonical(store.RootPath, ec);
        const fs::path relative = out.lexically_relative(root);
        const std::string first = relative.empty() ? "" : relative.begin()->string();
        if (!relative.empty() && first != ".." && !relative.is_absolute()) {
            if (first == "Album" || first == TStoreLock::FileName ||
                fs::is_directory(root / first, ec)) {
                return refused + "lies inside the album store; choose a folder outside it.";
            }
        }
    }
    // Nor over any file the run reads.
    std::vector<std::string> inputs;
    for (const TPicInfo& pic : ValidPics(store)) {
        if (auto path = StoredPath(store, pic.StoredName.Text())) inputs.push_back(*path);
    }
    for (const TMusicInfo& music : ValidMusics(store)) {
        if (auto path = StoredPath(store, music.StoredName.Text())) inputs.push_back(*path);
    }
    for (const std::string& path : settings.Background.Pictures) inputs.push_back(path);
    for (const std::string& input : inputs) {
        if (fs::weakly_canonical(input, ec) == out || fs::equivalent(input, out, ec)) {
            return refused + "is an input of the run: " + input;
        }
    }
    return {};
}

std::vector<std::int64_t> PlanStillFrames(const TAlbumStore& store, bool sync) {
    if (sync) {
        return StillFramesBySync(std::int64_t(ValidPics(store).size()),
                                 MusicTotalSeconds(ValidMusics(store)));
    }
    std::vector<std::int32_t> dwells;
    for (const TPicInfo& pic : ValidPics(store)) dwells.push_back(pic.Dwell);
    return StillFramesByDwell(dwells);
}

std::string CheckProduction(const TAlbumStore& store, const TProductionSettings& settings) {
    if (ValidPics(store).empty()) return "The album has no pictures; import pictures first.";
    if (ValidMusics(store).empty()) return "The album has no songs; import songs first.";
    if (Trim(settings.OutputPath).empty()) return "No output file is given.";
    if (settings.Sync &&
        !CanSync(std::int64_t(ValidPics(store).size()), MusicTotalSeconds(ValidMusics(store)))) {
        return SyncTooShortText;
    }
    if (std::string refusal = OutputRefusal(store, settings); !refusal.empty()) return refusal;
    const std::vector<std::int64_t> plan = PlanStillFrames(store, settings.Sync);
    if (TotalFrames(plan) <= MaxRunFrames) return {};
    // The refusal names the real length, not the saturated sum the timeline works with.
    std::int64_t total = 0;
    for (const std::int64_t still : plan) {
        if (__builtin_add_overflow(total, still + SlotExtraFrames, &total)) {
            total = std::numeric_limits<std::int64_t>::max();
            break;
        }
    }
    return RunLengthError(total);
}

TProductionReport RunProduction(const TAlbumStore& store, const TProductionSettings& settings,
                                const TProductionHooks& hooks) {
    const std::string refusal = CheckProduction(store, settings);
    if (!refusal.empty()) throw InvalidArgument(refusal);
    TRun run(store, settings, hooks);
    TProductionReport report = run.Execute(Trim(settings.OutputPath));
    if (settings.DiscImage) AddDiscImage(report, store, settings);
    return report;
}

}  // namespace velmora
