// The pane family of the main frame's panels: caption bar by the caption
// bits, the caption-state and toggle codes, and the held size.
#include "tests/docking/dock_fixture.h"

#include "base/local_settings_ini.h"
#include "panels/panel_dock.h"

namespace {

// A pane of the family around a plain child window.
class CPlainPanelPane : public CPanelDockWinBase {
public:
    explicit CPlainPanelPane(int bit) : CPanelDockWinBase(bit) {}

protected:
    HWND CreatePanel() override {
        CreateArgs a;
        a.parent = m_hWnd;
        a.style = WS_CHILD | WS_VISIBLE;
        a.x = a.y = a.cx = a.cy = 0;
        return m_panel.Create(a);
    }
    HWND PanelWindow() const override { return m_panel.m_hWnd; }

private:
    CWindowBase m_panel;
};

class PanelDockTest : public DockingTest {
protected:
    void SetUp() override {
        DockingTest::SetUp();
        saved_ = LocalIni().iPanelCaption;
    }
    void TearDown() override {
        for (auto& p : family_)
            if (p->m_hWnd) ::DestroyWindow(p->m_hWnd);
        family_.clear();
        LocalIni().iPanelCaption = saved_;
        DockingTest::TearDown();
    }
    CPlainPanelPane& Make(int bit, int side, int thickness) {
        family_.emplace_back(new CPlainPanelPane(bit));
        CPlainPanelPane& p = *family_.back();
        const panedock::FirstDocking first = {side, thickness, 60};
        EXPECT_TRUE(p.CreateDocked(frame->m_hWnd, "pane", RECT{0, 0, thickness, 60}, first));
        Pump();
        return p;
    }
    int MinTrack(HWND w, bool width) {
        MINMAXINFO info = {};
        ::SendMessageA(w, WM_GETMINMAXINFO, 0, (LPARAM)&info);
        return width ? info.ptMinTrackSize.x : info.ptMinTrackSize.y;
    }
    std::vector<std::unique_ptr<CPlainPanelPane>> family_;
    int saved_ = 3;
};

TEST_F(PanelDockTest, CaptionBitsDecideTheCaptionBar) {
    LocalIni().iPanelCaption = 3;
    CPlainPanelPane& app = Make(2, 1, 180);
    CPlainPanelPane& cmd = Make(4, 0, 90);
    EXPECT_TRUE(app.ShowsCaption());
    EXPECT_FALSE(cmd.ShowsCaption());
    EXPECT_EQ(1, ::SendMessageA(app.m_hWnd, WM_COMMAND, 1001, 0));
    EXPECT_EQ(2, ::SendMessageA(cmd.m_hWnd, WM_COMMAND, 1001, 0));
    // The panel fills the pane.
    RECT pane = cmd.GetClientRect(), panel;
    ::GetClientRect(::GetWindow(cmd.m_hWnd, GW_CHILD), &panel);
    EXPECT_EQ(pane.right, panel.right);
    EXPECT_EQ(pane.bottom, panel.bottom);
}

TEST_F(PanelDockTest, ToggleFlipsTheBarAndItsBitUnlessPinned) {
    LocalIni().iPanelCaption = 3;
    CPlainPanelPane& cmd = Make(8, 2, 90);
    EXPECT_EQ(1, ::SendMessageA(cmd.m_hWnd, WM_COMMAND, 1000, 0));
    EXPECT_TRUE(cmd.ShowsCaption());
    EXPECT_EQ(3 | 8, LocalIni().iPanelCaption);
    ::SendMessageA(cmd.m_hWnd, WM_COMMAND, 1000, 0);
    EXPECT_FALSE(cmd.ShowsCaption());
    EXPECT_EQ(3, LocalIni().iPanelCaption);
    ASSERT_TRUE(cmd.PinUpAtCurrentSide());
    Pump();
    EXPECT_EQ(0, ::SendMessageA(cmd.m_hWnd, WM_COMMAND, 1001, 0));
    EXPECT_EQ(1, ::SendMessageA(cmd.m_hWnd, WM_COMMAND, 1000, 0));
    EXPECT_EQ(3, LocalIni().iPanelCaption) << "a pinned pane keeps its caption state";
    ::ShowWindow(cmd.m_hWnd, SW_HIDE);
}

TEST_F(PanelDockTest, TheDockedThicknessIsHeldUntilReleased) {
    CPlainPanelPane& right = Make(2, 1, 180);
    CPlainPanelPane& bottom = Make(4, 0, 90);
    const int freeWidth = MinTrack(right.m_hWnd, true);
    EXPECT_EQ(1, ::SendMessageA(right.m_hWnd, WM_COMMAND, 1011, 0));
    EXPECT_EQ(1, ::SendMessageA(bottom.m_hWnd, WM_COMMAND, 1011, 0));
    EXPECT_EQ(1, right.m_fixedFlags);
    EXPECT_EQ(180, right.m_fixedWidth);
    EXPECT_EQ(180, MinTrack(right.m_hWnd, true));
    EXPECT_EQ(2, bottom.m_fixedFlags);
    EXPECT_EQ(90, bottom.m_fixedHeight);
    EXPECT_EQ(1, ::SendMessageA(right.m_hWnd, WM_COMMAND, 1010, 0));
    EXPECT_EQ(0, right.m_fixedFlags);
    EXPECT_EQ(freeWidth, MinTrack(right.m_hWnd, true));
    EXPECT_EQ(0, ::SendMessageA(right.m_hWnd, WM_COMMAND, 1234, 0));
}

}  // namespace
