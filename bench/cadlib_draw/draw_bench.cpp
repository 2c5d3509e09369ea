// Painting and searching a drawing of a million elements (lines, arcs,
// circles and texts over a building 400 m by 250 m, drawn room by room), each figure beside the
// same work done by a plain scan over every element, with the ratio, and a
// check that both gave the same result.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"

namespace {

double Now() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / f.QuadPart;
}

const double kW = 400000, kH = 250000;     // millimetres
const char* kLabels[] = {"SA-250", "RA", "FD", "VD-1", "150φ", "空調機", "EA 300", "排気"};

void Build(DbHeader* db, int n) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> ux(-kW / 2, kW / 2), uy(-kH / 2, kH / 2), u01(0, 1), ang(0, 6.2831853);
    std::uniform_real_distribution<double> room(-5000, 5000);
    ElementRecord r;
    double rx = 0, ry = 0;
    for (int i = 0; i < n; ++i) {
        // Drawings are made room by room: elements that follow each other
        // lie near each other.
        if (i % 200 == 0) {
            rx = ux(rng);
            ry = uy(rng);
        }
        memset(&r, 0, sizeof r);
        r.colour = static_cast<uint16_t>(1 + rng() % 8);
        double x = std::max(-kW / 2, std::min(kW / 2, rx + room(rng)));
        double y = std::max(-kH / 2, std::min(kH / 2, ry + room(rng)));
        int k = rng() % 100;
        if (k < 55) {
            // Short segments outnumber long ones: log-uniform 50 mm to 5 m.
            double len = 50 * std::pow(100.0, u01(rng)), a = (rng() % 4) * 1.5707963 + (rng() % 8 ? 0 : ang(rng));
            r.kind = kElmLine;
            CadSetF64(&r, kOffP1X, x);
            CadSetF64(&r, kOffP1Y, y);
            CadSetF64(&r, kOffP2X, x + len * std::cos(a));
            CadSetF64(&r, kOffP2Y, y + len * std::sin(a));
        } else if (k < 70) {
            r.kind = kElmArc;
            CadSetF64(&r, kOffP1X, x);
            CadSetF64(&r, kOffP1Y, y);
            CadSetF64(&r, kOffRadius, 100 + 900 * u01(rng));
            CadSetF64(&r, kOffArcStart, ang(rng));
            CadSetF64(&r, kOffArcEnd, ang(rng));
        } else if (k < 85) {
            r.kind = kElmCircle;
            CadSetF64(&r, kOffP1X, x);
            CadSetF64(&r, kOffP1Y, y);
            CadSetF64(&r, kOffRadius, 50 + 450 * u01(rng));
        } else {
            const char* t = kLabels[rng() % 8];
            double h = 150 + 200 * u01(rng);
            r.kind = kElmText;
            CadSetF64(&r, kOffTextSize1, h);
            CadSetF64(&r, kOffTextSize2, h / 2);
            CadSetPtr(&r, kOffTextPtr, t);
            CadSetU32(&r, kOffTextLen, static_cast<uint32_t>(strlen(t)));
            CadSetF64(&r, kOffTextX, x);
            CadSetF64(&r, kOffTextY, y);
        }
        DAriAppendElement(&r, db);
    }
}

struct Dib {
    HDC dc;
    HBITMAP bmp, old;
    uint32_t* px;
    int w, h;
    Dib(int width, int height) : w(width), h(height) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = static_cast<HBITMAP>(SelectObject(dc, bmp));
        px = static_cast<uint32_t*>(bits);
    }
    void Clear() { memset(px, 0, static_cast<size_t>(w) * h * 4); }
};

DrawParam ParamFor(Dib& d, double scale, double cx, double cy) {
    DrawParam p;
    memset(&p, 0, sizeof p);
    p.size = sizeof p;
    p.targetKind = kDrawToDc;
    p.dc = d.dc;
    p.client[2] = d.w;
    p.client[3] = d.h;
    p.centre[0] = d.w / 2;
    p.centre[1] = d.h / 2;
    p.scale = scale;
    p.drawScale = 0.01;
    p.pixelsPerMm = scale / 0.01;
    p.offsetX = -cx;
    p.offsetY = -cy;
    return p;
}

