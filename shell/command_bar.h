// The main frame's menu bar: the framework's command bar in the first band of
// the rebar, following the menus of the MDI client. Before a popup opens the
// active drawing window sees WM_INITMENU first, so that it sets its own check
// marks; the frame, the command target, then sees it as usual.
//
// A maximised drawing window has no caption of its own, and the frame has no
// menu bar for the platform to put the window's buttons in: the bar shows the
// window's icon (its system menu) at its left end and the minimise, restore
// and close buttons at its right end instead.
#pragma once

#include <windows.h>

#include "win/command_bar.h"

class CMDICommandBarCtrlEx : public CCommandBar {
public:
    // Created at a menu bar's height, so that the rebar band made for it
    // before the menu is attached already has its height.
    HWND Create(HWND parent);
    void AttachMenu(HMENU menu) { CCommandBar::AttachMenu(menu); }
    HMENU Menu() const { return GetMenu(); }
    // Drops down the popup of button `index`; returns when it closed.
    void TrackPopup(int index) { OpenMenu(index); }
    // Alt+character: the popup whose text has "&c"; 0 when none.
    int OpenByMnemonic(char c) { return OpenMenuByMnemonic(c) ? 1 : 0; }
    // Takes over the MDI client's menu messages.
    void TrackMDIClient(HWND mdiClient) { SetMDIClient(mdiClient); }

    // Looks whether the active MDI child is maximised and shows or hides its
    // buttons accordingly (the frame calls it at idle time).
    void UpdateMdiButtons();
    // The maximised child whose buttons the bar shows, or null.
    HWND MaximisedChild() const { return m_maxChild; }
    // Where the child's buttons stand (client coordinates); empty when none.
    // 0 icon (system menu), 1 minimise, 2 restore, 3 close.
    RECT MdiButtonRect(int which) const;

    BEGIN_MSG_MAP(CMDICommandBarCtrlEx)
    MESSAGE_HANDLER(WM_INITMENU, OnInitMenu)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MSG_WM_LBUTTONDOWN(OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    CHAIN_MSG_MAP(CCommandBar)
    END_MSG_MAP()

private:
    LRESULT OnInitMenu(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT keys, POINT pt, BOOL& handled);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled);
    void PaintMdiButtons(HDC dc);

    HWND m_maxChild = nullptr;
};
