// The ID3v1 reader on blocks spelled out byte by byte and on files written by lame.

#include <gtest/gtest.h>

#include <cstring>

#include "audio/ID3v1.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

using test::SourcePath;
using test::TempDir;
using test::WriteBytes;

// A 128-byte block: "TAG", the given fields at their offsets, the rest zero.
std::vector<std::uint8_t> Block(const std::string& title, const std::string& comment,
                                std::uint8_t b125, std::uint8_t b126, std::uint8_t genre) {
    std::vector<std::uint8_t> b(128, 0);
    std::memcpy(b.data(), "TAG", 3);
    std::memcpy(b.data() + 3, title.data(), std::min<std::size_t>(title.size(), 30));
    std::memcpy(b.data() + 33, "Artist", 6);
    std::memcpy(b.data() + 63, "Album", 5);
    std::memcpy(b.data() + 93, "1999", 4);
    std::memcpy(b.data() + 97, comment.data(), std::min<std::size_t>(comment.size(), 30));
    b[125] = b125;
    b[126] = b126;
    b[127] = genre;
    return b;
}

struct BlockCase {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
    int Version;
    std::string Title;
    std::string Comment;
    int Track;
};

TEST(ID3v1, ReadsBlocksOfEveryKind) {
    const std::string full30(30, 'c');
    std::string spaced = "note" + std::string(26, ' ');
    const BlockCase cases[] = {
        {"v1.1 track 7", Block("Song", "hello", 0, 7, 13), 2, "Song", "hello", 7},
        {"both bytes spaces", Block("Song", spaced, ' ', ' ', 13), 1, "Song", "note", 0},
        {"space then track", Block("Song", "x", ' ', 9, 13), 2, "Song", "x", 9},
        {"byte 125 zero, 126 zero", Block("Song", "x", 0, 0, 13), 1, "Song", "x", 0},
        {"full 30-byte comment", Block("Song", full30, 'c', 'c', 13), 1, "Song", full30, 0},
        {"zero-padded title", Block(std::string("Abcd\0\0\0", 7), "", 0, 0, 1), 1, "Abcd", "", 0},
        {"zero inside title", Block(std::string("A\0B", 3), "", 0, 0, 1), 1, std::string("A\0B", 3),
         "", 0},
        {"control bytes trailing", Block("Hi\x01\x1f\x20\x09", "", 0, 0, 1), 1, "Hi", "", 0},
        {"GBK bytes kept raw", Block("\xc4\xe3\xba\xc3", "", 0, 0, 1), 1, "\xc4\xe3\xba\xc3", "",
         0},
    };
    TempDir dir;
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // The block after some audio bytes, as at the end of an MP3 file.
        std::vector<std::uint8_t> file(300, 0xAA);
        file.insert(file.end(), c.Bytes.begin(), c.Bytes.end());
        WriteBytes(dir / "t.mp3", file);
        TID3v1 tag;
        ASSERT_TRUE(tag.LoadFromFile((dir / "t.mp3").string()));
        EXPECT_TRUE(tag.Exists);
        EXPECT_EQ(tag.Version, c.Version);
        EXPECT_EQ(tag.Title, c.Title);
        EXPECT_EQ(tag.Comment, c.Comment);
        EXPECT_EQ(tag.Track, c.Track);
        EXPECT_EQ(tag.Artist, "Artist");
        EXPECT_EQ(tag.Album, "Album");
        EXPECT_EQ(tag.Year, "1999");
        EXPECT_EQ(tag.Genre, c.Bytes[127]);
    }
}

TEST(ID3v1, SizesAndMissingTags) {
    TempDir dir;
    const auto block = Block("Exact", "", 0, 0, 5);
    struct SizeCase {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        bool Loads;
        bool Exists;
    } cases[] = {
        {"exactly 128 bytes", block, true, true},
        {"127 bytes", std::vector<std::uint8_t>(block.begin() + 1, block.end()), false, false},
        {"empty file", {}, false, false},
        {"lower-case tag",
         [&] {
             auto b = block;
             std::memcpy(b.data(), "tag", 3);
             return b;
         }(),
         true, false},
        {"no tag at all", std::vector<std::uint8_t>(4000, 0x55), true, false},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(dir / "t.mp3", c.Bytes);
        TID3v1 tag;
        EXPECT_EQ(tag.LoadFromFile((dir / "t.mp3").string()), c.Loads);
        EXPECT_EQ(tag.Exists, c.Exists);
        if (!c.Exists) {
            EXPECT_EQ(tag.Genre, 255);
            EXPECT_EQ(tag.Version, 1);
            EXPECT_TRUE(tag.Title.empty());
        } else {
            EXPECT_EQ(tag.Title, "Exact");
        }
    }
    TID3v1 tag;
    EXPECT_FALSE(tag.LoadFromFile((dir / "missing.mp3").string()));
    EXPECT_FALSE(tag.LoadFromFile(dir.Path().string()));  // a folder
}

TEST(ID3v1, SecondLoadKeepsNothingOfTheFirst) {
    TID3v1 tag;
    ASSERT_TRUE(tag.LoadFromFile(SourcePath("audio/tests/data/tag_id3v1.mp3").string()));
    ASSERT_TRUE(tag.Exists);
    ASSERT_TRUE(tag.LoadFromFile(SourcePath("audio/tests/data/cbr128_44k_stereo.mp3").string()));
    EXPECT_FALSE(tag.Exists);
    EXPECT_EQ(tag.Genre, 255);
    EXPECT_EQ(tag.Track, 0);
    EXPECT_TRUE(tag.Title.empty());
    EXPECT_TRUE(tag.Artist.empty());
    EXPECT_TRUE(tag.Comment.empty());
}

TEST(ID3v1, ReadsTagsWrittenByLame) {
    TID3v1 tag;
    ASSERT_TRUE(tag.LoadFromFile(SourcePath("audio/tests/data/tag_id3v1.mp3").string()));
    EXPECT_TRUE(tag.Exists);
    EXPECT_EQ(tag.Version, 2);
    EXPECT_EQ(tag.Title, "Fixture Title");
    EXPECT_EQ(tag.Artist, "Fixture Artist");
    EXPECT_EQ(tag.Album, "Fixture Album");
    EXPECT_EQ(tag.Year, "2001");
    EXPECT_EQ(tag.Comment, "a comment");
    EXPECT_EQ(tag.Track, 7);
    EXPECT_EQ(tag.Genre, 13);  // Pop

    ASSERT_TRUE(tag.LoadFromFile(SourcePath("audio/tests/data/tag_both.mp3").string()));
    EXPECT_TRUE(tag.Exists);
    EXPECT_EQ(tag.Version, 1);
    EXPECT_EQ(tag.Title, "Both Tags");
    EXPECT_EQ(tag.Artist, "Singer Two");
    EXPECT_EQ(tag.Comment, "remark two");
    EXPECT_EQ(tag.Track, 0);
}

TEST(ID3v1, TagVersionRule) {
    TID3v1::TTagBlock b{};
    const struct {
        std::uint8_t B125, B126;
        int Version;
    } cases[] = {{0, 7, 2}, {0, 0, 1}, {32, 7, 2}, {32, 32, 1}, {7, 0, 1}, {65, 66, 1}};
    for (const auto& c : cases) {
        b[125] = c.B125;
        b[126] = c.B126;
        EXPECT_EQ(TID3v1::TagVersion(b), c.Version) << int(c.B125) << " " << int(c.B126);
    }
}

}  // namespace
}  // namespace velmora
