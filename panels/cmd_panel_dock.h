// The pane of a command panel ("コマンドメニュー" at the bottom,
// "コマンドメニュー２" at the top): caption bit 4 (8 for the second), the
// panel as child 0, a light yellow background of its own.
#pragma once

#include "panels/cmd_panel.h"
#include "panels/panel_dock.h"

class CCmdPanelDockWin : public CPanelDockWinBase {
public:
    CCmdPanelDockWin() : CPanelDockWinBase(4) {}
    CCmdPanel& Panel() { return m_panel; }

protected:
    HWND CreatePanel() override { return m_panel.Create(m_hWnd); }
    HWND PanelWindow() const override { return m_panel.m_hWnd; }
    bool OwnBackground(COLORREF* colour) const override {
        *colour = RGB(255, 255, 184);
        return true;
    }

private:
    CCmdPanel m_panel;
};

// The two command-panel panes of the main frame: rectangle 0, 0, 90, 60,
// docked at the bottom (second: top), thickness 90, length 60. `page` is the
// stored current page. The pane, or null.
CCmdPanelDockWin* CreateCmdPanelPane(HWND frame, int second, int page);
