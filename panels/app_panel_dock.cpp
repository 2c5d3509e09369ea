#include "panels/app_panel_dock.h"

CAppPanelDockWin* CreateAppPanelPane(HWND frame, int thickness) {
    auto* pane = new CAppPanelDockWin;
    const RECT rc = {0, 0, thickness, 60};
    const panedock::FirstDocking first = {1, thickness, 60};
    if (!pane->CreateDocked(frame, "作図メニュー", rc, first)) {
        delete pane;
        return nullptr;
    }
    return pane;
}
