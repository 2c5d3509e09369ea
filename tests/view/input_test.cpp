// Mouse input of a view: events into the input record, gestures, the right
// button's state, edge zones, and the frame's close retry.
#include "base/settings_files.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/pick_aperture.h"
#include "command/wait_loop.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view/element_snap_search.h"
#include "view/hover_search.h"
#include "view/key_cursor.h"
#include "view/view_coords.h"
#include "view/view_transform.h"
#include "view/view_input.h"
#include "view/view_table.h"
#include "view_fixture.h"

namespace {

// Every test starts from a rested mouse away from any view: the view's mouse
// state is the process's, and a view that appears under the pointer an
// earlier test left there takes that position for its previous one.
class InputTest : public ViewFixture {
protected:
    void SetUp() override {
        ::SetCursorPos(0, 0);
        ViewFixture::SetUp();
        ViewMouseState = ViewMouseStateRecord();
    }
    // The snap preview runs the wait's element snap through the hooks the
    // drawing windows fill; every kind but the free point is on.
    void TearDown() override {
        HostHooks() = m_hooks;
        Running().snapModeFlags = m_snapModes;
        ViewFixture::TearDown();
    }
    void SnapPreviewOn() {
        InstallViewSnapHooks();
        Running().snapModeFlags = 0xFF & ~0x8;
    }
    // A 400 x 300 view at scale 1 showing one line from (-40, 10) to (40, 10),
    // its middle away from the origin (which the end-point search takes first).
    HWND DrawingWithLine() {
        HWND view = NewDrawing();
        SetClientSize(view, 400, 300);
        ResetScales(view);
        ElementRecord line = drawtest::Line(-40, 10, 40, 10, 2);
        DAriAppendElement(&line, GetViewData(view)->db);
        return view;
    }

private:
    CmdHostHooks m_hooks = HostHooks();
    long m_snapModes = Running().snapModeFlags;
};

TEST(ViewInputTables, GestureDirectionsAndEdgeZones) {
    struct Dir {
        int dx, dy, dir;
    } dirs[] = {{20, -20, 0}, {20, 20, 1}, {-20, 20, 2}, {-20, -20, 3}, {0, 0, 1}, {0, -1, 0}, {-1, 0, 2}};
    for (const Dir& d : dirs)
        EXPECT_EQ(d.dir, GestureDirection(d.dx, d.dy)) << d.dx << "," << d.dy;
    const RECT inner = {48, 48, 352, 252};  // a 400 x 300 client
    struct Zone {
        int x, y, zone;
    } zones[] = {{390, 10, 8}, {10, 290, 4}, {200, 10, 1}, {200, 290, 2}, {200, 150, 0}, {48, 48, 0}};
    for (const Zone& z : zones)
        EXPECT_EQ(z.zone, EdgeZoneAt(inner, z.x, z.y)) << z.x << "," << z.y;
    struct Store {
        int table, index, id, stored, read;
    } stores[] = {{1, 0, 1204, 1204, 1204}, {2, 3, 999, 0, 0}, {1, 4, 1200, 1200, 0}, {2, 1, 1339, 1339, 1339}};
    for (const Store& k : stores) {
        EXPECT_EQ(k.stored, SetGestureCommand(k.table, k.index, k.id)) << k.id;
        EXPECT_EQ(k.read, GetGestureCommand(k.table, k.index)) << k.id;
    }
}

TEST_F(InputTest, ARightReleaseNeverSetsTheRightButtonState) {
    HWND view = NewDrawing();
    ViewMouseState.buttons = 0;
    // A release whose press went elsewhere.
    ::SendMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(0, ViewMouseState.buttons & 2);
    ::SendMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(2, ViewMouseState.buttons & 2);
    ::SendMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(0, ViewMouseState.buttons & 2);
}

TEST_F(InputTest, MovesAndRightClicksBecomeInputEvents) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);
    ASSERT_EQ(view, GetActiveView());
    CmdInput().event = 0;
    ::SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(120, 80));
    EXPECT_EQ(CMD_EV_MOUSE_MOVE, CmdInput().event);
    EXPECT_EQ(120, LastViewMousePos.x);
    EXPECT_EQ(80, LastViewMousePos.y);
    // Another view holding the input lock keeps this one's moves out.
    CmdInput().event = 0;
    HWND other = NewDrawing("other");
    ::SendMessageA(m_main.m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)::GetParent(other), 0);
    LockInputToActiveView();
    ::SendMessageA(m_main.m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)::GetParent(view), 0);
    EXPECT_EQ(other, GetActiveView()) << "the lock refuses a window of another drawing";
    UnlockInput();
}

