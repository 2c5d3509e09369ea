// Calls into a command module that must survive the module's own faults.
// GCC has no structured exception frames, so the unhandled-exception filter
// jumps back to the guarded call when a fault (an exception of error
// severity) that nothing else handles is raised while a guard is open.
#pragma once

#include <windows.h>

#include "command/cad_app_cmd.h"

// Calls entry(frame, text). Returns false when a fault ended the call; the
// fault's code is then in *code and *result is untouched.
bool GuardedStartCmd(StartCmdProc entry, HWND frame, const char* text, int* result, DWORD* code);

// `CallStartCmd`: with the guard switch 0 the call is plain; with it set a
// fault is caught, logged, reported, the modified drawings are backed up and
// the panel pages cleared; the result is then -1.
int CallStartCmd(StartCmdProc entry, const char* text, int guard);
