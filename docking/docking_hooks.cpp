#include "docking/docking_hooks.h"

namespace zav {

DockingHooks& GetDockingHooks()
{
    static DockingHooks hooks;
    return hooks;
}

int DockLayoutLocked()
{
    const DockingHooks& h = GetDockingHooks();
    return h.isDockLayoutLocked ? h.isDockLayoutLocked() : 0;
}

int DockPaneCaptionColors(int kind, int side, const char* title, COLORREF* fill, COLORREF* text)
{
    const DockingHooks& h = GetDockingHooks();
    return h.paneCaptionColors ? h.paneCaptionColors(kind, side, title, fill, text) : 0;
}

int DockFullDragMode()
{
    const DockingHooks& h = GetDockingHooks();
    return h.fullDragMode ? h.fullDragMode() : -1;
}

int DockFloatingMode()
{
    const DockingHooks& h = GetDockingHooks();
    return h.floatingMode ? h.floatingMode() : 0;
}

}  // namespace zav
