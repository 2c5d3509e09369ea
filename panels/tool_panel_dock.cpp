#include "panels/tool_panel_dock.h"

#include <algorithm>

#include "base/running_settings.h"

CDrwPanelDockWin* CreateToolPanelPane(HWND frame, int thickness) {
    // At least 280 pixels, and as much as the chosen blocks need below the
    // caption, so that no button starts out cut off.
    ToolPanelMetrics m;
    ComputeToolPanelLayout(m, Running().toolPanelDispMode);
    const bool lowRes = ToolPanelHost().lowRes && ToolPanelHost().lowRes();
    const int length = std::max(280, ToolPanelContentHeight(m, lowRes) + ::GetSystemMetrics(SM_CYCAPTION) + 8);
    auto* pane = new CDrwPanelDockWin;
    const RECT rc = {0, 0, thickness, length};
    const panedock::FirstDocking first = {1, thickness, length};
    if (!pane->CreateDocked(frame, "基本操作", rc, first)) {
        delete pane;
        return nullptr;
    }
    return pane;
}
