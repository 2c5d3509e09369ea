// The point searches and the pick follow the view mode, so a snap lands
// where the element is seen: on placed pages in paper space, through the
// frame transform in the frame view.
#include <gtest/gtest.h>

#include <string>

#include "tests/cadlib_draw/view_mode_fixture.h"

using namespace drawtest;

TEST(CadViewModes, SnapsAndPicksFollowTheViewMode) {
    ViewSearchOptions();
    Db db;
    AddPlacedPage(&db);
    // Page 1: a line (0, 0)-(20, 0) and a circle of radius 10 around (100, 0);
    // in paper space (40, 30)-(50, 30) and radius 5 around (90, 30).
    // Page 0: a vertical line through x = 45 that crosses the placed line.
    auto l1 = OnPage(Line(0, 0, 20, 0), 1);
    auto c1 = OnPage(Circle(100, 0, 10), 1);
    auto v0 = Line(45, 20, 45, 40);
    StoredElement* line = DAriAppendElement(&l1, &db);
    DAriAppendElement(&c1, &db);
    DAriAppendElement(&v0, &db);
    enum Snap { kEnd, kMid, kCentre, kCross, kOnLine };
    struct Row {
        const char* name;
        int mode;
        Snap snap;
        double x, y, a;
        int found;
        double rx, ry;
    };
    const Row rows[] = {
        {"model end at the page's own end", 0, kEnd, 20.4, 0.3, 1, 1, 20, 0},
        {"paper end: the page's own end is not there", 1, kEnd, 20.4, 0.3, 1, 0, 0, 0},
        {"paper end on the sheet", 1, kEnd, 50.4, 30.3, 1, 1, 50, 30},
        {"paper end: aperture shrinks nothing", 1, kEnd, 51.5, 30, 1, 0, 0, 0},
        {"paper mid", 1, kMid, 45.6, 30.2, 1, 1, 45, 30},
        {"model mid", 0, kMid, 10.3, 0.2, 1, 1, 10, 0},
        {"paper centre from the outline", 1, kCentre, 95.2, 30, 1, 1, 90, 30},
        {"model centre", 0, kCentre, 110.2, 0, 1, 1, 100, 0},
        {"paper crossing of a placed and a sheet line", 1, kCross, 45.5, 30.5, 1, 1, 45, 30},
        {"model: no crossing there", 0, kCross, 45.5, 30.5, 1, 0, 0, 0},
        {"paper on-line", 1, kOnLine, 47, 30.6, 1, 1, 47, 30},
        {"frame end: (0, 0) lands at (-4, 0)", 2, kEnd, -4.3, 0.2, 1, 1, -4, 0},
        {"frame end: model point not there", 2, kEnd, 0.3, 0.2, 0.5, 0, 0, 0},
        // A model view while another view of the drawing shows the frame
        // (header flag 1) is painted through the frame transform: so it snaps.
        {"model view under the frame flag", 3, kEnd, -4.3, 0.2, 1, 1, -4, 0},
        // A frame-mode view whose header flag was cleared is painted as model.
        {"frame view without the header flag", 4, kEnd, 20.3, 0.2, 1, 1, 20, 0},
    };
    SetFrame(&db, 2, 0, 2, 0);
    for (int scan : {0, 1})
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.name) + (scan ? " (plain scan)" : " (index)"));
            DAriSetSettingsDataInt("NoSpatialIndex", scan);
            // Modes 3 and 4 of the table: view mode 0 with the frame flag 1, view
            // mode 2 with the flag 0.
            db.h.frame.view = r.mode == 2 || r.mode == 3 ? 1 : 0;
            ViewRecord vd(&db, r.mode == 3 ? 0 : r.mode == 4 ? 2 : r.mode);
            CadPoint3 p{r.x, r.y, 0};
            double out[3] = {-1, -1, -1};
            int got = 0;
            switch (r.snap) {
            case kEnd: got = DAriSerchPoint(p, out, r.a, &db, nullptr, vd.bytes, nullptr); break;
            case kMid: got = DAriSerchPoint2(p, out, r.a, vd.bytes, 2, nullptr); break;
            case kCentre: got = DAriSerchPoint2_2(p, out, r.a, vd.bytes, nullptr); break;
            case kCross: got = DAriSerchPoint3(p, out, r.a, vd.bytes, nullptr); break;
            case kOnLine: got = DAriSerchPoint4(p, out, r.a, vd.bytes, nullptr); break;
            }
            ASSERT_EQ(got, r.found);
            if (got) {
                EXPECT_NEAR(out[0], r.rx, 1e-9);
                EXPECT_NEAR(out[1], r.ry, 1e-9);
            }
        }
    DAriSetSettingsDataInt("NoSpatialIndex", 0);
    // The pick: at (45, 30.4) within 0.5 the placed line (distance 0.4 on the
    // sheet, 0.8 on its page) and the sheet line are found in paper space;
    // in model space only the sheet line.
    db.h.frame.view = 0;
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        ViewRecord vd(&db, mode);
        CadMark* m = DAriGetElementMarkByPointWithMark(CadPoint3{45.2, 30.4, 0}, 0.5, nullptr, vd.bytes, nullptr);
        ASSERT_NE(m, nullptr);
        bool hasPlaced = false;
        int n = 0;
        for (void* e = DAriGetNextMark(nullptr, m); e; e = DAriGetNextMark(e, m)) {
            ++n;
            if (e == line) hasPlaced = true;
        }
        EXPECT_EQ(hasPlaced, mode == 1);
        EXPECT_EQ(n, mode == 1 ? 2 : 1);
        DAriDestroyMark(m);
    }
}
