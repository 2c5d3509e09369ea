#include "shell/host_seam.h"

#include "setup/layer_dialogs.h"

#include <cstring>

#include "base/dbcs.h"
#include "command/command_ids.h"
#include "shell/cad_system.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"
#include "panels/panel_windows.h"
#include "shell/help_windows.h"
#include "shell/input_point_dialog.h"
#include "shell/open_road.h"
#include "shell/service_frame.h"
#include "shell/shell_seams.h"
#include "view/overview.h"
#include "shell/toolbar_settings_dialog.h"
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
    const int id = LOWORD(wParam);
    ShellTrace("Service %d", id);
    if (frame) SendMessageA(frame, UM_CMD_BUSY, static_cast<WPARAM>(id), 1);
    const int result = ExecServiceCmd(lParam, id);
    if (frame && ::IsWindow(frame)) SendMessageA(frame, UM_CMD_BUSY, static_cast<WPARAM>(id), 0);
    return result;
}

int ExecPanelInterruptCmd(HWND frame, WPARAM wParam, LPARAM) {
    const unsigned short id = LOWORD(wParam);
    if (id == ID_PANEL_TEMPORARY_POINT) {
        // The tool panel's point entry: the panel runs it; while there is
        // no panel to take it, it runs here.
        if (HWND panel = ToolPanelWindow())
            ::SendMessageA(panel, WM_COMMAND, ID_PANEL_TEMPORARY_POINT, 0);
        else
            InputTemporaryPoint();
        return 1;
    }
    if ((id == ID_PANEL_LAYER_MANAGER || id == ID_PANEL_ADD_LAYER || id == ID_PANEL_VIEW_REFRESH) && !ToolPanelWindow()) {
        // The tool panel's layer dialogs: while there is no panel to start
        // them, they start here.
        HWND owner = frame ? frame : MainFrameWindow();
        if (id == ID_PANEL_LAYER_MANAGER)
            RunLayerManagerDialog(owner);
        else if (id == ID_PANEL_ADD_LAYER)
            RunAddLayerDialog(owner);
        else
            ShowInputLayerDialog(HIWORD(wParam));
        return 1;
    }
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
