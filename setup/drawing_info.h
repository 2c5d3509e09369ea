// The drawing-information command (4021) and the reading and writing of a
// drawing's information block through the CAD library.
#pragma once

#include <windows.h>

#include "command/host_hooks.h"

// The drawing-information block (4,223 bytes) of a library database.
int ReadDrawingInfo(void* db, void* block);
// Writes a drawing-information block into the view's drawing: 0 applied,
// 1 no view data.
int ApplyDrawingInfo(HWND view, const void* block, int loadPattern);

// The command: the information dialog for the active drawing, applied when
// confirmed. Without a drawing the command ends as it started (CmdFinish::Keep).
SystemCmdOutcome RunDrawingInfoCommand();
