#include "panels/panel_windows.h"

#include "base/running_settings.h"
#include "command/command_ids.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/pbox.h"
#include "panels/rp_menu.h"

int PanelFocusRedirect = 0;
HWND PanelInputWindow = nullptr;
