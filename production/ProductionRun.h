#pragma once
// The production run: turns the current album of a store into one MPEG file through the media
// conversion layer. The run works out the timeline, composes each picture when its slot begins,
// drives the transitions frame by frame, writes the titles, hands over the songs, reports
// progress and can be stopped; at the end it reports success or failure.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "production/ComposePicture.h"
#include "production/ProductionSettings.h"
#include "production/Timeline.h"

namespace velmora {

class TAlbumStore;

/// What the production dialog hands to a run.
struct TProductionSettings {
    TOutputType OutputType = TOutputType::VCD;
    /// The output file; leading and trailing blanks are removed.
    std::string OutputPath;
    /// Automatic sync: the pictures share the music's length evenly.
    bool Sync = false;
    /// The fade option: every frame after a picture's first complete one is softened more.
    bool Fade = false;
    TBackgroundFill Background;
};

/// One progress call as the dialog shows it.
struct TProgressInfo {
    int Stage = 0;
    std::int64_t Position = 0;     ///< frames done (stages 3 and 0)
    std::int64_t TotalFrames = 0;  ///< the planned length
    TProgressTexts Texts;          ///< the progress label and the time label
    double ElapsedSeconds = 0;
};

/// How a caller watches and steers a run. Every hook runs on the calling thread.
struct TProductionHooks {
    /// After every progress call of the media layer.
    std::function<void(const TProgressInfo&)> OnProgress;
    /// The frames the dialog's preview shows: the opening frame, the transition frames and the
    /// first complete frame of each picture.
    std::function<void(const Bitmap&)> OnPreview;
    /// Polled in every progress call; true stops the run (the file written so far stays
    /// playable).
    std::function<bool()> ShouldStop;
};

/// The completion and failure texts of the report.
extern const char* const RunSuccessText;  // "文件生成完毕！请确定查看。"
extern const char* const RunFailureText;  // "创建相册视频文件出错，请重新制作！"

/// What a run did.
struct TProductionReport {
    /// The output file exists and the conversion did not fail (a stopped run counts).
    bool Success = false;
    /// The run was stopped before its end.
    bool Stopped = false;
    /// RunSuccessText or RunFailureText.
    std::string Text;
    /// Why the conversion failed (the media layer's message); empty otherwise.
    std::string FailureDetail;
    /// Notices worth showing: pictures and background pictures that could not be decoded,
    /// songs that were skipped, rate-control warnings.
    std::vector<std::string> Notices;
    std::int64_t TotalFrames = 0;    ///< the planned length
    std::int64_t FramesWritten = 0;  ///< frames the file holds
    double Seconds = 0;              ///< wall time of the conversion
    std::string OutputPath;
};

/// Checks that a run of the store's current album with these settings can start: at least one
/// picture and one song, enough music for sync (SyncTooShortText otherwise), at most 24 hours of
/// video, an output path. Returns the refusal text, empty when the run may start.
std::string CheckProduction(const TAlbumStore& store, const TProductionSettings& settings);

/// Why the output path may not be written, or empty: an output inside the store (the
/// catalogue, the lock file, anything in a folder of the store root) or over a file the run
/// reads (a picture, a song, a background picture) is refused. Part of CheckProduction.
std::string OutputRefusal(const TAlbumStore& store, const TProductionSettings& settings);

/// The still frames of each picture for these settings (by dwell, or by sync).
std::vector<std::int64_t> PlanStillFrames(const TAlbumStore& store, bool sync);

/// Runs one production of the store's current album. Throws InvalidArgument with the text of
/// CheckProduction when the run cannot start; everything that goes wrong during the conversion
/// is in the report.
TProductionReport RunProduction(const TAlbumStore& store, const TProductionSettings& settings,
                                const TProductionHooks& hooks = {});

}  // namespace velmora
