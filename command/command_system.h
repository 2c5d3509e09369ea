// The command system as the shell sees it.
//
// The shell's main frame creates one CCommandHost (host_objects.h), chains its
// map to it (CHAIN_MSG_MAP_MEMBER) after its own entries, and calls
// CommandSystemInit(frame window) once the frame window exists and
// CommandSystemTerm() before it is destroyed. CommandSystemInit also sets
// the frame as the target of every host message the command system sends.
#pragma once

#include <windows.h>

// The main-frame window modules receive as the first argument of StartCmd.
HWND CmdMainFrame();
void SetCmdMainFrame(HWND frame);
