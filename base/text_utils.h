// Text helpers of the base layer: the one-step evaluator of numeric input
// fields, a bounded printf-style formatter with real-number conversions, and
// a digits test. The Shift_JIS helpers live in base/dbcs.h.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include "base/dbcs.h"

// Evaluates "number [operator number]" as typed into numeric fields:
// "3*4" 12, "-5" -5, "3*-2" -6; 0 for an empty text or a parse error.
class CSimpleCalc {
public:
    CSimpleCalc();
    double Evaluate(const char* text);

    int m_error;     // non-zero after a parse error
    int m_position;  // read index into the text being evaluated

private:
    double ReadNumber(const char* text, bool allowSign);
    int ReadOperator(const char* text);
};

// 0 when every character is a digit 0-9 (also for an empty text), else -1.
int IsDigitsOnly(const char* text);

// printf-style formatting: %d %u %x %X %o %c %s (with flags, width, precision,
// "*" and "l") and the real conversions %e %f %g; any other conversion is
// copied unchanged. Writes at most size - 1 bytes and a zero, cut on a
// character boundary, whatever the format and arguments. Returns the number
// of bytes written (without the zero).
int FormatTextV(char* out, size_t size, const char* format, va_list args);
int FormatText(char* out, size_t size, const char* format, ...);

// The same for a fixed array, whose size bounds the output.
template <size_t N, typename... Args>
inline int FormatText(char (&out)[N], const char* format, Args... args) {
    return FormatText(static_cast<char*>(out), N, format, args...);
}
template <size_t N>
inline int FormatTextV(char (&out)[N], const char* format, va_list args) {
    return FormatTextV(static_cast<char*>(out), N, format, args);
}

// One real conversion ("%8.3f", "%-10e", "%g"...) of a value; an empty text
// when the conversion does not have that shape.
std::string FormatFloat(const char* conversion, double value);
