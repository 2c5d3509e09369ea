#include "panels/attr_samples.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "panels/attr_selector_model.h"

void DrawLinePattern(HDC dc, const LineTypeEntry& pattern, COLORREF colour, int xFrom, int xTo, int y) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    const int count = std::min(std::max(pattern.segments, 0), 16);
    if (count == 0) {
        ::MoveToEx(dc, xFrom, y, nullptr);
        ::LineTo(dc, xTo, y);
    } else {
        int x = xFrom;
        for (int repeat = 0; repeat < 500 && x < xTo; ++repeat) {
            for (int i = 0; i < count && x < xTo; ++i) {
                double length;
                memcpy(&length, &pattern.lengths[i], sizeof length);
                const int pixels = std::max(1, (int)((length + 0.4) * 2));
                const int next = x + pixels;
                if (i % 2 == 0) {
                    ::MoveToEx(dc, x, y, nullptr);
                    ::LineTo(dc, std::min(next, xTo), y);
                } else if (next > xTo) {
                    x = xTo;  // a gap that passes the end ends the drawing
                    break;
                }
                x = next;
            }
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

int WidthBarThickness(double millimetres, int limit) {
    const int n = millimetres > 0 ? (int)(millimetres / 0.3) : 0;
    return std::max(0, std::min(n, limit));
}

void DrawWidthBar(COLORREF colour, int y, int n, HDC dc, int xFrom, int xTo) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    const int first = n == 0 ? y : y - n / 2 - 1;
    for (int k = 0; k <= n; ++k) {
        ::MoveToEx(dc, xFrom, first + k, nullptr);
        ::LineTo(dc, xTo, first + k);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

namespace {

// Positions measured inwards from the tip: the left end for a line start,
// the right end for a line end.
struct Tip {
    int tip, dir, other, ym;
    int X(int inwards) const { return tip + dir * inwards; }
};

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void Box(HDC dc, int x1, int y1, int x2, int y2, bool filled) {
    HGDIOBJ old = filled ? nullptr : ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(dc, std::min(x1, x2), y1, std::max(x1, x2), y2);
    if (old) ::SelectObject(dc, old);
}

void Circle(HDC dc, int cx, int cy, int r, bool filled) {
    HGDIOBJ old = filled ? nullptr : ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
    if (old) ::SelectObject(dc, old);
}

void Triangle(HDC dc, const Tip& t, bool filled) {
    POINT p[3] = {{t.tip, t.ym}, {t.X(18), t.ym - 3}, {t.X(18), t.ym + 3}};
    HGDIOBJ old = filled ? nullptr : ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Polygon(dc, p, 3);
    if (old) ::SelectObject(dc, old);
}

}  // namespace

void DrawLineEndShape(int type, HDC dc, int endFlag, int left, int top, int right, int bottom) {
    const int ym = top + (bottom - top) / 2;
    const Tip t = endFlag ? Tip{right, -1, left, ym} : Tip{left, 1, right, ym};
    const int side = endFlag ? 3 : -3;  // the side of the one-sided symbols
    auto lineFrom = [&](int inwards) { Line(dc, t.X(inwards), ym, t.other, ym); };
    switch (type) {
    case 1:
        lineFrom(0);
        Line(dc, t.tip, ym, t.X(18), ym - 3);
        Line(dc, t.tip, ym, t.X(18), ym + 3);
        break;
    case 2:
        lineFrom(4);
        Circle(dc, t.X(4), ym, 4, true);
        break;
    case 3:
        lineFrom(8);
        Box(dc, t.tip, ym - 4, t.X(8), ym + 4, false);
        break;
    case 4:
        lineFrom(4);
        Line(dc, t.tip, ym - side * 4 / 3, t.X(8), ym + side * 4 / 3);
        break;
    case 5:
        lineFrom(9);
        Triangle(dc, t, true);
        break;
    case 6:
        lineFrom(8);
        Circle(dc, t.X(4), ym, 4, false);
        break;
    case 7:
        lineFrom(4);
        Circle(dc, t.X(4), ym, 4, false);
        break;
    case 8:
        lineFrom(4);
        Box(dc, t.X(4) - 4, ym - 4, t.X(4) + 4, ym + 4, true);
        break;
    case 9:
        lineFrom(0);
        Line(dc, t.tip, ym, t.X(18), ym + side);
        break;
    case 10:
        lineFrom(0);
        Line(dc, t.tip, ym + side, t.X(18), ym + side);
        break;
    case 11:
        lineFrom(0);
        Triangle(dc, t, false);
        break;
    case 12:
        lineFrom(18);
        Triangle(dc, t, false);
        break;
    case 13: {
        lineFrom(4);
        // The wave as drawn at a right end; a start moves it to the left edge.
        static const POINT wave[10] = {{-8, 4}, {-5, 3}, {-5, 2}, {-5, 2}, {-4, 1},
                                       {-4, -1}, {-3, -2}, {-3, -3}, {0, -4}, {1, -4}};
        POINT p[10];
        const int shift = endFlag ? right : left + 8;
        for (int i = 0; i < 10; ++i)
            p[i] = {wave[i].x + shift, wave[i].y + ym};
        ::Polyline(dc, p, 10);
        break;
    }
    default: lineFrom(0); break;
    }
}

void DrawPointMarker(HDC dc, int kind, int x, int y) {
    auto line = [&](int x1, int y1, int x2, int y2) {
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
    };
    HGDIOBJ hollow = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    switch (kind) {
    case 1:
        line(x, y - 4, x, y + 5);
        line(x - 3, y - 2, x + 4, y + 3);
        line(x + 3, y - 2, x - 4, y + 3);
        break;
    case 2: ::Ellipse(dc, x - 4, y - 4, x + 4, y + 4); break;
    case 3: {
        HGDIOBJ brush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
        ::Ellipse(dc, x - 2, y - 2, x + 2, y + 2);
        ::SelectObject(dc, brush);
        break;
    }
    case 4:
        line(x - 4, y, x + 5, y);
        line(x, y - 4, x, y + 5);
        break;
    case 5: ::Rectangle(dc, x - 4, y - 4, x + 4, y + 4); break;
    case 6: {
        POINT p[3] = {{x - 4, y + 4}, {x, y - 3}, {x + 4, y + 4}};
        ::Polygon(dc, p, 3);
        break;
    }
    default:
        line(x - 4, y - 4, x + 5, y + 5);
        line(x + 4, y - 4, x - 5, y + 5);
        break;
    }
    ::SelectObject(dc, hollow);
}

namespace {

void EdgeLines(HDC dc, const RECT& r, COLORREF topLeftOuter, COLORREF topLeftInner, COLORREF bottomRightOuter,
               COLORREF bottomRightInner) {
    auto line = [&](COLORREF c, int x1, int y1, int x2, int y2) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, c);
        HGDIOBJ old = ::SelectObject(dc, pen);
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    };
    const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
    line(topLeftOuter, l, b, l, t);
    line(topLeftOuter, l, t, rr + 1, t);
    line(topLeftInner, l + 1, b - 1, l + 1, t + 1);
    line(topLeftInner, l + 1, t + 1, rr, t + 1);
    line(bottomRightOuter, l, b, rr + 1, b);
    line(bottomRightOuter, rr, t, rr, b);
    line(bottomRightInner, l + 1, b - 1, rr, b - 1);
    line(bottomRightInner, rr - 1, t + 1, rr - 1, b - 1);
}

}  // namespace

void PaintSelectorFrame(HDC dc, const RECT& rc, int faceEnd, bool dropButton) {
    EdgeLines(dc, rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_WINDOW),
              ::GetSysColor(COLOR_3DLIGHT));
    if (!dropButton) return;
    RECT drop = {faceEnd - 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &drop, nullptr, 0, nullptr);
    EdgeLines(dc, drop, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_3DDKSHADOW),
              ::GetSysColor(COLOR_BTNSHADOW));
}

