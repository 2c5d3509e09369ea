// The host messages the shell uses: the command system's numbers, and the
// shell's own start-up message.
#pragma once

#include <windows.h>

#include "command/host_messages.h"

// The second start-up phase the main frame posts itself.
enum : UINT { UM_MAINFRAME_INIT = WM_USER + 2 };  // 1026
