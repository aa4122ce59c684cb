// Production settings: presets, time texts, totals, output names, sync check, background list
// and preview geometry.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "production/ProductionSettings.h"
#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

TEST(OutputPreset, Table) {
    const TOutputPreset& vcd = OutputPreset(TOutputType::VCD);
    EXPECT_EQ(vcd.FrameWidth, 320);
    EXPECT_EQ(vcd.FrameHeight, 288);
    EXPECT_STREQ(vcd.Prefix, "VCD-");
    EXPECT_EQ(vcd.LibraryPreset, 0);
    EXPECT_FALSE(vcd.Mpeg2);
    EXPECT_EQ(vcd.TitleSize, 17);
    EXPECT_EQ(vcd.TitleLine, 265);
    const TOutputPreset& svcd = OutputPreset(TOutputType::SVCD);
    EXPECT_EQ(svcd.FrameWidth, 480);
    EXPECT_EQ(svcd.FrameHeight, 576);
    EXPECT_STREQ(svcd.Prefix, "SVCD-");
    EXPECT_EQ(svcd.LibraryPreset, 1);
    EXPECT_TRUE(svcd.Mpeg2);
    EXPECT_EQ(svcd.TitleSize, 24);
    EXPECT_EQ(svcd.TitleLine, 540);
    const TOutputPreset& dvd = OutputPreset(TOutputType::DVD);
    EXPECT_EQ(dvd.FrameWidth, 720);
    EXPECT_EQ(dvd.FrameHeight, 576);
    EXPECT_STREQ(dvd.Prefix, "DVD-");
    EXPECT_EQ(dvd.LibraryPreset, 2);
    EXPECT_TRUE(dvd.Mpeg2);
    EXPECT_EQ(dvd.TitleSize, 36);
    EXPECT_EQ(dvd.TitleLine, 530);

    EXPECT_EQ(ParseOutputType("DVD"), TOutputType::DVD);
    EXPECT_EQ(ParseOutputType("svcd"), TOutputType::SVCD);
    EXPECT_EQ(ParseOutputType("vcd2"), std::nullopt);
}

TEST(SecondsToText, Examples) {
    EXPECT_EQ(SecondsToText(3725), "01 时 02 分 05 秒");
    EXPECT_EQ(SecondsToText(0), "00 时 00 分 00 秒");
    EXPECT_EQ(SecondsToText(36000), "10 时 00 分 00 秒");
    EXPECT_EQ(SecondsToText(59), "00 时 00 分 59 秒");
    EXPECT_EQ(SecondsToText(3600), "01 时 00 分 00 秒");
    EXPECT_EQ(SecondsToText(360000), "100 时 00 分 00 秒");  // hours do not wrap
    EXPECT_EQ(PicTimeLabel(61), "全部图片播放时间:00 时 01 分 01 秒");
    EXPECT_EQ(MusicTimeLabel(61), "全部音乐播放时间:00 时 01 分 01 秒");
}

TEST(Totals, PicturesAddTwoSecondsEachMusicSumsPlayTimes) {
    std::vector<TPicInfo> pics(3);
    pics[0].Dwell = 3;
    pics[1].Dwell = 5;
    pics[2].Dwell = 2147483647;
    EXPECT_EQ(PicTotalSeconds(pics), 3 + 5 + 2147483647LL + 6);
    std::vector<TMusicInfo> musics(2);
    musics[0].PlayTime = 100;
    musics[1].PlayTime = 2147483647;
    EXPECT_EQ(MusicTotalSeconds(musics), 2147483747LL);
}

TEST(Sync, NeedsMoreThanTwoSecondsPerPicture) {
    EXPECT_FALSE(CanSync(10, 20));
    EXPECT_TRUE(CanSync(10, 21));
    EXPECT_FALSE(CanSync(0, 100));
    EXPECT_STREQ(SyncTooShortText, "音乐太短,无法同步!请删除部分图片或者添加音乐。");
}

TEST(OutputName, FirstFreeNumberPerPrefixInTheSameFolder) {
    test::TempDir dir;
    test::WriteText(dir / "VCD-0.mpg", "");
    test::WriteText(dir / "VCD-1.mpg", "");
    test::WriteText(dir / "DVD-0.mpg", "");
    const std::string vcd = ProposeOutputName(dir.Dir(), TOutputType::VCD);
    EXPECT_EQ(vcd, dir.Dir() + "VCD-2.mpg");
    EXPECT_EQ(SwitchOutputName(vcd, TOutputType::DVD), dir.Dir() + "DVD-1.mpg");
    EXPECT_EQ(SwitchOutputName(vcd, TOutputType::SVCD), dir.Dir() + "SVCD-0.mpg");
    EXPECT_EQ(FolderPart("/a/b/c.mpg"), "/a/b/");
    EXPECT_EQ(FolderPart("c.mpg"), "");
    const std::string home = DefaultOutputFolder();
    ASSERT_FALSE(home.empty());
    EXPECT_EQ(home.back(), '/');
}

TEST(BackPictures, OnlyJpegFilesInAnyCase) {
    test::TempDir root;
    EXPECT_TRUE(ListBackPictures(root.Dir()).empty());  // no BackPic folder
    std::filesystem::create_directories(root / "BackPic" / "sub.jpg");
    test::WriteText(root / "BackPic" / "a.jpg", "");
    test::WriteText(root / "BackPic" / "B.JPG", "");
    test::WriteText(root / "BackPic" / "c.jpeg", "");
    test::WriteText(root / "BackPic" / "d.bmp", "");
    test::WriteText(root / "BackPic" / "jpg", "");
    auto names = ListBackPictures(root.Dir());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.JPG", "a.jpg"}));
    EXPECT_EQ(BackPicFolder(root.Dir()), root.Dir() + "BackPic/");
}

TEST(PreviewGeometry, FitsThePanel) {
    EXPECT_EQ(PreviewGeometry(320, 288), TRect::Sized(11, 0, 210, 189));
    EXPECT_EQ(PreviewGeometry(480, 576), TRect::Sized(37, 0, 158, 189));  // 157.5 -> 158
    EXPECT_EQ(PreviewGeometry(720, 576), TRect::Sized(0, 1, 233, 186));
    // 2 x 189 x 0.5 = 94.5 -> 94 (half to even), left (233 - 94) div 2 = 69.
    EXPECT_EQ(PreviewGeometry(1, 2), TRect::Sized(69, 0, 94, 189));
}

}  // namespace
}  // namespace velmora
