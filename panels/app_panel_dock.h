// The pane that holds the docked application panel ("作図メニュー"): a
// docking window with the panel as its child (control id 200), kept to the
// size of its client area.
#pragma once

#include <windows.h>

#include "docking/docking_window.h"
#include "panels/app_panel.h"

class CAppPanelDockWin : public zav::CTitleDockingWindowImpl {
public:
    CAppPanelDockWin() : m_panel(this) {}
    CAppPanel& Panel() { return m_panel; }

    BEGIN_MSG_MAP(CAppPanelDockWin)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(zav::CTitleDockingWindowImpl)
    END_MSG_MAP()

    int m_captionBit = 2;
    int m_fixedFlags = 0, m_fixedWidth = 0, m_fixedHeight = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    CAppPanel m_panel;
};

// Creates the application panel's pane over `frame` (a docking frame) and
// docks it on the right side (bar 0, thickness `thickness`, length 60).
// The pane, or null.
CAppPanelDockWin* CreateAppPanelPane(HWND frame, int thickness = 200);
