// Number-to-text conversion, rounding and thousands separators; declared in
// file_utils.h.
#include "base/file_utils.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

std::string FormatDouble(double value, int precision, int strip) {
    int n = std::snprintf(nullptr, 0, "%.*f", precision, value);
    if (n < 0) return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&text[0], text.size(), "%.*f", precision, value);
    text.resize(static_cast<size_t>(n));
    if (strip && !text.empty() && text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    if (!text.empty() && text[0] == '-' && std::atof(text.c_str()) == 0.0) text.erase(0, 1);
    return text;
}

// floor(q + 0.5) lifted by a few units in the last place, so that a value
// stored just below a half still rounds up.
static double RoundHalfUp(double q) { return std::floor(q + 0.5 + std::min(q * std::ldexp(1.0, -52), 0.05)); }

double SnapToStep(double x, double coarse, double fine) {
    double s = x >= fine ? 1.0 : -1.0;
    double v = s * x;
    double m = fine * RoundHalfUp(v / fine);
    if (coarse > fine) m = coarse * RoundHalfUp(m / coarse);
    double result = s * m;
    return result == 0.0 ? 0.0 : result;  // no negative zero
}

double RoundDecimals(double value, int decimals) {
    unsigned int e =
        decimals < 0 ? static_cast<unsigned int>(-(long long)decimals) : static_cast<unsigned int>(decimals);
    double power = 1.0, base = 10.0;
    while (e) {
        if (e & 1) power *= base;
        base *= base;
        e >>= 1;
    }
    double step = decimals >= 0 ? 1.0 / power : power;
    return SnapToStep(value, step, 1e-8);
}

std::string InsertThousandsSeparators(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(' ');
    std::string trimmed = text.substr(begin, end - begin + 1);
    size_t point = trimmed.find('.');
    std::string integer = trimmed.substr(0, point);
    if (trimmed[0] == '.' || integer.size() < 4) return trimmed;

    std::string out;
    int digits = 0;
    for (size_t i = integer.size(); i-- > 0;) {
        char c = integer[i];
        if (c >= '0' && c <= '9') {
            if (digits > 0 && digits % 3 == 0) out.insert(out.begin(), ',');
            out.insert(out.begin(), c);
            ++digits;
        } else if (i == 0) {
            out.insert(out.begin(), c);
        } else {
            return trimmed;
        }
    }
    if (point != std::string::npos) out += trimmed.substr(point);
    return out;
}
