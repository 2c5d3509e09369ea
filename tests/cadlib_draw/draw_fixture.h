// Helpers of the painting and search tests: a memory bitmap to paint into, a
// DrawParam for it, and records of each element kind.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "tests/cadlib/drawing_builder.h"

namespace drawtest {

using cadtest::Db;
using cadtest::Record;

// A 32-bit top-down memory bitmap with a device context.
struct Canvas {
    int w, h;
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* px = nullptr;
    Canvas(int width, int height, COLORREF bg) : w(width), h(height) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        px = static_cast<uint32_t*>(bits);
        Fill(bg);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    void Fill(COLORREF c) {
        RECT r{0, 0, w, h};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
        GdiFlush();
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        uint32_t v = px[y * w + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
    // Pixels of colour c in a rectangle (edges included).
    int Count(COLORREF c, int l, int t, int r, int b) const {
        int n = 0;
        for (int y = std::max(0, t); y <= std::min(h - 1, b); ++y)
            for (int x = std::max(0, l); x <= std::min(w - 1, r); ++x)
                if (At(x, y) == c) ++n;
        return n;
    }
    int CountNot(COLORREF c) const { return w * h - Count(c, 0, 0, w - 1, h - 1); }
    std::vector<uint32_t> Copy() const {
        GdiFlush();
        return std::vector<uint32_t>(px, px + w * h);
    }
    // Writes the picture as a 32-bit top-down BMP for people to look at.
    bool SaveBmp(const std::string& path) const {
        FILE* f = fopen(path.c_str(), "wb");
        if (!f) return false;
        BITMAPFILEHEADER fh = {};
        BITMAPINFOHEADER ih = {};
        ih.biSize = sizeof ih;
        ih.biWidth = w;
        ih.biHeight = -h;
        ih.biPlanes = 1;
        ih.biBitCount = 32;
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + w * h * 4;
        const std::vector<uint32_t> pixels = Copy();
        bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 &&
                  fwrite(pixels.data(), 4, pixels.size(), f) == pixels.size();
        return fclose(f) == 0 && ok;
    }
};

// A DrawParam for the canvas: world (0, 0) at the canvas centre, `scale`
// pixels per drawing unit, one paper millimetre per pixel.
inline DrawParam Param(const Canvas& c, double scale, COLORREF bg) {
    DrawParam p;
    memset(&p, 0, sizeof p);
    p.size = sizeof p;
    p.targetKind = kDrawToDc;
    p.dc = c.dc;
    p.client[2] = c.w;
    p.client[3] = c.h;
    p.centre[0] = c.w / 2;
    p.centre[1] = c.h / 2;
    p.scale = scale;
    p.drawScale = 1;
    p.pixelsPerMm = 1;
    p.background = bg;
    return p;
}

inline COLORREF Pen(DbHeader* db, int index) {
    const ColourEntry& e = db->info->colours[index];
    int r = e.red, g = e.green, b = e.blue;
    return RGB(r, g, b);
}

inline void SetBackground(DbHeader* db, COLORREF c) {
    db->info->colours[0].red = GetRValue(c);
    db->info->colours[0].green = GetGValue(c);
    db->info->colours[0].blue = GetBValue(c);
}

inline ElementRecord Line(double x1, double y1, double x2, double y2, int colour = 2) {
    ElementRecord r = cadtest::Line(x1, y1, x2, y2);
    r.colour = static_cast<uint16_t>(colour);
    return r;
}
inline ElementRecord Point(double x, double y, int colour = 2) {
    ElementRecord r = Record(kElmPoint, 0, 0, static_cast<uint16_t>(colour));
    CadSetF64(&r, kOffP1X, x);
    CadSetF64(&r, kOffP1Y, y);
    return r;
}
inline ElementRecord Circle(double x, double y, double rad, int colour = 2) {
    ElementRecord r = Record(kElmCircle, 0, 0, static_cast<uint16_t>(colour));
    CadSetF64(&r, kOffP1X, x);
    CadSetF64(&r, kOffP1Y, y);
    CadSetF64(&r, kOffRadius, rad);
    return r;
}
inline ElementRecord Arc(double x, double y, double rad, double a0, double a1, int dir = 0, int colour = 2) {
    ElementRecord r = Record(kElmArc, 0, 0, static_cast<uint16_t>(colour));
    CadSetF64(&r, kOffP1X, x);
    CadSetF64(&r, kOffP1Y, y);
    CadSetF64(&r, kOffRadius, rad);
    CadSetF64(&r, kOffArcStart, a0);
    CadSetF64(&r, kOffArcEnd, a1);
    CadSetU16(&r, kOffArcDir, static_cast<uint16_t>(dir));
    return r;
}
inline ElementRecord Oval(double x, double y, double ax, double ay, double ratio, int colour = 2) {
    ElementRecord r = Record(kElmEllipse, 0, 0, static_cast<uint16_t>(colour));
    CadSetF64(&r, kOffP1X, x);
    CadSetF64(&r, kOffP1Y, y);
    CadSetF64(&r, kOffP2X, ax);
    CadSetF64(&r, kOffP2Y, ay);
    CadSetF64(&r, kOffEllRatio, ratio);
    return r;
}
inline ElementRecord OvalArc(double x, double y, double ax, double ay, double ratio, double a0, double a1,
                             int colour = 2) {
    ElementRecord r = Oval(x, y, ax, ay, ratio, colour);
    r.kind = kElmEllipticArc;
    CadSetF64(&r, kOffEllStart, a0);
    CadSetF64(&r, kOffEllEnd, a1);
    return r;
}
// The caller keeps `text` alive until the record is appended.
inline ElementRecord Text(double x, double y, double height, double width, const char* text, int colour = 2) {
    ElementRecord r = Record(kElmText, 0, 0, static_cast<uint16_t>(colour));
    CadSetF64(&r, kOffTextSize1, height);
    CadSetF64(&r, kOffTextSize2, width);
    CadSetF64(&r, kOffTextSize3, 0);
    CadSetF64(&r, kOffTextAngle, 0);
    CadSetPtr(&r, kOffTextPtr, text);
    CadSetU32(&r, kOffTextLen, static_cast<uint32_t>(strlen(text)));
    CadSetF64(&r, kOffTextX, x);
    CadSetF64(&r, kOffTextY, y);
    return r;
}
inline ElementRecord Box2(uint16_t kind, double x1, double y1, double x2, double y2, int colour = 2) {
    ElementRecord r = cadtest::Line(x1, y1, x2, y2);
    r.kind = kind;
    r.colour = static_cast<uint16_t>(colour);
    return r;
}
inline void SetStyle(ElementRecord& r, int type, int width) {
    reinterpret_cast<uint8_t*>(&r)[13] = static_cast<uint8_t>(type);
    reinterpret_cast<uint8_t*>(&r)[14] = static_cast<uint8_t>(width);
}

inline int Paint(DbHeader* db, DrawParam& p) {
    DAriDrawPre(db, &p);
    int r = DAriDraw(db, &p);
    GdiFlush();
    return r;
}

}  // namespace drawtest
