// The drag loops driven by posted mouse and key messages: caption drags that
// float, dock or cancel, and splitter drags live, as outlines and locked.
#include "tests/docking/dock_fixture.h"
#include <climits>
#include "docking/dock_bar.h"
#include "docking/docking_settings.h"

using namespace zav;

namespace {

POINT Caption(HWND w) {
    RECT r = ScreenRect(w);
    return {r.left + 50, r.top + 10};
}

}  // namespace

TEST_F(DockingTest, CaptionDragFloatsDocksAndCancels) {
    TestPane& left = NewPane("left");
    ASSERT_TRUE(DockAt(left, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 150));
    TestPane& f = NewPane("dragged", RGB(255, 230, 200), RECT{600, 150, 800, 350});
    Pump();
    RECT mdi = MdiInFrame();
    ::MapWindowPoints(frame->m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&mdi), 2);
    const POINT middle = {(mdi.left + mdi.right) / 2, (mdi.top + mdi.bottom) / 2};
    const POINT nearLeft = {mdi.left + 10, middle.y};

    {
        SCOPED_TRACE("dropped over the middle of the client area: floats at the outline");
        POINT start = Caption(f.m_hWnd);
        PostMouse(f.m_hWnd, WM_MOUSEMOVE, middle);
        PostMouse(f.m_hWnd, WM_LBUTTONUP, middle);
        f.DragWindow(start);
        Pump();
        EXPECT_FALSE(f.IsDocked());
        RECT r = ScreenRect(f.m_hWnd);
        EXPECT_EQ(middle.x - 50, r.left);
        EXPECT_EQ(middle.y - 10, r.top);
        EXPECT_EQ(200, r.right - r.left);
    }
    {
        SCOPED_TRACE("dropped 10 px inside the client's left edge: a new bar beside the client");
        PostMouse(f.m_hWnd, WM_MOUSEMOVE, nearLeft);
        PostMouse(f.m_hWnd, WM_LBUTTONUP, nearLeft);
        f.DragWindow(Caption(f.m_hWnd));
        Pump();
        ASSERT_TRUE(f.IsDocked());
        DockPosition p = Pos(f);
        EXPECT_EQ(uint32_t(DOCK_SIDE_LEFT), p.side & 3);
        EXPECT_EQ(1u, p.barIndex) << "inside the existing left bar";
        EXPECT_NE(left.Bar(), f.Bar());
    }
    {
        SCOPED_TRACE("Escape cancels: the pane stays in its bar");
        HWND bar = f.Bar();
        PostMouse(f.m_hWnd, WM_MOUSEMOVE, middle);
        ::PostMessageA(f.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMouse(f.m_hWnd, WM_LBUTTONUP, middle);  // after the loop: ignored
        f.DragWindow(Caption(f.m_hWnd));
        Pump();
        EXPECT_EQ(bar, f.Bar());
    }
    {
        SCOPED_TRACE("a right-button press cancels too");
        HWND bar = f.Bar();
        PostMouse(f.m_hWnd, WM_MOUSEMOVE, middle);
        PostMouse(f.m_hWnd, WM_RBUTTONDOWN, middle);
        f.DragWindow(Caption(f.m_hWnd));
        Pump();
        EXPECT_EQ(bar, f.Bar());
    }
    {
        SCOPED_TRACE("with Ctrl held a pane never docks");
        TestPane& g = NewPane("ctrl", RGB(230, 200, 255), RECT{620, 420, 780, 560});
        Pump();
        PostMouse(g.m_hWnd, WM_MOUSEMOVE, nearLeft, MK_CONTROL);
        PostMouse(g.m_hWnd, WM_LBUTTONUP, nearLeft, MK_CONTROL);
        g.DragWindow(Caption(g.m_hWnd));
        Pump();
        EXPECT_FALSE(g.IsDocked());
        EXPECT_EQ(nearLeft.x - 50, ScreenRect(g.m_hWnd).left);
        SCOPED_TRACE("releasing Ctrl during the drag docks again at once");
        PostMouse(g.m_hWnd, WM_MOUSEMOVE, nearLeft, MK_CONTROL);
        ::PostMessageA(g.m_hWnd, WM_KEYUP, VK_CONTROL, 0);
        PostMouse(g.m_hWnd, WM_LBUTTONUP, nearLeft);
        g.DragWindow(Caption(g.m_hWnd));
        Pump();
        EXPECT_TRUE(g.IsDocked());
    }
    {
        SCOPED_TRACE("a docked pane dragged out floats");
        TestPane& g = *panes.back();
        ASSERT_TRUE(g.IsDocked());
        PostMouse(g.m_hWnd, WM_MOUSEMOVE, middle);
        PostMouse(g.m_hWnd, WM_LBUTTONUP, middle);
        g.DragWindow(Caption(g.m_hWnd));
        Pump();
        EXPECT_FALSE(g.IsDocked());
        EXPECT_TRUE(::IsWindowVisible(g.m_hWnd));
        EXPECT_FALSE(::GetWindowLongPtrA(g.m_hWnd, GWL_STYLE) & WS_CHILD);
    }
}

