#include "command/drawing_events.h"

#include "command/cad_app_cmd.h"
#include "command/command_ids.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_hooks.h"

int ApplicationClosingFlag = 0;
int DrawingEventClosingFlag = 0;
char DrawingEventRecord[260];

namespace {

int RunEventCmd(int id, const char* text) { return ExecCadCmdBusy(CmdActiveView(), static_cast<DWORD>(id), text); }

}  // namespace

int ExecDrawingEventCmd(ViewData* data, int kind) {
    if (ApplicationClosingFlag) DrawingEventClosingFlag = 1;
    switch (kind) {
    case 0: return RunEventCmd(DrawingEventClosingFlag ? ID_CMD_EVENT_SAVE_CLOSING : ID_CMD_EVENT_SAVE, nullptr);
    case 1:
        if (!data) return 0;
        if (HostHooks().clearDrawingEvent) HostHooks().clearDrawingEvent(data);
        return 1;
    case 3: {
        char line[MAX_PATH];
        if (!GetCmdLineOfId(ID_CMD_EVENT_ALL_CLOSED, line, sizeof line)) return 1;
        return RunEventCmd(ID_CMD_EVENT_ALL_CLOSED, nullptr);
    }
    case 4:
        if (HWND frame = CmdMainFrame()) SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return RunEventCmd(ID_CMD_EVENT_REQUEST, DrawingEventRecord);
    default: return 1;
    }
}
