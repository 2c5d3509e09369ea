// View coordinates, the paper fit, scrolling, panning and zooming, by table.
#include <cmath>

#include "command/wait_loop.h"
#include "view/display_commands.h"
#include "view/key_cursor.h"
#include "view/view_coords.h"
#include "view/view_table.h"
#include "view/view_transform.h"
#include "view_fixture.h"

namespace {

using CoordsTest = ViewFixture;

TEST_F(CoordsTest, PaperFitByTable) {
    struct Case {
        const char* name;
        int edgeButtons;
        int w, h;
        double pw, ph;
        bool corner;
        double scale, ox, oy;
    } cases[] = {
        {"A3 with edge buttons, corner origin", 1, 1000, 700, 420, 297, true, std::min(940 / 420.0, 640 / 297.0), -210,
         -148.5},
        {"A3 without edge buttons", 0, 1000, 700, 420, 297, false, std::min(980 / 420.0, 680 / 297.0), 0, 0},
        {"paper of size 0", 0, 800, 600, 0, 0, false, std::min(780.0, 580.0), 0, 0},
        {"upright A4", 0, 600, 500, 210, 297, true, std::min(580 / 210.0, 480 / 297.0), -105, -148.5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Running().bScTestBtn = k.edgeButtons;
        HWND view = NewDrawing();
        ASSERT_NE(nullptr, view);
        SetClientSize(view, k.w, k.h);
        SetPaper(view, k.pw, k.ph, k.corner);
        ViewData* d = GetViewData(view);
        d->modelScale = 7;
        CmdInput().event = 0;
        ASSERT_EQ(view, GetActiveView());
        EXPECT_EQ(1, ZoomViewToPaper());
        EXPECT_NEAR(k.scale, d->modelScale, 1e-9);
        EXPECT_DOUBLE_EQ(k.ox, d->modelOffsetX);
        EXPECT_DOUBLE_EQ(k.oy, d->modelOffsetY);
        EXPECT_EQ(7.0, d->prevModel[2]) << "the set before the fit is kept as the previous one";
        EXPECT_EQ(CMD_EV_VIEW_CHANGED, CmdInput().event);
        EXPECT_EQ(k.w, d->lastClientWidth);
        ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
        Pump();
    }
}

TEST_F(CoordsTest, EachViewModeFitsItsOwnSet) {
    HWND view = NewDrawing();
    SetClientSize(view, 500, 400);
    ResetScales(view);
    SetPaper(view, 100, 100, false);
    ViewData* d = GetViewData(view);
    d->viewMode = 1;
    ZoomViewToPaper();
    EXPECT_EQ(1.0, d->modelScale);
    EXPECT_NEAR(380 / 100.0, d->paperScale, 1e-12);
    d->viewMode = 2;
    ZoomViewToPaper();
    EXPECT_NEAR(380 / 100.0, d->frameScale, 1e-12);
}

TEST_F(CoordsTest, WorldAndClientConvertBothWays) {
    HWND view = NewDrawing();
    SetClientSize(view, 401, 301);  // odd sizes: the centre is (200, 150)
    ResetScales(view);
    ViewData* d = GetViewData(view);
    d->modelScale = 2.0;
    d->modelOffsetX = -10;
    d->modelOffsetY = 5;
    struct Case {
        double wx, wy;
        int x, y;
    } cases[] = {{10, -5, 200, 150}, {20, -5, 220, 150}, {10, 5, 200, 130}, {10.7, -5, 201, 150}, {9.3, -5, 199, 150}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.wx << "," << k.wy);
        POINT p = WorldToClient(view, d, k.wx, k.wy);
        EXPECT_EQ(k.x, p.x);
        EXPECT_EQ(k.y, p.y);
    }
    double wx, wy;
    ClientToWorld(view, d, 220, 130, &wx, &wy);
    EXPECT_DOUBLE_EQ(20, wx);
    EXPECT_DOUBLE_EQ(5, wy);
    double tl[2], br[2];
    ASSERT_EQ(1, GetViewWorldRect(view, tl, br));
    EXPECT_DOUBLE_EQ(-200 / 2.0 + 10, tl[0]);
    EXPECT_DOUBLE_EQ(-5 + 150 / 2.0, tl[1]);
    EXPECT_DOUBLE_EQ((401 - 200) / 2.0 + 10, br[0]);
    EXPECT_DOUBLE_EQ(-5 - (301 - 150) / 2.0, br[1]);
}

TEST_F(CoordsTest, ScrollsAndPansMoveByTheVisibleArea) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 200);
    ResetScales(view);
    ViewData* d = GetViewData(view);
    d->modelScale = 2.0;  // visible 200 x 100 units
    struct Case {
        const char* name;
        int edgeButtons;
        void (*act)(HWND);
        double dx, dy;
    } cases[] = {
        {"10 % right", 0, [](HWND v) { ScrollViewByPercent(v, 10, 0); }, 20, 0},
        {"-3 % up", 0, [](HWND v) { ScrollViewByPercent(v, 0, -3); }, 0, -3},
        {"step left 5 %", 0, [](HWND v) { ScrollViewByStep(4, v); }, 10, 0},
        {"step down 5 %", 0, [](HWND v) { ScrollViewByStep(1, v); }, 0, 5},
        {"step right with edge buttons 15 %", 1, [](HWND v) { ScrollViewByStep(3, v); }, -30, 0},
        {"unknown direction", 0, [](HWND v) { ScrollViewByStep(9, v); }, 0, 0},
        {"page left at thumb 0 still moves", 0,
         [](HWND v) {
             ::SetScrollPos(v, SB_HORZ, 0, FALSE);
             ::SendMessageA(v, WM_HSCROLL, SB_PAGELEFT, 0);
         },
         20, 0},
        {"middle drag 40 px right, 10 px down", 0,
         [](HWND v) {
             MiddleDragPos = {100, 100};
             PanViewByDrag(v, 140, 110);
         },
         20, -5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Running().bScTestBtn = k.edgeButtons;
        d->modelOffsetX = d->modelOffsetY = 0;
        ViewScrolledFlag = 0;
        k.act(view);
        EXPECT_NEAR(k.dx, d->modelOffsetX, 1e-9);
        EXPECT_NEAR(k.dy, d->modelOffsetY, 1e-9);
        EXPECT_EQ(2.0, d->prevModel[2]);
        if (k.dx || k.dy) EXPECT_EQ(1, ViewScrolledFlag);
    }
}

