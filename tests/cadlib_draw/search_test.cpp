// Point and element searches by table: each snap kind on each element kind,
// aperture edges, ties, locked layers per mode, group find, area modes,
// kind masks, tags, and searches among a mark.
#include <gtest/gtest.h>

#include <functional>

#include "tests/cadlib_draw/draw_fixture.h"

using namespace drawtest;

namespace {

const double kPi = 3.141592653589793;

// A drawing window's record as far as the library reads it: the header at +20.
struct FakeViewData {
    uint8_t bytes[900] = {};
    explicit FakeViewData(DbHeader* db) { memcpy(bytes + kViewDataDbOffset, &db, sizeof db); }
};

void DefaultOptions() {
    SearchOptionRecord o = {};
    const int32_t w[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    memcpy(o.words, w, sizeof w);
    DAriDbSetSerch(&o);
    DAriSerchSetGrpFind(0);
    TqSetLockLaySearchMode(0);
}

std::vector<StoredElement*> MarkItems(CadMark* m) {
    std::vector<StoredElement*> v;
    if (!m) return v;
    for (void* e = DAriGetNextMark(nullptr, m); e; e = DAriGetNextMark(e, m))
        v.push_back(static_cast<StoredElement*>(e));
    return v;
}

struct Drawing {
    Db db;
    StoredElement *a, *b, *circle, *arc, *point, *ellipse, *text, *block, *earc;
    static constexpr const char* kText = "TEXT";
    Drawing() {
        auto la = Line(0, 0, 100, 0);
        auto lb = Line(50, -50, 50, 50);
        auto c = Circle(200, 0, 20);
        auto ar = Arc(300, 0, 20, 0, kPi / 2);
        auto p = Point(400, 0);
        auto e = Oval(500, 0, 540, 0, 0.5);
        auto t = Text(600, 0, 10, 5, kText);
        auto bl = Box2(kElmFrame, 700, -10, 720, 10);
        auto ea = OvalArc(800, 0, 840, 0, 0.5, 0, kPi / 2);
        a = DAriAppendElement(&la, &db);
        b = DAriAppendElement(&lb, &db);
        circle = DAriAppendElement(&c, &db);
        arc = DAriAppendElement(&ar, &db);
        point = DAriAppendElement(&p, &db);
        ellipse = DAriAppendElement(&e, &db);
        text = DAriAppendElement(&t, &db);
        block = DAriAppendElement(&bl, &db);
        earc = DAriAppendElement(&ea, &db);
    }
};

enum Snap { kEnd, kMid, kCentre, kCross, kOnLine };
const char* SnapName(Snap s) {
    const char* n[] = {"end", "mid", "centre", "cross", "on-line"};
    return n[s];
}

int RunSnap(Snap s, DbHeader* db, double x, double y, double a, double* out, int divisions = 2,
            CadMark* mark = nullptr) {
    FakeViewData vd(db);
    CadPoint3 p{x, y, 0};
    switch (s) {
    case kEnd: return DAriSerchPoint(p, out, a, db, nullptr, vd.bytes, mark);
    case kMid: return DAriSerchPoint2(p, out, a, vd.bytes, divisions, mark);
    case kCentre: return DAriSerchPoint2_2(p, out, a, vd.bytes, mark);
    case kCross: return DAriSerchPoint3(p, out, a, vd.bytes, mark);
    default: return DAriSerchPoint4(p, out, a, vd.bytes, mark);
    }
}

}  // namespace

TEST(CadSearch, PointSearchesByKind) {
    DefaultOptions();
    Drawing d;
    struct Row {
        const char* name;
        Snap snap;
        double x, y, a;
        int found;
        double ex, ey;
        int divisions;
    };
    const double s2 = std::sqrt(0.5);
    const Row rows[] = {
        {"line end", kEnd, 1, 1, 2, 1, 0, 0, 2},
        {"end exactly at the aperture edge", kEnd, 2, 0.5, 2, 1, 0, 0, 2},
        {"end just outside the aperture", kEnd, -2.001, 0, 2, 0, 0, 0, 2},
        {"arc end (start angle)", kEnd, 319, 1, 2, 1, 320, 0, 2},
        {"arc end (end angle)", kEnd, 301, 19, 2, 1, 300, 20, 2},
        {"point element", kEnd, 400.5, 0.5, 2, 1, 400, 0, 2},
        {"text insertion point", kEnd, 600.5, -0.5, 2, 1, 600, 0, 2},
        {"frame corner", kEnd, 719, 9, 2, 1, 720, 10, 2},
        {"elliptic arc end", kEnd, 839, 1, 2, 1, 840, 0, 2},
        {"no end on a circle", kEnd, 220, 0, 2, 0, 0, 0, 2},
        {"line mid", kMid, 50.5, 0.8, 2, 1, 50, 0, 2},
        {"line quarter", kMid, 25.5, 0.5, 2, 1, 25, 0, 4},
        {"arc mid", kMid, 300 + 20 * s2, 20 * s2 + 1, 2, 1, 300 + 20 * s2, 20 * s2, 2},
        {"circle centre from its rim", kCentre, 220.5, 0.5, 2, 1, 200, 0, 2},
        {"arc centre", kCentre, 300.5, 19.5, 2, 1, 300, 0, 2},
        {"ellipse centre from its rim", kCentre, 539.5, 0, 2, 1, 500, 0, 2},
        {"no centre of a line", kCentre, 10, 0, 2, 0, 0, 0, 2},
        {"line crossing", kCross, 50.5, 0.5, 2, 1, 50, 0, 2},
        {"no crossing alone", kCross, 10, 0, 2, 0, 0, 0, 2},
        {"on a line", kOnLine, 30, 1.5, 2, 1, 30, 0, 2},
        {"on a circle", kOnLine, 200, 21, 2, 1, 200, 20, 2},
        {"on an ellipse", kOnLine, 500, 19.5, 2, 1, 500, 20, 2},
        {"nothing near", kOnLine, 150, 30, 2, 0, 0, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(SnapName(r.snap)) + ": " + r.name);
        double out[3] = {-1, -1, -1};
        int got = RunSnap(r.snap, &d.db, r.x, r.y, r.a, out, r.divisions);
        EXPECT_EQ(got, r.found);
        if (got && r.found) {
            EXPECT_NEAR(out[0], r.ex, 1e-6);
            EXPECT_NEAR(out[1], r.ey, 1e-6);
        }
    }
}

TEST(CadSearch, TiesGoToTheElementEarlierInTheDrawing) {
    DefaultOptions();
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "in order");
        Db db;
        auto f = Line(1000, 0, 900, 0);
        auto g = Line(1004, 0, 1004, 100);
        DAriAppendElement(reversed ? &g : &f, &db);
        DAriAppendElement(reversed ? &f : &g, &db);
        double out[3];
        ASSERT_EQ(RunSnap(kEnd, &db, 1002, 0, 3, out), 1);
        EXPECT_DOUBLE_EQ(out[0], reversed ? 1004 : 1000);
        // The nearer one wins whatever the order.
        ASSERT_EQ(RunSnap(kEnd, &db, 1003, 0, 3, out), 1);
        EXPECT_DOUBLE_EQ(out[0], 1004);
    }
}

