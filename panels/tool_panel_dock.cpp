#include "panels/tool_panel_dock.h"

#include <algorithm>

#include "base/running_settings.h"

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
    // At least 280 pixels, and as much as the chosen blocks need below the
    // caption, so that no button starts out cut off.
    ToolPanelMetrics m;
    ComputeToolPanelLayout(m, Running().toolPanelDispMode);
    const bool lowRes = ToolPanelHost().lowRes && ToolPanelHost().lowRes();
    const int length = std::max(280, ToolPanelContentHeight(m, lowRes) + ::GetSystemMetrics(SM_CYCAPTION) + 8);
    auto* pane = new CDrwPanelDockWin;
    RECT rc = {0, 0, thickness, length};
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
    pl.position.length = length;
    pl.docked = 1;
    pl.visible = 1;
    ::GetWindowRect(pane->m_hWnd, &pl.floatRect);
    pane->SetDockingWindowPlacement(pl);
    return pane;
}
