// printf-style formatting with real conversions, bounded by the caller's
// buffer; declared in text_utils.h.
#include "base/text_utils.h"

#include <windows.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kMaxPrecision = 100;

bool IsConversionChar(char c) { return c == '*' || c == '-' || c == '.' || c == 'l' || (c >= '0' && c <= '9'); }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Significant digits and exponent of |value| from "%.*e".
void Scientific(double value, int digits, std::string* mantissa, int* exponent) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, std::fabs(value));
    mantissa->clear();
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') *mantissa += *p;
    }
    *exponent = *p == 'e' ? std::atoi(p + 1) : 0;
}

std::string ExponentText(int exponent) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%+04d", exponent);
    return buffer;
}

std::string FixedText(double value, int precision) {
    int n = std::snprintf(nullptr, 0, "%.*f", precision, std::fabs(value));
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&text[0], text.size(), "%.*f", precision, std::fabs(value));
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string ExpText(double value, int precision, char letter) {
    std::string digits;
    int exponent;
    Scientific(value, precision + 1, &digits, &exponent);
    std::string text(1, digits[0]);
    if (digits.size() > 1) text += "." + digits.substr(1);
    return text + letter + ExponentText(exponent);
}

std::string GeneralText(double value, int precision) {
    int p = precision == 0 ? 1 : precision;
    std::string digits;
    int exponent;
    Scientific(value, p, &digits, &exponent);
    int point = exponent + 1;  // decimal point position
    if (point > p || point < -3) {
        while (digits.size() > 1 && digits.back() == '0')
            digits.pop_back();
        std::string text(1, digits[0]);
        if (digits.size() > 1) text += "." + digits.substr(1);
        return text + "e" + ExponentText(exponent);
    }
    std::string text;
    if (point <= 0) {
        text = "0." + std::string(static_cast<size_t>(-point), '0') + digits;
    } else {
        text = digits.substr(0, static_cast<size_t>(point));
        if (static_cast<int>(digits.size()) > point) text += "." + digits.substr(static_cast<size_t>(point));
    }
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

}  // namespace

std::string FormatFloat(const char* conversion, double value) {
    // "%" [- or 0] [width] [. precision] [l] letter, nothing more.
    const char* p = conversion;
    if (!p || *p++ != '%') return std::string();
    char flag = 0;
    if (*p == '-' || *p == '0') flag = *p++;
    int width = 0;
    while (*p >= '0' && *p <= '9') {
        width = width * 10 + (*p++ - '0');
        if (width > 4096) width = 4096;  // wider than any buffer of the system
    }
    int precision = 6;
    if (*p == '.') {
        ++p;
        precision = 0;
        while (*p >= '0' && *p <= '9') {
            precision = precision * 10 + (*p++ - '0');
            if (precision > kMaxPrecision) precision = kMaxPrecision;
        }
    }
    if (*p == 'l') ++p;
    char letter = *p++;
    if ((letter != 'e' && letter != 'f' && letter != 'g') || *p != '\0') return std::string();

    std::string body;
    if (!std::isfinite(value)) {
        body = std::isnan(value) ? "nan" : "inf";
    } else if (letter == 'f') {
        body = FixedText(value, precision);
    } else if (letter == 'e') {
        body = ExpText(value, precision, 'e');
    } else {
        body = GeneralText(value, precision);
    }
    std::string sign = std::signbit(value) && value != 0.0 ? "-" : "";
    if (std::isnan(value)) sign.clear();

    size_t length = sign.size() + body.size();
    size_t pad = static_cast<size_t>(width) > length ? static_cast<size_t>(width) - length : 0;
    if (flag == '-') return sign + body + std::string(pad, ' ');
    if (flag == '0')  // zeros go between the sign and the digits
        return sign + std::string(pad, '0') + body;
    return std::string(pad, ' ') + sign + body;
}

namespace {

// %s with flags, width and precision; the precision cuts on a character
// boundary.
std::string StringConversion(const std::string& conv, const char* value) {
    if (!value) value = "(null)";
    bool left = false;
    size_t i = 1;
    for (; i < conv.size() && (conv[i] == '-' || conv[i] == '0'); ++i) {
        if (conv[i] == '-') left = true;
    }
    long width = std::strtol(conv.c_str() + i, nullptr, 10);
    size_t dot = conv.find('.');
    size_t length = std::strlen(value);
    if (dot != std::string::npos) {
        long precision = std::strtol(conv.c_str() + dot + 1, nullptr, 10);
        if (precision >= 0 && static_cast<size_t>(precision) < length)
            length = DbcsBoundary(value, static_cast<size_t>(precision));
    }
    std::string text(value, length);
    if (width > 4096) width = 4096;
    if (width > 0 && static_cast<size_t>(width) > length) {
        std::string pad(static_cast<size_t>(width) - length, ' ');
        text = left ? text + pad : pad + text;
    }
    return text;
}

// An integer or character conversion through the platform's formatter, which
// never writes more than 1024 characters.
std::string IntegerConversion(std::string conv, int value) {
    // One 'l' at most: the argument is always a 32-bit int here.
    size_t l;
    while ((l = conv.find("ll")) != std::string::npos)
        conv.erase(l, 1);
    char buffer[1025];
    // The platform's formatter has no octal conversion.
    int n = conv.back() == 'o' ? std::snprintf(buffer, sizeof buffer, conv.c_str(), static_cast<unsigned>(value))
                               : wsprintfA(buffer, conv.c_str(), value);
    if (n > static_cast<int>(sizeof buffer) - 1) n = static_cast<int>(sizeof buffer) - 1;
    if (n < 0) n = 0;
    return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace

int FormatTextV(char* out, size_t size, const char* format, va_list args) {
    if (!out || size == 0) return 0;
    if (!format) {
        out[0] = '\0';
        return 0;
    }
    std::string result;
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            result += *p++;
            continue;
        }
        if (p[1] == '%') {
            result += '%';
            p += 2;
            continue;
        }
        // Collect the conversion, replacing each '*' by its argument.
        const char* q = p + 1;
        std::string conv = "%";
        std::string written = "%";
        while (*q && IsConversionChar(*q)) {
            written += *q;
            ++q;
        }
        char letter = *q;
        if (!IsLetter(letter)) {
            // Not a conversion: copy it as it stands.
            result += written;
            p = q;
            continue;
        }
        bool known = std::strchr("duxXocsefg", letter) != nullptr;
        if (!known) {
            result += written;
            result += letter;
            p = q + 1;
            continue;
        }
        for (size_t i = 1; i < written.size(); ++i) {
            if (written[i] == '*')
                conv += std::to_string(va_arg(args, int));
            else
                conv += written[i];
        }
        conv += letter;
        if (letter == 'e' || letter == 'f' || letter == 'g') {
            result += FormatFloat(conv.c_str(), va_arg(args, double));
        } else if (letter == 's') {
            result += StringConversion(conv, va_arg(args, const char*));
        } else {
            result += IntegerConversion(conv, va_arg(args, int));
        }
        p = q + 1;
    }
    return static_cast<int>(DbcsCopy(out, size, result.c_str()));
}

int FormatText(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatTextV(out, size, format, args);
    va_end(args);
    return n;
}
