// Painting a view into memory bitmaps: the block handed to the library, the
// background, the library's elements and the grid.
#include <cstring>

#include "base/apply_settings.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view/db_info.h"
#include "view/view_paint.h"
#include "view_fixture.h"

namespace {

using PaintTest = ViewFixture;
using drawtest::Canvas;

TEST_F(PaintTest, TheBlockDescribesTheViewModePaperAndVisibleArea) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    SetPaper(view, 420, 297, true, 0.01);
    ViewData* d = GetViewData(view);
    struct Case {
        const char* name;
        int mode;
        bool corner;
        int paperSpace;
        double paper[4];
    } cases[] = {
        {"model space, corner origin", 0, true, 0, {0, 297, 420, 0}},
        {"paper space, centred", 1, false, 1, {-210, 148.5, 210, -148.5}},
        {"frame view", 2, false, 0, {-210, 148.5, 210, -148.5}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        d->viewMode = k.mode;
        DAriGetDbInfoPtr(0, d->db)->originAtCorner = k.corner;
        d->modelScale = 2, d->paperScale = 3, d->frameScale = 4;
        d->frameOffsetX = -5;
        DrawParam seen;
        std::memset(&seen, 0xCC, sizeof seen);
        DrawParamObserver = [&](const DrawParam& p) { seen = p; };
        Canvas c(200, 100, RGB(1, 2, 3));
        DrawParam p;
        RECT rc = {0, 0, 200, 100};
        ASSERT_EQ(1, DrawViewInto(view, d, c.dc, rc, &p));
        DrawParamObserver = nullptr;
        EXPECT_EQ(2372, seen.size);
        EXPECT_EQ(k.paperSpace, seen.paperSpace);
        EXPECT_EQ(kDrawToDc, seen.targetKind);
        EXPECT_EQ(c.dc, seen.dc);
        EXPECT_EQ(0, std::memcmp(k.paper, seen.paperRect, sizeof k.paper));
        EXPECT_EQ(k.mode == 0 ? 2.0 : k.mode == 1 ? 3.0 : 4.0, seen.scale);
        EXPECT_EQ(k.mode == 2 ? -5.0 : 0.0, seen.offsetX);
        EXPECT_EQ(100, seen.centre[0]);
        EXPECT_EQ(50, seen.centre[1]);
        EXPECT_DOUBLE_EQ(0.01, seen.drawScale);
        EXPECT_DOUBLE_EQ(seen.scale / 0.01, seen.pixelsPerMm);
        EXPECT_DOUBLE_EQ(-100 / seen.scale - seen.offsetX, seen.visible[0]);
        EXPECT_DOUBLE_EQ(50 / seen.scale, seen.visible[1]);
        EXPECT_EQ(0, std::memcmp(seen.visible, seen.visible2, sizeof seen.visible));
        EXPECT_EQ(1, seen.originMarker);
        EXPECT_EQ(GetDrawBackColor(), (COLORREF)seen.background);
    }
}

TEST_F(PaintTest, BackgroundAndTheLibrarysElementsReachTheBitmap) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    ViewData* d = GetViewData(view);
    ElementRecord line = drawtest::Line(-40, 0, 40, 0, 2);
    DAriAppendElement(&line, d->db);
    Canvas c(200, 100, RGB(9, 9, 9));
    DrawParam p;
    RECT rc = {0, 0, 200, 100};
    ViewGridShown = 0;
    DrawViewInto(view, d, c.dc, rc, &p);
    const COLORREF back = GetDrawBackColor();
    EXPECT_EQ(back, c.At(5, 5)) << "the whole client is the background";
    EXPECT_EQ(back, c.At(199, 99));
    const COLORREF pen = drawtest::Pen(d->db, 2);
    EXPECT_GT(c.Count(pen, 60, 49, 140, 51), 60) << "the library drew the line across the centre";
    EXPECT_EQ(0, c.Count(pen, 0, 0, 199, 40));
}

TEST_F(PaintTest, GridByTable) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    SetPaper(view, 100, 100, false);
    ViewData* d = GetViewData(view);
    struct Case {
        const char* name;
        double pitchX, pitchY, scale;
        int extreme;
        bool drawn;
        double shownX;
    } cases[] = {
        {"pitch 10 at 1 px per unit", 10, 10, 1.0, 0, true, 10},
        {"pitch 5 thinned to 10", 5, 5, 1.0, 0, true, 10},
        {"thinned and left out", 5, 5, 1.0, 1, false, 10},
        {"pitch 0 draws nothing", 0, 10, 1.0, 0, false, -1},
        {"negative pitch draws nothing", -3, -3, 1.0, 0, false, -1},
        {"tiny pitch at a tiny scale ends", 1e-9, 1e-9, 1e-6, 0, true, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Running().grid.x = k.pitchX;
        Running().grid.y = k.pitchY;
        Running().bGridDspModeExtr = k.extreme;
        d->modelScale = k.scale;
        Canvas c(200, 100, RGB(0, 0, 0));
        DrawParam p;
        RECT rc = {0, 0, 200, 100};
        ViewGridShown = 0;
        DrawViewInto(view, d, c.dc, rc, &p);
        const auto plain = c.Copy();
        const double tl[3] = {p.topLeft[0], p.topLeft[1], 0}, br[3] = {p.bottomRight[0], p.bottomRight[1], 0};
        const int marks = DrawViewGrid(d->db, &p, tl, br);
        EXPECT_EQ(k.drawn, marks > 0);
        EXPECT_EQ(k.drawn, c.Copy() != plain);
        if (k.shownX > 0) EXPECT_DOUBLE_EQ(k.shownX, DisplayedGridPitch[0]);
    }
}

