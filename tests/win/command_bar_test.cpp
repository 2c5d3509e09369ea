// The command bar: buttons from a menu, MDI menus, popups opened from the
// bar with their messages sent on to the frame.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "test_resources.h"
#include "trace.h"
#include "win/command_bar.h"
#include "win/mdi.h"
#include "win/update_ui.h"

namespace {

class CBarFrame : public CMDIFrameWindow {
public:
    CUpdateUI m_ui;
    BEGIN_MSG_MAP(CBarFrame)
    MESSAGE_HANDLER(WM_INITMENU, OnInitMenu)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    CHAIN_MSG_MAP_MEMBER(m_ui)
    COMMAND_ID_HANDLER(59392, OnToolbar)
    CHAIN_MSG_MAP(CMDIFrameWindow)
    END_MSG_MAP()
    LRESULT OnInitMenu(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("frame:initmenu");
        return 0;
    }
    LRESULT OnInitMenuPopup(UINT, WPARAM w, LPARAM l, BOOL& handled) {
        g_trace.push_back("frame:initmenupopup:" + std::to_string(LOWORD(l)));
        popup = (HMENU)w;
        handled = FALSE;
        return 0;
    }
    LRESULT OnToolbar(WORD, WORD id, HWND, BOOL&) {
        g_trace.push_back("frame:cmd" + std::to_string(id));
        return 0;
    }
    HMENU popup = nullptr;
};

std::string ButtonText(HWND bar, int index) {
    TBBUTTON b = {};
    ::SendMessageA(bar, TB_GETBUTTON, index, (LPARAM)&b);
    char buf[128] = {};
    ::SendMessageA(bar, TB_GETBUTTONTEXTA, b.idCommand, (LPARAM)buf);
    return buf;
}

VOID CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

TEST(CommandBar, ShowsTheMenuAndSendsItsMessagesToTheFrame) {
    CBarFrame frame;
    CreateArgs a;
    a.menu = ::LoadMenuA(win::ModuleInstance(), MAKEINTRESOURCEA(IDM_TEST_MENU));
    ASSERT_NE(nullptr, frame.Create(a));
    frame.ShowWindow(SW_SHOW);
    CCommandBar bar;
    ASSERT_NE(nullptr, bar.Create(frame));
    ASSERT_TRUE(bar.TakeOverMenu(frame));
    EXPECT_EQ(nullptr, frame.GetMenu());  // the bar shows it now
    ASSERT_EQ(1, bar.ButtonCount());
    EXPECT_EQ("表示(&V)", ButtonText(bar, 0));

    frame.m_ui.UIAdd(59392, UPDUI_MENUPOPUP);
    frame.m_ui.UISetCheck(59392, 1);

    // Open the popup through its mnemonic; a timer closes it again.
    g_trace.clear();
    ::SetTimer(nullptr, 0, 100, &CloseMenuSoon);
    EXPECT_TRUE(bar.OpenMenuByMnemonic('v'));
    EXPECT_EQ("frame:initmenu frame:initmenupopup:0", JoinTrace(g_trace));
    ASSERT_NE(nullptr, frame.popup);
    EXPECT_TRUE(::GetMenuState(frame.popup, 59392, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(-1, bar.OpenIndex());
    EXPECT_FALSE(bar.OpenMenuByMnemonic('x'));
    EXPECT_FALSE(bar.OpenMenu(5));

    // A chosen command reaches the frame's map.
    g_trace.clear();
    ::SendMessageA(bar, WM_COMMAND, 59392, 0);
    EXPECT_EQ("frame:cmd59392", JoinTrace(g_trace));
}

TEST(CommandBar, FollowsTheMenusOfMDIChildren) {
    CBarFrame frame;
    ASSERT_NE(nullptr, frame.Create(CreateArgs()));
    ASSERT_NE(nullptr, frame.CreateMDIClient());
    CCommandBar bar;
    ASSERT_NE(nullptr, bar.Create(frame));
    HMENU first = ::LoadMenuA(win::ModuleInstance(), MAKEINTRESOURCEA(IDM_TEST_MENU));
    ASSERT_TRUE(bar.AttachMenu(first));
    ASSERT_TRUE(bar.SetMDIClient(frame.m_hWndMDIClient));

    HMENU second = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    HMENU window = ::CreatePopupMenu();
    ::AppendMenuA(file, MF_STRING, 4006, "終了");
    ::AppendMenuA(second, MF_POPUP, (UINT_PTR)file, "ファイル(&F)");
    ::AppendMenuA(second, MF_POPUP, (UINT_PTR)window, "ｳｨﾝﾄﾞｳ(&W)");
    HMENU old = (HMENU)::SendMessageA(frame.m_hWndMDIClient, WM_MDISETMENU, (WPARAM)second, (LPARAM)window);
    EXPECT_EQ(first, old);
    EXPECT_EQ(second, bar.GetMenu());
    EXPECT_EQ(nullptr, frame.GetMenu());  // the frame window stays without a bar
    ASSERT_EQ(2, bar.ButtonCount());
    EXPECT_EQ("ファイル(&F)", ButtonText(bar, 0));
    EXPECT_EQ("ｳｨﾝﾄﾞｳ(&W)", ButtonText(bar, 1));

    // The client keeps listing its children in the window menu.
    CMDIChildWindow child;
    CreateArgs ca;
    ca.parent = frame.m_hWndMDIClient;
    ca.title = "無題1";
    ca.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    ASSERT_NE(nullptr, child.Create(ca));
    ::SendMessageA(frame.m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    EXPECT_GT(::GetMenuItemCount(window), 0);

    ::DestroyMenu(first);
}

}  // namespace
