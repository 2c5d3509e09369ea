// View modes in painting: model space shows every page at its own
// coordinates, paper space composes placed pages onto the sheet, the frame
// view shows the drawing through the header's frame transform. Rubber bands
// show what they carry and nothing else.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/cadlib_draw/view_mode_fixture.h"

using namespace drawtest;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const double kPi = 3.141592653589793;

}  // namespace

// 200 x 200 pixels, one pixel per unit, world (0, 0) at pixel (100, 100).
TEST(CadViewModes, PlacedPagesAndFrameViewPaintWhereTheyBelong) {
    struct Case {
        const char* name;
        int paperFlag;  // DrawParam +0x004
        std::function<void(DbHeader*)> setup;
        std::vector<POINT> on, off;
    };
    // Page 0: a short line from (10, -40) to (20, -40). Page 1: a line from
    // (0, 0) to (40, 0) and a circle of radius 20 around (0, 80).
    const std::vector<Case> cases = {
        {"model space: pages at their own coordinates",
         0,
         [](DbHeader* db) { AddPlacedPage(db); },
         {{115, 140}, {120, 100}, {120, 20}},
         {{150, 70}, {70, 70}}},
        {"paper space: page 1 halved at (40, 30)",
         1,
         [](DbHeader* db) { AddPlacedPage(db); },
         // line (40, 30)-(60, 30); circle radius 10 around (40, 70)
         {{150, 70}, {155, 70}, {150, 30}, {115, 140}},
         {{120, 100}, {120, 20}}},
        {"paper space: turned a quarter",
         1,
         [](DbHeader* db) { AddPlacedPage(db, kPi / 2); },
         // line (40, 30)-(40, 50); circle around (0, 30)
         {{140, 60}, {110, 70}, {115, 140}},
         {{155, 70}, {120, 100}}},
        {"paper space: composed placement before the page's own",
         1,
         [](DbHeader* db) { AddPlacedPage(db, 0, true); },
         {{150, 70}, {155, 70}},
         {{120, 100}, {190, 70}}},
        {"frame view: scale 2 about (10, -40)",
         0,
         [](DbHeader* db) {
             AddPlacedPage(db);
             SetFrame(db, 2, 0, 10, -40);
         },
         // page 0 line to (0, 0)-(20, 0); page 1 line to (-20, 80)-(60, 80)
         {{102, 100}, {118, 100}, {90, 20}, {150, 20}},
         {{115, 140}, {120, 140}}},
        {"frame view: turned a quarter",
         0,
         [](DbHeader* db) {
             AddPlacedPage(db);
             SetFrame(db, 1, kPi / 2, 10, -40);
         },
         // page 0 line to (0, 0)-(0, 10)
         {{100, 95}},
         {{115, 140}, {105, 100}}},
        {"paper-space flag wins over the frame flag",
         1,
         [](DbHeader* db) {
             AddPlacedPage(db);
             SetFrame(db, 2, 0, 10, -40);
         },
         {{150, 70}, {115, 140}},
         {{102, 100}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Db db;
        SetBackground(&db, kBlack);
        k.setup(&db);
        auto l0 = Line(10, -40, 20, -40, 2);
        auto l1 = OnPage(Line(0, 0, 40, 0, 3), 1);
        auto c1 = OnPage(Circle(0, 80, 20, 4), 1);
        std::vector<StoredElement*> stored = {DAriAppendElement(&l0, &db), DAriAppendElement(&l1, &db),
                                              DAriAppendElement(&c1, &db)};
        Canvas c(200, 200, kBlack);
        DrawParam p = Param(c, 1.0, kBlack);
        p.paperSpace = k.paperFlag;
        ASSERT_EQ(Paint(&db, p), 1);
        for (POINT q : k.on)
            EXPECT_TRUE(Lit(c, q.x, q.y)) << "on " << q.x << "," << q.y;
        for (POINT q : k.off)
            EXPECT_FALSE(Lit(c, q.x, q.y)) << "off " << q.x << "," << q.y;
        // With the level of detail (small elements set as pixels) the
        // picture shows the same places.
        {
            Canvas d(200, 200, kBlack);
            DrawParam pd = Param(d, 1.0, kBlack);
            pd.paperSpace = k.paperFlag;
            DAriSetSettingsDataInt("DrawDetail", 2);
            Paint(&db, pd);
            DAriSetSettingsDataInt("DrawDetail", 0);
            for (POINT q : k.on)
                EXPECT_TRUE(Lit(d, q.x, q.y)) << "detail on " << q.x << "," << q.y;
            for (POINT q : k.off)
                EXPECT_FALSE(Lit(d, q.x, q.y)) << "detail off " << q.x << "," << q.y;
        }
        // The whole-database and one-element roads agree.
        Canvas one(200, 200, kBlack);
        DrawParam p1 = Param(one, 1.0, kBlack);
        p1.paperSpace = k.paperFlag;
        p1.what = kDrawElement;
        for (StoredElement* e : stored) {
            p1.element = e;
            Paint(&db, p1);
        }
        EXPECT_EQ(one.Copy(), c.Copy());
        // A view zoomed in on the first lit point, through the index and by a
        // plain scan, agree.
        Canvas zi(200, 200, kBlack), zs(200, 200, kBlack);
        DrawParam pz = Param(zi, 4.0, kBlack);
        pz.paperSpace = k.paperFlag;
        pz.offsetX = -(k.on[0].x - 100);
        pz.offsetY = -(100 - k.on[0].y);
        Paint(&db, pz);
        DAriSetSettingsDataInt("NoSpatialIndex", 1);
        pz.dc = zs.dc;
        Paint(&db, pz);
        DAriSetSettingsDataInt("NoSpatialIndex", 0);
        EXPECT_EQ(zi.Copy(), zs.Copy());
        EXPECT_GT(zi.CountNot(kBlack), 0);
    }
}

TEST(CadViewModes, RubberBandShowsWhatItCarriesWithoutFrames) {
    Db db;
    SetBackground(&db, kBlack);
    auto hidden = Line(-50, 0, 50, 0, 2);
    hidden.layer = 7;
    DAriAppendElement(&hidden, &db);
    db.h.info->layers.display[0] &= static_cast<uint16_t>(~(1u << 7));
    auto paint = [&](int band, int xorMode) {
        std::unique_ptr<Canvas> c(new Canvas(200, 200, kBlack));
        DrawParam p = Param(*c, 1.0, kBlack);
        p.rubberBand = band;
        p.xorMode = xorMode;
        p.paperFrame = 1;
        p.paperKind = 1;
        const double paper[4] = {-90, 90, 90, -90};
        memcpy(p.paperRect, paper, sizeof paper);
        Paint(&db, p);
        return c;
    };
    auto band = paint(1, 1);
    EXPECT_TRUE(Lit(*band, 100, 100));  // the band's line, layer display aside
    EXPECT_FALSE(Lit(*band, 10, 150));  // no paper frame
    auto plain = paint(0, 1);
    EXPECT_FALSE(Lit(*plain, 100, 100));
    EXPECT_TRUE(Lit(*plain, 10, 150));
    auto noXor = paint(1, 0);  // the flag counts only with XOR
    EXPECT_FALSE(Lit(*noXor, 100, 100));
}
