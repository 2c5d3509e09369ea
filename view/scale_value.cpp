#include "view/scale_value.h"

#include <cmath>
#include <cstdio>

namespace {
// Counts the nested calls of one approximation; a deep one stops at 1/b.
int g_fractionDepth = 0;
const int kMaxFractionDepth = 10;
}  // namespace

int ApproximateFraction(double x, long* numerator, long* denominator, int nested) {
    if (nested)
        ++g_fractionDepth;
    else
        g_fractionDepth = 0;
    // Nothing to approximate (and 1 / x would overflow the whole numbers).
    if (!std::isfinite(x) || x <= 0 || x > 1) return 0;
    const double inverse = 1.0 / x;
    if (!(inverse < 2e9)) return 0;
    const long b = static_cast<long>(std::trunc(inverse + 0.5));
    const double d = std::fabs(inverse - static_cast<double>(b));
    long num = 1, den = b;
    if (!(d < 0.001) && g_fractionDepth <= kMaxFractionDepth) {
        const long e = inverse >= static_cast<double>(b) ? 1 : -1;
        long h = 0, l = 0;
        if (!ApproximateFraction(d, &h, &l, 1)) return 0;
        num = l;
        den = e * h + b * l;
    }
    if (den == 0) return 0;
    *numerator = num;
    *denominator = den;
    return std::fabs(x - static_cast<double>(num) / static_cast<double>(den)) <= 0.0001 ? 1 : 0;
}

void FormatScaleValue(double value, char* text, size_t size) {
    if (!text || size == 0) return;
    long num = 0, den = 1;
    if (value < 1 && ApproximateFraction(value, &num, &den, 0) &&
        std::fabs(value - static_cast<double>(num) / static_cast<double>(den)) <= 0.001)
        std::snprintf(text, size, "%ld/%ld", num, den);
    else
        std::snprintf(text, size, "%g", value);
}
