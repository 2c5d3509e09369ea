// Code page 932 helpers: trail bytes 0x5C ('\') and 0x7C ('|') must never be
// taken for those characters, and cuts never split a character.
#include <gtest/gtest.h>
#include <string>
#include "base/dbcs.h"

TEST(Dbcs, LeadByteRanges) {
    const struct {
        unsigned char byte;
        int lead;
    } cases[] = {
        {0x00, 0}, {'A', 0},  {0x5C, 0},
        {0x7F, 0}, {0x80, 0}, {0x81, 1},
        {0x9F, 1}, {0xA0, 0}, {0xB1, 0} /* half-width katakana */,
        {0xDF, 0}, {0xE0, 1}, {0xFC, 1},
        {0xFD, 0}, {0xFF, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lead, IsSjisLeadByte(c.byte)) << "byte 0x" << std::hex << int(c.byte);
}

TEST(Dbcs, LiteralsAreShiftJisWithBackslashTrailBytes) {
    // The build stores narrow literals in code page 932.
    EXPECT_EQ(std::string("\x95\x5C"), std::string("表"));
    EXPECT_EQ(std::string("\x83\x5C"), std::string("ソ"));
    EXPECT_EQ(std::string("\x83\x7C"), std::string("ポ"));
}

TEST(Dbcs, FindSkipsTrailBytes) {
    const std::string text = "表|ソ\\x";  // 表 '|' ソ '\' x
    EXPECT_EQ(5u, DbcsFind(text, '\\'));
    EXPECT_EQ(2u, DbcsFind(text, '|'));
    EXPECT_EQ(std::string::npos, DbcsFind(text, '|', 3));
    EXPECT_EQ(std::string::npos, DbcsFind("ポ表ソ", '|'));
    EXPECT_EQ(std::string::npos, DbcsFind("ポ表ソ", '\\'));
    EXPECT_EQ(2u, DbcsFind("ポ|", '|'));
    EXPECT_EQ(1u, DbcsFindLast("a\\表", '\\'));
    EXPECT_EQ(std::string::npos, DbcsFindLast("表", '\\'));

    const char* z = "表\\能";
    EXPECT_EQ(z + 2, DbcsFindChar(z, '\\'));
    EXPECT_EQ(z + 2, DbcsFindLastChar(z, '\\'));
    EXPECT_EQ(nullptr, DbcsFindChar("ソ能表", '\\'));
}

TEST(Dbcs, TrailPositionAndStepping) {
    EXPECT_EQ(1, IsDbcsTrailAt("表x", 1));
    EXPECT_EQ(0, IsDbcsTrailAt("表x", 0));
    EXPECT_EQ(0, IsDbcsTrailAt("表x", 2));
    EXPECT_EQ(0, IsDbcsTrailAt("x表", 1));
    EXPECT_EQ(1, IsDbcsTrailAt(std::string("x表"), 2));
    // A lead byte before a byte that cannot follow it stands alone.
    EXPECT_EQ(0, IsDbcsTrailAt("\x81,", 1));

    const char* lone = "\x81";
    EXPECT_EQ(lone + 1, DbcsNext(lone));  // never past the terminator
    EXPECT_EQ(lone + 1, DbcsNext(lone + 1));
    const char* pair = "表a";
    EXPECT_EQ(pair + 2, DbcsNext(pair));
}

TEST(Dbcs, TruncateCutsOnCharacterBoundary) {
    const struct {
        const char* text;
        size_t n;
        const char* kept;
        int result;
    } cases[] = {
        {"ab表", 3, "ab", -1},  // 3rd and 4th bytes are one character
        {"ab表", 4, "ab表", 0}, {"ab表", 2, "ab", -1}, {"ab表", 10, "ab表", 0},
        {"表ソ", 1, "", -1},    {"ｱｲｳ", 2, "ｱｲ", -1},  // half-width katakana are single bytes
        {"", 0, "", 0},
    };
    for (const auto& c : cases) {
        char buffer[32];
        strcpy(buffer, c.text);
        EXPECT_EQ(c.result, TruncateDbcsText(buffer, c.n)) << c.text << " / " << c.n;
        EXPECT_STREQ(c.kept, buffer) << c.text << " / " << c.n;
        std::string s = c.text;
        EXPECT_EQ(c.result, TruncateDbcsText(s, c.n)) << c.text << " / " << c.n;
        EXPECT_EQ(c.kept, s) << c.text << " / " << c.n;
    }
}

TEST(Dbcs, CopyIsBoundedAndTerminated) {
    struct {
        char dst[6];
        char guard[4];
    } b;
    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(4u, DbcsCopy(b.dst, sizeof b.dst, "ab表ソ"));
    EXPECT_STREQ("ab表", b.dst);
    for (char g : b.guard)
        EXPECT_EQ(0x7F, g);
    EXPECT_EQ(0u, DbcsCopy(b.dst, 1, "xyz"));
    EXPECT_STREQ("", b.dst);
}