TEST_F(InputTest, AClickIsTheCursorPointInDrawingUnits) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);
    ViewData* d = GetViewData(view);
    d->modelScale = 2.0;
    d->modelOffsetX = -30;
    d->modelOffsetY = 10;
    ASSERT_EQ(view, GetActiveView());
    ViewMouseState = ViewMouseStateRecord();
    struct Click {
        int x, y;
    } clicks[] = {{120, 80}, {300, 250}};
    for (const Click& c : clicks) {
        // The wait loop keeps the last screen position it saw for itself;
        // it never stands in for the view's own client position.
        CmdWaitState().lastMousePos = {900, 700};
        POINT screen = {c.x, c.y};
        ::ClientToScreen(view, &screen);
        ::SetCursorPos(screen.x, screen.y);
        CmdInput().event = 0;
        ::SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        ::SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(CMD_EV_LBUTTON, CmdInput().event) << c.x << "," << c.y;
        double p[3] = {};
        GetCursorWorldPoint(p);
        double wx = 0, wy = 0;
        ClientToWorld(view, d, c.x, c.y, &wx, &wy);
        EXPECT_DOUBLE_EQ(wx, p[0]) << c.x << "," << c.y;
        EXPECT_DOUBLE_EQ(wy, p[1]) << c.x << "," << c.y;
    }
    CmdInput().event = 0;
}

TEST_F(InputTest, TheViewHoldsTheMouseOnlyWhileThePointerWasOverItsDrawingArea) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ::SetActiveWindow(m_main.m_hWnd);
    ASSERT_EQ(m_main.m_hWnd, ::GetActiveWindow());
    ::ReleaseCapture();
    struct Step {
        int x, y;
        HWND capture;
        const char* why;
    } steps[] = {
        {100, 100, nullptr, "the first move has no previous position"},
        {120, 110, view, "the previous position lay over the drawing area"},
        {-40, -40, view, "still decided by the previous (inside) position"},
        {130, 120, nullptr, "the previous position lay outside the view"},
        {140, 120, view, "back inside"},
    };
    for (const Step& s : steps) {
        ::PostMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(s.x, s.y));
        Pump();
        EXPECT_EQ(s.capture, ::GetCapture()) << s.x << "," << s.y << ": " << s.why;
    }
    // Another window active: the view neither takes nor lets go of the mouse.
    HWND other =
        ::CreateWindowA("STATIC", "x", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    ::SetCapture(view);
    ::PostMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(-40, -40));
    ::PostMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    Pump();
    EXPECT_EQ(view, ::GetCapture()) << "main frame not active";
    ::ReleaseCapture();
    ::DestroyWindow(other);
}

