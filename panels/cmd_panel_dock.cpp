#include "panels/cmd_panel_dock.h"

CCmdPanelDockWin* CreateCmdPanelPane(HWND frame, int second, int page) {
    auto* pane = new CCmdPanelDockWin;
    if (second) pane->m_captionBit = 8;
    pane->Panel().SetCurrentPage(page);
    const RECT rc = {0, 0, 90, 60};
    const panedock::FirstDocking first = {second ? 2 : 0, 90, 60};
    if (!pane->CreateDocked(frame, second ? "コマンドメニュー２" : "コマンドメニュー", rc, first)) {
        delete pane;
        return nullptr;
    }
    return pane;
}
