// Stand-in for the host-interface objects of the command system, which the
// main frame chains to: the executor behind UM_EXEC_CMD, the end of a
// running command, the command-acceptance flag, the open road and new
// drawing windows, the service and interrupt commands. Each does the least
// the shell's own paths rely on; the command system's objects replace it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "shell/host_messages_shell.h"
#include "win/msg_map.h"

class CMainFrame;

// Tests script the executor through this hook: it sees each command that
// reaches UM_EXEC_CMD and returns the executor's answer.
extern std::function<int(int id, LPARAM arg)> ExecCmdHook;

class CShellHostSeam : public CMessageMap {
 public:
  CMainFrame* frame = nullptr;
  int acceptFlag = 1;  // command-acceptance flag (UM_END_ACK_FLAG)

  BEGIN_MSG_MAP(CShellHostSeam)
    MESSAGE_HANDLER(UM_EXEC_CMD, OnExecCmd)
    MESSAGE_HANDLER(UM_END_CMD, OnEndCmd)
    MESSAGE_HANDLER(UM_END_ACK_FLAG, OnEndAckFlag)
    MESSAGE_HANDLER(UM_OPEN_DRAWING_FILE, OnOpenDrawingFile)
    MESSAGE_HANDLER(UM_NEW_DRAWING_WINDOW, OnNewDrawingWindow)
  END_MSG_MAP()

 private:
  LRESULT OnExecCmd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEndCmd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEndAckFlag(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOpenDrawingFile(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNewDrawingWindow(UINT, WPARAM, LPARAM, BOOL&);
};

// Built-in service commands 1200-1500: 1 when done.
int RunServiceCmd(HWND frame, WPARAM wParam, LPARAM lParam);
// Keyboard interrupt and panel commands 3000-3999: 1 when done.
int ExecPanelInterruptCmd(HWND frame, WPARAM wParam, LPARAM lParam);
// Hands a command line of a second start to this copy (service 1227).
void TakeOverCommandLine(HWND frame, const char* text);
