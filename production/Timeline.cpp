#include "production/Timeline.h"

#include <algorithm>

#include "production/ProductionSettings.h"

namespace velmora {

const char* const RunDoneText = "相册生成完毕!";
const char* const RunDoneTimeText = "剩余时间：00:00";
const char* const RunStartText = "完成进度：0%";

std::vector<std::int64_t> StillFramesByDwell(std::span<const std::int32_t> dwells) {
    std::vector<std::int64_t> frames;
    frames.reserve(dwells.size());
    for (std::int32_t dwell : dwells) {
        frames.push_back(std::max<std::int64_t>(std::int64_t(dwell) * FramesPerSecond, 1));
    }
    return frames;
}

std::vector<std::int64_t> StillFramesBySync(std::int64_t picCount, std::int64_t musicSeconds) {
    if (picCount <= 0) return {};
    const std::int64_t each = (musicSeconds - 2 * picCount) * FramesPerSecond / picCount;
    return std::vector<std::int64_t>(std::size_t(picCount), std::max<std::int64_t>(each, 1));
}

std::int64_t TotalFrames(std::span<const std::int64_t> stillFrames) noexcept {
    std::int64_t total = 0;
    for (std::int64_t still : stillFrames) {
        // Saturate instead of overflowing; anything this large is refused anyway.
        const std::int64_t slot = std::min<std::int64_t>(still, MaxRunFrames * 2) + SlotExtraFrames;
        total = std::min<std::int64_t>(total + slot, MaxRunFrames * 4);
    }
    return total;
}

std::string RunLengthError(std::int64_t totalFrames) {
    if (totalFrames <= MaxRunFrames) return {};
    return "The video would last " + SecondsToText(totalFrames / FramesPerSecond) +
           ", longer than the limit of 24 hours; shorten the pictures' dwell times.";
}

TTimeline::TTimeline(std::vector<std::int64_t> stillFrames)
    : FStillFrames(std::move(stillFrames)), FTotalFrames(velmora::TotalFrames(FStillFrames)) {}

TFrameAction TTimeline::VideoSource() noexcept {
    TFrameAction action;
    const int count = PicCount();
    if (FPicPos == -1 && FFrameCounter < 0) {
        // The opening frames before the first picture: the black CurrentFrame.
        action.Soften = true;
        action.Preview = true;
        return action;
    }
    if (FPicPos >= count) {
        // The slots are used up; a library that still asks gets the last frame again.
        action.Repeat = true;
        action.Finished = true;
        return action;
    }
    const std::int64_t phase =
        FPicPos == -1 ? 0 : FFrameCounter % (FStillFrames[std::size_t(FPicPos)] + SlotExtraFrames);
    if (phase == 0) {
        FFrameCounter = 0;
        ++FPicPos;
        action.Repeat = true;
        if (FPicPos < count) {
            action.BeginPicture = FPicPos;
        } else {
            action.Finished = true;
        }
        return action;
    }
    action.Soften = true;
    if (phase <= TransitionFrames) {
        action.TransitionStep = int(phase);
    } else if (phase == TransitionFrames + 1) {
        action.ShowComplete = true;
    }
    action.Preview = phase <= TransitionFrames + 1;
    return action;
}

TProgressTexts ProgressTexts(int stage, std::int64_t position, std::int64_t totalFrames,
                             const std::string& timeText) {
    switch (stage) {
        case 0:
            return {"", "共用时间: " + timeText};
        case 1:
            return {"准备生成...", ""};
        case 2:
            return {"视频文件结构处理...", ""};
        case 3: {
            std::int64_t percent = totalFrames > 0 ? position * 100 / totalFrames : 0;
            percent = std::clamp<std::int64_t>(percent, 0, 100);
            return {"完成进度：" + std::to_string(percent) + "%", "剩余时间: " + timeText};
        }
        default:
            return {"其它视频处理！", ""};
    }
}

}  // namespace velmora