namespace {
void FillRect(HDC dc, const RECT& r, COLORREF c) {
    ::SetBkColor(dc, c);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}
void RowText(HDC dc, int x, int y, const char* s) { ::TextOutA(dc, x, y, s, (int)strlen(s)); }
}  // namespace

COLORREF PaintAttrRowBackground(const DRAWITEMSTRUCT& d) {
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    FillRect(d.hDC, d.rcItem, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(d.hDC, TRANSPARENT);
    ::SetTextColor(d.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    return selected ? ::GetSysColor(COLOR_WINDOW) : RGB(0, 0, 0);
}

void DrawColourRow(HDC dc, const RECT& r, int index, COLORREF colour) {
    char text[32];
    snprintf(text, sizeof text, "色%ld", (long)(index + 1));
    RowText(dc, r.left + 2, r.top + 2, text);
    RECT patch = {r.left + 45, r.top + 2, r.right - 10, r.bottom - 3};
    FillRect(dc, patch, colour);
}

void DrawLineTypeRow(HDC dc, const RECT& r, int index, COLORREF sample) {
    char text[32];
    snprintf(text, sizeof text, "線種%ld", (long)index);
    RowText(dc, r.left + 2, r.top + 2, text);
    DrawLinePattern(dc, SelectorLineType(index), sample, r.left + 62, r.right - 8, r.top + (r.bottom - r.top) / 2);
}

void DrawLineWidthRow(HDC dc, const RECT& r, int index, COLORREF sample) {
    char text[32];
    const double mm = GetLineWidthValue(index);
    snprintf(text, sizeof text, "線幅%ld", (long)index);
    RowText(dc, r.left + 4, r.top + 4, text);
    snprintf(text, sizeof text, "%.2lf mm", mm);
    RowText(dc, r.right - 65, r.top + 4, text);
    DrawWidthBar(sample, r.top + (r.bottom - r.top) / 2, WidthBarThickness(mm, r.bottom - r.top - 8), dc, r.left + 62,
                 r.right - 70);
}