// The distance tolerance of DAriSetEps lets a crossing just past an end count.
TEST(CadSearch, CrossingToleranceFollowsSetEps) {
    DefaultOptions();
    Db db;
    auto a = Line(0, 0, 10, 0);
    auto b = Line(5, 0.005, 5, 10);  // stops 0.005 short of line a
    DAriAppendElement(&a, &db);
    DAriAppendElement(&b, &db);
    double out[3];
    DAriSetEps(1e-5, 1e-3);
    EXPECT_EQ(RunSnap(kCross, &db, 5, 0.5, 2, out), 0);
    DAriSetEps(0.01, 1e-3);
    ASSERT_EQ(RunSnap(kCross, &db, 5, 0.5, 2, out), 1);
    EXPECT_NEAR(out[0], 5, 1e-9);
    EXPECT_NEAR(out[1], 0, 1e-9);
    DAriSetEps(1e-5, 1e-3);
}

TEST(CadSearch, LockedLayersPerMode) {
    DefaultOptions();
    Db db;
    auto locked = Line(0, 0, 10, 0);
    locked.layer = 3;
    auto open = Line(0, 5, 10, 5);
    StoredElement* el = DAriAppendElement(&locked, &db);
    StoredElement* eo = DAriAppendElement(&open, &db);
    db.h.info->layers.lock[0] |= 1u << 3;
    EXPECT_EQ(TqIsLockLayer(&el->rec, &db), 1);
    EXPECT_EQ(TqIsLockLayer(&eo->rec, &db), 0);
    const double rect[4] = {-1, 6, 11, -1};
    struct Row {
        int mode;
        size_t count;
        int snapFound;
    };
    for (Row r : {Row{0, 2, 1}, Row{1, 1, 0}}) {
        SCOPED_TRACE(r.mode);
        EXPECT_EQ(TqSetLockLaySearchMode(r.mode), r.mode == 0 ? 0 : 0);
        EXPECT_EQ(TqGetLockLaySearchMode(), r.mode);
        CadMark* m = DAriGetWakuElement(rect, &db);
        auto items = MarkItems(m);
        EXPECT_EQ(items.size(), r.count);
        EXPECT_EQ(items.back(), eo);
        DAriDestroyMark(m);
        double out[3];
        EXPECT_EQ(RunSnap(kEnd, &db, 0.5, -0.5, 1, out), r.snapFound);
        TqSetLockLaySearchMode(0);
    }
}

