// The pane that holds the docked application panel ("作図メニュー"):
// caption bit 2, the panel as child 200.
#pragma once

#include <windows.h>

#include "panels/app_panel.h"
#include "panels/panel_dock.h"

class CAppPanelDockWin : public CPanelDockWinBase {
public:
    CAppPanelDockWin() : CPanelDockWinBase(2), m_panel(this) {}
    CAppPanel& Panel() { return m_panel; }

protected:
    HWND CreatePanel() override { return m_panel.Create(m_hWnd); }
    HWND PanelWindow() const override { return m_panel.m_hWnd; }

private:
    CAppPanel m_panel;
};

// Creates the application panel's pane over `frame` (a docking frame) and
// docks it on the right side (bar 0, thickness `thickness`, length 60).
// The pane, or null.
CAppPanelDockWin* CreateAppPanelPane(HWND frame, int thickness = 200);
