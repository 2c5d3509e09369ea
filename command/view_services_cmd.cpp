// The host messages of the drawing views, drawings, rubber band and
// previews, pop-ups and the view, file, input-scale and font sub-codes: the
// command system hands every one on to the one view-service hook, which the
// shell fills.
#include "command/host_hooks.h"
#include "command/host_objects.h"

LRESULT CCadSysCmd::OnViewService(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    auto& hook = HostHooks().viewService;
    return hook ? hook(msg, wParam, lParam) : 0;
}
