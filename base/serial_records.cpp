#include "base/serial_records.h"

#include <cstring>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One colour component from the pair at pos: its leading hex digits, 0 when
// the pair does not start with one. Never reads past the text.
int HexPair(const std::string& t, size_t pos) {
    if (pos >= t.size()) return 0;
    int hi = HexDigit(t[pos]);
    if (hi < 0) return 0;
    if (pos + 1 >= t.size()) return hi;
    int lo = HexDigit(t[pos + 1]);
    return lo < 0 ? hi : hi * 16 + lo;
}

}  // namespace

COLORREF ParseColorText(const std::string& text) {
    if (text.empty()) return 0;
    if (text == "COLOR_3DFACE") return GetSysColor(COLOR_BTNFACE);
    if (text[0] != '#') return 0;
    const int blue = HexPair(text, 5);
    const int green = HexPair(text, 3);
    const int red = HexPair(text, 1);
    return (static_cast<COLORREF>(blue) << 16) | (static_cast<COLORREF>(green) << 8) | static_cast<COLORREF>(red);
}

bool operator==(const ColorRefEx& a, const ColorRefEx& b) { return a.color == b.color && a.text == b.text; }
bool operator==(const ColorBtnAttrEx& a, const ColorBtnAttrEx& b) {
    return a.text == b.text && a.bkgnd == b.bkgnd && a.disabled == b.disabled && a.textText == b.textText &&
           a.bkgndText == b.bkgndText && a.disabledText == b.disabledText;
}
bool operator==(const PaperMarginEx& a, const PaperMarginEx& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom && a.left2 == b.left2 &&
           a.right2 == b.right2 && a.top2 == b.top2 && a.bottom2 == b.bottom2 && a.color == b.color &&
           a.papercolor == b.papercolor;
}
bool operator==(const DPointEx& a, const DPointEx& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
bool operator==(const RectEx& a, const RectEx& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
