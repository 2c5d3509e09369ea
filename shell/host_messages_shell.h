// The host message numbers the shell uses. They belong to the command
// system's header; until that header is in this tree, the shell declares
// the few it needs here with the same names and values.
#pragma once

#include <windows.h>

#if __has_include("command/host_messages.h")
#include "command/host_messages.h"
#else
enum : UINT {
  UM_CMD_BUSY = WM_APP + 1001,             // 33769
  UM_CURSOR_SETTINGS = WM_APP + 1003,      // 33771
  UM_GET_CMDPANEL = WM_APP + 1004,         // 33772
  UM_GET_ACCELERATOR = WM_APP + 1101,      // 33869
  UM_SET_MODELESS_DIALOG = WM_APP + 1102,  // 33870
  UM_END_CMD = WM_USER + 1020,             // 2044
  UM_NEW_DRAWING_WINDOW = WM_USER + 1400,  // 2424
  UM_OPEN_DRAWING_FILE = WM_USER + 1401,   // 2425
  UM_EXEC_CMD = WM_USER + 1451,            // 2475
  UM_END_ACK_FLAG = WM_USER + 1623,        // 2647
};
enum : UINT {
  CMD_NOTIFY_START = 1000,
  CMD_NOTIFY_END = 1001,
  TOOLBARS_CHANGED = 1002,
};
#endif

// The second start-up phase the main frame posts itself.
enum : UINT { UM_MAINFRAME_INIT = WM_USER + 2 };  // 1026
