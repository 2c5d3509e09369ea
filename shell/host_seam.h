// The shell's own answers to host messages, consulted before the command
// system's host objects: the open road (UM_OPEN_DRAWING_FILE) and the
// built-in service and interrupt commands. Tests may also script the
// executor through ExecCmdHook.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "shell/host_messages_shell.h"
#include "win/msg_map.h"

class CMainFrame;

// Tests script the executor through this hook: while it is set it sees each
// command that reaches UM_EXEC_CMD and returns the executor's answer.
extern std::function<int(int id, LPARAM arg)> ExecCmdHook;

class CShellHostSeam : public CMessageMap {
public:
    CMainFrame* frame = nullptr;

    BEGIN_MSG_MAP(CShellHostSeam)
    MESSAGE_HANDLER(UM_EXEC_CMD, OnExecCmd)
    MESSAGE_HANDLER(UM_OPEN_DRAWING_FILE, OnOpenDrawingFile)
    END_MSG_MAP()

private:
    LRESULT OnExecCmd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOpenDrawingFile(UINT, WPARAM, LPARAM, BOOL&);
};

// Built-in service commands 1200-1500: 1 when done.
int RunServiceCmd(HWND frame, WPARAM wParam, LPARAM lParam);
// Keyboard interrupt and panel commands 3000-3999: 1 when done.
int ExecPanelInterruptCmd(HWND frame, WPARAM wParam, LPARAM lParam);
// Hands a command line of a second start to this copy (service 1227).
void TakeOverCommandLine(HWND frame, const char* text);
