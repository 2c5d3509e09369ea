// System commands served by the drawing windows, panels and setup.
#include "command/system_commands.h"

#include <vector>

#include "base/message_table.h"
#include "command/host_hooks.h"
#include "win/message_box.h"
#include "panels/panel_windows.h"
#include "view/db_info.h"
#include "setup/page_services.h"
#include "setup/setup_dialogs.h"
#include "view/input_scale.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

void ClearCommandName() {
    if (HWND bar = CmdStatusBar()) SendMessageA(bar, WM_USER, 1, reinterpret_cast<LPARAM>(""));
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
    } else if (id == 4008) {
        out.result = r;
    }
    return out;
}

// 4000 and 4050 need a free slot in the table of drawing windows.
bool NoFreeWindow(HWND owner, SystemCmdOutcome& out) {
    if (FindFreeViewSlot() >= 0) return false;
    CmdLog(0, "Error", "これ以上ウィンドウを開けません");
    ZavMessageBox(owner, GetMessageText(7237), GetMessageText(5150), MB_OK);
    out.finish = 'B';
    return true;
}

SystemCmdOutcome DrawingInfo() {
    SystemCmdOutcome out;
    CloseInputScaleWindow();
    HWND view = GetActiveView();
    if (!view) {
        ClearCommandName();
        out.finish = 'B';
        return out;
    }
    ViewData* data = GetViewData(view);
    if (!data || !data->db) {
        out.finish = 'B';
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
    case 4005:
        if (HWND view = GetActiveView()) PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
        return out;
    case 4006:
        if (owner) PostMessageA(owner, WM_CLOSE, 0, 0);
        ClearCommandName();
        return out;
    case 4002:
    case 4012:
        CloseInputScaleWindow();
        return Shell(id, owner, word);
    case 4000:
    case 4050:
        if (NoFreeWindow(owner, out)) return out;
        return Shell(id, owner, word);
    case 4021: return DrawingInfo();
    case 4023: RunCursorDialog(); return out;
    case 4024: RunMarginDialog(); return out;
    case 4036: RunCoordDispDialog(); return out;
    case 4037: RunPageAppendDialog(); return out;
    case 4038: RunPageEditDialog(); return out;
    case 4039: ShowPaperSpace(); return out;
    case 4040: ShowModelSpace(); return out;
    default: return Shell(id, owner, word);
    }
}
