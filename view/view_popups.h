// The pop-up windows around the drawing views: the layout and loupe windows
// (created hidden at start-up, shown and hidden by the main frame), the
// overview cell class, and the process-wide repaint requests that the main
// frame's timer serves.
#pragma once

#include <windows.h>

// Registers "LAY_WND", "#LAYOUTVIEW#" and "#ROUPEVIEW#"; 0 when one fails.
int RegisterViewPopupClasses(HINSTANCE instance);
void UnregisterViewPopupClasses(HINSTANCE instance);
// Creates the hidden layout and loupe windows owned by `owner`; 0 when
// either cannot be created.
int CreateViewPopups(HWND owner);
void DestroyViewPopups();

// The pop-ups, null before they exist.
HWND LayoutViewWindow();
HWND LoupeWindow();

// Shows (1) or hides (0) the loupe; showing centres it on the cursor first.
void ShowLoupe(int mode);
// Shows (1), hides (0) or toggles (-1) the layout window.
void ShowLayoutView(int mode);
// One step of the main frame's timer for the pop-ups: stale pictures are
// repainted, a shown loupe follows the cursor.
void ServePopupTimer();

// Repaint requests served by timer 1: full (with erase) and light (without;
// set at start-up so the first tick repaints).
extern int PopupFullRepaintRequest;
extern int PopupLightRepaintRequest;
// Set by host services that change what a drawing shows.
extern int PopupRefreshFlag;
void RequestPopupRefresh();
// Set while a drawing window is being closed: timer 1 skips the pop-ups.
extern int ViewClosingFlag;

// The overview (ToggleOverviewMode, OverviewPick) and the snap pop-up
// (CSnapWin) are declared in view/overview.h and view/cursor_popups.h.
#include "view/cursor_popups.h"
#include "view/overview.h"
