// The drawing-event commands: commands 6200-6203 of a command module that
// manages drawings on behalf of a companion program. The host runs them
// when such a drawing is saved (the module writes it itself), when the last
// drawing window closes, and on the module's own request.
#pragma once

#include <windows.h>

struct ViewData;

// Set by the main frame's close sequence while the application closes.
extern int ApplicationClosingFlag;
// Set (and kept) when a drawing event runs while the application closes:
// the module then learns at the last window that the run is ending.
extern int DrawingEventClosingFlag;

// Kinds: 0 the drawing is saved by the module (6201 while the application
// closes, else 6200); 1 clears the drawing-event word of every window of the
// drawing of `data` (0 for null data); 3 every drawing window has closed
// (6202 when registered, else nothing, 1); 4 the module's own request (6203
// with the address of DrawingEventRecord). Other kinds do nothing (1). The
// commands run through ExecCadCmdBusy with the active view as owner; their
// result is the executor's.
int ExecDrawingEventCmd(ViewData* data, int kind);

// The record whose address command 6203 receives; other parts of the host
// fill it.
extern char DrawingEventRecord[260];
