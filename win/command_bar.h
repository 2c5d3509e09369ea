// A menu bar made of toolbar buttons, so that it can stand in a rebar band
// beside the toolbars; with an MDI client it follows the menus that the
// children set (WM_MDISETMENU) instead of the frame's own menu bar.
//
// Each top-level item of the attached menu becomes a button; a click (or
// OpenMenu / OpenMenuByMnemonic, which the frame calls for Alt+letter and
// F10) shows the item's popup under the button. The command bar owns the
// tracked popup: WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, owner-draw
// messages and the chosen WM_COMMAND reach it first and are then sent on to
// the command target (the parent frame unless set), so update-UI and the
// frame's command routing work as with a plain menu bar. A derived bar adds
// entries before CHAIN_MSG_MAP(CCommandBar) to see them first.
//
// Not provided: moving from one open popup to the next with the mouse or the
// arrow keys, and the buttons of a maximised MDI child.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win/window.h"

class CCommandBar : public CWindowBase {
public:
    // Style of the bar: a flat list toolbar that leaves its placement to the
    // caller (a rebar band or the frame's layout).
    static const DWORD kDefaultStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NODIVIDER |
                                       CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT |
                                       TBSTYLE_LIST;
    // The id of the first button; buttons are numbered in menu order.
    static const UINT kFirstButtonId = 0xE900 + 0x100;

    // Creates the bar as a child of `parent` (also the command target).
    HWND Create(HWND parent, UINT id = 0xE801, DWORD style = kDefaultStyle);

    // Shows the menu's top-level items as buttons. The menu stays the
    // caller's; null empties the bar.
    BOOL AttachMenu(HMENU menu);
    HMENU GetMenu() const { return m_menu; }
    // Takes a frame's menu bar over: attaches it and removes it from the
    // frame window. The menu stays alive (the caller destroys it later).
    BOOL TakeOverMenu(HWND frame);

    // Follows WM_MDISETMENU of this MDI client: the frame menu it sets is
    // attached to the bar (the old one returned), the window menu passed on.
    // The client is subclassed for that, so no other object may subclass it.
    BOOL SetMDIClient(HWND client);
    HWND GetMDIClient() const { return m_clientHook.m_hWnd; }

    // Where menu messages go (default: the parent).
    void SetCommandTarget(HWND target) { m_target = target; }
    HWND GetCommandTarget() const { return m_target ? m_target : ::GetParent(m_hWnd); }

    int ButtonCount() const;
    // Opens the popup of top-level item `index`; returns when it closes.
    // FALSE when there is no such popup.
    BOOL OpenMenu(int index);
    // Opens the item whose text has "&" + ch (case-insensitive). FALSE when
    // no item has that mnemonic.
    BOOL OpenMenuByMnemonic(char ch);
    // Index of the open popup's item, or -1.
    int OpenIndex() const { return m_openIndex; }

    BEGIN_MSG_MAP(CCommandBar)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_INITMENU, OnForward)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnForward)
    MESSAGE_HANDLER(WM_MENUSELECT, OnForward)
    MESSAGE_HANDLER(WM_MENUCHAR, OnForward)
    MESSAGE_HANDLER(WM_UNINITMENUPOPUP, OnForward)
    MESSAGE_HANDLER(WM_DRAWITEM, OnForwardMenuOwnerDraw)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnForwardMenuOwnerDraw)
    MESSAGE_HANDLER(WM_COMMAND, OnForward)
    END_MSG_MAP()

protected:
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnForward(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnForwardMenuOwnerDraw(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled);

private:
    class CMDIClientHook : public CWindowBase {
    public:
        CCommandBar* m_bar = nullptr;
        BEGIN_MSG_MAP(CMDIClientHook)
        MESSAGE_HANDLER(WM_MDISETMENU, OnMDISetMenu)
        MESSAGE_HANDLER(WM_MDIREFRESHMENU, OnMDIRefreshMenu)
        END_MSG_MAP()
        LRESULT OnMDISetMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
        LRESULT OnMDIRefreshMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    };

    void RemoveButtons();

    HMENU m_menu = nullptr;
    HWND m_target = nullptr;
    int m_openIndex = -1;
    CMDIClientHook m_clientHook;
};
