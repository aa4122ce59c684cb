// Byte layouts of the record files and of their short strings. The expected bytes are spelled
// out in hex from the record tables (offsets, widths, little-endian integers, GB18030 text),
// never produced by our own writer.

#include <gtest/gtest.h>

#include <initializer_list>

#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FromHex;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Zeros(std::size_t n) { return Bytes(n, 0); }

// Album "相册": length 4, GB18030 cf e0 b2 e1, then 86 unused bytes.
Bytes AlbumFixture() { return Cat({FromHex("04 cfe0b2e1"), Zeros(86)}); }

// Dwell 258, Effect -1, Title "海", Remark "a.jpg", StoredName "P0.jpg", 2 padding bytes.
Bytes PicFixture() {
    return Cat({FromHex("02010000 ffffffff"),           // offsets 0 and 4
                FromHex("02 baa3"), Zeros(34),          // Title at 8, 37 bytes
                FromHex("05 612e6a7067"), Zeros(250),   // Remark at 45, 256 bytes
                FromHex("06 50302e6a7067"), Zeros(14),  // StoredName at 301, 21 bytes
                Zeros(2)});
}

// PlayTime 245, StoredName "M0.mp3", SongName "中文.mp3", Singer "旅行", Remark "", 1 padding.
Bytes MusicFixture() {
    return Cat({FromHex("f5000000"),                          // offset 0
                FromHex("06 4d302e6d7033"), Zeros(14),        // StoredName at 4
                FromHex("08 d6d0cec4 2e6d7033"), Zeros(247),  // SongName at 25
                FromHex("04 c2c3d0d0"), Zeros(26),            // Singer at 281
                FromHex("00"), Zeros(30),                     // Remark at 312
                Zeros(1)});
}

TEST(Records, FixturesHaveTheRecordSizes) {
    EXPECT_EQ(AlbumFixture().size(), TAlbumRec::Size);
    EXPECT_EQ(PicFixture().size(), TPicInfo::Size);
    EXPECT_EQ(MusicFixture().size(), TMusicInfo::Size);
}

TEST(Records, AlbumRecReadsAndWritesItsLayout) {
    TAlbumRec rec;
    rec.Decode(AlbumFixture().data());
    EXPECT_EQ(rec.Name.Text(), "相册");

    TAlbumRec made;
    made.Name.SetText("相册");
    Bytes out(TAlbumRec::Size, 0xAA);
    made.Encode(out.data());
    EXPECT_EQ(out, AlbumFixture());
}

TEST(Records, PicInfoReadsAndWritesItsLayout) {
    TPicInfo rec;
    rec.Decode(PicFixture().data());
    EXPECT_EQ(rec.Dwell, 258);
    EXPECT_EQ(rec.Effect, -1);
    EXPECT_EQ(rec.Title.Text(), "海");
    EXPECT_EQ(rec.Remark.Text(), "a.jpg");
    EXPECT_EQ(rec.StoredName.Text(), "P0.jpg");

    TPicInfo made;
    made.Dwell = 258;
    made.Effect = -1;
    made.Title.SetText("海");
    made.Remark.SetText("a.jpg");
    made.StoredName.SetText("P0.jpg");
    Bytes out(TPicInfo::Size, 0xAA);  // every byte must be written, padding included
    made.Encode(out.data());
    EXPECT_EQ(out, PicFixture());
}

TEST(Records, MusicInfoReadsAndWritesItsLayout) {
    TMusicInfo rec;
    rec.Decode(MusicFixture().data());
    EXPECT_EQ(rec.PlayTime, 245);
    EXPECT_EQ(rec.StoredName.Text(), "M0.mp3");
    EXPECT_EQ(rec.SongName.Text(), "中文.mp3");
    EXPECT_EQ(rec.Singer.Text(), "旅行");
    EXPECT_TRUE(rec.Remark.IsEmpty());

    TMusicInfo made;
    made.PlayTime = 245;
    made.StoredName.SetText("M0.mp3");
    made.SongName.SetText("中文.mp3");
    made.Singer.SetText("旅行");
    Bytes out(TMusicInfo::Size, 0xAA);
    made.Encode(out.data());
    EXPECT_EQ(out, MusicFixture());
}

TEST(Records, BytesAfterTheTextAndPaddingAreIgnoredOnReading) {
    Bytes dirty = PicFixture();
    for (std::size_t i = 8 + 3; i < 8 + 37; ++i) dirty[i] = 0x5A;            // after "海" in Title
    for (std::size_t i = 301 + 7; i < TPicInfo::Size; ++i) dirty[i] = 0xEE;  // name tail, pad
    TPicInfo rec;
    rec.Decode(dirty.data());
    EXPECT_EQ(rec.Title.Text(), "海");
    EXPECT_EQ(rec.StoredName.Text(), "P0.jpg");
    Bytes out(TPicInfo::Size);
    rec.Encode(out.data());
    EXPECT_EQ(out, PicFixture());  // written back clean
}

TEST(Records, LengthByteAboveCapacityIsTakenAsCapacity) {
    Bytes raw = Cat({FromHex("ff"), Bytes(20, 'x')});
    ShortString<20> text;
    text.Decode(raw.data());
    EXPECT_EQ(text.Length(), 20);
    EXPECT_EQ(text.Text(), std::string(20, 'x'));
}

}  // namespace
}  // namespace velmora
