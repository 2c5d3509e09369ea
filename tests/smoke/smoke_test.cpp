#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>

TEST(Platform, RunsWithCodePage932) {
    EXPECT_EQ(932u, GetACP());
    const char* s = "図面";  // compiled to Shift_JIS
    EXPECT_EQ(0, std::memcmp(s, "\x90\x7D\x96\xCA", 4));
}
