// Update-UI applied to a real menu as it opens and to a real toolbar from an
// idle handler.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "test_resources.h"
#include "trace.h"
#include "win/frame.h"
#include "win/message_loop.h"
#include "win/update_ui.h"

namespace {

class CUIFrame : public CFrameWindow, public CIdleHandler {
public:
    CUpdateUI m_ui;
    bool toolbarShown = true;

    BEGIN_MSG_MAP(CUIFrame)
    CHAIN_MSG_MAP_MEMBER(m_ui)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    CHAIN_MSG_MAP(CFrameWindow)
    END_MSG_MAP()

    LRESULT OnInitMenuPopup(UINT, WPARAM, LPARAM, BOOL& handled) {
        g_trace.push_back("frame:initmenupopup");
        handled = FALSE;
        return 0;
    }
    BOOL OnIdle() override {
        m_ui.UISetCheck(59392, toolbarShown ? 1 : 0);
        m_ui.UIUpdateToolBar();
        return FALSE;
    }
};

UINT MenuState(HMENU menu, UINT id) { return ::GetMenuState(menu, id, MF_BYCOMMAND); }

std::string MenuText(HMENU menu, UINT id) {
    char buf[128] = {};
    ::GetMenuStringA(menu, id, buf, sizeof(buf), MF_BYCOMMAND);
    return buf;
}

TEST(UpdateUI, AppliedToAMenuAsItOpens) {
    CUIFrame frame;
    CreateArgs a;
    a.menu = ::LoadMenuA(win::ModuleInstance(), MAKEINTRESOURCEA(IDM_TEST_MENU));
    ASSERT_NE(nullptr, a.menu);
    ASSERT_NE(nullptr, frame.Create(a));
    HMENU popup = ::GetSubMenu(frame.GetMenu(), 0);
    ASSERT_NE(nullptr, popup);

    CUpdateUI& ui = frame.m_ui;
    ui.UIAdd(59392, UPDUI_MENUPOPUP | UPDUI_TOOLBAR);
    ui.UIAdd(59393, UPDUI_MENUPOPUP);
    ui.UIAdd(40000, UPDUI_MENUPOPUP);
    EXPECT_FALSE(ui.UISetCheck(12345, 1));  // not in the table
    ui.UISetCheck(59392, 1);
    ui.UIEnable(59393, false);
    ui.UISetText(40000, "コマンドメニュー２");
    // An item outside the table is left as it is.
    ::CheckMenuItem(popup, 40009, MF_BYCOMMAND | MF_CHECKED);

    g_trace.clear();
    frame.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);
    EXPECT_EQ("frame:initmenupopup", JoinTrace(g_trace));  // passed on
    EXPECT_TRUE(MenuState(popup, 59392) & MF_CHECKED);
    EXPECT_FALSE(MenuState(popup, 59392) & MF_GRAYED);
    EXPECT_TRUE(MenuState(popup, 59393) & MF_GRAYED);
    EXPECT_FALSE(MenuState(popup, 59393) & MF_CHECKED);
    EXPECT_EQ("コマンドメニュー２", MenuText(popup, 40000));
    EXPECT_TRUE(MenuState(popup, 40009) & MF_CHECKED);

    // The next opening shows the state of that moment.
    ui.UISetCheck(59392, 0);
    ui.UIEnable(59393, true);
    frame.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);
    EXPECT_FALSE(MenuState(popup, 59392) & MF_CHECKED);
    EXPECT_FALSE(MenuState(popup, 59393) & MF_GRAYED);
    EXPECT_EQ(0, ui.UIGetCheck(59392));
    EXPECT_TRUE(ui.UIIsEnabled(59393));

    // A command item on the bar itself, updated when the bar becomes active.
    HMENU bar = frame.GetMenu();
    ::AppendMenuA(bar, MF_STRING, 1212, "電卓");
    ui.UIAdd(1212, UPDUI_MENUBAR);
    ui.UIEnable(1212, false);
    frame.SendMessage(WM_INITMENU, (WPARAM)bar, 0);
    EXPECT_TRUE(MenuState(bar, 1212) & MF_GRAYED);

    // The whole bar at once, submenus included.
    ui.UISetCheck(40000, 1);
    ui.UIUpdateMenu(frame.GetMenu(), true);
    EXPECT_TRUE(MenuState(popup, 40000) & MF_CHECKED);
}

TEST(UpdateUI, IdleHandlerUpdatesAToolbar) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    CUIFrame frame;
    ASSERT_NE(nullptr, frame.Create(CreateArgs()));
    HWND tb = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0, frame,
                                (HMENU)1, nullptr, nullptr);
    ASSERT_NE(nullptr, tb);
    ::SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {};
    buttons[0].idCommand = 59392;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].fsStyle = BTNS_CHECK;
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[1] = buttons[0];
    buttons[1].idCommand = 59393;
    ASSERT_TRUE(::SendMessageA(tb, TB_ADDBUTTONSA, 2, (LPARAM)buttons));
    frame.m_hWndToolBar = tb;

    frame.m_ui.UIAdd(59392, UPDUI_MENUPOPUP | UPDUI_TOOLBAR);
    frame.m_ui.UIAdd(59393, UPDUI_TOOLBAR);
    frame.m_ui.UIAdd(40000, UPDUI_TOOLBAR);  // no such button: ignored
    frame.m_ui.UIAddToolBar(tb);
    frame.m_ui.UIEnable(59393, false);

    CMessageLoop loop;
    loop.AddIdleHandler(&frame);
    struct QuitOnIdle : CIdleHandler {
        BOOL OnIdle() override {
            ::PostQuitMessage(0);
            return FALSE;
        }
    } quit;
    loop.AddIdleHandler(&quit);
    loop.Run();
    EXPECT_TRUE(::SendMessageA(tb, TB_ISBUTTONCHECKED, 59392, 0));
    EXPECT_FALSE(::SendMessageA(tb, TB_ISBUTTONENABLED, 59393, 0));

    frame.toolbarShown = false;
    frame.m_ui.UIEnable(59393, true);
    loop.Run();
    EXPECT_FALSE(::SendMessageA(tb, TB_ISBUTTONCHECKED, 59392, 0));
    EXPECT_TRUE(::SendMessageA(tb, TB_ISBUTTONENABLED, 59393, 0));

    // A toolbar that is gone is passed by.
    frame.m_ui.UIRemoveWindow(tb);
    frame.toolbarShown = true;
    loop.Run();
    EXPECT_FALSE(::SendMessageA(tb, TB_ISBUTTONCHECKED, 59392, 0));
}

TEST(UpdateUI, StatusBarPanesTakeTheirText) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    CUIFrame frame;
    ASSERT_NE(nullptr, frame.Create(CreateArgs()));
    HWND sb =
        ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame, nullptr, nullptr, nullptr);
    int parts[2] = {100, -1};
    ::SendMessageA(sb, SB_SETPARTS, 2, (LPARAM)parts);
    frame.m_ui.UIAdd(1, UPDUI_STATUSBAR);
    frame.m_ui.UIAddStatusBar(sb);
    frame.m_ui.UISetText(1, "図面 1/3");
    frame.m_ui.UIUpdateStatusBar();
    char buf[64] = {};
    ::SendMessageA(sb, SB_GETTEXTA, 1, (LPARAM)buf);
    EXPECT_STREQ("図面 1/3", buf);
}

}  // namespace