TEST_F(InputTest, AHoverMarksTheSnapCandidateUnderThePointer) {
    SnapPreviewOn();
    HWND view = DrawingWithLine();
    ViewData* d = GetViewData(view);
    const POINT end = WorldToClient(view, d, 40, 10), mid = WorldToClient(view, d, 0, 10);
    Running().iGridNoDetFlg = 0;
    struct Case {
        const char* name;
        int snapShowMode, event, gridSnap;
        POINT at;
        int kind;
        double x;
    } cases[] = {
        {"near the end point", 2, 0, 0, {end.x - 3, end.y + 2}, 1, 40},
        {"near the middle", 2, 0, 0, {mid.x + 2, mid.y - 3}, 4, 0},
        {"far from the line", 2, 0, 0, {mid.x + 60, mid.y + 60}, 0, 0},
        {"snap display mode other than 2", 1, 0, 0, {end.x - 3, end.y + 2}, 0, 0},
        {"an event pending", 2, CMD_EV_LBUTTON, 0, {end.x - 3, end.y + 2}, 0, 0},
        {"grid snapping on", 2, 0, 1, {end.x - 3, end.y + 2}, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Running().iSnapShowMode = k.snapShowMode;
        SetCursorGridSnap(k.gridSnap, 10, 1);
        HoverSnap = HoverSnapRecord();
        ViewMouseState.lastHover = {-1, -1};
        CmdInput().event = 0;
        ::SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(k.at.x, k.at.y));
        CmdInput().event = k.event;
        ::SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(k.at.x, k.at.y));
        EXPECT_EQ(k.kind, HoverSnap.kind);
        if (k.kind) EXPECT_NEAR(k.x, HoverSnap.point[0], 1e-9);
    }
    SetCursorGridSnap(0, 0, 1);
    // A second hover at the same x does not search again.
    Running().iSnapShowMode = 2;
    ::SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(end.x - 3, end.y + 2));
    CmdInput().event = 0;
    ::SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(end.x - 3, end.y + 2));
    ASSERT_EQ(1, HoverSnap.kind);
    HoverSnap = HoverSnapRecord();
    CmdInput().event = 0;
    ::SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(end.x - 3, end.y + 5));
    EXPECT_EQ(0, HoverSnap.kind) << "only x and y both moved count as a new position";
    CmdInput().event = 0;
}

// The hover search looks as far as the pick aperture of the settings.
TEST_F(InputTest, TheHoverSearchLooksWithinThePickAperture) {
    struct Set {
        int pixels, result;
    } sets[] = {{20, 8}, {0, 0}, {999, 0}, {998, 20}, {8, 998}};
    for (const Set& k : sets)
        EXPECT_EQ(k.result, SetCursorFindArea(k.pixels)) << k.pixels;
    EXPECT_EQ(8, GetCursorFindArea());

    SnapPreviewOn();
    HWND view = DrawingWithLine();
    const POINT end = WorldToClient(view, GetViewData(view), 40, 10);
    Running().iGridNoDetFlg = 0;
    Running().iSnapShowMode = 2;
    SetCursorGridSnap(0, 0, 1);
    struct Case {
        int aperture, dx, kind;
    } cases[] = {{8, 15, 0}, {20, 15, 1}, {20, 25, 0}, {2, 3, 0}, {8, 3, 1}};
    int step = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "aperture " << k.aperture << ", " << k.dx << " pixels off");
        SetCursorFindArea(k.aperture);
        HoverSnap = HoverSnapRecord();
        ViewMouseState.lastHover = {-1, -1};
        const int y = end.y + (++step % 2);  // a new position each time
        CmdInput().event = 0;
        ::SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(end.x + k.dx, y));
        CmdInput().event = 0;
        ::SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(end.x + k.dx, y));
        EXPECT_EQ(k.kind, HoverSnap.kind);
    }
    SetCursorFindArea(8);
    CmdInput().event = 0;
}

TEST_F(InputTest, WheelZoomsTheActiveView) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);
    ViewData* d = GetViewData(view);
    LastViewMousePos = {200, 150};
    ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(200, 150));
    EXPECT_DOUBLE_EQ(1.4, d->modelScale);
    ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA), MAKELPARAM(200, 150));
    EXPECT_DOUBLE_EQ(1.0, d->modelScale);
}