double PaintTime(DbHeader* db, Dib& d, DrawParam& p, int reps) {
    double best = 1e9;
    for (int i = 0; i < reps; ++i) {
        d.Clear();
        double t0 = Now();
        DAriDrawPre(db, &p);
        DAriDraw(db, &p);
        GdiFlush();
        best = std::min(best, Now() - t0);
    }
    return best;
}

int Painted(const Dib& d) {
    int n = 0;
    for (int i = 0; i < d.w * d.h; ++i) n += (d.px[i] & 0xFFFFFF) != 0;
    return n;
}

std::vector<void*> Items(CadMark* m) {
    std::vector<void*> v;
    for (void* e = DAriGetNextMark(nullptr, m); e; e = DAriGetNextMark(e, m)) v.push_back(e);
    DAriDestroyMark(m);
    return v;
}

void Row(const char* what, double fast, double slow, const char* same, const char* extra = "") {
    printf("%-44s %10.3f ms %12.3f ms %9.1fx  %-9s %s\n", what, fast * 1e3, slow * 1e3, slow / fast, same, extra);
}

}  // namespace

int main() {
    const int n = 1000000;
    DbHeader db;
    memset(&db, 0, sizeof db);
    DAriCreateDB(&db);
    DAriUndoFgSet(&db, 0);
    double t0 = Now();
    Build(&db, n);
    printf("CAD library painting and searching, %d elements (lines 55%%, arcs 15%%, circles 15%%, texts 15%%)\n", n);
    printf("built in %.2f s\n", Now() - t0);
    t0 = Now();
    DrawParam pre;
    memset(&pre, 0, sizeof pre);
    pre.size = sizeof pre;
    DAriDrawPre(&db, &pre);
    printf("spatial index built in %.2f s\n\n", Now() - t0);
    printf("%-44s %13s %15s %10s  %s\n", "operation", "indexed", "plain scan", "ratio", "result");

    Dib d(1920, 1080);
    // Whole drawing fitted.
    double fit = std::min(1920 / kW, 1080 / kH) * 0.98;
    DrawParam whole = ParamFor(d, fit, 0, 0);
    double tw = PaintTime(&db, d, whole, 3);
    int pw = Painted(d);
    DAriSetSettingsDataInt("NoSpatialIndex", 1);
    std::vector<uint32_t> wa(d.px, d.px + 1920 * 1080);
    double tws = PaintTime(&db, d, whole, 1);
    std::vector<uint32_t> wb(d.px, d.px + 1920 * 1080);
    DAriSetSettingsDataInt("NoSpatialIndex", 0);
    char note[96];
    snprintf(note, sizeof note, "(%d pixels painted)", pw);
    Row("paint whole drawing, 1920x1080", tw, tws, wa == wb ? "same" : "DIFFERENT", note);
    // Every element stroked one by one, for the level of detail's gain.
    DAriSetSettingsDataInt("DrawDetail", 1);
    double twd = PaintTime(&db, d, whole, 1);
    int pwd = Painted(d);
    DAriSetSettingsDataInt("DrawDetail", 0);
    snprintf(note, sizeof note, "(%d pixels painted when all are stroked)", pwd);
    Row("  same, every element stroked through GDI", tw, twd, "shown", note);

    // A zoomed view showing about 1% of the area (~10,000 elements).
    double zoom = 1920 / (kW * 0.1);
    DrawParam zp = ParamFor(d, zoom, 12345, -6789);
    double tz = PaintTime(&db, d, zp, 5);
    std::vector<uint32_t> a(d.px, d.px + 1920 * 1080);
    DAriSetSettingsDataInt("NoSpatialIndex", 1);
    double tzs = PaintTime(&db, d, zp, 1);
    std::vector<uint32_t> b(d.px, d.px + 1920 * 1080);
    DAriSetSettingsDataInt("NoSpatialIndex", 0);
    double visW = 1920 / zoom, visH = 1080 / zoom;
    const double vis[4] = {12345 - visW / 2, -6789 + visH / 2, 12345 + visW / 2, -6789 - visH / 2};
    size_t inView = Items(DAriGetWakuElement(vis, &db)).size();
    snprintf(note, sizeof note, "(%u elements in view)", static_cast<unsigned>(inView));
    Row("paint zoomed view", tz, tzs, a == b ? "same" : "DIFFERENT", note);

    // Snap and pick at a cursor, aperture 8 pixels of the zoomed view.
    uint8_t viewData[900] = {};
    DbHeader* h = &db;
    memcpy(viewData + kViewDataDbOffset, &h, sizeof h);
    double ap = 8 / zoom;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> ux(-kW / 2, kW / 2), uy(-kH / 2, kH / 2);
    double tf = 0, ts = 0;
    int same = 0, found = 0;
    const int tries = 200;
    for (int i = 0; i < tries; ++i) {
        CadPoint3 p{ux(rng), uy(rng), 0};
        double r1[3], r2[3];
        double s0 = Now();
        int f1 = DAriSerchPoint(p, r1, ap * 4, &db, nullptr, viewData, nullptr);
        tf += Now() - s0;
        if (i < 20) {
            DAriSetSettingsDataInt("NoSpatialIndex", 1);
            s0 = Now();
            int f2 = DAriSerchPoint(p, r2, ap * 4, &db, nullptr, viewData, nullptr);
            ts += Now() - s0;
            DAriSetSettingsDataInt("NoSpatialIndex", 0);
            same += f1 == f2 && (!f1 || (r1[0] == r2[0] && r1[1] == r2[1]));
        }
        found += f1;
    }
    snprintf(note, sizeof note, "(%d of %d cursors snapped)", found, tries);
    Row("end-point snap at the cursor", tf / tries, ts / 20, same == 20 ? "same" : "DIFFERENT", note);

    tf = ts = 0;
    same = 0;
    found = 0;
    for (int i = 0; i < tries; ++i) {
        double x = ux(rng), y = uy(rng), q = ap * 4;
        const double rect[4] = {x - q, y + q, x + q, y - q};
        double s0 = Now();
        auto m1 = Items(DAriGetWakuElement(rect, &db));
        tf += Now() - s0;
        if (i < 20) {
            DAriSetSettingsDataInt("NoSpatialIndex", 1);
            s0 = Now();
            auto m2 = Items(DAriGetWakuElement(rect, &db));
            ts += Now() - s0;
            DAriSetSettingsDataInt("NoSpatialIndex", 0);
            same += m1 == m2;
        }
        found += !m1.empty();
    }
    snprintf(note, sizeof note, "(%d of %d picks found elements)", found, tries);
    Row("pick at the cursor", tf / tries, ts / 20, same == 20 ? "same" : "DIFFERENT", note);

    // A rectangle of 1% of the area.
    const double rect[4] = {-kW * 0.05, kH * 0.05, kW * 0.05, -kH * 0.05};
    double s0 = Now();
    auto r1 = Items(DAriGetWakuElement(rect, &db));
    double tr = Now() - s0;
    DAriSetSettingsDataInt("NoSpatialIndex", 1);
    s0 = Now();
    auto r2 = Items(DAriGetWakuElement(rect, &db));
    double trs = Now() - s0;
    DAriSetSettingsDataInt("NoSpatialIndex", 0);
    snprintf(note, sizeof note, "(%u elements)", static_cast<unsigned>(r1.size()));
    Row("rectangle search, 1% of the area", tr, trs, r1 == r2 ? "same" : "DIFFERENT", note);

    printf("\naims: whole < 500 ms, zoomed < 20 ms, snap and pick < 1 ms and >= 100x the scan\n");
    DAriDeleteDB(&db);
    return 0;
}
