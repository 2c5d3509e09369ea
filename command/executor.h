// The command executor: runs one command at a time. System commands
// (4000-4051) run in place; module commands (5000-39999) run inside their
// module's "StartCmd"; afterwards every per-command switch is put back.
#pragma once

#include <windows.h>

#include <cstdint>

// Process-wide state of the executor (UI thread only).
struct ExecutorState {
    int moduleCmdRunning = 0;      // ModuleCmdRunning
    int serviceCmdWaiting = 0;     // ServiceCmdWaiting
    int runningModuleCmdId = 0;    // RunningModuleCmdId
    int currentCmdId = 0;          // the application object's current-command id
    int cmdSaveFlag = 0;           // CmdSaveFlag
    int moduleVersionFlag = 0;     // ModuleVersionFlag
    int pageEditWarningArmed = 0;  // PageEditWarningArmed
    uint32_t importMark = 0;       // ImportMark
    UINT savedErrorMode = 0;
    int startCmdDepth = 0;  // "StartCmd" calls in progress (nesting check)
    int maxStartCmdDepth = 0;
};
ExecutorState& Executor();

// 1 done, 0 not done. `text` may be null (no argument text).
int ExecCadCmd(HWND owner, DWORD word, const char* text);
int ExecCadCmdBusy(HWND owner, DWORD word, const char* text);
// The import and export modules of the open and save roads (5106, 5111
// ...): the module's "StartCmd" gets the file name after its own arguments,
// under the wait cursor and the guard, without a command's bracket (the
// road around it is the command). The same road to "StartCmd" as the
// module commands. 1 when the module ran, 0 when it is not there.
int RunModuleForFile(int id, const char* fileName);
// The handler of UM_EXEC_CMD (wParam command word, lParam argument text).
LRESULT OnExecCmdMessage(WPARAM wParam, LPARAM lParam);

int IsAnyCmdRunning();
int IsModuleCmdRunning();
// 1 unless the active drawing is open for reference only and the command is
// not on the list of commands allowed on such drawings (CadAppCmd.def).
int IsCmdAllowedInReadOnly(int id);

void SendCmdNotifyStart(int id);
void SendCmdNotifyEnd(int id);

void DropImportMark(int mode);
uint32_t TakeImportMark();
void SetImportMark(uint32_t mark);

// Posts UM_EXEC_CMD to the main frame with a host-owned copy of the text,
// so that the request does not depend on the caller's buffer living on.
// A null text stays null.
BOOL PostExecCmd(DWORD word, const char* text);
// Requests posted but not yet run (copies still held).
size_t PendingExecCmdCount();
// Frees the copies of requests that never arrived (at shut-down).
void DiscardPendingExecCmds();
