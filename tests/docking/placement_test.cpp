// Docking, reading back and restoring positions through the request codes,
// with a real frame, real bars and real panes.
#include "tests/docking/dock_fixture.h"

using namespace zav;

TEST_F(DockingTest, PositionsReadBackAsDocked) {
    TestPane& top = NewPane("top");
    TestPane& bottomA = NewPane("bottomA");
    TestPane& bottomB = NewPane("bottomB");
    TestPane& left = NewPane("left");
    ASSERT_TRUE(DockAt(top, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 80));
    ASSERT_TRUE(DockAt(bottomA, DOCK_SIDE_BOTTOM | DOCK_FLAG_SINGLE, 0, 0.0f, 70));
    ASSERT_TRUE(DockAt(left, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 160));

    DockPosition p = Pos(top);
    EXPECT_EQ(uint32_t(DOCK_SIDE_TOP | DOCK_FLAG_SINGLE), p.side);
    EXPECT_EQ(0u, p.barIndex);
    EXPECT_EQ(0.0f, p.fraction);
    EXPECT_EQ(80, p.thickness);
    p = Pos(bottomA);
    EXPECT_EQ(uint32_t(DOCK_SIDE_BOTTOM | DOCK_FLAG_SINGLE), p.side);
    EXPECT_EQ(0u, p.barIndex);
    p = Pos(left);
    EXPECT_EQ(uint32_t(DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE), p.side);
    EXPECT_EQ(160, p.thickness);

    // A single-flagged bottom restore always makes a new outermost bar.
    ASSERT_TRUE(DockAt(bottomB, DOCK_SIDE_BOTTOM | DOCK_FLAG_SINGLE, 0, 0.0f, 60));
    EXPECT_EQ(0u, Pos(bottomB).barIndex);
    EXPECT_EQ(1u, Pos(bottomA).barIndex) << "one bar further in";
    EXPECT_NE(bottomA.Bar(), bottomB.Bar());

    // The MDI client keeps what the bars leave, behind their splitters.
    RECT mdi = MdiInFrame();
    RECT fc = frame->GetClientRect();
    EXPECT_EQ(fc.left + 160 + 5, mdi.left);
    EXPECT_EQ(fc.top + 80 + 5, mdi.top);
    EXPECT_EQ(fc.bottom - 70 - 60 - 10, mdi.bottom);

    // Codes outside the table answer 0 at the frame and at a bar.
    DockRequestHeader h = {left.m_hWnd, left.Bar(), 6};
    EXPECT_EQ(0, SendDockRequest(frame->m_hWnd, &h));
    EXPECT_EQ(0, SendDockRequest(left.Bar(), &h));
    // Code 11: a dock bar is not the auto-hide window.
    DockRequestHeader q = {left.m_hWnd, left.Bar(), DOCK_CODE_QUERY_PINNED};
    EXPECT_EQ(0, SendDockRequest(frame->m_hWnd, &q));
    // Code 13: the bar answers its window's minimum along the bar.
    TestPane& wide = NewPane("wide");
    wide.minSize = {70, 55};
    ASSERT_TRUE(DockAt(wide, DOCK_SIDE_BOTTOM, 0, 0.5f, 70));
    DockRequestHeader m = {wide.m_hWnd, wide.Bar(), DOCK_CODE_MIN_DISTANCE};
    EXPECT_EQ(70, SendDockRequest(wide.Bar(), &m)) << "bottom bar: along x";
    m = {left.m_hWnd, left.Bar(), DOCK_CODE_MIN_DISTANCE};
    EXPECT_EQ(40, SendDockRequest(left.Bar(), &m)) << "left bar: along y";
}

TEST_F(DockingTest, StoredPositionsFindTheirBars) {
    TestPane& r1 = NewPane("right1");
    TestPane& r2 = NewPane("right2");
    TestPane& t1 = NewPane("top1");
    TestPane& t2 = NewPane("top2");
    ASSERT_TRUE(DockAt(r1, DOCK_SIDE_RIGHT | DOCK_FLAG_SINGLE, 0, 0.0f, 180, 200));
    ASSERT_TRUE(DockAt(r2, DOCK_SIDE_RIGHT, 0, 0.5f, 180, 200));
    EXPECT_EQ(r1.Bar(), r2.Bar()) << "without the single flag a pane joins the stored bar";
    EXPECT_EQ(0.0f, Pos(r1).fraction);
    EXPECT_GT(Pos(r2).fraction, 0.3f);
    EXPECT_LT(Pos(r2).fraction, 0.7f);
    EXPECT_EQ(uint32_t(DOCK_SIDE_RIGHT), Pos(r2).side) << "two panes: no single flag";

    // Top bar index 1 while the top has one bar: a new bar between it and the centre.
    ASSERT_TRUE(DockAt(t1, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 60));
    ASSERT_TRUE(DockAt(t2, DOCK_SIDE_TOP, 1, 0.0f, 60));
    EXPECT_NE(t1.Bar(), t2.Bar());
    EXPECT_EQ(0u, Pos(t1).barIndex);
    EXPECT_EQ(1u, Pos(t2).barIndex);
    EXPECT_LT(ScreenRect(t1.m_hWnd).top, ScreenRect(t2.m_hWnd).top);

    // Undocking the last pane of a bar removes the bar; its span goes to the centre.
    RECT before = MdiInFrame();
    ASSERT_TRUE(t2.Undock());
    Pump();
    RECT after = MdiInFrame();
    EXPECT_EQ(before.top - 65, after.top);
    EXPECT_FALSE(t2.IsDocked());
}

