#include "panels/tool_panel_dock.h"

LRESULT CDrwPanelDockWin::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_panel.Create(m_hWnd);
    handled = FALSE;
    return 0;
}

LRESULT CDrwPanelDockWin::OnSize(UINT, WPARAM w, LPARAM, BOOL& handled) {
    if (m_panel.m_hWnd && w != SIZE_MINIMIZED) {
        RECT rc = GetClientRect();
        ::SetWindowPos(m_panel.m_hWnd, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    handled = FALSE;
    return 0;
}

LRESULT CDrwPanelDockWin::OnCommand(UINT, WPARAM w, LPARAM, BOOL& handled) {
    // 1000: the panel's right click (the pane's caption menu has no entries
    // of its own yet).
    if (LOWORD(w) == 1000) return 1;
    handled = FALSE;
    return 0;
}

CDrwPanelDockWin* CreateToolPanelPane(HWND frame, int thickness) {
    auto* pane = new CDrwPanelDockWin;
    RECT rc = {0, 0, thickness, 280};
    if (!pane->CreatePane(
            frame, "基本操作", rc,
            WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)) {
        delete pane;
        return nullptr;
    }
    zav::DockWindowPlacement pl = {};
    pl.position.side = 1;
    pl.position.barIndex = 0;
    pl.position.fraction = 0.0f;
    pl.position.thickness = thickness;
    pl.position.length = 280;
    pl.docked = 1;
    pl.visible = 1;
    ::GetWindowRect(pane->m_hWnd, &pl.floatRect);
    pane->SetDockingWindowPlacement(pl);
    return pane;
}
