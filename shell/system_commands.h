// The actions of the system commands (4000-4051) that the executor runs
// through the command system's systemCommand service: every action lives
// here or is called from here, and the main frame's own entries for the same
// ids call the same functions.
#pragma once

#include <windows.h>

#include "command/host_hooks.h"

// The executor's service: the action of `id` and how it ends.
SystemCmdOutcome RunSystemCmdAction(int id, HWND owner, DWORD word);

// The actions the shell carries out itself: the roads of the documents
// first, then new drawing (4000), second window (4025) and start drawing
// (4050). 0 when it ran, -1 for an id the shell has no action for.
int RunSystemCommandAction(int id, HWND owner, DWORD word);

// 4005: the active drawing window is asked to close (its frame asks before
// a change is lost); nothing without one.
void CloseActiveDrawing();
// 4006: the application is asked to close through `frame`'s WM_CLOSE.
void CloseApplication(HWND frame);
