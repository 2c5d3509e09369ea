// What the docking windows ask of the program around them. The shell owns the
// layout lock and the pane colours; the settings layer owns the two settings.
// Each starts with a harmless default so that the framework runs on its own.
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
    DockSettingFn fullDragMode = nullptr;             // default -1: follow the system
    DockSettingFn floatingMode = nullptr;             // default 0: floating panes may leave the screen
};

DockingHooks& GetDockingHooks();

int DockLayoutLocked();
int DockPaneCaptionColors(int kind, int side, const char* title, COLORREF* fill, COLORREF* text);
int DockFullDragMode();
int DockFloatingMode();

}  // namespace zav
