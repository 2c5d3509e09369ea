// Painting through DAriDraw into memory bitmaps: every element kind, line
// types, widths, colours, XOR drawn twice, colour 0 erasing, display filters,
// frames, markers, marks and records, and the level of detail.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "tests/cadlib_draw/draw_fixture.h"

using namespace drawtest;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const double kPi = 3.141592653589793;

// A pixel of colour c within one pixel of (x, y).
bool Near(const Canvas& c, COLORREF col, int x, int y) { return c.Count(col, x - 1, y - 1, x + 1, y + 1) > 0; }

struct KindCase {
    const char* name;
    std::function<void(DbHeader*)> build;
    std::vector<POINT> on, off;
};

std::vector<uint8_t> InkBits(int w, int h) {
    int stride = (w + 15) / 16 * 2;
    return std::vector<uint8_t>(static_cast<size_t>(stride * h), 0xFF);
}

}  // namespace

TEST(CadPaint, EveryKindShowsWhereItLies) {
    static const char* kText = "AB";
    static std::vector<uint8_t> bits = InkBits(16, 16);
    const std::vector<KindCase> cases = {
        {"line",
         [](DbHeader* db) {
             auto r = Line(-40, 0, 40, 0);
             DAriAppendElement(&r, db);
         },
         {{110, 100}, {61, 100}},
         {{100, 90}}},
        {"point",
         [](DbHeader* db) {
             auto r = Point(0, 0);
             DAriAppendElement(&r, db);
         },
         {{100, 100}},
         {{110, 110}}},
        {"circle",
         [](DbHeader* db) {
             auto r = Circle(0, 0, 30);
             DAriAppendElement(&r, db);
         },
         {{130, 100}, {100, 70}, {70, 100}},
         {{100, 100}}},
        {"arc",
         [](DbHeader* db) {
             auto r = Arc(0, 0, 30, 0, kPi / 2);
             DAriAppendElement(&r, db);
         },
         {{100, 70}, {130, 100}},
         {{70, 100}, {100, 130}}},
        {"arc reversed",
         [](DbHeader* db) {
             auto r = Arc(0, 0, 30, 0, kPi / 2, 1);
             DAriAppendElement(&r, db);
         },
         {{70, 100}, {100, 130}},
         {{121, 79}}},
        {"ellipse",
         [](DbHeader* db) {
             auto r = Oval(0, 0, 40, 0, 0.5);
             DAriAppendElement(&r, db);
         },
         {{140, 100}, {100, 80}, {60, 100}},
         {{100, 100}, {100, 65}}},
        {"elliptic arc",
         [](DbHeader* db) {
             auto r = OvalArc(0, 0, 40, 0, 0.5, 0, kPi / 2);
             DAriAppendElement(&r, db);
         },
         {{140, 100}, {100, 80}},
         {{60, 100}, {100, 120}}},
        {"text",
         [](DbHeader* db) {
             auto r = Text(-20, -10, 20, 10, kText);
             DAriAppendElement(&r, db);
         },
         {},
         {{150, 150}}},
        {"compound 21",
         [](DbHeader* db) {
             ElementRecord g = Record(kElmGroup);
             StoredElement* grp = DAriCreateFgroupHead(&g, db);
             auto r = Line(-40, 20, 40, 20);
             DAriAppendMemberElement(grp, &r, db);
         },
         {{100, 80}},
         {{100, 100}}},
        {"compound 70",
         [](DbHeader* db) {
             ElementRecord g = Record(kElmCompound);
             StoredElement* grp = DAriCreateFgroupHead(&g, db);
             auto r = Circle(0, 0, 20);
             DAriAppendMemberElement(grp, &r, db);
         },
         {{120, 100}},
         {{100, 100}}},
        {"placed figure 32",
         [](DbHeader* db) {
             ElementRecord h = Record(kElmFigureHeader);
             StoredElement* def = DAriCreateFgroupHead(&h, db);
             auto r = Line(0, 0, 10, 0);
             DAriAppendMemberElement(def, &r, db);
             ElementRecord f = Record(kElmFigure);
             CadSetF64(&f, kOffFigScale, 2);
             CadSetF64(&f, kOffFigX, 10);
             CadSetF64(&f, kOffFigY, 10);
             DAriAppendFgroup(def, &f, db);
         },
         {{120, 90}, {111, 90}},
         {{105, 100}, {135, 90}}},
        {"block 50",
         [](DbHeader* db) {
             auto r = Box2(kElmBlock, -30, -20, 30, 20);
             DAriAppendElement(&r, db);
         },
         {{130, 100}, {100, 80}},
         {{100, 100}}},
        {"frame 60",
         [](DbHeader* db) {
             auto r = Box2(kElmFrame, -30, -20, 30, 20);
             DAriAppendElement(&r, db);
         },
         {{130, 100}, {100, 120}},
         {{100, 100}}},
        {"raster 55",
         [](DbHeader* db) {
             ElementRecord r = Record(kElmRaster, 0, 0, 2);
             CadSetF64(&r, kOffP2X, 20);
             CadSetF64(&r, kOffP2Y, 20);
             StoredElement* e = DAriAppendElement(&r, db);
             // Expanded bits as the host hands them over after an expansion.
             CadSetPtr(&e->rec, kOffRasterBits, bits.data());
             CadSetU32(&e->rec, kOffRasterPixW, 16);
             CadSetU32(&e->rec, kOffRasterPixH, 16);
         },
         {{100, 100}, {108, 108}},
         {{115, 115}}},
        {"raster 55 turned 45 degrees",
         [](DbHeader* db) {
             ElementRecord r = Record(kElmRaster, 0, 0, 2);
             CadSetF64(&r, kOffP2X, 40);
             CadSetF64(&r, kOffP2Y, 40);
             CadSetF64(&r, kOffRasterAngle, kPi / 4);
             StoredElement* e = DAriAppendElement(&r, db);
             CadSetPtr(&e->rec, kOffRasterBits, bits.data());
             CadSetU32(&e->rec, kOffRasterPixW, 16);
             CadSetU32(&e->rec, kOffRasterPixH, 16);
         },
         {{100, 100}, {126, 100}, {100, 74}},
         {{117, 117}, {83, 83}}},
    };
    for (const KindCase& k : cases) {
        SCOPED_TRACE(k.name);
        Db db;
        k.build(&db);
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        ASSERT_EQ(Paint(&db, p), 1);
        for (POINT q : k.on)
            EXPECT_TRUE(Near(c, kRed, q.x, q.y)) << "on " << q.x << "," << q.y;
        for (POINT q : k.off)
            EXPECT_FALSE(Near(c, kRed, q.x, q.y)) << "off " << q.x << "," << q.y;
        if (std::string(k.name) == "text") {
            EXPECT_GT(c.Count(kRed, 75, 85, 105, 112), 10);
        }
        EXPECT_GT(c.CountNot(kBlack), 0);
    }
}

