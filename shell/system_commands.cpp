// System commands served by the shell, the drawing windows, panels and setup.
#include "shell/system_commands.h"

#include "base/message_table.h"
#include "command/command_system.h"
#include "setup/drawing_info.h"
#include "setup/page_services.h"
#include "setup/setup_dialogs.h"
#include "shell/cad_system.h"
#include "shell/document_roads.h"
#include "shell/system_command_actions.h"
#include "view/input_scale.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

void ClearCommandName() {
    if (HWND bar = CmdStatusBar()) SendMessageA(bar, WM_USER, 1, reinterpret_cast<LPARAM>(""));
}

// The shell's own action for the id; the executor decides from its answer
// whether the command counts as done.
SystemCmdOutcome Shell(int id, HWND owner, DWORD word) { return RunSystemCommandAction(id, owner, word); }

// 4000 and 4050 need a free slot in the table of drawing windows.
bool NoFreeWindow(HWND owner, SystemCmdOutcome& out) {
    if (FindFreeViewSlot() >= 0) return false;
    CmdLog(0, "Error", "これ以上ウィンドウを開けません");
    ZavMessageBox(owner, GetMessageText(7237), GetMessageText(5150), MB_OK);
    out.finish = 'B';
    return true;
}

}  // namespace

void CloseActiveDrawing() {
    if (HWND view = GetActiveView()) PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
}

void CloseApplication(HWND frame) {
    if (frame) PostMessageA(frame, WM_CLOSE, 0, 0);
}

int RunSystemCommandAction(int id, HWND owner, DWORD word) {
    const int road = RunDocumentCommand(id, owner, word);
    if (road != -1) return road;
    HWND frame = MainFrameWindow() ? MainFrameWindow() : owner;
    switch (id) {
        case 4000:
            return RunNewDrawingCommand(owner ? owner : frame);
        case 4025:
            return RunSecondWindowCommand();
        case 4050:
            return RunStartDrawingCommand(owner ? owner : frame, word);
    }
    return -1;
}

SystemCmdOutcome RunSystemCmdAction(int id, HWND owner, DWORD word) {
    SystemCmdOutcome out;
    switch (id) {
    case 4005:
        CloseActiveDrawing();
        return out;
    case 4006:
        CloseApplication(owner);
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
    case 4021: return RunDrawingInfoCommand();
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
