#include "docking/docking_hooks.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"

namespace zav {

DockingHooks& GetDockingHooks() {
    static DockingHooks hooks;
    return hooks;
}

int DockLayoutLocked() {
    const DockingHooks& h = GetDockingHooks();
    return h.isDockLayoutLocked ? h.isDockLayoutLocked() : 0;
}

int DockPaneCaptionColors(int kind, int side, const char* title, COLORREF* fill, COLORREF* text) {
    const DockingHooks& h = GetDockingHooks();
    return h.paneCaptionColors ? h.paneCaptionColors(kind, side, title, fill, text) : 0;
}

int DockFullDragMode() {
    const DockingHooks& h = GetDockingHooks();
    return h.fullDragMode ? h.fullDragMode() : ::Running().FullDragMode;
}

int DockFloatingMode() {
    const DockingHooks& h = GetDockingHooks();
    return h.floatingMode ? h.floatingMode() : ::LocalIni().iCmdPanelFloatingMode;
}

}  // namespace zav
