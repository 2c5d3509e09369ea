// Per-command switches that modules set through host messages and that the
// executor puts back to rest after every module command. The right-click
// pop-up's OK mode and hide flags live with the pop-up (RPMenuState); the
// executor reaches them through the host table.
#pragma once

#include <cstdint>

struct CmdSwitches {
    int enableUndo = 1;          // UM_ENABLE_UNDO; rest 1
    int undoPassSuppressed = 0;  // UM_SUSPEND_UNDO_PASS; rest 0
    int cmdFlag = 0;             // UM_SET_CMD_FLAG; rest 0
    int fastAccess = 0;          // UM_FAST_ACCESS_ON/OFF; rest 0
    int highlightColor = 0;      // UM_HIGHLIGHT_COLOR; rest 0
    int appendKeepFields = 0;    // UM_SET_APPEND_KEEP_FIELDS; kept across commands
    int inputScaleEnabled = 1;   // input-scale combo box; rest 1
    int ddeDataFlag = 0;         // set by "{DDEPUT("
};

CmdSwitches& Switches();

// While non-zero the tool panel's layer field ignores clicks (set by a module
// through a host message, back to 0 after its command).
extern int LayerFieldLock;

// True when every switch the executor resets is at rest.
bool SwitchesAtRest();
