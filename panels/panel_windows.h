// The panel windows held by the main frame's panes: the command panels,
// the tool panel and the application panel.
#pragma once

#include <windows.h>

#include "command/cmd_switches.h"  // LayerFieldLock
#include "panels/attr_pickup.h"
#include "panels/cmd_panel.h"
#include "panels/tool_panel.h"
#include "win/window.h"

// Focus redirection read by the host's view-focus service: whether a panel
// asks for the focus back, and the window that last held input.
extern int PanelFocusRedirect;
extern HWND PanelInputWindow;
