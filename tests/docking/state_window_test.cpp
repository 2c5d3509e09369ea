// State objects over real windows: toolbar bands and a maximised main window.
#include "tests/docking/dock_fixture.h"
#include <commctrl.h>
#include "docking/dock_wnd_state.h"

using namespace zav;

namespace {

int BandId(HWND rebar, int i) {
    REBARBANDINFOA bi = {};
    bi.cbSize = 80;
    bi.fMask = RBBIM_ID;
    ::SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&bi));
    return static_cast<int>(bi.wID);
}

}  // namespace

TEST_F(DockingTest, ToolbarBandsComeBackInOrder) {
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND rebar = ::CreateWindowExA(0, REBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT, 0, 0, 400, 30,
                                   frame->m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_TRUE(rebar);
    for (int id : {10, 11, 12}) {
        HWND child = ::CreateWindowExA(0, "STATIC", "band", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, rebar, nullptr,
                                       nullptr, nullptr);
        REBARBANDINFOA bi = {};
        bi.cbSize = 80;
        bi.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE;
        bi.fStyle = RBBS_GRIPPERALWAYS;
        bi.hwndChild = child;
        bi.cxMinChild = 40;
        bi.cyMinChild = 20;
        bi.cx = 100 + id;
        bi.wID = id;
        ASSERT_TRUE(::SendMessageA(rebar, RB_INSERTBANDA, -1, reinterpret_cast<LPARAM>(&bi)));
    }
    CStgXML root, node;
    ASSERT_EQ(0, root.CreateDocument("config"));
    ASSERT_EQ(0, node.Create(root, "Wnd-0xffffffff"));
    CRebarStateAdapter adapter(rebar);
    ASSERT_TRUE(adapter.Impl()->Store(node));
    unsigned char band[80];
    unsigned long size = sizeof band;
    ASSERT_EQ(0, node.GetBinary("band2", band, &size));
    EXPECT_EQ(80u, size);
    ::SendMessageA(rebar, RB_MOVEBAND, 0, 2);  // 11, 12, 10
    ASSERT_EQ(10, BandId(rebar, 2));
    ASSERT_TRUE(adapter.Impl()->Restore(node, StateRatio(), StateRatio()));
    EXPECT_EQ(10, BandId(rebar, 0));
    EXPECT_EQ(11, BandId(rebar, 1));
    EXPECT_EQ(12, BandId(rebar, 2));
    ::DestroyWindow(rebar);
    ::CoUninitialize();
}

TEST_F(DockingTest, MinimisedMainWindowIsStoredAsItWouldRestore) {
    ::CoInitialize(nullptr);
    struct Row {
        const char* name;
        int before;
        UINT stored;
    } rows[] = {
        {"minimised from maximised: stored maximised", SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED},
        {"minimised from normal: stored normal", SW_SHOWNORMAL, SW_SHOWNORMAL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ::ShowWindow(frame->m_hWnd, r.before);
        ::ShowWindow(frame->m_hWnd, SW_MINIMIZE);
        Pump();
        CWindowStateMgr mgr;
        mgr.Initialize(frame->m_hWnd, SW_SHOWDEFAULT);
        CStgXML root, main;
        ASSERT_EQ(0, root.CreateDocument("config"));
        ASSERT_TRUE(mgr.Store(root));
        ASSERT_EQ(0, main.Open(root, "MainWindow"));
        WINDOWPLACEMENT wp = {};
        unsigned long size = sizeof wp;
        ASSERT_EQ(0, main.GetBinary("placement", &wp, &size));
        EXPECT_EQ(r.stored, wp.showCmd);
        ::ShowWindow(frame->m_hWnd, SW_RESTORE);
        ::ShowWindow(frame->m_hWnd, SW_SHOWNORMAL);
        ASSERT_TRUE(mgr.Restore(root));
        Pump();
        EXPECT_EQ(r.stored == SW_SHOWMAXIMIZED, ::IsZoomed(frame->m_hWnd) != 0);
        ::ShowWindow(frame->m_hWnd, SW_SHOWNORMAL);
    }
    ::CoUninitialize();
}
