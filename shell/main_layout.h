// The main window's layout in "configMain.xml": the window-state nodes, the
// four pane placements "DfdockPos0"-"DfdockPos3" (first command panel,
// application panel, tool panel, second command panel) and
// "MDIWinMaximized". The file is written through a temporary file moved
// into place; a file that cannot be read at start-up is kept beside as
// "configMain.bak" and the default layout is used.
#pragma once

#include <windows.h>

#include <string>

#include "docking/docking_window.h"
#include "docking/stg_xml.h"
#include "docking/window_state.h"

// perUser 0: the installed default beside the executable; otherwise the
// per-user copy, seeded from the installed one when missing.
std::string GetConfigMainPath(int perUser);

// The four panes in the order of the stored values (null: no such pane).
struct MainPanes {
    zav::CDockingWindowBaseImpl* pane[4] = {};
};

// 1 when all four placements were written.
int StorePanePlacements(zav::IStorge& node, const MainPanes& panes, int mdiMaximized);
// 0; nothing is applied when any of the four placements is missing.
// `mdiMaximized` receives "MDIWinMaximized" (0 when missing).
int RestorePanePlacements(zav::IStorge& node, const MainPanes& panes, int* mdiMaximized);

// The thicknesses stored for values 0-3 into `out`, each `fallback` when the
// file cannot be read or lacks it. The file is read once for all four.
void StoredPaneThicknesses(int fallback, int out[4]);

// The state tree below the main window `frame`: the toolbar bands of
// `rebar` (node "Wnd-0xffffffff") and the four panes (node
// "Wnd-0xfffffffe", one value each: first command panel, tool panel,
// application panel, second command panel). Built once the panes exist.
void BuildMainLayoutState(zav::CWindowStateMgr& state, HWND frame, HWND rebar, const MainPanes& panes);

// Writes the layout to the per-user file: a new document with the state
// tree and the pane values (launch kind 0), or only the pane values of the
// existing one (`panesOnly`). 1 written.
int SaveMainLayout(zav::CWindowStateMgr& state, const MainPanes& panes, int mdiMaximized, bool panesOnly);
// Restores the layout from `path`. 1 restored; 0 when the file could not be
// loaded; a damaged one is moved aside as ".bak" when `keepDamaged` (the
// per-user copy; the installed default is never moved).
int RestoreMainLayout(const std::string& path, zav::CWindowStateMgr& state, const MainPanes& panes,
                      int* mdiMaximized, bool keepDamaged);