TEST_F(InputTest, EdgeButtonsFollowTheMaskAndTheLayoutTable) {
    HWND view = NewDrawing();
    HWND frame = ::GetParent(view);
    SetClientSize(view, 400, 300);
    ResetScales(view);
    auto* f = static_cast<CCadwinFrame*>(CWindowBase::FromHandle(frame));
    ASSERT_NE(nullptr, f);
    f->Layout(400, 300);
    EXPECT_FALSE(::IsWindowVisible(f->m_zoomIn[0].m_hWnd)) << "mask 0 shows nothing";
    ::SendMessageA(frame, WM_COMMAND, MAKEWPARAM(1051, 1), 0);
    f->Layout(400, 300);
    EXPECT_TRUE(::IsWindowVisible(f->m_zoomIn[0].m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(f->m_zoomIn[1].m_hWnd));
    RECT r;
    ::GetWindowRect(f->m_scroll[1].m_hWnd, &r);
    ::MapWindowPoints(nullptr, frame, (POINT*)&r, 2);
    EXPECT_EQ(272, r.left);
    EXPECT_EQ(128, r.right - r.left);
    const int tops[3] = {128, 176, 224};
    CCadwinScrollButton* order[3] = {&f->m_zoomIn[0], &f->m_fit[0], &f->m_zoomOut[0]};
    for (int k = 0; k < 3; ++k) {
        ::GetWindowRect(order[k]->m_hWnd, &r);
        ::MapWindowPoints(nullptr, frame, (POINT*)&r, 2);
        EXPECT_EQ(tops[k], r.left) << k;
    }
    const int t = ::GetSystemMetrics(SM_CYSCREEN) > 1024 ? 26 : 20;
    EXPECT_EQ(t, r.bottom - r.top);
}

TEST_F(InputTest, TheEdgeZoneModeComesFromTheScrollBarSetting) {
    struct Case {
        int scrollBarMode, maskAtCreate, maskAfterHoverRight, maskAfterHoverInside;
    } cases[] = {{1, 0, 8, 0}, {2, 255, 255, 255}, {0, 0, 0, 0}, {3, 0, 0, 0}, {-1, 0, 0, 0}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "ScrollBarMode " << k.scrollBarMode);
        EXPECT_EQ(k.scrollBarMode == 1 || k.scrollBarMode == 2 ? k.scrollBarMode : 0, EdgeZoneModeFor(k.scrollBarMode));
        CCadSystemSettings settings;
        settings.m_ConfigData.ScrollBarMode = k.scrollBarMode;
        Running().bScTestBtn = 0;  // the old switch must not decide the mode
        HWND view = NewDrawing();
        ASSERT_NE(nullptr, view);
        SetClientSize(view, 400, 300);
        auto* f = static_cast<CCadwinFrame*>(CWindowBase::FromHandle(::GetParent(view)));
        ASSERT_NE(nullptr, f);
        EXPECT_EQ(k.maskAtCreate, f->m_edgeMask);
        ::SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(395, 150));
        EXPECT_EQ(k.maskAfterHoverRight, f->m_edgeMask);
        ::SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(200, 150));
        EXPECT_EQ(k.maskAfterHoverInside, f->m_edgeMask);
        ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
        Pump();
    }
}

TEST_F(InputTest, ACloseDelayedByARunningCommandNeverKeepsTheCallersCancelWord) {
    HWND view = NewDrawing();
    HWND frame = ::GetParent(view);
    Executor().moduleCmdRunning = 1;
    CadwinHost().closeRetryCount = 0;
    {
        int cancelWord = -1;  // lives only for this close
        ::SendMessageA(frame, WM_CLOSE, 100, (LPARAM)&cancelWord);
        EXPECT_EQ(1, cancelWord) << "the close-all learns that this window stays for now";
    }
    // The retries run after the word is gone; they must not write to it.
    int guard[8] = {7, 7, 7, 7, 7, 7, 7, 7};
    for (int i = 0; i < 12 && ::IsWindow(frame); ++i)
        Pump();
    for (int g : guard)
        EXPECT_EQ(7, g);
    EXPECT_FALSE(::IsWindow(frame)) << "after ten retries the window closes anyway";
    EXPECT_EQ(0, CadwinHost().closeRetryCount);
    Executor().moduleCmdRunning = 0;
}

}  // namespace
