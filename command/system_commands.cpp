// System commands served by the drawing windows, panels and setup.
#include "command/system_commands.h"

#include <vector>

#include "base/message_ids.h"
#include "base/message_table.h"
#include "command/command_ids.h"
#include "command/host_hooks.h"
#include "view/status_codes.h"
#include "win/message_box.h"
#include "panels/panel_windows.h"
#include "setup/db_info.h"
#include "setup/page_services.h"
#include "setup/setup_dialogs.h"
#include "view/input_scale.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

void ClearCommandName() {
    if (HWND bar = CmdStatusBar()) SetStatusMessage(bar, "");
}

// The shell's action for the id. An action the shell does not offer (yet)
// reports the command not done: it never counts as done with nothing done.
SystemCmdOutcome Shell(int id, HWND owner, DWORD word) {
    SystemCmdOutcome out;
    auto& hook = HostHooks().systemCommand;
    const int r = hook ? hook(id, owner, word) : -1;
    if (r < 0) {
        CmdLog(1, "System Cmd", "%ld この機能は使用できません", static_cast<long>(id));
        out.result = 0;
    } else if (id == ID_CMD_VERSION) {
        out.result = r;
    }
    return out;
}

// 4000 and 4050 need a free slot in the table of drawing windows.
bool NoFreeWindow(HWND owner, SystemCmdOutcome& out) {
    if (FindFreeViewSlot() >= 0) return false;
    CmdLog(0, "Error", "これ以上ウィンドウを開けません");
    ZavMessageBox(owner, GetMessageText(IDS_NO_MORE_WINDOWS), GetMessageText(IDS_NEW_DRAWING), MB_OK);
    out.finish = CmdFinish::Keep;
    return true;
}

SystemCmdOutcome DrawingInfo() {
    SystemCmdOutcome out;
    CloseInputScaleWindow();
    HWND view = GetActiveView();
    if (!view) {
        ClearCommandName();
        out.finish = CmdFinish::Keep;
        return out;
    }
    ViewData* data = GetViewData(view);
    if (!data || !data->db) {
        out.finish = CmdFinish::Keep;
        return out;
    }
    std::vector<char> block(sizeof(DbInfoHead), 0);
    ReadDrawingInfo(data->db, block.data());
    if (RunDrawingInfoDialog(reinterpret_cast<DbInfoHead*>(block.data())) == 0)
        ApplyDrawingInfo(view, block.data(), 0);
    return out;
}

}  // namespace

SystemCmdOutcome RunSystemCmdAction(int id, HWND owner, DWORD word) {
    SystemCmdOutcome out;
    switch (id) {
    case ID_CMD_CLOSE_DRAWING:
        if (HWND view = GetActiveView()) PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
        return out;
    case ID_CMD_EXIT:
        if (owner) PostMessageA(owner, WM_CLOSE, 0, 0);
        ClearCommandName();
        return out;
    case ID_CMD_SAVE_DRAWING_AS:
    case ID_CMD_SAVE_DRAWING:
        CloseInputScaleWindow();
        return Shell(id, owner, word);
    case ID_CMD_NEW_DRAWING:
    case ID_CMD_START_DRAWING:
        if (NoFreeWindow(owner, out)) return out;
        return Shell(id, owner, word);
    case ID_CMD_DRAWING_INFO: return DrawingInfo();
    case ID_CMD_CURSOR_SETTINGS: RunCursorDialog(); return out;
    case ID_CMD_MARGIN_SETTINGS: RunMarginDialog(); return out;
    case ID_CMD_COORD_DISPLAY: RunCoordDispDialog(); return out;
    case ID_CMD_APPEND_PAGE: RunPageAppendDialog(); return out;
    case ID_CMD_PAGE_INFO: RunPageEditDialog(); return out;
    case ID_CMD_PAPER_SPACE: ShowPaperSpace(); return out;
    case ID_CMD_MODEL_SPACE: ShowModelSpace(); return out;
    default: return Shell(id, owner, word);
    }
}
