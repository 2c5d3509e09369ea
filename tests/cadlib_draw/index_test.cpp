// The spatial index against a plain scan: random drawings, random searches,
// and the same again after changes, deletions, undo, redo, group members
// and a save and load.
#include <gtest/gtest.h>

#include <random>

#include "tests/cadlib_draw/draw_fixture.h"

using namespace drawtest;

namespace {

struct FakeViewData {
    uint8_t bytes[900] = {};
    explicit FakeViewData(DbHeader* db) { memcpy(bytes + kViewDataDbOffset, &db, sizeof db); }
};

ElementRecord RandomElement(std::mt19937& rng) {
    std::uniform_real_distribution<double> pos(0, 1000), len(-40, 40), ang(0, 6.3);
    double x = pos(rng), y = pos(rng);
    switch (rng() % 6) {
    case 0: return Circle(x, y, 1 + std::fabs(len(rng)), 1 + rng() % 8);
    case 1: return Arc(x, y, 1 + std::fabs(len(rng)), ang(rng), ang(rng), rng() % 2, 1 + rng() % 8);
    case 2: return Oval(x, y, x + len(rng), y + len(rng), 0.5, 3);
    case 3: return Point(x, y, 4);
    default: return Line(x, y, x + len(rng), y + len(rng), 1 + rng() % 8);
    }
}

std::vector<StoredElement*> Items(CadMark* m) {
    std::vector<StoredElement*> v;
    for (void* e = DAriGetNextMark(nullptr, m); e; e = DAriGetNextMark(e, m))
        v.push_back(static_cast<StoredElement*>(e));
    DAriDestroyMark(m);
    return v;
}

// Everything a search can answer for random places, once through the index
// and once by scanning, must agree.
void CompareWithScan(DbHeader* db, std::mt19937& rng, const char* stage) {
    SCOPED_TRACE(stage);
    std::uniform_real_distribution<double> pos(-20, 1020), size(0.5, 120);
    FakeViewData vd(db);
    for (int i = 0; i < 120; ++i) {
        double x = pos(rng), y = pos(rng), w = size(rng), h = size(rng);
        const double rect[4] = {x, y + h, x + w, y};
        SearchOptionRecord o = {};
        const int32_t words[7] = {1 + static_cast<int32_t>(rng() % 3), 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
        memcpy(o.words, words, sizeof words);
        DAriDbSetSerch(&o);
        DAriSerchSetGrpFind(static_cast<int>(rng() % 2));
        DAriSetSettingsDataInt("NoSpatialIndex", 0);
        auto fast = Items(DAriGetWakuElement(rect, db));
        DAriSetSettingsDataInt("NoSpatialIndex", 1);
        auto slow = Items(DAriGetWakuElement(rect, db));
        ASSERT_EQ(fast, slow) << "rectangle " << i;
        double a = 0.5 + (rng() % 8);
        CadPoint3 p{x, y, 0};
        for (int kind = 0; kind < 5; ++kind) {
            double r1[3] = {0, 0, 0}, r2[3] = {0, 0, 0};
            int f1, f2;
            for (int pass = 0; pass < 2; ++pass) {
                DAriSetSettingsDataInt("NoSpatialIndex", pass);
                double* out = pass ? r2 : r1;
                int& f = pass ? f2 : f1;
                switch (kind) {
                case 0: f = DAriSerchPoint(p, out, a, db, nullptr, vd.bytes, nullptr); break;
                case 1: f = DAriSerchPoint2(p, out, a, vd.bytes, 2, nullptr); break;
                case 2: f = DAriSerchPoint2_2(p, out, a, vd.bytes, nullptr); break;
                case 3: f = DAriSerchPoint3(p, out, a, vd.bytes, nullptr); break;
                default: f = DAriSerchPoint4(p, out, a, vd.bytes, nullptr); break;
                }
            }
            ASSERT_EQ(f1, f2) << "snap " << kind << " at " << i;
            EXPECT_EQ(r1[0], r2[0]);
            EXPECT_EQ(r1[1], r2[1]);
        }
    }
    DAriSetSettingsDataInt("NoSpatialIndex", 0);
    DAriSerchSetGrpFind(0);
}

}  // namespace

TEST(CadSpatialIndex, SameAnswersAsAScanThroughEditsUndoRedoAndLoad) {
    std::mt19937 rng(11);
    Db db(50);
    std::vector<StoredElement*> all;
    for (int i = 0; i < 1500; ++i) {
        auto r = RandomElement(rng);
        all.push_back(DAriAppendElement(&r, &db));
    }
    // Groups with members, to see members move their group's box.
    ElementRecord g = Record(kElmGroup);
    StoredElement* grp = DAriCreateFgroupHead(&g, &db);
    for (int i = 0; i < 5; ++i) {
        auto r = RandomElement(rng);
        DAriAppendMemberElement(grp, &r, &db);
    }
    DAriMakUndoPass(&db);
    CompareWithScan(&db, rng, "built");

    for (int step = 0; step < 6; ++step) {
        for (int i = 0; i < 60; ++i) {
            StoredElement* e = all[rng() % all.size()];
            if (!(e->state & 1)) continue;  // not in the drawing any more
            if (rng() % 2) {
                auto r = RandomElement(rng);
                DAriChangeElement(e, &r, &db);
            } else {
                DAriDeleteElement(e, &db);
            }
        }
        auto r = RandomElement(rng);
        DAriAppendMemberElement(grp, &r, &db);
        auto n = RandomElement(rng);
        all.push_back(DAriAppendElement(&n, &db));
        DAriMakUndoPass(&db);
    }
    CompareWithScan(&db, rng, "edited");
    for (int i = 0; i < 4; ++i)
        cadtest::HostUndo(&db);
    CompareWithScan(&db, rng, "undone");
    for (int i = 0; i < 2; ++i)
        cadtest::HostRedo(&db);
    CompareWithScan(&db, rng, "redone");
    // Bulk changes in fast access: searches in the middle and after it.
    DAriFastAccessOn();
    for (int i = 0; i < 40; ++i) {
        auto r = RandomElement(rng);
        all.push_back(DAriAppendElement(&r, &db));
        StoredElement* e = all[rng() % all.size()];
        if (e->state & 1) DAriDeleteElement(e, &db);
    }
    CompareWithScan(&db, rng, "in fast access");
    DAriFastAccessOff();
    CompareWithScan(&db, rng, "after fast access");

    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "cadlib_draw_index.tcf";
    uint32_t status = 0;
    ASSERT_EQ(DAriSaveFileOfCWX(file.c_str(), &db, &status), 1);
    Db loaded;
    CompareWithScan(&loaded, rng, "empty");  // follows the empty drawing first
    status = 0;
    ASSERT_EQ(DAriLoadFileOfCWX(file.c_str(), &loaded, &status), 1);
    DeleteFileA(file.c_str());
    EXPECT_EQ(DAriGetElmNum(&loaded), DAriGetElmNum(&db));
    CompareWithScan(&loaded, rng, "loaded");
    DAriAllDeleteElement(&loaded);
    CompareWithScan(&loaded, rng, "emptied");
}

// A definition that gains a member moves the boxes of its placed figures.
TEST(CadSpatialIndex, PlacedFiguresFollowTheirDefinition) {
    SearchOptionRecord o = {};
    const int32_t words[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    memcpy(o.words, words, sizeof words);
    DAriDbSetSerch(&o);
    DAriSerchSetGrpFind(0);
    Db db;
    ElementRecord h = Record(kElmFigureHeader);
    StoredElement* def = DAriCreateFgroupHead(&h, &db);
    auto m = Line(0, 0, 1, 0);
    DAriAppendMemberElement(def, &m, &db);
    ElementRecord f = Record(kElmFigure);
    CadSetF64(&f, kOffFigScale, 1);
    CadSetF64(&f, kOffFigX, 100);
    CadSetF64(&f, kOffFigY, 100);
    StoredElement* fig = DAriAppendFgroup(def, &f, &db);
    const double nearBox[4] = {99, 101, 102, 99}, farBox[4] = {149, 151, 151, 149};
    EXPECT_EQ(Items(DAriGetWakuElement(nearBox, &db)), std::vector<StoredElement*>{fig});
    EXPECT_TRUE(Items(DAriGetWakuElement(farBox, &db)).empty());
    auto added = Line(50, 50, 50, 50.5);
    DAriAppendMemberElement(def, &added, &db);
    EXPECT_EQ(Items(DAriGetWakuElement(farBox, &db)), std::vector<StoredElement*>{fig});
}

// Painting through the index shows exactly what painting every element does.
TEST(CadSpatialIndex, ZoomedPaintingMatchesAFullWalk) {
    std::mt19937 rng(3);
    Db db;
    for (int i = 0; i < 3000; ++i) {
        auto r = RandomElement(rng);
        DAriAppendElement(&r, &db);
    }
    DAriSetSettingsDataInt("DrawDetail", 1);
    std::vector<uint32_t> pics[2];
    for (int pass = 0; pass < 2; ++pass) {
        DAriSetSettingsDataInt("NoSpatialIndex", pass);
        Canvas c(300, 200, RGB(0, 0, 0));
        DrawParam p = Param(c, 3.0, RGB(0, 0, 0));
        p.offsetX = -400;
        p.offsetY = -600;
        Paint(&db, p);
        pics[pass] = c.Copy();
    }
    DAriSetSettingsDataInt("NoSpatialIndex", 0);
    DAriSetSettingsDataInt("DrawDetail", 0);
    EXPECT_EQ(pics[0], pics[1]);
}
