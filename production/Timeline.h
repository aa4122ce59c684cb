#pragma once
// The timeline of a production run: how many still frames each picture gets, the planned
// length, and the state machine that the video source and progress callbacks drive frame by
// frame (which picture's slot is running and what each frame shows). Free of the media layer so
// that the timing can be checked on its own.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora {

/// Frames of a slot beyond its still frames: the repeated frame at its start, 50 transition
/// frames and the frame on which the picture first stands complete.
constexpr std::int64_t SlotExtraFrames = 51;
/// Transition frames per picture (progress 2, 4, ..., 100).
constexpr int TransitionFrames = 50;
/// The longest video a run makes: 24 hours at 25 frames per second.
constexpr std::int64_t MaxRunFrames = std::int64_t(24) * 3600 * 25;

/// Still frames per picture by dwell time: Dwell x 25, computed in 64 bits and never below 1,
/// so that every slot shows its complete picture at least once.
std::vector<std::int64_t> StillFramesByDwell(std::span<const std::int32_t> dwells);
/// Still frames per picture by automatic sync: (musicSeconds - 2 x pictures) x 25 div pictures
/// for every picture, truncating, in 64 bits and never below 1. Empty for no pictures.
std::vector<std::int64_t> StillFramesBySync(std::int64_t picCount, std::int64_t musicSeconds);

/// Pictures x 51 + the sum of the still frames: the planned length in frames.
std::int64_t TotalFrames(std::span<const std::int64_t> stillFrames) noexcept;

/// The message that refuses a run longer than MaxRunFrames; empty when the length is allowed.
std::string RunLengthError(std::int64_t totalFrames);

/// What the video source does for one requested frame.
struct TFrameAction {
    /// >= 0: this picture's slot begins on this frame; compose it (its title and effect become
    /// current). -1: no slot begins.
    int BeginPicture = -1;
    /// The frame before is handed over again, nothing drawn (phase 0 of a slot).
    bool Repeat = false;
    /// Soften CurrentFrame when the fade option is on (every frame that is not a repeat).
    bool Soften = false;
    /// 1..50: draw transition step k (progress 2k); 0: none.
    int TransitionStep = 0;
    /// CurrentFrame becomes a copy of NextPicture (phase 51).
    bool ShowComplete = false;
    /// The frame is given to the preview (frames before the first picture, phases 1 to 51).
    bool Preview = false;
    /// The source is finished after this frame: the picture slots are used up.
    bool Finished = false;
};

/// The frame counters of one run. VideoSource is called once per frame requested by the media
/// layer, Progress once per progress call (which follows each frame).
class TTimeline {
public:
    explicit TTimeline(std::vector<std::int64_t> stillFrames);

    /// Decides what the next requested frame shows and advances the slot state.
    TFrameAction VideoSource() noexcept;
    /// Counts one progress call.
    void Progress() noexcept { ++FFrameCounter; }

    std::int64_t TotalFrames() const noexcept { return FTotalFrames; }
    int PicCount() const noexcept { return int(FStillFrames.size()); }
    int PicPos() const noexcept { return FPicPos; }
    std::int64_t FrameCounter() const noexcept { return FFrameCounter; }
    const std::vector<std::int64_t>& StillFrames() const noexcept { return FStillFrames; }

private:
    std::vector<std::int64_t> FStillFrames;
    std::int64_t FTotalFrames = 0;
    std::int64_t FFrameCounter = -1;
    int FPicPos = -1;
};

/// The two status texts of one progress call: the progress label and the time label.
struct TProgressTexts {
    std::string Progress;
    std::string Time;
};

/// The texts for a progress call of the given stage. timeText is the library's time text
/// (elapsed at stage 0, remaining at stage 3). The percentage is position x 100 div
/// totalFrames, held at 100 for the two frames that follow the planned length.
TProgressTexts ProgressTexts(int stage, std::int64_t position, std::int64_t totalFrames,
                             const std::string& timeText);

/// The status texts once a run has ended.
extern const char* const RunDoneText;      // "相册生成完毕!"
extern const char* const RunDoneTimeText;  // "剩余时间：00:00"
extern const char* const RunStartText;     // "完成进度：0%"

}  // namespace velmora