TEST_F(DockingTest, HideAndShowKeepThePlace) {
    TestPane& a = NewPane("a");
    TestPane& b = NewPane("b");
    ASSERT_TRUE(DockAt(a, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 150));
    ASSERT_TRUE(DockAt(b, DOCK_SIDE_LEFT, 0, 0.5f, 150));
    const DockPosition was = Pos(b);
    // Closing a docked pane hides it; it is not destroyed.
    ::SendMessageA(b.m_hWnd, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_TRUE(::IsWindow(b.m_hWnd));
    EXPECT_FALSE(b.IsVisible());
    EXPECT_FALSE(b.IsDocked());
    ASSERT_TRUE(b.Show());
    Pump();
    ASSERT_TRUE(b.IsDocked());
    EXPECT_EQ(a.Bar(), b.Bar());
    EXPECT_EQ(was.side, Pos(b).side);
    EXPECT_NEAR(was.fraction, Pos(b).fraction, 0.02f);

    // A pane hidden while floating comes back floating at the same rectangle.
    TestPane& f = NewPane("floating", RGB(255, 230, 200), RECT{500, 200, 700, 380});
    Pump();
    RECT r = ScreenRect(f.m_hWnd);
    ASSERT_TRUE(f.Hide());
    EXPECT_FALSE(::IsWindowVisible(f.m_hWnd));
    ASSERT_TRUE(f.Show());
    EXPECT_TRUE(::IsWindowVisible(f.m_hWnd));
    EXPECT_FALSE(f.IsDocked());
    RECT again = ScreenRect(f.m_hWnd);
    EXPECT_TRUE(::EqualRect(&r, &again));

    // A double click on the caption of a pane that never floated does nothing while docked.
    TestPane& never = NewPane("never");
    DockWindowPlacement pl = {};
    pl.position.side = DOCK_SIDE_RIGHT | DOCK_FLAG_SINGLE;
    pl.position.thickness = 120;
    pl.docked = pl.visible = 1;  // floatRect left empty: it never floated
    ASSERT_TRUE(never.SetDockingWindowPlacement(pl));
    ASSERT_TRUE(::IsRectEmpty(&never.FloatingRect()));
    ::SendMessageA(never.m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_TRUE(never.IsDocked());
    // One that floated before floats again at its rectangle, and a second double click re-docks it.
    ::SendMessageA(a.m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Pump();
    ASSERT_FALSE(a.IsDocked());
    EXPECT_TRUE(::IsWindowVisible(a.m_hWnd));
    ::SendMessageA(a.m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Pump();
    EXPECT_TRUE(a.IsDocked());
    EXPECT_EQ(uint32_t(DOCK_SIDE_LEFT), Pos(a).side & 3);
}

TEST_F(DockingTest, DraggedOutlineIsLimited) {
    RECT fc = frame->GetClientRect();
    struct Row {
        const char* name;
        RECT in;
        int w, h;
    } rows[] = {
        {"a third of the client at most", {10, 10, 910, 710}, int(fc.right / 3), int(fc.bottom / 3)},
        {"the system minimum at least", {10, 10, 30, 20}, ::GetSystemMetrics(SM_CXMIN), ::GetSystemMetrics(SM_CYMIN)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DockRect d = {};
        d.hdr.code = DOCK_CODE_ADJUST_DRAG_RECT;
        d.rect = r.in;
        EXPECT_EQ(1, SendDockRequest(frame->m_hWnd, &d));
        EXPECT_EQ(r.w, d.rect.right - d.rect.left);
        EXPECT_EQ(r.h, d.rect.bottom - d.rect.top);
    }
    RECT big = {0, 0, 900, 700};
    LimitDragRect(big, 1200, 900);
    EXPECT_EQ(400, big.right);
    EXPECT_EQ(300, big.bottom);
}

TEST_F(DockingTest, AcceptZonesAndTheFirstThird) {
    TestPane& left = NewPane("left");
    TestPane& drag = NewPane("drag");
    ASSERT_TRUE(DockAt(left, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 150));
    RECT mdi = MdiInFrame();
    auto accept = [&](POINT client, DockRect* out) {
        DockRect d = {};
        d.hdr = {drag.m_hWnd, nullptr, DOCK_CODE_ACCEPT};
        POINT s = client;
        ::ClientToScreen(frame->m_hWnd, &s);
        d.rect = {s.x, s.y, s.x + 120, s.y + 150};
        LRESULT r = SendDockRequest(frame->m_hWnd, &d);
        if (out) *out = d;
        return r;
    };
    DockRect d;
    const int midY = (mdi.top + mdi.bottom) / 2;
    EXPECT_EQ(0, accept({(mdi.left + mdi.right) / 2, midY}, &d)) << "middle of the client area";
    EXPECT_EQ(nullptr, d.hdr.bar);
    ASSERT_NE(0, accept({mdi.left + 10, midY}, &d)) << "10 px inside the client's left edge";
    EXPECT_EQ(frame->m_hWnd, d.hdr.bar) << "a new bar, made by the frame";
    EXPECT_TRUE(d.flags & DOCK_RECT_COLUMNS);
    EXPECT_FALSE(d.flags & DOCK_RECT_FAR);
    ASSERT_NE(0, accept({mdi.right - 10, midY}, &d)) << "10 px inside the right edge";
    EXPECT_TRUE(d.flags & DOCK_RECT_FAR);
    RECT lb = ClientInFrame(frame->m_hWnd, left.Bar());
    ASSERT_NE(0, accept({(lb.left + lb.right) / 2, (lb.top + lb.bottom) / 2}, &d)) << "the body of a bar";
    EXPECT_EQ(left.Bar(), d.hdr.bar) << "passed to the bar";
    // 10 px after a bar's splitter: a new bar in front of that bar.
    TestPane& inner = NewPane("inner");
    ASSERT_TRUE(DockAt(inner, DOCK_SIDE_LEFT, 1, 0.0f, 120));
    ASSERT_NE(left.Bar(), inner.Bar());
    RECT ib = ClientInFrame(frame->m_hWnd, inner.Bar());
    ASSERT_NE(0, accept({ib.left - 5 + 10, midY}, &d));
    EXPECT_EQ(frame->m_hWnd, d.hdr.bar);
    POINT at = {d.rect.left, d.rect.top};
    ::ScreenToClient(frame->m_hWnd, &at);
    EXPECT_EQ(ib.left, at.x) << "the outline starts where the inner bar starts";
    inner.Hide();
    Pump();
    // The bar's own pane alone in it is refused over that bar.
    DockRect self = {};
    self.hdr = {left.m_hWnd, nullptr, DOCK_CODE_ACCEPT};
    POINT s = {(lb.left + lb.right) / 2, (lb.top + lb.bottom) / 2};
    ::ClientToScreen(frame->m_hWnd, &s);
    self.rect = {s.x, s.y, s.x + 100, s.y + 100};
    EXPECT_EQ(0, SendDockRequest(left.Bar(), &self));
    EXPECT_EQ(nullptr, self.hdr.bar);

    // In a bar, a drop goes before the pane up to the first third of its span and after it beyond.
    TestPane& top = NewPane("top");
    ASSERT_TRUE(DockAt(top, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 60));
    RECT tb = ClientInFrame(frame->m_hWnd, top.Bar());
    const int width = tb.right - tb.left;
    const int third = -5 + (width + 5) / 3;
    struct Row {
        const char* name;
        int x;
        bool after;
    } rows[] = {
        {"at the first third: before", third, false},
        {"one pixel beyond: after", third + 1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestPane& p = NewPane(r.name);
        DockRect dd = {};
        dd.hdr = {p.m_hWnd, top.Bar(), DOCK_CODE_DOCK};
        POINT o = {tb.left + r.x, tb.top};
        ::ClientToScreen(frame->m_hWnd, &o);
        dd.rect = {o.x, o.y, o.x + 100, o.y + 60};
        ASSERT_NE(0, SendDockRequest(top.Bar(), &dd));
        Pump();
        EXPECT_EQ(r.after, ScreenRect(p.m_hWnd).left > ScreenRect(top.m_hWnd).left);
        p.Undock();
        Pump();
    }
}

TEST_F(DockingTest, TallerToolbarMovesBarsAndClient) {
    TestPane& top = NewPane("top");
    ASSERT_TRUE(DockAt(top, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 80));
    HWND band = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 1000, 20, frame->m_hWnd, nullptr,
                                  nullptr, nullptr);
    frame->m_hWndToolBar = band;
    frame->UpdateLayout(FALSE);
    EXPECT_EQ(20, ClientInFrame(frame->m_hWnd, ::GetParent(top.m_hWnd)).top);
    // The rebar grows by itself (a second row of bands) and says so.
    ::SetWindowPos(band, nullptr, 0, 0, 1000, 50, SWP_NOZORDER | SWP_NOMOVE);
    NMHDR n = {band, 1, static_cast<UINT>(RBN_AUTOSIZE)};
    ::SendMessageA(frame->m_hWnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(50, ClientInFrame(frame->m_hWnd, ::GetParent(top.m_hWnd)).top) << "the top bar moved down";
    EXPECT_LT(50 + 80, MdiInFrame().top) << "the client follows below the bar";
    frame->m_hWndToolBar = nullptr;
    ::DestroyWindow(band);
}
