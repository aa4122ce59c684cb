// The production timeline: still frames, planned length, the frame-by-frame slot state and the
// progress texts.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "production/Timeline.h"

namespace velmora {
namespace {

TEST(StillFrames, ByDwellAndBySync) {
    const std::int32_t five[] = {5};
    const auto dwell = StillFramesByDwell(five);
    EXPECT_EQ(dwell, std::vector<std::int64_t>{125});
    EXPECT_EQ(TotalFrames(dwell), 176);

    const auto four = StillFramesBySync(4, 100);  // (100 - 8) x 25 div 4
    EXPECT_EQ(four, std::vector<std::int64_t>(4, 575));
    EXPECT_EQ(TotalFrames(four), 2504);

    const auto three = StillFramesBySync(3, 100);  // 2350 div 3, truncated
    EXPECT_EQ(three, std::vector<std::int64_t>(3, 783));
}

TEST(StillFrames, NeverBelowOneNorOverflowing) {
    const std::int32_t odd[] = {0, -7, std::numeric_limits<std::int32_t>::max(), 1};
    const auto frames = StillFramesByDwell(odd);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0], 1);
    EXPECT_EQ(frames[1], 1);
    EXPECT_EQ(frames[2], std::int64_t(std::numeric_limits<std::int32_t>::max()) * 25);
    EXPECT_EQ(frames[3], 25);
    EXPECT_NE(RunLengthError(TotalFrames(frames)), "");

    // Sync with barely enough music: 2 pictures and 5 seconds gives 25 div 2 = 12 each; with
    // 4 seconds (refused by the dialog) the share would be 0 and is held at 1.
    EXPECT_EQ(StillFramesBySync(2, 5), std::vector<std::int64_t>(2, 12));
    EXPECT_EQ(StillFramesBySync(2, 4), std::vector<std::int64_t>(2, 1));
    EXPECT_TRUE(StillFramesBySync(0, 100).empty());
}

TEST(RunLength, RefusesMoreThan24Hours) {
    EXPECT_EQ(RunLengthError(MaxRunFrames), "");
    const std::string error = RunLengthError(MaxRunFrames + 1);
    EXPECT_NE(error.find("24 hours"), std::string::npos);
}

// Drives a timeline as the media layer does: one video request, then one progress call, until
// the source declares itself finished. Returns the actions in order.
std::vector<TFrameAction> Drive(TTimeline& timeline) {
    std::vector<TFrameAction> actions;
    for (int guard = 0; guard < 1'000'000; ++guard) {
        actions.push_back(timeline.VideoSource());
        timeline.Progress();
        if (actions.back().Finished) break;
    }
    return actions;
}

TEST(Timeline, OnePictureOfDwellFive) {
    TTimeline timeline(StillFramesByDwell(std::vector<std::int32_t>{5}));
    EXPECT_EQ(timeline.TotalFrames(), 176);
    const auto actions = Drive(timeline);
    // The library is handed TotalFrames + 2 frames: the opening black frame and the repeat of
    // the last frame when the slots are used up.
    ASSERT_EQ(actions.size(), 178u);
    // Frame 0: the black opening frame, softened when fading, previewed.
    EXPECT_EQ(actions[0].BeginPicture, -1);
    EXPECT_FALSE(actions[0].Repeat);
    EXPECT_TRUE(actions[0].Preview);
    // Frame 1: picture 0's slot begins; the black frame is handed over again.
    EXPECT_EQ(actions[1].BeginPicture, 0);
    EXPECT_TRUE(actions[1].Repeat);
    EXPECT_FALSE(actions[1].Soften);
    // Frames 2 to 51: transition steps 1 to 50.
    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(actions[std::size_t(k + 1)].TransitionStep, k);
        EXPECT_TRUE(actions[std::size_t(k + 1)].Preview);
        EXPECT_TRUE(actions[std::size_t(k + 1)].Soften);
    }
    // Frame 52: the complete picture, previewed; 53 to 176: the other 124 still frames.
    EXPECT_TRUE(actions[52].ShowComplete);
    EXPECT_TRUE(actions[52].Preview);
    for (std::size_t i = 53; i <= 176; ++i) {
        EXPECT_EQ(actions[i].TransitionStep, 0);
        EXPECT_FALSE(actions[i].ShowComplete);
        EXPECT_FALSE(actions[i].Preview);
        EXPECT_TRUE(actions[i].Soften);
        EXPECT_FALSE(actions[i].Finished);
    }
    EXPECT_TRUE(actions[177].Repeat);
    EXPECT_TRUE(actions[177].Finished);
    EXPECT_EQ(timeline.PicPos(), 1);
    // A library that asks once more gets the same frame and no out-of-range slot.
    const TFrameAction extra = timeline.VideoSource();
    EXPECT_TRUE(extra.Repeat);
    EXPECT_TRUE(extra.Finished);
}

TEST(Timeline, SlotsFollowEachOther) {
    TTimeline timeline({3, 1, 2});
    const auto actions = Drive(timeline);
    ASSERT_EQ(std::int64_t(actions.size()), timeline.TotalFrames() + 2);
    std::vector<std::size_t> begins;
    int complete = 0;
    int transitions = 0;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (actions[i].BeginPicture >= 0) begins.push_back(i);
        complete += actions[i].ShowComplete;
        transitions += actions[i].TransitionStep > 0;
    }
    // Slot lengths 54, 52 and 53 after the opening frame.
    EXPECT_EQ(begins, (std::vector<std::size_t>{1, 55, 107}));
    EXPECT_EQ(complete, 3);
    EXPECT_EQ(transitions, 150);
    // A slot with a single still frame shows the complete picture and then the next slot.
    EXPECT_TRUE(actions[54 + 52].ShowComplete);
    EXPECT_EQ(actions[107].BeginPicture, 2);
}

TEST(ProgressTexts, StagesAndPercentages) {
    struct Case {
        int stage;
        std::int64_t position;
        const char* progress;
        const char* time;
    };
    const Case cases[] = {
        {0, 0, "", "共用时间: 00:01:02"},
        {1, 0, "准备生成...", ""},
        {2, 0, "视频文件结构处理...", ""},
        {3, 1, "完成进度：0%", "剩余时间: 00:01:02"},
        {3, 88, "完成进度：50%", "剩余时间: 00:01:02"},
        {3, 176, "完成进度：100%", "剩余时间: 00:01:02"},
        {3, 178, "完成进度：100%", "剩余时间: 00:01:02"},
        {7, 5, "其它视频处理！", ""},
    };
    for (const Case& c : cases) {
        const TProgressTexts texts = ProgressTexts(c.stage, c.position, 176, "00:01:02");
        EXPECT_EQ(texts.Progress, c.progress) << c.stage << " " << c.position;
        EXPECT_EQ(texts.Time, c.time) << c.stage << " " << c.position;
    }
}

}  // namespace
}  // namespace velmora
