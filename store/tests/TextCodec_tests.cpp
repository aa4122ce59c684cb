// GB18030 <-> UTF-8 conversion and the character-safe cut of short strings. The GB18030 bytes
// are the code page's published values (also what Python's gb18030 codec gives).

#include <gtest/gtest.h>

#include "store/ShortString.h"
#include "store/TextCodec.h"

namespace velmora {
namespace {

struct CodecCase {
    const char* Utf8;
    const char* Gb;
};

TEST(TextCodec, ConvertsBothWays) {
    const CodecCase cases[] = {
        {"", ""},
        {"Travel 2026", "Travel 2026"},
        {"中文", "\xD6\xD0\xCE\xC4"},
        {"旅行 Travel", "\xC2\xC3\xD0\xD0 Travel"},
        {"€", "\xA2\xE3"},
        {"é", "\xA8\xA6"},
        {"😀", "\x94\x39\xFC\x36"},  // four-byte sequence beyond the BMP
        {"\U00020000", "\x95\x32\x82\x36"},
    };
    for (const CodecCase& c : cases) {
        EXPECT_EQ(Utf8ToGb18030(c.Utf8), c.Gb) << c.Utf8;
        EXPECT_EQ(Gb18030ToUtf8(c.Gb), c.Utf8) << c.Utf8;
    }
}

TEST(TextCodec, DamagedBytesBecomeReplacementCharacters) {
    const CodecCase cases[] = {
        {"a\xEF\xBF\xBD"
         "b",
         "a\xFF"
         "b"},                     // never a lead byte
        {"\xEF\xBF\xBD", "\x81"},  // lead byte cut off at the end
        {"\xEF\xBF\xBD"
         "0",
         "\x81\x30"},  // four-byte start cut off
        {"\xEF\xBF\xBD"
         "a",
         "\x80"
         "a"},
        {"中\xEF\xBF\xBD", "\xD6\xD0\xCE"},
    };
    for (const CodecCase& c : cases) EXPECT_EQ(Gb18030ToUtf8(c.Gb), c.Utf8);
}

TEST(TextCodec, InvalidUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(Utf8ToGb18030("a\xC3"), "a\x84\x31\xA4\x37");
    // An encoded surrogate is three bytes that are not UTF-8: one replacement each.
    EXPECT_EQ(Utf8ToGb18030("\xED\xA0\x80"), "\x84\x31\xA4\x37\x84\x31\xA4\x37\x84\x31\xA4\x37");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_TRUE(IsValidUtf8("旅行😀"));
}

struct CutCase {
    const char* Gb;
    std::size_t Capacity;
    std::size_t Expected;
};

TEST(TextCodec, CutNeverSplitsACharacter) {
    const CutCase cases[] = {
        {"abc", 2, 2},
        {"\xD6\xD0\xCE\xC4", 3, 2},  // 中|文: second character dropped whole
        {"\xD6\xD0\xCE\xC4", 4, 4},
        {"a\x94\x39\xFC\x36", 4, 1},  // a|😀 does not fit in 4
        {"a\x94\x39\xFC\x36", 5, 5},
        {"\xFF\xD6\xD0", 2, 1},  // damaged byte counts as one character
    };
    for (const CutCase& c : cases) {
        EXPECT_EQ(Gb18030CutLength(c.Gb, c.Capacity), c.Expected) << c.Gb << " " << c.Capacity;
    }
}

TEST(ShortString, SetTextCutsAtTheLastWholeCharacter) {
    ShortString<5> s;
    s.SetText("中文字");  // 6 bytes
    EXPECT_EQ(s.Length(), 4);
    EXPECT_EQ(s.Text(), "中文");
    s.SetText("ab中文");  // 6 bytes: "ab中" fits, 文 would need bytes 5 and 6
    EXPECT_EQ(s.Text(), "ab中");
    s.SetText("a😀b");
    EXPECT_EQ(s.Text(), "a😀");
    s.SetText("");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(ShortString, RoundTripsChineseNames) {
    ShortString<90> s;
    s.SetText("旅行 Travel 2026");
    EXPECT_EQ(s.Bytes(), "\xC2\xC3\xD0\xD0 Travel 2026");
    EXPECT_EQ(s.Text(), "旅行 Travel 2026");
    std::uint8_t raw[91];
    s.Encode(raw);
    ShortString<90> back;
    back.Decode(raw);
    EXPECT_EQ(back, s);
}

TEST(ShortString, SetBytesCutsRawText) {
    ShortString<3> s;
    s.SetBytes("\xD6\xD0\xCE\xC4");
    EXPECT_EQ(s.Bytes(), "\xD6\xD0");
}

TEST(ShortString, StoredCutCharacterShowsAsReplacement) {
    // A file written elsewhere may hold a character cut at the capacity.
    const std::uint8_t raw[4] = {3, 0xD6, 0xD0, 0xCE};
    ShortString<3> s;
    s.Decode(raw);
    EXPECT_EQ(s.Text(), "中\xEF\xBF\xBD");
}

TEST(TrimBlanks, RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(TrimBlanks(" \t\r\n相册 A\x01 "), "相册 A");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("a b"), "a b");
}

}  // namespace
}  // namespace velmora
