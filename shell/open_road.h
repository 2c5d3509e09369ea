// The drawing open road: every road that opens a drawing by name (file
// dialog, dropped files, command line, DDE, modules) ends in
// OpenDrawingFile. The system's own kinds are loaded by the CAD library into
// a new drawing window; foreign kinds go to the import command of a module.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// 1 when ViewTable has a free slot.
int HasFreeViewSlot();
// Opens one file by its kind. 1 when the road ended normally (also when the
// drawing was already open), 0 on a refusal or a load error.
int OpenDrawingFile(HWND mainFrame, const char* fileName);

// The text a load status word gives, in the order of a load that returned
// success (0x80, 0x200, 0x100, 0x02, 0x400, 0x800, 0x10) or one that failed
// (0x80, 0x200, 0x100, 0x02, 0x10, 0x400, 0x800); null when no bit is set.
const char* LoadStatusText(uint32_t status, bool failedLoad);

// Closes the empty untitled windows before an open while 1 (its normal
// value); the by-name open of modules clears it for one open.
extern int CloseUntitledWord;
// Words modules reach through the file host message.
extern int OpenRoadKeepWord;
extern int OpenRoadResultWord;

// What the road needs from around it; tests replace entries.
struct OpenRoadLinks {
    // A new drawing window for a file load: its view, or null.
    std::function<HWND(HWND mainFrame, const char* fileName)> newWindow;
    // Runs an import command of a module with the file name; 0 when the
    // command or module is missing.
    std::function<int(int commandId, const char* fileName)> startModuleCmd;
};
OpenRoadLinks& OpenRoad();
