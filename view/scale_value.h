// Scale values shown as fractions ("1/50") where they are one.
#pragma once

#include <cstddef>

// "%ld/%ld" when the value is below 1 and a fraction lies within 0.001 of
// it, else "%g" of the value; cut to `size` bytes with its terminating zero.
void FormatScaleValue(double value, char* text, size_t size);

// Continued-fraction approximation of x (0 < x <= 1) as numerator /
// denominator: 1 when |x - numerator / denominator| <= 0.0001, else 0.
// 0 for x above 1, for x at or below 0 and for a value that is not finite;
// 1 gives 1/1. Callers pass nested 0; the function passes 1 to itself.
int ApproximateFraction(double x, long* numerator, long* denominator, int nested);
