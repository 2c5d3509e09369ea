// The actions of the system commands (4000-4051) that the executor runs in
// place. Those served by the shell (new drawing, open, save, close windows,
// version dialog, paste, start drawing) go through HostHooks().systemCommand.
#pragma once

#include <windows.h>

#include <cstddef>

#include "command/executor.h"

struct SystemCmdOutcome {
    int result = 1;     // the executor's result
    CmdFinish finish = CmdFinish::Table;  // Table: the executor's table decides
};

// The size of the drawing-information block the library exchanges.
const size_t kDrawingInfoSize = 4223;

SystemCmdOutcome RunSystemCmdAction(int id, HWND owner, DWORD word);

// The drawing-information block (4,223 bytes) of a library database.
int ReadDrawingInfo(void* db, void* block);
// Writes a drawing-information block into the view's drawing: 0 applied,
// 1 no view data.
int ApplyDrawingInfo(HWND view, const void* block, int loadPattern);
