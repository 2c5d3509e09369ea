// What the docking windows ask of the program around them. The shell owns the
// layout lock and the pane colours, each with a harmless default so that the
// framework runs on its own. The drag mode and the floating mode are read
// from the running settings unless a hook answers instead (tests).
#pragma once
#include <windows.h>

namespace zav {

// Non-zero: the user may not resize the docked layout.
typedef int (*DockLayoutLockFn)();
// kind 0 caption bar, 1 auto-hide label; side 0-3; title in code page 932.
// Answers non-zero when it set the colours.
typedef int (*PaneCaptionColorsFn)(int kind, int side, const char* title, COLORREF* fill, COLORREF* text);
typedef int (*DockSettingFn)();

struct DockingHooks {
    DockLayoutLockFn isDockLayoutLocked = nullptr;    // default: never locked
    PaneCaptionColorsFn paneCaptionColors = nullptr;  // default: framework colours
    DockSettingFn fullDragMode = nullptr;             // default: the running FullDragMode
    DockSettingFn floatingMode = nullptr;             // default: the per-user iCmdPanelFloatingMode
};

DockingHooks& GetDockingHooks();

int DockLayoutLocked();
int DockPaneCaptionColors(int kind, int side, const char* title, COLORREF* fill, COLORREF* text);
int DockFullDragMode();
int DockFloatingMode();

}  // namespace zav
