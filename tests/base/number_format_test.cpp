// Number texts, rounding without floating-point noise, thousands separators.
#include <gtest/gtest.h>
#include <cmath>
#include "base/file_utils.h"

TEST(NumberFormat, FormatDouble) {
    const struct {
        double value;
        int precision;
        int strip;
        const char* text;
    } cases[] = {
        {1.5, 3, 1, "1.5"},           {2.0, 3, 1, "2"},       {2.0, 3, 0, "2.000"}, {-0.001, 2, 0, "0.00"},
        {-0.001, 2, 1, "0"},          {-1.25, 2, 1, "-1.25"}, {100.0, 0, 1, "100"},  // no point: zeros of the integer stay
        {1234.5678, 2, 0, "1234.57"}, {0.0, 3, 1, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, FormatDouble(c.value, c.precision, c.strip))
            << c.value << " / " << c.precision << " / " << c.strip;
}

TEST(NumberFormat, RoundDecimals) {
    const struct {
        double value;
        int decimals;
        double result;
    } cases[] = {
        {2.675, 2, 2.68},  // stored just below the half
        {1.005, 2, 1.01},         {0.125, 2, 0.13},     {-2.5, 0, -3.0},      {2.5, 0, 3.0},
        {-0.005, 2, -0.01},       {1234.5, -2, 1200.0}, {1250.0, -2, 1300.0}, {0.1 + 0.2, 1, 0.3},
        {12.3456789, 4, 12.3457}, {0.0, 2, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.result, RoundDecimals(c.value, c.decimals)) << c.value << " / " << c.decimals;
    // Values that round to zero give a plain zero, never a negative one.
    EXPECT_FALSE(std::signbit(RoundDecimals(0.004, 2)));
    EXPECT_FALSE(std::signbit(RoundDecimals(-0.004, 2)));
}

TEST(NumberFormat, SnapToStep) {
    const struct {
        double value, coarse, fine, result;
    } cases[] = {
        {7.0, 5.0, 1.0, 5.0},   {8.0, 5.0, 1.0, 10.0},
        {0.3, 0.0, 0.25, 0.25}, {0.7, 0.0, 1.0, 1.0},  // below the fine step: worked on the negated value
        {0.5, 0.0, 1.0, 1.0},   {-7.5, 5.0, 1.0, -10.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.result, SnapToStep(c.value, c.coarse, c.fine))
            << c.value << " / " << c.coarse << " / " << c.fine;
}

TEST(NumberFormat, InsertThousandsSeparators) {
    const struct {
        const char* text;
        const char* result;
    } cases[] = {
        {"1234567.89", "1,234,567.89"},
        {"-1234", "-1,234"},
        {"+1234567", "+1,234,567"},
        {"123", "123"},
        {"999", "999"},
        {"1000", "1,000"},
        {"123456", "123,456"},
        {"1234.5678", "1,234.5678"},
        {"  1234  ", "1,234"},
        {"12a45", "12a45"},
        {"1-234", "1-234"},
        {"-123", "-123"},
        {".5", ".5"},
        {"", ""},
        {"   ", ""},
        {"表1234", "表1234"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, InsertThousandsSeparators(c.text)) << "[" << c.text << "]";
}
