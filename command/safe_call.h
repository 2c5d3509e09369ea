// Calls into a command module that must survive the module's own faults.
// GCC has no structured exception frames, so the unhandled-exception filter
// jumps back to the guarded call when a fault (an exception of error
// severity) that nothing else handles is raised while a guard is open.
#pragma once

#include <windows.h>

#include <functional>

#include "command/cad_app_cmd.h"

// Runs call(). Returns false when a fault ended it; the fault's code is then
// in *code and *result is untouched.
bool GuardedCall(const std::function<int()>& call, int* result, DWORD* code);

// A module call under the SAFE setting: plain with the setting 0; otherwise
// a fault is caught and reported as for "StartCmd" (log, message, backup of
// the modified drawings, panel pages cleared) and -1 is the result.
int CallModuleGuarded(const std::function<int()>& call);

// `CallStartCmd`: with the guard switch 0 the call is plain; with it set a
// fault is caught, logged, reported, the modified drawings are backed up and
// the panel pages cleared; the result is then -1.
int CallStartCmd(StartCmdProc entry, const char* text, int guard);