TEST(CadPaint, LineTypesWidthsAndColours) {
    struct Row {
        const char* name;
        int type, width, widthMode, colour;
        double minShare, maxShare;  // share of the line's pixels that are set
        int minThick;
    };
    const Row rows[] = {
        {"solid thin", 0, 0, 0, 2, 0.99, 1.0, 1},
        {"dashed 3/1.5 mm", 1, 0, 0, 2, 0.55, 0.80, 0},
        {"dotted 0.5/1 mm", 2, 0, 0, 2, 0.20, 0.50, 0},
        {"dash-dot", 3, 0, 0, 2, 0.60, 0.90, 0},
        {"2 mm wide at paper size", 0, 8, 1, 2, 0.99, 1.0, 6},
        {"width ignored without the setting", 0, 8, 0, 2, 0.99, 1.0, 1},
        {"pen 4", 0, 0, 0, 4, 0.99, 1.0, 1},
        {"pen 77 of the wheel", 0, 0, 0, 77, 0.99, 1.0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Db db;
        auto r = Line(-80, 0, 80, 0, row.colour);
        SetStyle(r, row.type, row.width);
        DAriAppendElement(&r, &db);
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.pixelsPerMm = 4;
        p.lineWidthSize = row.widthMode;
        ASSERT_EQ(Paint(&db, p), 1);
        COLORREF pen = Pen(&db, row.colour);
        double share = c.Count(pen, 20, 100, 180, 100) / 161.0;
        EXPECT_GE(share, row.minShare);
        EXPECT_LE(share, row.maxShare);
        int thick = c.Count(pen, 50, 80, 50, 120);
        EXPECT_GE(thick, row.minThick);
        if (row.minThick <= 1) {
            EXPECT_LE(thick, 1);
        }
    }
}

TEST(CadPaint, ColourModes) {
    Db db;
    auto r = Line(-80, 0, 80, 0, 4);  // green
    DAriAppendElement(&r, &db);
    struct Row {
        int mode;
        COLORREF bg, expect;
    };
    for (Row row : {Row{0, kBlack, RGB(0, 255, 0)}, Row{1, kBlack, RGB(255, 255, 255)},
                    Row{1, RGB(255, 255, 255), kBlack}, Row{2, kBlack, RGB(153, 153, 153)}}) {
        SCOPED_TRACE(row.mode);
        Canvas c(200, 200, row.bg);
        DrawParam p = Param(c, 1.0, row.bg);
        p.colourMode = row.mode;
        Paint(&db, p);
        EXPECT_EQ(c.At(100, 100), row.expect);
    }
}

TEST(CadPaint, XorTwiceRestoresAndColourZeroErases) {
    static const char* kText = "XOR";
    Db db;
    auto a = Line(-60, -60, 60, 60, 3);
    auto b = Circle(0, 0, 40, 4);
    auto t = Text(-30, -5, 14, 8, kText, 5);
    DAriAppendElement(&a, &db);
    DAriAppendElement(&b, &db);
    DAriAppendElement(&t, &db);
    for (COLORREF bg : {kBlack, RGB(255, 255, 255), RGB(40, 60, 90)}) {
        SCOPED_TRACE(static_cast<unsigned>(bg));
        SetBackground(&db, bg);
        Canvas c(200, 200, bg);
        // Something beneath, so that XOR over other colours shows too.
        HBRUSH br = CreateSolidBrush(RGB(200, 120, 30));
        RECT band{0, 90, 200, 110};
        FillRect(c.dc, &band, br);
        DeleteObject(br);
        std::vector<uint32_t> before = c.Copy();
        DrawParam p = Param(c, 1.0, bg);
        p.xorMode = 1;
        ASSERT_EQ(Paint(&db, p), 1);
        EXPECT_NE(c.Copy(), before);
        ASSERT_EQ(Paint(&db, p), 1);
        EXPECT_EQ(c.Copy(), before);

        // Own colours, then colour 0 over them: the plain background again.
        c.Fill(bg);
        DrawParam q = Param(c, 1.0, bg);
        ASSERT_EQ(Paint(&db, q), 1);
        EXPECT_GT(c.CountNot(bg), 100);
        q.colourOverride = 1;
        q.overrideColour = 0;
        ASSERT_EQ(Paint(&db, q), 1);
        EXPECT_EQ(c.CountNot(bg), 0);
        // A negative override colour means the elements' own colours.
        q.overrideColour = -1;
        ASSERT_EQ(Paint(&db, q), 1);
        EXPECT_GT(c.Count(Pen(&db, 3), 0, 0, 199, 199), 50);
        // An override colour paints everything in it.
        c.Fill(bg);
        q.overrideColour = 6;
        ASSERT_EQ(Paint(&db, q), 1);
        EXPECT_EQ(c.Count(Pen(&db, 3), 0, 0, 199, 199), 0);
        EXPECT_GT(c.Count(Pen(&db, 6), 0, 0, 199, 199), 100);
    }
}

TEST(CadPaint, DisplayFiltersSelectionFramesAndMarkers) {
    Db db;
    auto onLayer5 = Line(-50, 10, 50, 10);
    onLayer5.layer = 5;
    auto onPage0 = Line(-50, -10, 50, -10, 4);
    auto sel = Circle(0, 0, 60, 2);
    DAriAppendElement(&onLayer5, &db);
    DAriAppendElement(&onPage0, &db);
    StoredElement* selected = DAriAppendElement(&sel, &db);
    selected->selection = 1;
    selected->selColour = 6;
    auto paint = [&](std::function<void(DrawParam&)> f) {
        Canvas* c = new Canvas(200, 200, kBlack);
        DrawParam p = Param(*c, 1.0, kBlack);
        f(p);
        Paint(&db, p);
        return std::unique_ptr<Canvas>(c);
    };
    {
        auto c = paint([](DrawParam&) {});
        EXPECT_TRUE(Near(*c, kRed, 100, 90));          // layer 5 shown
        EXPECT_TRUE(Near(*c, Pen(&db, 6), 160, 100));  // selected: selection colour
        EXPECT_FALSE(Near(*c, kRed, 160, 100));
    }
    // Layer 5 hidden.
    db.h.info->layers.display[0] &= static_cast<uint16_t>(~(1u << 5));
    {
        auto c = paint([](DrawParam&) {});
        EXPECT_FALSE(Near(*c, kRed, 100, 90));
        EXPECT_TRUE(Near(*c, Pen(&db, 4), 100, 110));
    }
    db.h.info->layers.display[0] |= 1u << 5;
    {
        auto c = paint([](DrawParam& p) {
            p.layerOnly = 1;
            p.layer = 5;
        });
        EXPECT_TRUE(Near(*c, kRed, 100, 90));
        EXPECT_FALSE(Near(*c, Pen(&db, 4), 100, 110));
    }
    {
        auto c = paint([](DrawParam& p) {
            p.pageOnly = 1;
            p.page = 3;
        });
        EXPECT_EQ(c->CountNot(kBlack), 0);
    }
    // Page 0 hidden in the header's page display word.
    db.h.pages.display[0] &= ~1u;
    {
        auto c = paint([](DrawParam&) {});
        EXPECT_EQ(c->CountNot(kBlack), 0);
        // An overlay database shows what it holds.
        auto o = paint([](DrawParam& p) { p.overlayDb = 1; });
        EXPECT_GT(o->CountNot(kBlack), 0);
    }
    db.h.pages.display[0] |= 1u;
    {
        auto c = paint([](DrawParam& p) {
            p.paperFrame = 1;
            p.paperKind = 1;
            const double paper[4] = {-90, 90, 90, -90};
            memcpy(p.paperRect, paper, sizeof paper);
            p.marginFrame = 1;
            p.marginKind = 2;
            const double margin[4] = {-80, 80, 80, -80};
            memcpy(p.marginRect, margin, sizeof margin);
            p.originMarker = 1;
        });
        EXPECT_NE(c->At(10, 150), kBlack);  // paper frame, left edge
        EXPECT_NE(c->At(190, 150), kBlack);
        EXPECT_GT(c->Count(c->At(20, 150), 20, 20, 20, 180), 0);  // margin frame
        EXPECT_NE(c->At(108, 100), kBlack);                       // origin marker
    }
    // The base-point marker alone (records kind, count 0) in XOR comes and goes.
    {
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.what = kDrawRecords;
        p.xorMode = 1;
        p.baseMarker = 1;
        p.baseStyle = 3;
        p.basePoint[0] = 20;
        p.basePoint[1] = 20;
        Paint(&db, p);
        EXPECT_GT(c.Count(kBlack, 110, 70, 130, 90), 0);
        EXPECT_LT(c.Count(kBlack, 110, 70, 130, 90), 21 * 21);
        Paint(&db, p);
        EXPECT_EQ(c.CountNot(kBlack), 0);
    }
}

TEST(CadPaint, OneElementAMarkOrRecords) {
    Db db;
    auto a = Line(-50, 20, 50, 20);
    auto b = Line(-50, -20, 50, -20, 4);
    StoredElement* ea = DAriAppendElement(&a, &db);
    StoredElement* eb = DAriAppendElement(&b, &db);
    {
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.what = kDrawElement;
        p.element = eb;
        Paint(&db, p);
        EXPECT_FALSE(Near(c, kRed, 100, 80));
        EXPECT_TRUE(Near(c, Pen(&db, 4), 100, 120));
    }
    {
        CadMark* m = DAriCreateMark(&db);
        DAriSetMark(ea, m);
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.what = kDrawMark;
        p.mark = m;
        Paint(&db, p);
        EXPECT_TRUE(Near(c, kRed, 100, 80));
        EXPECT_FALSE(Near(c, Pen(&db, 4), 100, 120));
        DAriDestroyMark(m);
    }
    {
        ElementRecord recs[2] = {Line(0, 0, 0, 50, 5), Circle(0, 0, 10, 5)};
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.what = kDrawRecords;
        p.records = recs;
        p.count = 2;
        Paint(&db, p);
        EXPECT_TRUE(Near(c, Pen(&db, 5), 100, 60));
        EXPECT_TRUE(Near(c, Pen(&db, 5), 110, 100));
        EXPECT_FALSE(Near(c, kRed, 100, 80));
    }
    // A figure definition drawn alone shows its members where they were drawn.
    {
        ElementRecord h = Record(kElmFigureHeader);
        StoredElement* def = DAriCreateFgroupHead(&h, &db);
        auto m = Line(-50, -40, 50, -40, 6);
        DAriAppendMemberElement(def, &m, &db);
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.what = kDrawElement;
        p.element = def;
        Paint(&db, p);
        EXPECT_TRUE(Near(c, Pen(&db, 6), 100, 140));
    }
    // A block that is not ours, or a wrong size, paints nothing.
    {
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.size = 100;
        EXPECT_EQ(DAriDraw(&db, &p), 0);
        p = Param(c, 1.0, kBlack);
        p.scale = 0;
        EXPECT_EQ(DAriDraw(&db, &p), 0);
        EXPECT_EQ(c.CountNot(kBlack), 0);
    }
}

// Target kind 1: the library takes the window's own device context.
TEST(CadPaint, IntoAWindowByItsHandle) {
    Db db;
    auto r = Line(-50, 0, 50, 0);
    DAriAppendElement(&r, &db);
    HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    Canvas c(200, 200, kBlack);
    DrawParam p = Param(c, 1.0, kBlack);
    p.targetKind = kDrawToWindow;
    p.window = wnd;
    p.dc = nullptr;
    RenderSurface surface;
    memset(&surface, 0, sizeof surface);
    surface.window = wnd;
    EXPECT_EQ(DAriDrawPre(&db, &p), 1);
    EXPECT_EQ(DAriDrawAll(&db, &p, &surface), 1);
    DestroyWindow(wnd);
    // A window that is gone, or no target at all, paints nothing.
    EXPECT_EQ(DAriDrawAll(&db, &p, &surface), 0);
    p.targetKind = 0;
    EXPECT_EQ(DAriDraw(&db, &p), 0);
}

// Coordinates far outside the view, non-numbers and turned texts: the
// picture shows what lies in view and nothing hangs or spills.
TEST(CadPaint, FarCoordinatesNonNumbersAndTurnedText) {
    static const char* kText = "ABC";
    Db db;
    auto farLine = Line(-1e12, 0, 1e12, 0);
    auto hugeCircle = Circle(0, -1e9 - 50, 1e9);  // its top passes through y = -50
    ElementRecord nan = Line(0, 0, 10, 10);
    CadSetF64(&nan, kOffP2X, std::nan(""));
    auto turned = Text(-5, -60, 16, 8, kText, 5);
    CadSetF64(&turned, kOffTextAngle, kPi / 2);
    DAriAppendElement(&farLine, &db);
    DAriAppendElement(&hugeCircle, &db);
    DAriAppendElement(&nan, &db);
    DAriAppendElement(&turned, &db);
    Canvas c(200, 200, kBlack);
    DrawParam p = Param(c, 1.0, kBlack);
    ASSERT_EQ(Paint(&db, p), 1);
    EXPECT_EQ(c.Count(kRed, 0, 100, 199, 100), 200);        // the far line crosses the whole view
    EXPECT_GT(c.Count(kRed, 0, 149, 199, 151), 150);        // the top of the huge circle
    EXPECT_GT(c.Count(Pen(&db, 5), 80, 70, 100, 160), 10);  // the turned text runs upwards
    EXPECT_EQ(c.Count(Pen(&db, 5), 100, 170, 199, 199), 0);
    // The element without a number is never found either.
    SearchOptionRecord o = {};
    const int32_t w[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    memcpy(o.words, w, sizeof w);
    DAriDbSetSerch(&o);
    const double rect[4] = {-1, 11, 11, -1};
    CadMark* m = DAriGetWakuElement(rect, &db);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(DAriGetMarkNum(m), 1);  // the far line only
    DAriDestroyMark(m);
}

// Many elements smaller than a pixel or two are set as pixels rather than
// stroked; the picture must read the same.
TEST(CadPaint, LevelOfDetailLooksTheSame) {
    Db db;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> pos(-3000, 3000), len(-6, 6);
    for (int i = 0; i < 12000; ++i) {
        double x = pos(rng), y = pos(rng);
        ElementRecord r = i % 3 ? Line(x, y, x + len(rng), y + len(rng), 1 + i % 7) : Circle(x, y, 3, 1 + i % 7);
        DAriAppendElement(&r, &db);
    }
    for (int i = 0; i < 40; ++i) {
        auto r = Line(pos(rng), pos(rng), pos(rng), pos(rng), 3);
        DAriAppendElement(&r, &db);
    }
    auto paint = [&](int detail) {
        DAriSetSettingsDataInt("DrawDetail", detail);
        auto c = std::make_unique<Canvas>(400, 400, kBlack);
        DrawParam p = Param(*c, 400.0 / 6400, kBlack);
        Paint(&db, p);
        return c;
    };
    auto stroked = paint(1), lod = paint(2);
    DAriSetSettingsDataInt("DrawDetail", 0);
    int painted = 0, differ = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            bool a = stroked->At(x, y) != kBlack, b = lod->At(x, y) != kBlack;
            painted += a;
            differ += a != b;
        }
    EXPECT_GT(painted, 5000);
    EXPECT_LT(differ, painted / 4) << "painted " << painted << " differ " << differ;
    // The long lines are stroked alike in both.
    EXPECT_EQ(stroked->Count(Pen(&db, 3), 0, 0, 399, 399) > 0, lod->Count(Pen(&db, 3), 0, 0, 399, 399) > 0);
}
