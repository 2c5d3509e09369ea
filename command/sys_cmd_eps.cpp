// UM_SET_EPS: the tolerances belong to the drawing windows' geometry.
#include "command/host_hooks.h"
#include "command/host_objects.h"

LRESULT CCadSysCmdDb::OnSetEps(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    auto& hook = HostHooks().setDbEpsilon;
    return hook ? hook(wParam, lParam) : 0;
}
