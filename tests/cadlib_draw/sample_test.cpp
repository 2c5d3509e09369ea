// A sample drawing painted by the library and saved for people to look at
// (build/cadlib-sample.bmp): part of an air-conditioning floor plan on A3
// paper at 1:100, with grid axes, walls, doors, ducts, diffusers,
// dimensions, room names and a title block.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/cadlib_draw/draw_fixture.h"

using namespace drawtest;

namespace {

const double kPi = 3.141592653589793;

struct Builder {
    DbHeader* db;
    std::vector<std::string>* texts;
    void Add(ElementRecord r) { DAriAppendElement(&r, db); }
    void L(double x1, double y1, double x2, double y2, int colour, int type = 0, int width = 0) {
        auto r = Line(x1, y1, x2, y2, colour);
        SetStyle(r, type, width);
        Add(r);
    }
    void Rect(double x1, double y1, double x2, double y2, int colour, int type = 0, int width = 0) {
        L(x1, y1, x2, y1, colour, type, width);
        L(x2, y1, x2, y2, colour, type, width);
        L(x2, y2, x1, y2, colour, type, width);
        L(x1, y2, x1, y1, colour, type, width);
    }
    void T(double x, double y, double h, const char* s, int colour, double angle = 0) {
        texts->push_back(s);
        auto r = Text(x, y, h, h / 2, texts->back().c_str(), colour);
        CadSetF64(&r, kOffTextSize3, h * 0.05);
        CadSetF64(&r, kOffTextAngle, angle);
        Add(r);
    }
    void C(double x, double y, double rad, int colour, int width = 0) {
        auto r = Circle(x, y, rad, colour);
        SetStyle(r, 0, width);
        Add(r);
    }
    void Door(double x, double y, double w, double start) {
        auto a = Arc(x, y, w, start, start + kPi / 2, 0, 3);
        Add(a);
        L(x, y, x + w * std::cos(start + kPi / 2), y + w * std::sin(start + kPi / 2), 3);
    }
    void Dim(double x1, double x2, double y, const char* label) {
        auto r = Line(x1, y, x2, y, 2);
        reinterpret_cast<uint8_t*>(&r)[15] = 1;
        reinterpret_cast<uint8_t*>(&r)[16] = 1;
        Add(r);
        L(x1, y - 300, x1, y + 600, 2);
        L(x2, y - 300, x2, y + 600, 2);
        T((x1 + x2) / 2 - 500, y + 120, 250, label, 2);
    }
};

void BuildSample(DbHeader* db, std::vector<std::string>& texts) {
    texts.reserve(200);
    Builder b{db, &texts};
    const double xs[5] = {-15000, -7500, 0, 7500, 15000}, ys[3] = {-7000, 0, 7000};
    const char* xn[5] = {"X1", "X2", "X3", "X4", "X5"};
    const char* yn[3] = {"Y1", "Y2", "Y3"};
    for (int i = 0; i < 5; ++i) {
        b.L(xs[i], -9000, xs[i], 9300, 8, 3);
        b.C(xs[i], 9800, 500, 8);
        b.T(xs[i] - 250, 9650, 300, xn[i], 1);
    }
    for (int j = 0; j < 3; ++j) {
        b.L(-17000, ys[j], 17300, ys[j], 8, 3);
        b.C(17800, ys[j], 500, 8);
        b.T(17550, ys[j] - 150, 300, yn[j], 1);
    }
    // Outer walls, double lines, and columns at the crossings of the axes.
    b.Rect(-15200, -7200, 15200, 7200, 1, 0, 4);
    b.Rect(-15000, -7000, 15000, 7000, 1, 0, 2);
    for (double x : xs)
        for (double y : ys) {
            b.Rect(x - 400, y - 400, x + 400, y + 400, 1, 0, 2);
            b.L(x - 400, y - 400, x + 400, y + 400, 8);
            b.L(x - 400, y + 400, x + 400, y - 400, 8);
        }
    // Partitions: a corridor along Y2 and rooms off it.
    b.L(-15000, 1200, 15000, 1200, 1, 0, 1);
    b.L(-15000, -1200, 15000, -1200, 1, 0, 1);
    b.L(0, 1200, 0, 7000, 1, 0, 1);
    b.L(7500, -7000, 7500, -1200, 1, 0, 1);
    b.Door(-3000, 1200, 900, 0);
    b.Door(3000, 1200, 900, kPi / 2);
    b.Door(2000, -1200, 900, kPi);
    b.Door(10000, -1200, 900, -kPi / 2);
    // Supply duct: a trunk with branches to ceiling diffusers.
    b.L(-13000, 4300, 13000, 4300, 5, 0, 1);
    b.L(-13000, 3700, 13000, 3700, 5, 0, 1);
    b.L(-13000, 3700, -13000, 4300, 5, 0, 1);
    for (double x = -11000; x <= 11000; x += 3000) {
        if (std::fabs(x) < 10) continue;
        b.L(x - 150, 3700, x - 150, 2700, 5);
        b.L(x + 150, 3700, x + 150, 2700, 5);
        b.Rect(x - 350, 2000, x + 350, 2700, 5);
        b.L(x - 350, 2000, x + 350, 2700, 5);
        b.L(x - 350, 2700, x + 350, 2000, 5);
        b.C(x, 2350, 220, 5);
        b.L(x - 350, 5500, x + 350, 6200, 3);
        b.Rect(x - 350, 5500, x + 350, 6200, 3);
    }
    // Return duct, dashed.
    b.L(-13000, -4200, 6000, -4200, 6, 1, 1);
    b.L(-13000, -4700, 6000, -4700, 6, 1, 1);
    // Air-handling unit in the machine room.
    b.Rect(9000, -6200, 13500, -3000, 7, 0, 2);
    b.L(9000, -6200, 13500, -3000, 7);
    b.T(10200, -4900, 450, "AHU-1", 1);
    b.L(6000, -4450, 9000, -4450, 6, 1, 1);
    // An elliptical duct fitting and a round exhaust fan.
    auto e = Oval(-9000, -4450, -8200, -4450, 0.5, 6);
    b.Add(e);
    b.C(-4000, -5600, 600, 4, 1);
    b.L(-4000, -5600, -4000 + 600 * std::cos(0.6), -5600 + 600 * std::sin(0.6), 4);
    b.T(-3200, -5800, 300, "EF-1", 4);
    // Room names, air volumes and dimensions.
    b.T(-9000, 4800, 420, "事務室", 1);
    b.T(3300, 4800, 420, "会議室", 1);
    b.T(10300, -2750, 380, "機械室", 1);
    b.T(-1300, -300, 420, "廊下", 1);
    b.T(-12700, 2700, 250, "SA 350m3/h", 5);
    b.T(-12700, -3900, 250, "RA 2800m3/h", 6);
    b.Dim(-15000, -7500, 8200, "7500");
    b.Dim(-7500, 0, 8200, "7500");
    b.Dim(0, 7500, 8200, "7500");
    b.Dim(7500, 15000, 8200, "7500");
    // Title block.
    b.Rect(8500, -13600, 20500, -10400, 1);
    b.L(8500, -11500, 20500, -11500, 1);
    b.L(8500, -12600, 20500, -12600, 1);
    b.L(12500, -13600, 12500, -11500, 1);
    b.T(9000, -11200, 500, "空調設備 2階平面図", 1);
    b.T(9000, -12300, 350, "S=1/100", 1);
    b.T(13000, -12300, 350, "図番 M-201", 1);
    b.T(9000, -13300, 300, "A3", 1);
    b.T(13000, -13300, 300, "株式会社 設備設計", 1);
}

}  // namespace

