// printf-style formatting: conversions as written, real conversions with
// three-digit exponents, and output bounded by the buffer whatever the text.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "base/text_utils.h"

namespace {
std::string F(const char* format, ...) {
    static char buffer[8192];
    va_list args;
    va_start(args, format);
    int n = FormatTextV(buffer, sizeof buffer, format, args);
    va_end(args);
    EXPECT_EQ(strlen(buffer), static_cast<size_t>(n)) << format;
    return buffer;
}
}  // namespace

TEST(FormatText, RealConversions) {
    EXPECT_EQ("3.14", F("%.2f", 3.14159));
    EXPECT_EQ("  -2.500", F("%8.3f", -2.5));
    EXPECT_EQ("1.500000e+003", F("%e", 1500.0));
    EXPECT_EQ("0.0001", F("%g", 0.0001));
    EXPECT_EQ("1e-005", F("%g", 0.00001));
    EXPECT_EQ("1.23457e+008", F("%g", 123456789.0));
    EXPECT_EQ("0.000000", F("%f", 0.0));
    EXPECT_EQ("0.000000e+000", F("%e", 0.0));
    EXPECT_EQ("0", F("%g", 0.0));
    EXPECT_EQ("1.250000", F("%lf", 1.25));
    EXPECT_EQ("2", F("%.0f", 2.0));
    EXPECT_EQ("1.235e+005", F("%.3e", 123456.0));
    EXPECT_EQ("1.0e+001", F("%.1e", 9.96));
    EXPECT_EQ("2e+000", F("%.0e", 2.0));
    EXPECT_EQ("-1.200000e-004", F("%e", -0.00012));
    EXPECT_EQ("1.000000e+100", F("%e", 1e100));
    EXPECT_EQ("100", F("%g", 100.0));
    EXPECT_EQ("123456", F("%g", 123456.0));
    EXPECT_EQ("1e+006", F("%g", 1e6));
    EXPECT_EQ("0.5", F("%.3g", 0.5));
    EXPECT_EQ("2", F("%.0g", 2.0));
    EXPECT_EQ("-2.5", F("%g", -2.5));
    EXPECT_EQ("     3.142|", F("%10.4g|", 3.14159));
    EXPECT_EQ("1.50    |", F("%-8.2f|", 1.5));
    EXPECT_EQ("00001.50", F("%08.2f", 1.5));
    EXPECT_EQ("-0001.50", F("%08.2f", -1.5));  // zeros after the sign
    EXPECT_EQ("1.00", F("%.*f", 2, 1.0));
    EXPECT_EQ("   2.000", F("%*.*f", 8, 3, 2.0));
}

TEST(FormatText, OtherConversions) {
    EXPECT_EQ("  abc", F("%5s", "abc"));
    EXPECT_EQ("abc  |", F("%-5s|", "abc"));
    EXPECT_EQ("ab", F("%.2s", "abcdef"));
    EXPECT_EQ("  表", F("%4.3s", "表ソ"));  // precision cuts on a character boundary
    EXPECT_EQ("(null)", F("%s", static_cast<const char*>(nullptr)));
    EXPECT_EQ("-5 表 ff FF 17 A", F("%d %s %x %X %o %c", -5, "表", 255, 255, 15, 'A'));
    EXPECT_EQ("   42|42   |00042", F("%5d|%-5d|%05d", 42, 42, 42));
    EXPECT_EQ("   42", F("%*d", 5, 42));
    EXPECT_EQ("4294967295 7", F("%u %ld", 0xFFFFFFFFu, 7L));
    EXPECT_EQ("100%", F("100%%"));
    EXPECT_EQ("100%", F("100%"));
    EXPECT_EQ("%5", F("%5"));
    EXPECT_EQ("%+d", F("%+d"));
    // Unknown letters are copied and use no argument.
    EXPECT_EQ("%q5", F("%q%d", 5));
    EXPECT_EQ("%i %E 7", F("%i %E %d", 7));
    EXPECT_EQ("表示ソ 12 能", F("表示ソ %d 能", 12));
}

TEST(FormatText, LongTextsAreNotCut) {
    std::string text(3000, 'x');
    EXPECT_EQ(text + "!", F("%s!", text.c_str()));
}

TEST(FormatText, NeverWritesPastTheBuffer) {
    struct {
        char buffer[8];
        char guard[8];
    } b;
    const auto guardIntact = [&b] {
        for (char g : b.guard)
            if (g != 0x7F) return false;
        return true;
    };

    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(7, FormatText(b.buffer, "%s", "0123456789abcdef"));
    EXPECT_STREQ("0123456", b.buffer);
    EXPECT_TRUE(guardIntact());

    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(7, FormatText(b.buffer, "%2000d", 1));
    EXPECT_TRUE(guardIntact());

    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(7, FormatText(b.buffer, "%.50f", 1.0 / 3));
    EXPECT_STREQ("0.33333", b.buffer);
    EXPECT_TRUE(guardIntact());

    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(7, FormatText(b.buffer, "%99999999f", 1.0));
    EXPECT_STREQ("       ", b.buffer);
    EXPECT_TRUE(guardIntact());

    memset(&b, 0x7F, sizeof b);
    FormatText(b.buffer, "%e %e %e", 1e300, -1e-300, 5.0);
    EXPECT_TRUE(guardIntact());

    // A double-byte character that does not fit is left out whole.
    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(6, FormatText(b.buffer, "abcd%s", "表ソ"));
    EXPECT_STREQ("abcd表", b.buffer);
    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(6, FormatText(b.buffer, "abcdef%s", "表ソ"));
    EXPECT_STREQ("abcdef", b.buffer);
    EXPECT_TRUE(guardIntact());

    // The size-taking form with an explicit size.
    memset(&b, 0x7F, sizeof b);
    EXPECT_EQ(2, FormatText(b.buffer, 3, "%d", 12345));
    EXPECT_STREQ("12", b.buffer);
    EXPECT_EQ(0x7F, b.buffer[3]);
    EXPECT_EQ(0, FormatText(b.buffer, 1, "%d", 12345));
    EXPECT_STREQ("", b.buffer);
    b.buffer[0] = 'z';
    const size_t none = 0;
    EXPECT_EQ(0, FormatText(b.buffer, none, "%d", 12345));
    EXPECT_EQ('z', b.buffer[0]);
}