TEST_F(CoordsTest, ResizingScalesModelAndPaperSpaceButNotTheFrameView) {
    HWND view = NewDrawing();
    SetClientSize(view, 300, 200);
    ViewData* d = GetViewData(view);
    d->modelScale = d->paperScale = d->frameScale = 1.5;
    d->lastClientWidth = 300;
    d->lastClientHeight = 200;
    SetClientSize(view, 600, 200);
    EXPECT_DOUBLE_EQ(3.0, d->modelScale);
    EXPECT_DOUBLE_EQ(3.0, d->paperScale);
    EXPECT_DOUBLE_EQ(1.5, d->frameScale);
    EXPECT_EQ(600, d->lastClientWidth);
}

TEST_F(CoordsTest, ZoomFactorsLimitsAndCentre) {
    struct Factor {
        double given, effective;
    } factors[] = {{3, 6}, {10, 2}, {0, 2}, {9, 18}, {-1, 2}, {0.7, 1.4}};
    for (const Factor& f : factors)
        EXPECT_DOUBLE_EQ(f.effective, EffectiveZoomFactor(f.given)) << f.given;

    EXPECT_EQ(0, DispZoomIn(0, 2)) << "no drawing window";
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);
    SetPaper(view, 100, 100, false, 2.0);
    ViewData* d = GetViewData(view);
    // The point under the mouse comes to the centre, the scale doubles.
    LastViewMousePos = {300, 150};  // 100 px right of the centre
    ASSERT_EQ(1, DispZoomIn(0, 0));
    EXPECT_DOUBLE_EQ(2.0, d->modelScale);
    EXPECT_DOUBLE_EQ(-100.0, d->modelOffsetX);
    EXPECT_EQ(CMD_EV_VIEW_CHANGED, CmdInput().event);
    LastViewMousePos = {200, 150};
    for (int i = 0; i < 80; ++i)
        DispZoomIn(0, 9);
    EXPECT_DOUBLE_EQ(2.0 * 1e9, d->modelScale) << "drawing scale 2 times 1e9";
    for (int i = 0; i < 80; ++i)
        DispZoomOut(0, 9);
    EXPECT_DOUBLE_EQ(2.0 * 1e-9, d->modelScale);
    EXPECT_DOUBLE_EQ(2.0 * 1e6, GetScaleLimit(d, 1));
    EXPECT_DOUBLE_EQ(2.0 * 1e-4, GetScaleLimit(d, 0));
    EXPECT_DOUBLE_EQ(1.0, GetScaleLimit(nullptr, 1));
}

TEST_F(CoordsTest, KeyboardCursorZoomCentresOnTheCursorPoint) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);
    ViewData* d = GetViewData(view);
    EnterKeyCursorMode();
    const double p[3] = {33, -7, 0};
    SetKeyCursorPoint(p);
    LastViewMousePos = {10, 10};
    DispZoomOut(0, 0);
    ToggleKeyCursorMode();
    EXPECT_DOUBLE_EQ(-33, d->modelOffsetX);
    EXPECT_DOUBLE_EQ(7, d->modelOffsetY);
    EXPECT_DOUBLE_EQ(0.5, d->modelScale);
}

}  // namespace
