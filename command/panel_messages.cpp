// The application-panel and right-click pop-up host messages: every one of
// them takes the same road to the panels, which answer by message number.
#include "command/host_hooks.h"
#include "command/host_objects.h"

namespace {
LRESULT ToPanels(UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto& road = HostHooks().panelMessage;
    return road ? road(msg, wParam, lParam) : 0;
}
}  // namespace

LRESULT CCadSysCmdPbox::OnPanelMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    return ToPanels(msg, wParam, lParam);
}

LRESULT CCadSysCmd::OnPanelMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    return ToPanels(msg, wParam, lParam);
}
