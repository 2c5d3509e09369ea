// System commands served by the shell, the drawing windows, panels and setup.
#include "shell/system_commands.h"

#include "base/message_ids.h"
#include "base/message_table.h"
#include "command/command_ids.h"
#include "command/command_system.h"
#include "command/status_codes.h"
#include "setup/drawing_info.h"
#include "setup/page_services.h"
#include "setup/setup_dialogs.h"
#include "shell/cad_system.h"
#include "shell/document_roads.h"
#include "shell/system_command_actions.h"
#include "shell/version_dialog.h"
#include "view/input_scale.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

void ClearCommandName() {
    if (HWND bar = CmdStatusBar()) SetStatusMessage(bar, "");
}

// The shell's own action for the id; the executor decides from its answer
// whether the command counts as done.
SystemCmdOutcome Shell(int id, HWND owner, DWORD word) { return RunSystemCommandAction(id, owner, word); }

// A new drawing and the start drawing need a free slot in the table of drawing windows.
bool NoFreeWindow(HWND owner, SystemCmdOutcome& out) {
    if (FindFreeViewSlot() >= 0) return false;
    CmdLog(0, "Error", "これ以上ウィンドウを開けません");
    ZavMessageBox(owner, GetMessageText(IDS_NO_MORE_WINDOWS), GetMessageText(IDS_NEW_DRAWING), MB_OK);
    out.finish = CmdFinish::Keep;
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
    case ID_CMD_NEW_DRAWING: return RunNewDrawingCommand(owner ? owner : frame);
    case ID_CMD_SPLIT_WINDOW: return RunSecondWindowCommand();
    case ID_CMD_START_DRAWING: return RunStartDrawingCommand(owner ? owner : frame, word);
    }
    return -1;
}

SystemCmdOutcome RunSystemCmdAction(int id, HWND owner, DWORD word) {
    SystemCmdOutcome out;
    switch (id) {
    case ID_CMD_CLOSE_DRAWING: CloseActiveDrawing(); return out;
    case ID_CMD_EXIT:
        CloseApplication(owner);
        ClearCommandName();
        return out;
    case ID_CMD_SAVE_DRAWING_AS:
    case ID_CMD_SAVE_DRAWING: CloseInputScaleWindow(); return Shell(id, owner, word);
    case ID_CMD_NEW_DRAWING:
    case ID_CMD_START_DRAWING:
        if (NoFreeWindow(owner, out)) return out;
        return Shell(id, owner, word);
    case ID_CMD_DRAWING_INFO: return RunDrawingInfoCommand();
    case ID_CMD_CURSOR_SETTINGS: RunCursorDialog(); return out;
    case ID_CMD_MARGIN_SETTINGS: RunMarginDialog(); return out;
    case ID_CMD_COORD_DISPLAY: RunCoordDispDialog(); return out;
    case ID_CMD_APPEND_PAGE: RunPageAppendDialog(); return out;
    case ID_CMD_PAGE_INFO: RunPageEditDialog(); return out;
    case ID_CMD_PAPER_SPACE: ShowPaperSpace(); return out;
    case ID_CMD_MODEL_SPACE: ShowModelSpace(); return out;
    case ID_CMD_VERSION: return SystemCmdOutcome(RunVersionInfoDialog());
    default: return Shell(id, owner, word);
    }
}