TEST_F(DockingTest, CaptionDragStartsFromTheCaption) {
    TestPane& f = NewPane("by caption", RGB(255, 230, 200), RECT{600, 150, 800, 350});
    Pump();
    RECT mdi = MdiInFrame();
    ::MapWindowPoints(frame->m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&mdi), 2);
    const POINT target = {mdi.right - 10, (mdi.top + mdi.bottom) / 2};
    const POINT start = Caption(f.m_hWnd);
    // The first move leaves the drag-detection square; the rest drive the drag.
    PostMouse(f.m_hWnd, WM_MOUSEMOVE, POINT{start.x + 40, start.y + 40});
    PostMouse(f.m_hWnd, WM_MOUSEMOVE, target);
    PostMouse(f.m_hWnd, WM_LBUTTONUP, target);
    ::SendMessageA(f.m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(start.x, start.y));
    Pump();
    ASSERT_TRUE(f.IsDocked());
    EXPECT_EQ(uint32_t(DOCK_SIDE_RIGHT | DOCK_FLAG_SINGLE), Pos(f).side);
}

TEST_F(DockingTest, FloatingModeKeepsThePaneOnTheScreen) {
    GetDockingHooks().floatingMode = [] { return 1; };
    TestPane& f = NewPane("on screen", RGB(255, 230, 200), RECT{600, 150, 800, 350});
    Pump();
    const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    const POINT target = {sw - 20, sh - 5};
    PostMouse(f.m_hWnd, WM_MOUSEMOVE, target);
    PostMouse(f.m_hWnd, WM_LBUTTONUP, target);
    f.DragWindow(Caption(f.m_hWnd));
    Pump();
    EXPECT_FALSE(f.IsDocked());
    RECT r = ScreenRect(f.m_hWnd);
    EXPECT_EQ(sw, r.right);
    EXPECT_EQ(sh, r.bottom);
}

TEST_F(DockingTest, SplitterDrags) {
    TestPane& a = NewPane("a");
    TestPane& b = NewPane("b");
    ASSERT_TRUE(DockAt(a, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 150, 200));
    ASSERT_TRUE(DockAt(b, DOCK_SIDE_LEFT, 0, 0.5f, 150, 200));
    CWndFramesPackageBase& lr = frame->LeftRightPackage();
    RECT fc = frame->GetClientRect();
    const int y = (fc.top + fc.bottom) / 2;
    struct Row {
        const char* name;
        int fullDrag;  // the drag-mode setting: 1 live, 0 outline
        bool locked;
        UINT end;  // the message that ends the drag
        int move, expect;
    } rows[] = {
        {"live drag, dropped", 1, false, WM_LBUTTONUP, 40, 40},
        {"live drag, Escape keeps the position reached", 1, false, WM_KEYDOWN, 30, 30},
        {"outline drag, dropped", 0, false, WM_LBUTTONUP, 40, 40},
        {"outline drag, Escape leaves the layout", 0, false, WM_KEYDOWN, 40, 0},
        {"right-button release ends like a left one", 1, false, WM_RBUTTONUP, -20, -20},
        {"far beyond the range: stops at its end", 1, false, WM_LBUTTONUP, 5000, INT_MIN},
        {"locked layout: nothing moves", 1, true, WM_LBUTTONUP, 40, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GetDockingHooks().fullDragMode = r.fullDrag ? +[] { return 1; } : +[] { return 0; };
        GetDockingHooks().isDockLayoutLocked = r.locked ? +[] { return 1; } : +[] { return 0; };
        CDockingSettings::Instance().Update();
        const int p0 = lr.Position(1);
        int lo, hi;
        lr.MoveRange(1, &lo, &hi);
        ::PostMessageA(frame->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p0 + 2 + r.move, y));
        if (r.end == WM_KEYDOWN)
            ::PostMessageA(frame->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            ::PostMessageA(frame->m_hWnd, r.end, 0, MAKELPARAM(p0 + 2 + r.move, y));
        ::SendMessageA(frame->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p0 + 2, y));
        Pump();
        if (r.expect == INT_MIN)
            EXPECT_EQ(hi, lr.Position(1));
        else
            EXPECT_EQ(p0 + r.expect, lr.Position(1));
        RECT bar = ClientInFrame(frame->m_hWnd, a.Bar());
        EXPECT_EQ(lr.Position(1), bar.right) << "the bar follows its splitter";
    }
    // The lock does not apply inside a bar.
    HWND bar = a.Bar();
    CPackageWindowImpl* impl = static_cast<CPackageWindowImpl*>(CWindowBase::FromHandle(bar));
    ASSERT_NE(nullptr, impl);
    CWndFramesPackageBase& inner = impl->Package();
    ASSERT_EQ(2u, inner.Count());
    const int q0 = inner.Position(1);
    ::PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, q0 + 2 + 25));
    ::PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(20, q0 + 2 + 25));
    ::SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, q0 + 2));
    Pump();
    EXPECT_EQ(q0 + 25, inner.Position(1));
    EXPECT_EQ(q0 + 25 + 5, ScreenRect(b.m_hWnd).top - ScreenRect(bar).top) << "the window follows";
}