TEST(CadSearch, AreaModesKindMasksAndGroupFind) {
    DefaultOptions();
    Drawing d;
    // A compound of two short lines far to the right.
    ElementRecord g = Record(kElmGroup);
    StoredElement* grp = DAriCreateFgroupHead(&g, &d.db);
    auto m1 = Line(1000, 0, 1010, 0), m2 = Line(1000, 5, 1010, 5);
    StoredElement* e1 = DAriAppendMemberElement(grp, &m1, &d.db);
    StoredElement* e2 = DAriAppendMemberElement(grp, &m2, &d.db);

    struct Row {
        const char* name;
        double rect[4];
        int area;
        uint32_t kinds;
        int groupFind;
        std::vector<StoredElement*> expect;
    };
    const std::vector<Row> rows = {
        {"both", {-1, 1, 101, -1}, 3, 0xFFFFF, 0, {d.a, d.b}},
        {"inside only", {-1, 1, 101, -1}, 2, 0xFFFFF, 0, {d.a}},
        {"crossing only", {-1, 1, 101, -1}, 1, 0xFFFFF, 0, {d.b}},
        {"circles only", {-1000, 1000, 1000, -1000}, 3, 1u << 2, 0, {d.circle}},
        {"rectangle inside a circle meets nothing", {195, 5, 205, -5}, 3, 0xFFFFF, 0, {}},
        {"members with group find off", {995, 10, 1015, -1}, 3, 0xFFFFF, 0, {e1, e2}},
        {"group whole with group find on", {995, 10, 1015, -1}, 3, 0xFFFFF, 1, {grp}},
        {"text box", {605, 5, 606, 4}, 3, 0xFFFFF, 0, {d.text}},
        {"point", {399, 1, 401, -1}, 3, 0xFFFFF, 0, {d.point}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SearchOptionRecord o;
        DAriDbGetSerch(&o);
        o.words[0] = r.area;
        o.words[1] = static_cast<int32_t>(r.kinds);
        DAriDbSetSerch(&o);
        DAriSerchSetGrpFind(r.groupFind);
        CadMark* m = DAriGetWakuElement(r.rect, &d.db);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(MarkItems(m), r.expect);
        DAriDestroyMark(m);
        DefaultOptions();
    }
    // A zero-filled option record restricts nothing.
    SearchOptionRecord zero = {};
    DAriDbSetSerch(&zero);
    const double all[4] = {-1000, 1000, 2000, -1000};
    CadMark* everything = DAriGetWakuElement(all, &d.db);
    EXPECT_EQ(DAriGetMarkNum(everything), 11);  // nine elements and the two members
    DAriDestroyMark(everything);
    DefaultOptions();
    // The strip of an arrow-key step upwards from a point of line A: it
    // starts just above A and meets line B, which runs along it.
    SearchOptionRecord o;
    DAriDbGetSerch(&o);
    const int32_t strip[5] = {3, 0x87fff, -1, o.words[3], 0xffffff};
    memcpy(o.words, strip, sizeof strip);
    DAriDbSetSerch(&o);
    const double band[4] = {49.99999, 1000.00001, 50.00001, 0.00001};
    CadMark* m = DAriGetWakuElement(band, &d.db);
    EXPECT_EQ(MarkItems(m), std::vector<StoredElement*>{d.b});
    DAriDestroyMark(m);
    DefaultOptions();
    EXPECT_EQ(DAriSerchSetGrpFind(1), 0);
    EXPECT_EQ(DAriSerchSetGrpFind(0), 1);
}

TEST(CadSearch, NearestFirstTagsAndSearchesAmongAMark) {
    DefaultOptions();
    Drawing d;
    const double rect[4] = {-10, 60, 110, -60};
    CadMark* m = DAriGetWakuElementEx(rect, 100, &d.db);
    auto items = MarkItems(m);
    ASSERT_EQ(items.size(), 2u);
    DAriDestroyMark(m);
    // Centre (50, 0) lies on both lines: equal distance keeps database order.
    EXPECT_EQ(items[0], d.a);
    const double right[4] = {60, 60, 110, -60};
    m = DAriGetWakuElementEx(right, 100, &d.db);
    EXPECT_EQ(MarkItems(m), std::vector<StoredElement*>{d.a});
    DAriDestroyMark(m);

    DAriSetTag(d.circle, 7, 42);
    ElementRecord out;
    EXPECT_EQ(DAriFFTagElement(&out, 7, &d.db), d.circle);
    EXPECT_EQ(out.kind, kElmCircle);
    EXPECT_EQ(DAriFFTagElement(&out, 8, &d.db), nullptr);
    ElementRecord h = Record(kElmFigureHeader);
    StoredElement* def = DAriCreateFgroupHead(&h, &d.db);
    DAriSetTag(def, 9, 1);
    EXPECT_EQ(DAriFFTagFasHeader(&out, 9, &d.db), def);
    EXPECT_EQ(DAriFFTagElement(&out, 9, &d.db), nullptr);

    CadMark* among = DAriCreateMark(&d.db);
    DAriSetMark(d.a, among);
    DAriSetMark(d.circle, among);
    FakeViewData vd(&d.db);
    CadMark* hit = DAriGetElementMarkByPointWithMark(CadPoint3{50, 0.5, 0}, 1, &d.db, vd.bytes, among);
    EXPECT_EQ(MarkItems(hit), std::vector<StoredElement*>{d.a});  // B passes too but is not marked
    DAriDestroyMark(hit);
    // Point searches limited to the mark.
    double p[3];
    EXPECT_EQ(RunSnap(kEnd, &d.db, 50, 49, 2, p, 2, among), 0);
    EXPECT_EQ(RunSnap(kEnd, &d.db, 50, 49, 2, p, 2, nullptr), 1);
    DAriDestroyMark(among);
}
