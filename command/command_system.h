// The command system as the shell sees it.
//
// The shell's main frame holds one CCommandHost (host_objects.h), chains its
// map to it (CHAIN_MSG_MAP_MEMBER) after its own entries, and calls
// CommandSystemInit once, in the start-up step that starts DDE
// (CMainFrame::SubInitialize), and CommandSystemTerm at shut-down
// (CCadSystem::Term). The services the command system borrows are filled
// by the shell before (host_hooks.h).
#pragma once

#include <windows.h>

class CCommandHost;

// The windows of the main frame, one home each: every part of the program
// reads them here (the shell's MainFrameWindow, StatusBarWindow and
// MdiClientWindow too). The shell sets them as it makes the windows.
// The main-frame window modules receive as the first argument of StartCmd.
HWND CmdMainFrame();
void SetCmdMainFrame(HWND frame);
// The prompt bar (status bar); null when it is gone.
HWND CmdStatusBar();
void SetCmdStatusBar(HWND bar);
// The MDI client of the main frame.
HWND CmdMdiClient();
void SetCmdMdiClient(HWND client);

// Makes the frame the target of every host message the command system
// sends, gives the host objects the frame's window and shortcut words, and
// starts the DDE server ("RAZE"/"System") and client. 1 done; 0 when DDE
// could not start (its message was shown; the rest works without DDE).
int CommandSystemInit(HWND frame, CCommandHost& host, HACCEL accel = nullptr, void* mainAccelerator = nullptr);
// Stops DDE and frees requests that never ran.
void CommandSystemTerm();
