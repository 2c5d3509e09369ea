// The sample drawing of data/samples: written by the CAD library with every
// element kind on several pages and layers. ZAV_VIEW_REGEN_SAMPLE=1 writes
// it again; the test then checks what the committed file holds and paints
// it through a drawing view (build/view-sample.bmp, for people to look at).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "view/db_info.h"
#include "shell/open_road.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "base/apply_settings.h"
#include "view/view_coords.h"
#include "view/view_paint.h"
#include "view/view_table.h"
#include "view_fixture.h"
#include "win/message_box.h"

namespace {

using SampleTest = ViewFixture;
const double kPi = 3.141592653589793;

std::string SourceDir() {
    const char* s = std::getenv("ZAV_SOURCE_DIR");
    std::string p = s ? s : ".";
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::string SamplePath() { return SourceDir() + "\\data\\samples\\sample.tcf"; }

struct SampleBuilder {
    DbHeader* db;
    std::vector<std::string> texts;
    StoredElement* Add(ElementRecord r, int page, int layer) {
        r.page = page;
        r.layer = (uint16_t)layer;
        return DAriAppendElement(&r, db);
    }
    void Rect(double x1, double y1, double x2, double y2, int colour, int page, int layer) {
        Add(drawtest::Line(x1, y1, x2, y1, colour), page, layer);
        Add(drawtest::Line(x2, y1, x2, y2, colour), page, layer);
        Add(drawtest::Line(x2, y2, x1, y2, colour), page, layer);
        Add(drawtest::Line(x1, y2, x1, y1, colour), page, layer);
    }
    void Text(double x, double y, double h, const char* s, int colour, int page, int layer) {
        texts.push_back(s);
        Add(drawtest::Text(x, y, h, h / 2, texts.back().c_str(), colour), page, layer);
    }
};

void BuildSampleDrawing(DbHeader* db) {
    SampleBuilder b{db, {}};
    b.texts.reserve(100);
    DbInfo* info = DAriGetDbInfoPtr(0, db);
    std::strcpy(info->texts0[3], "サンプル 空調平面図");
    std::strcpy(info->texts7[4], "設計");
    CadSetF64(info, kInfoDrawW, 42000);
    CadSetF64(info, kInfoDrawH, 29700);
    CadSetF64(info, kInfoPaperWmm, 420);
    CadSetF64(info, kInfoPaperHmm, 297);
    CadSetF64(info, kInfoScale, 0.01);
    info->paperCode = 19;
    DAriSetLayerName(0, 0, "通り芯", db);
    DAriSetLayerName(0, 1, "壁", db);
    DAriSetLayerName(0, 2, "ダクト", db);
    DAriSetLayerName(0, 3, "器具", db);
    DAriSetLayerName(0, 4, "文字", db);
    for (int p = 1; p <= 2; ++p) {
        PageRecord* rec = new PageRecord;
        std::memset(rec, 0, sizeof *rec);
        rec->parent = 0;
        rec->number = p;
        std::memcpy(&rec->info, info, kDbInfoHeadSize);
        DAriAddPage(p, rec, db);
        delete rec;
        DAriSetLayerName(p, 0, p == 1 ? "二階 壁" : "屋上 機器", db);
        db->pages.display[0] |= 1u << p;
    }
    // Page 0: axes, walls, doors, a duct run with diffusers, room names.
    for (double x : {-15000.0, 0.0, 15000.0})
        b.Add(drawtest::Line(x, -9000, x, 9000, 8), 0, 0);
    for (double y : {-7000.0, 7000.0})
        b.Add(drawtest::Line(-17000, y, 17000, y, 8), 0, 0);
    b.Rect(-15000, -7000, 15000, 7000, 1, 0, 1);
    b.Add(drawtest::Line(0, -7000, 0, 7000, 1), 0, 1);
    b.Add(drawtest::Arc(-2000, -7000, 900, 0, kPi / 2, 0, 3), 0, 1);
    b.Add(drawtest::Arc(2000, -7000, 900, kPi / 2, kPi, 0, 3), 0, 1);
    b.Add(drawtest::Line(-12000, 4300, 12000, 4300, 5), 0, 2);
    b.Add(drawtest::Line(-12000, 3700, 12000, 3700, 5), 0, 2);
    for (double x = -9000; x <= 9000; x += 6000) {
        b.Rect(x - 350, 2000, x + 350, 2700, 5, 0, 3);
        b.Add(drawtest::Circle(x, 2350, 220, 5), 0, 3);
        b.Add(drawtest::Point(x, 3000, 4), 0, 3);
    }
    b.Add(drawtest::Oval(-9000, -4000, -7800, -4000, 0.5, 6), 0, 2);
    b.Add(drawtest::OvalArc(9000, -4000, 10200, -4000, 0.6, 0, kPi, 6), 0, 2);
    b.Text(-9000, 5000, 500, "事務室", 1, 0, 4);
    b.Text(4000, 5000, 500, "会議室", 1, 0, 4);
    b.Text(-19000, -13000, 600, "サンプル 空調平面図 S=1/100", 2, 0, 4);
    // A title-block frame and a small raster and block element.
    b.Add(drawtest::Box2(kElmFrame, -20000, -14000, 20000, 14000, 8), 0, 4);
    // A raster image: centre, then width and height.
    ElementRecord ras = drawtest::Box2(kElmRaster, 13500, -11000, 3000, 2000, 7);
    b.Add(ras, 0, 4);
    ElementRecord blk = drawtest::Box2(kElmBlock, -15000, -12000, -12000, -10000, 7);
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    std::memset(::GlobalLock(mem), 0x5A, 16);
    ::GlobalUnlock(mem);
    CadSetPtr(&blk, kOffBlockHandle, mem);
    CadSetU32(&blk, kOffBlockSize, 16);
    b.Add(blk, 0, 4);
    ::GlobalFree(mem);
    // A group with a nested group, and a compound.
    ElementRecord g = cadtest::Record(kElmGroup, 0, 3);
    StoredElement* group = DAriCreateFgroupHead(&g, db);
    ElementRecord m1 = drawtest::Circle(-13000, -2000, 600, 4);
    m1.layer = 3;
    DAriAppendMemberElement(group, &m1, db);
    ElementRecord g2 = cadtest::Record(kElmGroup2, 0, 3);
    StoredElement* inner = DAriAppendMemberElement(group, &g2, db);
    ElementRecord m2 = drawtest::Line(-13600, -2000, -12400, -2000, 4);
    m2.layer = 3;
    DAriAppendMemberElement(inner, &m2, db);
    ElementRecord c = cadtest::Record(kElmCompound, 0, 2);
    StoredElement* compound = DAriCreateFgroupHead(&c, db);
    ElementRecord m3 = drawtest::Line(6000, -4450, 9000, -4450, 6);
    m3.layer = 2;
    DAriAppendMemberElement(compound, &m3, db);
    // A figure (an outlet symbol) defined once and placed twice.
    ElementRecord hdr = cadtest::Record(kElmFigureHeader, 0, 3);
    StoredElement* def = DAriCreateFgroupHead(&hdr, db);
    ElementRecord f1 = drawtest::Circle(0, 0, 300, 3);
    ElementRecord f2 = drawtest::Line(-300, 0, 300, 0, 3);
    DAriAppendMemberElement(def, &f1, db);
    DAriAppendMemberElement(def, &f2, db);
    for (double x : {-6000.0, 6000.0}) {
        ElementRecord place = cadtest::Record(kElmFigure, 0, 3);
        CadSetF64(&place, kOffFigScale, 1.0);
        CadSetF64(&place, kOffFigX, x);
        CadSetF64(&place, kOffFigY, -3000);
        DAriAppendFgroup(def, &place, db);
    }
    // Pages 1 and 2: an upper floor and the roof.
    b.Rect(-15000, -7000, 15000, 7000, 1, 1, 0);
    b.Text(-3000, 0, 600, "二階", 1, 1, 0);
    b.Rect(-6000, -3000, 6000, 3000, 7, 2, 0);
    b.Add(drawtest::Circle(0, 0, 2000, 7), 2, 0);
    b.Text(-2000, -5000, 600, "屋上 室外機", 1, 2, 0);
}

TEST_F(SampleTest, TheCommittedSampleHoldsEveryKindOnSeveralPagesAndLayers) {
    if (std::getenv("ZAV_VIEW_REGEN_SAMPLE")) {
        DbHeader h;
        std::memset(&h, 0, sizeof h);
        DAriCreateDB(&h);
        BuildSampleDrawing(&h);
        ::CreateDirectoryA((SourceDir() + "\\data\\samples").c_str(), nullptr);
        uint32_t st = 0;
        ASSERT_EQ(1, DAriSaveFileOfCWX(SamplePath().c_str(), &h, &st));
        DAriDeleteDB(&h);
    }
    Running().SHARE = 0;
    win::MessageBoxTestHook boxes;
    ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, SamplePath().c_str()));
    EXPECT_TRUE(boxes.Calls().empty());
    HWND view = ViewTable[0];
    ViewData* d = GetViewData(view);
    std::set<int> kinds, layers, pages;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, d->db); e; e = DAriReadElement(e, 1, nullptr, d->db)) {
        kinds.insert(e->rec.kind);
        layers.insert(e->rec.layer);
        pages.insert(e->rec.page);
        for (StoredElement* m = DAriReadFirstMember(e, nullptr, d->db); m && (e->rec.kind == 21 || e->rec.kind == 70);
             m = DAriReadNextMember(m, nullptr, d->db))
            kinds.insert(m->rec.kind);
        if (e->rec.kind == kElmFigure) kinds.insert(kElmFigureHeader);
    }
    for (int k : {1, 2, 3, 4, 5, 6, 7, 21, 22, 31, 32, 50, 55, 60, 70})
        EXPECT_TRUE(kinds.count(k)) << "kind " << k;
    EXPECT_GE(layers.size(), 4u);
    EXPECT_EQ(3u, pages.size());
    EXPECT_EQ(2, DAriGetPageCount(d->db) >= 2 ? 2 : DAriGetPageCount(d->db));

    // Painted through the view at a fitted scale: something besides the
    // background, and the paper's middle is not empty.
    SetClientSize(view, 840, 600);
    ZoomViewToPaper();
    drawtest::Canvas c(840, 600, RGB(0, 0, 0));
    DrawParam p;
    RECT rc = {0, 0, 840, 600};
    ViewGridShown = 0;
    DrawViewInto(view, d, c.dc, rc, &p);
    EXPECT_GT(c.CountNot(GetDrawBackColor()), 2000);
    // Saved for people to look at.
    const char* dist = std::getenv("ZAV_DIST_DIR");
    c.SaveBmp(dist ? std::string(dist) + "\\..\\view-sample.bmp" : std::string("view-sample.bmp"));
}

}  // namespace
