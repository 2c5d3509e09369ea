// The pane that holds the tool panel ("基本操作"): a docking window with
// the panel as its child (control id 200), kept to the size of its client
// area; caption bit 1.
#pragma once

#include <windows.h>

#include "docking/docking_window.h"
#include "panels/tool_panel.h"

class CDrwPanelDockWin : public zav::CTitleDockingWindowImpl {
public:
    CDrwPanelDockWin() : m_panel(this) {}
    CToolPanel& Panel() { return m_panel; }

    BEGIN_MSG_MAP(CDrwPanelDockWin)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(zav::CTitleDockingWindowImpl)
    END_MSG_MAP()

    int m_captionBit = 1;
    int m_fixedFlags = 0, m_fixedWidth = 0, m_fixedHeight = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    CToolPanel m_panel;
};

// Creates the tool panel's pane over `frame` (a docking frame) and docks it
// on the right side (bar 0, thickness `thickness`, length 280 or what the
// chosen blocks need when that is more). The pane, or null.
CDrwPanelDockWin* CreateToolPanelPane(HWND frame, int thickness = 200);
