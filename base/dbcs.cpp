// Code page 932 character handling; see dbcs.h.
#include "base/dbcs.h"

#include <cstring>

int IsSjisLeadByte(unsigned char byte) {
    return ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) ? 1 : 0;
}

int IsSjisTrailByte(unsigned char byte) {
    return ((byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC)) ? 1 : 0;
}

size_t DbcsCharLength(const char* p) {
    if (!p || *p == '\0') return 0;
    if (IsSjisLeadByte(static_cast<unsigned char>(p[0])) && IsSjisTrailByte(static_cast<unsigned char>(p[1]))) return 2;
    return 1;
}

const char* DbcsNext(const char* p) { return p + DbcsCharLength(p); }

static size_t CharLengthAt(const std::string& text, size_t i) {
    if (i + 1 < text.size() && IsSjisLeadByte(static_cast<unsigned char>(text[i])) &&
        IsSjisTrailByte(static_cast<unsigned char>(text[i + 1])))
        return 2;
    return 1;
}

size_t DbcsFind(const std::string& text, char ch, size_t pos) {
    // Walk from the start so that `pos` itself is judged on a boundary.
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (i >= pos && text[i] == ch && CharLengthAt(text, i) == 1) return i;
    }
    return std::string::npos;
}

size_t DbcsFindLast(const std::string& text, char ch) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (text[i] == ch && CharLengthAt(text, i) == 1) found = i;
    }
    return found;
}

const char* DbcsFindChar(const char* text, char ch) {
    if (!text) return nullptr;
    for (const char* p = text; *p; p = DbcsNext(p)) {
        if (*p == ch && DbcsCharLength(p) == 1) return p;
    }
    return nullptr;
}

const char* DbcsFindLastChar(const char* text, char ch) {
    const char* found = nullptr;
    if (!text) return nullptr;
    for (const char* p = text; *p; p = DbcsNext(p)) {
        if (*p == ch && DbcsCharLength(p) == 1) found = p;
    }
    return found;
}

int IsDbcsTrailAt(const char* text, size_t index) {
    if (!text) return 0;
    const char* p = text;
    while (*p && static_cast<size_t>(p - text) < index) {
        size_t len = DbcsCharLength(p);
        if (len == 2 && static_cast<size_t>(p - text) + 1 == index) return 1;
        p += len;
    }
    return 0;
}

int IsDbcsTrailAt(const std::string& text, size_t index) {
    for (size_t i = 0; i < text.size() && i < index;) {
        size_t len = CharLengthAt(text, i);
        if (len == 2 && i + 1 == index) return 1;
        i += len;
    }
    return 0;
}

size_t DbcsBoundary(const char* text, size_t n) {
    if (!text) return 0;
    size_t i = 0;
    while (text[i]) {
        size_t len = DbcsCharLength(text + i);
        if (i + len > n) break;
        i += len;
    }
    return i;
}

size_t DbcsBoundary(const std::string& text, size_t n) {
    size_t i = 0;
    while (i < text.size()) {
        size_t len = CharLengthAt(text, i);
        if (i + len > n) break;
        i += len;
    }
    return i;
}

int TruncateDbcsText(char* text, size_t n) {
    if (!text || std::strlen(text) <= n) return 0;
    text[DbcsBoundary(text, n)] = '\0';
    return -1;
}

int TruncateDbcsText(std::string& text, size_t n) {
    if (text.size() <= n) return 0;
    text.resize(DbcsBoundary(text, n));
    return -1;
}

size_t DbcsCopy(char* dst, size_t size, const char* src) {
    if (!dst || size == 0) return 0;
    if (!src) src = "";
    size_t len = DbcsBoundary(src, size - 1);
    std::memcpy(dst, src, len);
    dst[len] = '\0';
    return len;
}
