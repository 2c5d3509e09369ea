// The pop-ups around the drawing views: the layout-view and loupe windows,
// the layer window class, the snap-kind pop-up, and the process-wide repaint
// requests that the main frame's timer serves.
#pragma once

#include <windows.h>

// Registers "LAY_WND", "#LAYOUTVIEW#" and "#ROUPEVIEW#"; 0 when one fails.
int RegisterViewPopupClasses(HINSTANCE instance);
void UnregisterViewPopupClasses(HINSTANCE instance);
// Creates the hidden layout-view and loupe pop-ups owned by `owner`; 0 when
// either cannot be created. For now: plain hidden windows.
int CreateViewPopups(HWND owner);
void DestroyViewPopups();

// The pop-ups, null before they exist.
HWND LayoutViewWindow();
HWND LoupeWindow();

// Repaint requests served by timer 1: full (with erase) and light (without;
// set at start-up so the first tick repaints).
extern int PopupFullRepaintRequest;
extern int PopupLightRepaintRequest;
// Set by host services that change what a drawing shows.
extern int PopupRefreshFlag;
void RequestPopupRefresh();
// Set while a drawing window is being closed: timer 1 skips the pop-ups.
extern int ViewClosingFlag;

// The view's page/layer overview on or off; its result. For now: 0.
int ToggleOverviewMode(HWND view);
// The layer of the last click into a page/layer overview (the page shown is
// the view's overviewPage); written by the overview.
extern int OverviewClickedLayer;

// The snap-kind pop-up: kind 1 end, 2 intersection, 3 on-line, 4 mid,
// 5 centre, 0 free; near the point or the cursor. For now: nothing
// is shown.
class CSnapWin {
public:
    static void Show(int kind, const double* point = nullptr);
};
