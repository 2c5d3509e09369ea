#include "shell/host_seam.h"

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
#include "shell/shell_seams.h"
#include "view/overview.h"
#include "shell/toolbar_settings_dialog.h"
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
    case ID_SVC_TOOLBAR_SETTINGS: RunToolbarSettingsCommand(); return 1;
    // The menu's help entry: the default help file (a WM_COMMAND's lParam is
    // a control, never a path).
    case ID_SVC_HELP_FILE: RunHelpFileCommand(nullptr); return 1;
    case ID_SVC_SECOND_START:  // a second start without a command line
        SendMessageA(frame, UM_END_CMD, 0, 0);
        PostMessageA(frame, UM_NEW_DRAWING_WINDOW, 0, 0);
        return 1;
    case ID_SVC_LAYER_SPLIT:  // the page and layer overview of the active view
        ToggleOverviewMode(GetActiveView());
        return 1;
    }
    ShellTrace("Service %d", id);
    return 0;
}

int ExecPanelInterruptCmd(HWND, WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == ID_PANEL_TEMPORARY_POINT) {
        // The tool panel's point entry: the panel runs it; while there is
        // no panel to take it, it runs here.
        if (HWND panel = ToolPanelWindow())
            ::SendMessageA(panel, WM_COMMAND, ID_PANEL_TEMPORARY_POINT, 0);
        else
            InputTemporaryPoint();
        return 1;
    }
    ShellTrace("Interrupt %d", (int)LOWORD(wParam));
    return 0;
}
