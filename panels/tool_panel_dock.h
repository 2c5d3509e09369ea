// The pane that holds the tool panel ("基本操作"): caption bit 1, the panel
// as child 200.
#pragma once

#include <windows.h>

#include "panels/panel_dock.h"
#include "panels/tool_panel.h"

class CDrwPanelDockWin : public CPanelDockWinBase {
public:
    CDrwPanelDockWin() : CPanelDockWinBase(1), m_panel(this) {}
    CToolPanel& Panel() { return m_panel; }

protected:
    HWND CreatePanel() override { return m_panel.Create(m_hWnd); }
    HWND PanelWindow() const override { return m_panel.m_hWnd; }

private:
    CToolPanel m_panel;
};

// Creates the tool panel's pane over `frame` (a docking frame) and docks it
// on the right side (bar 0, thickness `thickness`, length 280 or what the
// chosen blocks need when that is more). The pane, or null.
CDrwPanelDockWin* CreateToolPanelPane(HWND frame, int thickness = 200);
