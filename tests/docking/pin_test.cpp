// Pinning panes to the auto-hide strips, their labels, sliding out and back.
#include "tests/docking/dock_fixture.h"
#include "docking/auto_hide.h"
#include "docking/docking_settings.h"

using namespace zav;

TEST(PinnedLabels, WidthsAlongAStrip) {
    struct Row {
        const char* name;
        int length;
        std::vector<int> desired, expect;
    } rows[] = {
        {"one label takes the strip less 6", 500, {80}, {494}},
        {"room for all: as desired", 500, {100, 120}, {100, 120}},
        {"too long: a common cap", 200, {150, 150}, {94, 94}},
        {"a small label keeps its size, the rest share", 200, {20, 150, 150}, {20, 82, 82}},
        {"a cap below 5 becomes 0", 12, {50, 50, 50}, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.expect, PinnedLabelWidths(r.length, r.desired));
    }
    const int icon = ::GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(40 + 4 * (40 / 4) + 6, DesiredLabelWidth(40, 4, false));
    EXPECT_EQ(40 + 4 * (40 / 4) + 6 + icon + 3, DesiredLabelWidth(40, 4, true));
    EXPECT_EQ(6, DesiredLabelWidth(0, 0, false)) << "an empty title divides nothing";
}

TEST_F(DockingTest, PinSlideOutAndUnpin) {
    TestPane& a = NewPane("pinned A", RGB(220, 255, 220));
    TestPane& b = NewPane("pinned B", RGB(255, 220, 220));
    TestPane& blank = NewPane("", RGB(240, 240, 200));
    ASSERT_TRUE(DockAt(a, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 170));
    ASSERT_TRUE(DockAt(b, DOCK_SIDE_LEFT, 0, 0.5f, 170));
    ASSERT_TRUE(DockAt(blank, DOCK_SIDE_LEFT, 0, 0.8f, 170));
    CAutoHideManager& ah = frame->AutoHide();
    RECT fc = frame->GetClientRect();

    ASSERT_TRUE(a.PinUpAtCurrentSide());
    Pump();
    EXPECT_TRUE(a.IsPinned());
    EXPECT_TRUE(a.IsVisible());
    EXPECT_EQ(ah.m_hWnd, a.Bar());
    DockPosition p = Pos(a);
    EXPECT_EQ(0x27u, p.side);
    EXPECT_EQ(0.0f, p.fraction);
    EXPECT_EQ(1, p.length);
    EXPECT_EQ(fc.left + ah.Thickness(), ah.LayoutRect().left) << "the first label shrinks the layout";
    EXPECT_EQ(fc.left + ah.Thickness() + 170 + 5, MdiInFrame().left) << "the bar is still there for B";
    // Pinned with show: the pane is out at once, over the frame.
    EXPECT_TRUE(::IsWindowVisible(ah.m_hWnd));
    EXPECT_EQ(a.m_hWnd, ah.OutWindow());
    DockRequestHeader q = {a.m_hWnd, a.Bar(), DOCK_CODE_QUERY_PINNED};
    EXPECT_EQ(1, SendDockRequest(frame->m_hWnd, &q));

    const RECT layout = ah.LayoutRect();
    ASSERT_TRUE(b.PinUpAtCurrentSide());
    ASSERT_TRUE(blank.PinUpAtCurrentSide()) << "an empty title must not break the label widths";
    Pump();
    EXPECT_TRUE(::EqualRect(&layout, &ah.LayoutRect())) << "later labels only repaint the strip";
    const auto& strip = ah.GetStrip(DOCK_SIDE_LEFT);
    ASSERT_EQ(3u, strip.labels.size());
    for (const auto& l : strip.labels)
        EXPECT_GT(l->Width(), 0);
    EXPECT_EQ(fc.left + ah.Thickness(), MdiInFrame().left) << "no bar left on the left edge";

    // Hovering a label slides its pane out (animated in full-window mode); the tick hides it again.
    GetDockingHooks().fullDragMode = [] { return 1; };
    CDockingSettings::Instance().Update();
    ::SetActiveWindow(frame->m_hWnd);
    ASSERT_GT(strip.labels.size(), 1u);
    POINT onB = {strip.rc.left + 5, strip.rc.top + strip.labels[0]->Width() + 5 + 3};
    ::SendMessageA(frame->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(onB.x, onB.y));
    ::SendMessageA(frame->m_hWnd, WM_MOUSEHOVER, 0, MAKELPARAM(onB.x, onB.y));
    Pump();
    EXPECT_EQ(b.m_hWnd, ah.OutWindow());
    EXPECT_TRUE(::IsWindowVisible(b.m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(a.m_hWnd));
    RECT out = ScreenRect(ah.m_hWnd);
    EXPECT_EQ(170 + 5, out.right - out.left) << "slid out to the full pane size";
    POINT away = {fc.right - 20, fc.bottom - 20};
    ::ClientToScreen(frame->m_hWnd, &away);
    ::SetCursorPos(away.x, away.y);
    ::SetFocus(frame->m_hWnd);
    ::SendMessageA(ah.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(nullptr, ah.OutWindow());
    EXPECT_FALSE(::IsWindowVisible(ah.m_hWnd));

    // Unpinning from the pin button docks the pane into a new outermost bar, pane size as thickness.
    ASSERT_TRUE(ah.ShowPane(a.m_hWnd, false));
    ::SetWindowPos(ah.m_hWnd, nullptr, 0, 0, 230 + 5, 300, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(ah.Unpin(a.m_hWnd, true));
    Pump();
    ASSERT_TRUE(a.IsDocked());
    EXPECT_FALSE(a.IsPinned());
    p = Pos(a);
    EXPECT_EQ(uint32_t(DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE), p.side);
    EXPECT_EQ(230, p.thickness) << "resizing the pane that was out changed its size";
    EXPECT_EQ(2u, strip.labels.size());

    // Hiding a pinned pane lets it leave the strip and float hidden.
    ASSERT_TRUE(b.Hide());
    EXPECT_FALSE(b.IsDocked());
    EXPECT_FALSE(::IsWindowVisible(b.m_hWnd));
    ASSERT_TRUE(blank.Hide());
    Pump();
    EXPECT_TRUE(strip.labels.empty());
    EXPECT_EQ(fc.left, ah.LayoutRect().left) << "the empty strip gives its room back";
}

TEST_F(DockingTest, SlidOutPaneEdgeDragsUnlessLocked) {
    TestPane& a = NewPane("edge");
    ASSERT_TRUE(DockAt(a, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 170));
    ASSERT_TRUE(a.PinUpAtCurrentSide());
    Pump();
    CAutoHideManager& ah = frame->AutoHide();
    ASSERT_EQ(a.m_hWnd, ah.OutWindow());
    struct Row {
        const char* name;
        int fullDrag;
        bool locked;
        int move, expect;
    } rows[] = {
        {"live edge drag", 1, false, 30, 30},
        {"outline edge drag", 0, false, -40, -40},
        {"locked: the edge does not move", 1, true, 30, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GetDockingHooks().fullDragMode = r.fullDrag ? +[] { return 1; } : +[] { return 0; };
        GetDockingHooks().isDockLayoutLocked = r.locked ? +[] { return 1; } : +[] { return 0; };
        CDockingSettings::Instance().Update();
        RECT mr = ScreenRect(ah.m_hWnd);
        POINT edge = {mr.right - 2, (mr.top + mr.bottom) / 2};
        ::SetCursorPos(edge.x - 20, edge.y);  // keeps the pane out between the steps
        ASSERT_EQ(HTLEFT, ::SendMessageA(ah.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)));
        const int w0 = mr.right - mr.left;
        PostMouse(frame->m_hWnd, WM_MOUSEMOVE, POINT{edge.x + r.move, edge.y}, MK_LBUTTON);
        PostMouse(frame->m_hWnd, WM_LBUTTONUP, POINT{edge.x + r.move, edge.y});
        ::SendMessageA(ah.m_hWnd, WM_NCLBUTTONDOWN, HTLEFT, MAKELPARAM(edge.x, edge.y));
        Pump();
        RECT after = ScreenRect(ah.m_hWnd);
        EXPECT_EQ(w0 + r.expect, after.right - after.left);
        EXPECT_EQ(w0 + r.expect - 5, Pos(a).thickness) << "the pane size follows";
    }
}

TEST_F(DockingTest, PinnedLabelKeepsALongTitleWhole) {
    // 300 bytes of double-byte characters: a fixed 256-byte copy would end in half a character.
    std::string title;
    while (title.size() < 300)
        title += "表示";
    TestPane& p = NewPane(title.c_str());
    ASSERT_TRUE(DockAt(p, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 80));
    ASSERT_TRUE(p.PinUpAtCurrentSide());
    Pump();
    const auto& strip = frame->AutoHide().GetStrip(DOCK_SIDE_TOP);
    ASSERT_EQ(1u, strip.labels.size());
    EXPECT_EQ(title, strip.labels[0]->Record().text);
    EXPECT_EQ(title, frame->AutoHide().GetWindowText()) << "the slid-out pane's caption text";
}

TEST_F(DockingTest, DestroyedPanesLeaveTheirBarsAndStrips) {
    TestPane& a = NewPane("a");
    TestPane& b = NewPane("b");
    TestPane& top = NewPane("top");
    TestPane& pinned = NewPane("pinned");
    ASSERT_TRUE(DockAt(a, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 150));
    ASSERT_TRUE(DockAt(b, DOCK_SIDE_LEFT, 0, 0.5f, 150));
    ASSERT_TRUE(DockAt(top, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 80));
    ASSERT_TRUE(DockAt(pinned, DOCK_SIDE_BOTTOM | DOCK_FLAG_SINGLE, 0, 0.0f, 90));
    ASSERT_TRUE(pinned.PinUpAtCurrentSide());
    Pump();
    const RECT fc = frame->GetClientRect();
    CAutoHideManager& ah = frame->AutoHide();

    ::DestroyWindow(b.m_hWnd);
    Pump();
    EXPECT_TRUE(Pos(a).side & DOCK_FLAG_SINGLE) << "a has the bar to itself";
    EXPECT_EQ(ScreenRect(a.Bar()).bottom, ScreenRect(a.m_hWnd).bottom) << "a takes the freed span";

    ::DestroyWindow(top.m_hWnd);
    Pump();
    EXPECT_EQ(fc.top, MdiInFrame().top) << "the emptied top bar is gone";

    ::DestroyWindow(pinned.m_hWnd);
    Pump();
    EXPECT_TRUE(ah.GetStrip(DOCK_SIDE_BOTTOM).labels.empty());
    EXPECT_EQ(nullptr, ah.OutWindow());
    EXPECT_EQ(fc.bottom, ah.LayoutRect().bottom) << "the strip no longer takes room";
}
