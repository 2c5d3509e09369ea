// The one-step evaluator of numeric fields and the digits test.
#include <gtest/gtest.h>
#include "base/text_utils.h"

TEST(SimpleCalc, EvaluatesOneStep) {
    const struct {
        const char* text;
        double value;
        int error;
    } cases[] = {
        {"3*4", 12, 0},    {"1+2+3", 3, 0},  // only one operator is evaluated
        {"-5", -5, 0},                       // empty first number is 0
        {"2 3", 23, 0},                      // blanks inside a number are skipped
        {"  8  ", 8, 0},   {"1.5*2", 3, 0},  {"7-", 7, 0},    {"10/0", 0, 0},     {"1/3", 1.0 / 3, 0},
        {"3*-2", -6, 0},  // a sign after the operator belongs to the number
        {"3/-2", -1.5, 0}, {"3+-2", 1, 0},   {"3--2", 5, 0},  {"3 * - 2", -6, 0}, {"2*+3", 6, 0},
        {"--5", 5, 0},     {"", 0, 0},       {"1,000", 0, 1}, {"abc", 0, 1},      {"3x", 0, 1},
        {"3*x", 0, 1},     {"3*-2-", -6, 0}, {"3*2-", 6, 0},  {"-", 0, 0},
    };
    for (const auto& c : cases) {
        CSimpleCalc calc;
        EXPECT_DOUBLE_EQ(c.value, calc.Evaluate(c.text)) << "[" << c.text << "]";
        EXPECT_EQ(c.error, calc.m_error != 0) << "[" << c.text << "]";
    }
}

TEST(SimpleCalc, ErrorClearsOnNextEvaluation) {
    CSimpleCalc calc;
    EXPECT_EQ(0, calc.m_error);
    EXPECT_EQ(0, calc.m_position);
    calc.Evaluate("x");
    EXPECT_NE(0, calc.m_error);
    EXPECT_DOUBLE_EQ(2, calc.Evaluate("2"));
    EXPECT_EQ(0, calc.m_error);
}

TEST(SimpleCalc, OverlongNumberIsAnError) {
    std::string digits(2000, '1');
    CSimpleCalc calc;
    EXPECT_DOUBLE_EQ(0, calc.Evaluate(digits.c_str()));
    EXPECT_NE(0, calc.m_error);
}

TEST(TextUtils, IsDigitsOnly) {
    const struct {
        const char* text;
        int result;
    } cases[] = {
        {"", 0}, {"0123", 0}, {"12a", -1}, {" 1", -1}, {"-1", -1}, {"1.5", -1}, {"１２", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, IsDigitsOnly(c.text)) << "[" << c.text << "]";
}
