// CCadSysCmd: the services of the drawing views (the active drawing and
// view, rectangles in client pixels), answered through the host table.
#include "command/host_hooks.h"
#include "command/host_objects.h"

LRESULT CCadSysCmd::OnGetActiveDb(UINT, WPARAM, LPARAM, BOOL&) {
    auto& hook = HostHooks().activeDb;
    return hook ? reinterpret_cast<LRESULT>(hook()) : 0;
}

LRESULT CCadSysCmd::OnActiveView(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (!wParam) return reinterpret_cast<LRESULT>(CmdActiveView());
    // Another view becomes the active one; the one active before is answered.
    auto& hook = HostHooks().activateView;
    return hook ? reinterpret_cast<LRESULT>(hook(reinterpret_cast<HWND>(wParam))) : 0;
}

LRESULT CCadSysCmd::OnDrawingRectToClient(UINT, WPARAM, LPARAM lParam, BOOL&) {
    auto& hook = HostHooks().drawingRectToClient;
    return (hook && lParam) ? hook(reinterpret_cast<void*>(lParam)) : 0;
}