TEST(CadSample, FloorPlanPaintedAndSaved) {
    Db db;
    std::vector<std::string> texts;
    BuildSample(&db, texts);
    const COLORREF bg = RGB(0, 0, 0);
    SetBackground(&db, bg);
    Canvas c(1600, 1000, bg);
    const double paperW = 42000, paperH = 29700;
    double s = std::min((c.w - 40) / paperW, (c.h - 40) / paperH);
    DrawParam p = Param(c, s, bg);
    p.drawScale = 0.01;
    p.pixelsPerMm = s / 0.01;
    p.lineWidthSize = 1;
    p.termDraw = 1;
    p.paperFrame = 1;
    p.paperKind = 1;
    const double paper[4] = {-paperW / 2, paperH / 2, paperW / 2, -paperH / 2};
    memcpy(p.paperRect, paper, sizeof paper);
    p.marginFrame = 1;
    p.marginKind = 1;
    const double margin[4] = {-paperW / 2 + 2000, paperH / 2 - 1000, paperW / 2 - 1000, -paperH / 2 + 1000};
    memcpy(p.marginRect, margin, sizeof margin);
    p.originMarker = 1;
    ASSERT_EQ(Paint(&db, p), 1);
    EXPECT_GT(c.CountNot(bg), 20000);
    const char* dist = getenv("ZAV_DIST_DIR");
    std::string out = dist ? std::string(dist) + "/../cadlib-sample.bmp" : "cadlib-sample.bmp";
    c.SaveBmp(out);
    FILE* f = fopen(out.c_str(), "rb");
    EXPECT_NE(f, nullptr);
    if (f) fclose(f);
}
