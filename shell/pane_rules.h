// The two rules the docking windows ask of the shell: whether the user may
// resize the docked layout, and the caption colours of the panes by title.
#pragma once

#include <windows.h>

// 1 locked, 0 free: iLockPanelSliding 2 never locks, 1 always; any other
// value locks unless one of the four panes answers WM_COMMAND 1001 with 1
// (visible, not pinned, caption shown).
int IsDockLayoutLocked();
// kind 0 caption bar, 1 auto-hide label; side 0 bottom, 1 right, 2 top,
// 3 left. 1 with the colours set, 0 for the framework's own.
int PaneCaptionColors(int kind, int side, const char* title, COLORREF* fill, COLORREF* text);
