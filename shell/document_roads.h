// The open and save roads as the rest of the host reaches them: the system
// commands open (4001), save as (4002) and overwrite save (4012), the DDE
// "{Open(" request, the drawing frames' save before closing and their
// shortcut tables. InstallHostServices (host_services.h) lends them out.
#pragma once

#include <windows.h>

// The system command's action, -1 when it is none of the roads' ids.
int RunDocumentCommand(int id, HWND owner, DWORD word);
// An open drawing is only activated, another file is opened. 1 done.
int OpenOrActivateDrawing(const char* path);
// The shortcut table of a drawing frame (its own copy), or null.
HACCEL LoadFrameAccelerator(const char* fileName);
