#include "shell/host_seam.h"

#include <cstring>

#include "base/dbcs.h"
#include "command/command_ids.h"
#include "shell/cad_system.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"
#include "shell/open_road.h"
#include "shell/shell_seams.h"
#include "view/interrupt_cmds.h"
#include "view/view_table.h"

std::function<int(int, LPARAM)> ExecCmdHook;

LRESULT CShellHostSeam::OnExecCmd(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!ExecCmdHook) {
        handled = FALSE;  // the command system's executor
        return 0;
    }
    return ExecCmdHook((int)LOWORD(wParam), lParam);
}

LRESULT CShellHostSeam::OnOpenDrawingFile(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!frame || !lParam) return 0;
    char path[MAX_PATH];
    DbcsCopy(path, sizeof path, (const char*)lParam);
    ShellTrace("Open %s", path);
    return OpenDrawingFile(frame->m_hWnd, path);
}

void TakeOverCommandLine(HWND frame, const char* text) {
    SendMessageA(frame, UM_END_CMD, 0, 0);
    ParseCommandLine(frame, text, -1);
}

int RunServiceCmd(HWND frame, WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    switch (id) {
    case ID_SVC_HAND_OVER_COMMAND_LINE: {  // a second start handed over its command line as an atom
        char text[1025] = {};
        if (lParam && GlobalGetAtomNameA((ATOM)lParam, text, sizeof text) > 0) TakeOverCommandLine(frame, text);
        return 1;
    }
    case ID_SVC_SECOND_START:  // a second start without a command line
        SendMessageA(frame, UM_END_CMD, 0, 0);
        PostMessageA(frame, UM_NEW_DRAWING_WINDOW, 0, 0);
        return 1;
    }
    ShellTrace("Service %d", id);
    return 0;
}

int ExecPanelInterruptCmd(HWND frame, WPARAM wParam, LPARAM) {
    const unsigned short id = LOWORD(wParam);
    ShellTrace("Interrupt %d", (int)id);
    HWND main = frame ? frame : MainFrameWindow();
    if (main) SendMessageA(main, UM_CMD_BUSY, id, 1);
    // Command 3800 stores the settings; the other ids of 3800 and above
    // pass on to the panel dispatcher.
    if (id >= 3800) GetCadSystem().SaveConfigData(id);
    const int result = ExecPanelCmd(id);
    if (main) SendMessageA(main, UM_CMD_BUSY, id, 0);
    return result;
}