TEST_F(PaintTest, EmphasisEveryFifthPointUnderALightBackground) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    SetPaper(view, 100, 100, false);
    ViewData* d = GetViewData(view);
    Running().grid.x = Running().grid.y = 10;
    Running().backgroundMode = 1;
    Running().GRIDCOLOR_W = 8;
    Running().GRIDCOLOR_W5 = 1;
    Running().bGridDspModeExtr = 0;
    d->modelScale = 2;  // 20 px between points
    Canvas c(200, 100, RGB(0, 0, 0));
    DrawParam p;
    RECT rc = {0, 0, 200, 100};
    ViewGridShown = 1;
    DrawViewInto(view, d, c.dc, rc, &p);
    ViewGridShown = 0;
    const COLORREF emph = drawtest::Pen(d->db, 1), ordinary = drawtest::Pen(d->db, 8);
    // The origin (column 0, row 0) sits at the centre (100, 50): a 2 x 2 block.
    EXPECT_EQ(emph, c.At(99, 50));
    EXPECT_EQ(emph, c.At(100, 51));
    // (10, 10) lies on neither a fifth column nor a fifth row: one dash.
    EXPECT_EQ(ordinary, c.At(119, 30));
    EXPECT_NE(ordinary, c.At(119, 31));
}

TEST_F(PaintTest, GridColourSettingsStandForTheBackgroundAndStayAsSet) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    SetPaper(view, 100, 100, false);
    ViewData* d = GetViewData(view);
    Running().grid.x = Running().grid.y = 10;
    Running().bGridDspModeExtr = 0;
    d->modelScale = 2;  // 20 px between points
    struct Case {
        const char* name;
        int backgroundMode;
        int ordinarySet, emphasisSet;  // GRIDCOLOR_W and _W5 when light, _B and _B5 when dark
        int ordinaryShown, emphasisShown;
    } cases[] = {
        {"light: 7 shows as 16", 1, 7, 7, 16, 16},
        {"light: other colours as set", 1, 8, 16, 8, 16},
        {"dark: 16 shows as 7", 0, 16, 16, 7, 7},
        {"dark: other colours as set", 0, 8, 7, 8, 7},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        RunningSettings& rs = Running();
        rs.backgroundMode = k.backgroundMode;
        const bool light = k.backgroundMode != 0;
        rs.GRIDCOLOR_W = light ? k.ordinarySet : 1;
        rs.GRIDCOLOR_W5 = light ? k.emphasisSet : 1;
        rs.GRIDCOLOR_B = light ? 1 : k.ordinarySet;
        rs.GRIDCOLOR_B5 = light ? 1 : k.emphasisSet;
        for (int paint = 1; paint <= 2; ++paint) {
            SCOPED_TRACE(paint == 1 ? "first paint" : "second paint");
            Canvas c(200, 100, RGB(0, 0, 0));
            DrawParam p;
            RECT rc = {0, 0, 200, 100};
            ViewGridShown = 1;
            DrawViewInto(view, d, c.dc, rc, &p);
            ViewGridShown = 0;
            // The origin is a fifth point at the centre; (10, 10) an ordinary one.
            EXPECT_EQ(drawtest::Pen(d->db, k.emphasisShown), c.At(99, 50));
            EXPECT_EQ(drawtest::Pen(d->db, k.ordinaryShown), c.At(119, 30));
        }
        EXPECT_EQ(light ? k.ordinarySet : 1, rs.GRIDCOLOR_W);
        EXPECT_EQ(light ? k.emphasisSet : 1, rs.GRIDCOLOR_W5);
        EXPECT_EQ(light ? 1 : k.ordinarySet, rs.GRIDCOLOR_B);
        EXPECT_EQ(light ? 1 : k.emphasisSet, rs.GRIDCOLOR_B5);
    }
}

TEST_F(PaintTest, ThumbnailIsTheVisibleAreaScaledDown) {
    HWND view = NewDrawing();
    SetClientSize(view, 352, 252);  // twice the thumbnail
    ResetScales(view);
    ViewData* d = GetViewData(view);
    ElementRecord line = drawtest::Line(0, -100, 0, 100, 2);
    DAriAppendElement(&line, d->db);
    Canvas c(176, 126, RGB(0, 0, 0));
    ASSERT_EQ(1, DrawViewToDc(view, 0, 0, c.dc, 176, 126));
    const COLORREF pen = drawtest::Pen(d->db, 2);
    EXPECT_GE(c.Count(pen, 86, 0, 90, 125), 90) << "the vertical line runs through the thumbnail's middle";
    EXPECT_EQ(1.0, d->modelScale) << "the view's own scale stays";
}

}  // namespace
