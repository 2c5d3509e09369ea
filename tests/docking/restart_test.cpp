// A layout saved to configMain.xml, the frame and panes destroyed and made
// again elsewhere, then restored from the file.
#include "tests/docking/dock_fixture.h"
#include <functional>
#include "docking/dock_wnd_state.h"

using namespace zav;

namespace {

struct Snapshot {
    bool docked;
    uint32_t side, barIndex;
    int thickness;
    float fraction;
    RECT window;
};

}  // namespace

TEST_F(DockingTest, LayoutSurvivesARestart) {
    ::CoInitialize(nullptr);
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "zav_docking_restart.xml";
    const char* titles[] = {"left", "right1", "right2", "top", "floating"};
    const COLORREF colours[] = {RGB(200, 255, 200), RGB(255, 200, 200), RGB(255, 230, 200), RGB(200, 200, 255),
                                RGB(255, 255, 180)};
    auto build = [&](bool arrange) {
        for (int i = 0; i < 5; ++i)
            NewPane(titles[i], colours[i], RECT{100 + 30 * i, 100, 300 + 30 * i, 300});
        Pump();
        if (!arrange) return;
        ASSERT_TRUE(DockAt(*panes[0], DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 160));
        ASSERT_TRUE(DockAt(*panes[1], DOCK_SIDE_RIGHT | DOCK_FLAG_SINGLE, 0, 0.0f, 180, 200));
        ASSERT_TRUE(DockAt(*panes[2], DOCK_SIDE_RIGHT, 0, 0.5f, 180, 200));
        ASSERT_TRUE(DockAt(*panes[3], DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 70));
        ::SetWindowPos(panes[4]->m_hWnd, nullptr, 640, 220, 180, 160, SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    };
    auto snapshot = [&]() {
        std::vector<Snapshot> v;
        for (auto& p : panes) {
            Snapshot s = {};
            s.docked = p->IsDocked();
            if (s.docked) {
                DockPosition pos = Pos(*p);
                s.side = pos.side;
                s.barIndex = pos.barIndex;
                s.thickness = pos.thickness;
                s.fraction = pos.fraction;
            }
            s.window = ScreenRect(p->m_hWnd);
            v.push_back(s);
        }
        return v;
    };
    typedef CDockingWindowStateAdapter<TestPane> Adapter;
    auto withTree = [&](const std::function<void(CWindowStateMgr&)>& use) {
        CWindowStateMgr mgr;
        mgr.Initialize(frame->m_hWnd, SW_SHOWDEFAULT);
        CDockWndMgr docks;
        std::vector<std::unique_ptr<Adapter>> adapters;
        for (auto& p : panes) {
            adapters.emplace_back(new Adapter(*p));
            docks.Add(adapters.back()->Impl());
        }
        mgr.Add(docks.Impl());
        use(mgr);
    };

    build(true);
    const std::vector<Snapshot> before = snapshot();
    withTree([&](CWindowStateMgr& mgr) {
        CStgXML root;
        ASSERT_EQ(0, root.CreateDocument("config"));
        ASSERT_TRUE(mgr.Store(root));
        ASSERT_EQ(0, root.SaveDocument(path.c_str()));
    });

    DestroyAll();
    CreateFrame();
    build(false);  // every pane floating somewhere else
    withTree([&](CWindowStateMgr& mgr) {
        CStgXML root;
        ASSERT_EQ(0, root.LoadDocument(path.c_str(), "config"));
        ASSERT_TRUE(mgr.Restore(root));
    });
    Pump();
    const std::vector<Snapshot> after = snapshot();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(titles[i]);
        EXPECT_EQ(before[i].docked, after[i].docked);
        EXPECT_EQ(before[i].side, after[i].side);
        EXPECT_EQ(before[i].barIndex, after[i].barIndex);
        EXPECT_EQ(before[i].thickness, after[i].thickness);
        EXPECT_NEAR(before[i].fraction, after[i].fraction, 0.02f);
        EXPECT_TRUE(::EqualRect(&before[i].window, &after[i].window))
            << before[i].window.left << "," << before[i].window.top << " " << after[i].window.left << ","
            << after[i].window.top << " " << after[i].window.right << "," << after[i].window.bottom;
    }
    EXPECT_EQ(panes[1]->Bar(), panes[2]->Bar());
    ::DeleteFileA(path.c_str());
    ::CoUninitialize();
}
