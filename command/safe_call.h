// Calls into a command module that must survive the module's own faults.
// GCC has no structured exception frames. A vectored handler sees every
// fault first, before any frame handler, including the ones that the
// system puts around window procedures and timer callbacks and that would
// otherwise swallow the fault half-way through the command; it acts only
// on faults raised by an instruction of the guarded module's image and
// jumps back to the guarded call. Faults elsewhere (a system call meeting
// a bad pointer and handling it itself) are left to their own handlers; one
// that nothing handles still reaches the guard through the unhandled-
// exception filter where the system lets it get that far.
#pragma once

#include <windows.h>

#include <functional>

#include "command/cad_app_cmd.h"

// Runs call(). Returns false when a fault ended it; the fault's code is then
// in *code and *result is untouched. `module` is the image whose faults the
// guard takes whatever frames lie between (null: only faults that reach the
// unhandled-exception filter).
bool GuardedCall(const std::function<int()>& call, int* result, DWORD* code, HMODULE module = nullptr);

// A module call under the SAFE setting: plain with the setting 0; otherwise
// a fault is caught and reported as for "StartCmd" (log, message, backup of
// the modified drawings, panel pages cleared) and -1 is the result.
int CallModuleGuarded(const std::function<int()>& call, HMODULE module = nullptr);

// `CallStartCmd`: with the guard switch 0 the call is plain; with it set a
// fault is caught, logged, reported, the modified drawings are backed up and
// the panel pages cleared; the result is then -1.
int CallStartCmd(StartCmdProc entry, const char* text, int guard);

// The module whose image holds `address` (null when none).
HMODULE ModuleOfAddress(const void* address);
