#include "production/ProductionRun.h"

#include <filesystem>
#include <future>
#include <optional>
#include <system_error>

#include "base/Errors.h"
#include "effects/TransitionDriver.h"
#include "production/DiscImage.h"
#include "production/FramePixels.h"
#include "production/Mcl.h"
#include "production/MclText.h"
#include "store/Pub.h"

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
        MclImgText(image, *FTitleStyle, 10, FPreset.TitleLine, FCurTitle);
    }
    void AudioSource(TMclSource& source, int index);
    void Progress(TMcl& h, int stage, int position);
    void BeginPicture(int index);
    /// The file of picture index and the name it is reported under; the file is empty when
    /// its stored name is not usable.
    std::pair<std::string, std::string> PicturePaths(int index) const;
    void StartPrefetch(int index);

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
    // The next picture, composed on a worker while the current one is encoded.
    std::future<Bitmap> FPrefetch;
    int FPrefetchIndex = -1;
    bool FStopped = false;
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
    MclVideoSetFileName(h, outputPath);
    MclAudioSetFileName(h, outputPath);
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
    report.Success = result.Ok && std::filesystem::is_regular_file(outputPath, ec);
    report.Stopped = FStopped || result.Aborted;
    report.Text = report.Success ? RunSuccessText : RunFailureText;
    if (!result.Ok) report.FailureDetail = result.Message;
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

void TRun::SetUpSongs() {
    FAudioList = MclListCreate();
    for (const TMusicInfo& music : FStore.Musics) {
        const std::optional<std::string> path = StoredPath(FStore, music.StoredName.Text());
        if (path) {
            MclListAdd(*FAudioList, *path, 16, 0, 0);
        } else {
            FNotices.push_back("Skipped the song " + music.SongName.Text() +
                               ": its stored file name is not usable.");
        }
    }
}

void TRun::SetUpTitleStyle() {
    // The style is the same for every frame, so it is made once per run; the layer caches the
    // rasterised title inside it.
    FTitleStyle = MclTextCreate();
    MclTextSetFont(*FTitleStyle, "宋体", FPreset.TitleSize, 1, 1);
    MclTextSetColor(*FTitleStyle, MclRGB(225, 225, 225), MclRGB(96, 96, 96), 8421504, -1);
    MclTextShadow(*FTitleStyle, 2, 1, 1);
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
    std::string name;
    if (MclListGetName(*FAudioList, index, name)) {
        MclSourceSetFile(source, name);
    } else {
        MclSourceFinished(source);
    }
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

std::vector<std::int64_t> PlanStillFrames(const TAlbumStore& store, bool sync) {
    if (sync) {
        return StillFramesBySync(std::int64_t(store.Pics.size()), MusicTotalSeconds(store.Musics));
    }
    std::vector<std::int32_t> dwells;
    dwells.reserve(store.Pics.size());
    for (const TPicInfo& pic : store.Pics) dwells.push_back(pic.Dwell);
    return StillFramesByDwell(dwells);
}

std::string CheckProduction(const TAlbumStore& store, const TProductionSettings& settings) {
    if (store.Pics.empty()) return "The album has no pictures; import pictures first.";
    if (store.Musics.empty()) return "The album has no songs; import songs first.";
    if (Trim(settings.OutputPath).empty()) return "No output file is given.";
    if (settings.Sync &&
        !CanSync(std::int64_t(store.Pics.size()), MusicTotalSeconds(store.Musics))) {
        return SyncTooShortText;
    }
    return RunLengthError(TotalFrames(PlanStillFrames(store, settings.Sync)));
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
