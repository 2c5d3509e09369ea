// The input record and the nested wait loop through which a running command
// receives its next input (UM_WAIT_CMD_EVENT).
#pragma once

#include <windows.h>

#include "command/host_messages.h"

// The one process-wide input record.
InputRecord& CmdInput();

// Process state read by the wait loop. The relative-input switch and the
// loupe flag are the panels' and drawing windows' own
// (RPMenuState.relativeInput, InputFromLoupe).
struct WaitState {
    double storedLastPoint[3] = {0, 0, 0};  // StoredLastPoint
    int snapBypass = 0;                     // SnapBypass
    double inputBasePoint[3] = {0, 0, 0};   // drawn by DrawInputBasePoint
    int basePointShown = 0;
    POINT lastMousePos = {-1, -1};  // last mouse position in screen pixels
    int depth = 0;                  // waits in progress
};
WaitState& CmdWaitState();

// Writers: store an event code (a later write in the same message replaces
// an earlier one, except that view activation and attribute changes are
// written only when no event is pending). Panel writers pass kind, value
// and extra.
void PostCmdEvent(int code);
void PostPanelEvent(int kind, int value, int extra);

// `WaitCmdEvent`: runs the nested loop until an event the request's command
// wants arrives; returns the CMD_RES_* result. `accel` is the frame's
// accelerator table (may be null).
int WaitCmdEvent(CmdRequest* request, HACCEL accel);
// The service commands' short form: SendMessage to the main frame.
int RequestCmdEvent(CmdRequest* request);
