// The command system as the shell sees it.
//
// The shell's main frame creates one CCommandHost (host_objects.h), chains its
// map to it (CHAIN_MSG_MAP_MEMBER) after its own entries, and calls
// CommandSystemInit(frame window) once the frame window exists and
// CommandSystemTerm() before it is destroyed. CommandSystemInit also sets
// the frame as the target of every host message the command system sends.
#pragma once

#include <windows.h>

class CCommandHost;

// The main-frame window modules receive as the first argument of StartCmd.
HWND CmdMainFrame();
void SetCmdMainFrame(HWND frame);

// Once the frame window exists: makes it the target of the command system,
// sets the host objects' frame words, fills the host services of the
// neighbouring subsystems (InstallHostServices), starts the DDE server and
// client. 1 done; 0 when DDE could not start (the message was shown; the
// rest works without DDE).
int CommandSystemInit(HWND frame, CCommandHost& host, HACCEL accel = nullptr,
                      void* mainAccelerator = nullptr);
// Before the frame goes: stops DDE and frees requests that never ran.
void CommandSystemTerm();
