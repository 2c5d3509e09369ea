// The table of the service commands: every id from 1200 to 1500 that the
// main frame runs itself. The small ones are a line here; the interactive
// ones and the dialogs live in the files service_cmds.h names.
#include <cstring>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/command_ids.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/status_codes.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "panels/pbox.h"
#include "panels/rp_menu.h"
#include "shell/host_seam.h"
#include "shell/service_cmds.h"
#include "shell/service_frame.h"
#include "shell/service_support.h"
#include "shell/toolbar_settings_dialog.h"
#include "view/input_scale.h"
#include "view/raster.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"

namespace {

HWND Frame() { return CmdMainFrame(); }

// The waiting module command tracks the cursor: its band is hidden while the
// service command runs (the frame of a window action).
void HideWaitingBand() {
    if (CmdInput().wantedMask & CMD_WANT_TRACK) UpdateRubberBand(GetActiveView(), 0, 0, 1);
}

int MdiArrange(UINT message) {
    HideWaitingBand();
    if (HWND client = CmdMdiClient()) SendMessageA(client, message, MDITILE_SKIPDISABLED, 0);
    return 1;
}

int SetSnapMode(long bits) {
    Running().snapModeFlags = bits;
    SyncSnapButtons();
    return 1;
}

int PostIfView(UINT message) {
    HideWaitingBand();
    if (GetActiveView() && Frame()) PostMessageA(Frame(), message, 0, 0);
    return 1;
}

int RedrawActiveView() {
    CmdInput().event = CMD_EV_VIEW_CHANGED;
    if (HWND view = GetActiveView()) {
        InvalidateRect(view, nullptr, TRUE);
        UpdateWindow(view);
    }
    return 0;
}

// The OK of the right-click pop-up and of interrupt 3048: the default
// button of the application panel's page, when it has one, is pushed for
// the waiting command.
int PushPanelOk() {
    if (PBoxHasDefaultButton) PostPanelEvent(1, PBoxDefaultButtonId, 0);
    return 1;
}

int SetDisplayMode(int mode) {
    HWND view = GetActiveView();
    ViewData* data = GetViewData(view);
    if (!data) return 1;
    if (data->displayMode != mode) {
        data->displayMode = mode;
        InvalidateRect(view, nullptr, TRUE);
    }
    return 1;
}

int ToggleInputScale() {
    if (IsInputScaleActive())
        CloseInputScaleWindow();
    else
        ShowInputScaleWindow();
    return 0;
}

}  // namespace

int ExecServiceCmd(LPARAM argument, int id) {
    if (id >= 1260 && id <= 1299) return RaiseRPMenuItemEvent(id - 1260);
    WriteSystemLog(2, "Service Cmd", "%ld", static_cast<long>(id));
    switch (id) {
    case 1200: return MdiArrange(WM_MDICASCADE);
    case 1201: return MdiArrange(WM_MDITILE);
    case 1203:
    case 1213: return ServiceNewWindow(id);
    case 1204:
        if (Frame()) SendMessageA(Frame(), UM_REFRESH_VIEW, 0, 0);
        return 1;
    case 1205: return ServiceZoomByClick();
    case 1206: return ServiceScrollByClick();
    case 1208:
        if (Frame()) PostMessageA(Frame(), UM_REDO, 0, 0);
        return 1;
    case 1209:
        if (Frame()) PostMessageA(Frame(), UM_UNDO, 0, 0);
        return 1;
    case 1210: return ServiceZoomWindow(argument);
    case 1211: CmdInput().event = CMD_EV_CANCEL; return 1;
    case 1212: return ServiceHelpFile(nullptr);
    case 1337: RunToolbarSettingsCommand(); return 1;
    case 1214:
    case 1218:
    case 1331: return 1;
    case 1215: return SetSnapMode(8);
    case 1216: return SetSnapMode(1);
    case 1217: return SetSnapMode(255);
    case 1219: return PushPanelOk();
    case 1225: return PostIfView(UM_TOGGLE_LAYOUT_VIEW);
    case 1227: {
        char text[1025] = {};
        if (argument && GlobalGetAtomNameA(static_cast<ATOM>(argument), text, sizeof text) > 0)
            TakeOverCommandLine(Frame(), text);
        else if (Frame())
            SendMessageA(Frame(), UM_END_CMD, 0, 0);
        return 1;
    }
    case 1228:
        if (Frame()) {
            SendMessageA(Frame(), UM_END_CMD, 0, 0);
            PostMessageA(Frame(), UM_NEW_DRAWING_WINDOW, 0, 0);
        }
        return 1;
    case 1229: return ServiceSettingsSheet();
    case 1230: return ToggleOverviewMode(GetActiveView());
    case 1234: return PostIfView(UM_TOGGLE_LOUPE);
    case 1235: return ServiceHighlightInRects();
    case 1300: return ServiceLoupe();
    case 1302:
        if (HWND bar = CmdStatusBar()) SendMessageA(bar, WM_COMMAND, kStatusCmdToggleMessage, 0);
        return 1;
    case 1303:
        if (Frame()) SendMessageA(Frame(), WM_SIZE, 0, 0);
        return 1;
    case 1304: return ServiceAttributePickUp();
    case 1305:
        if (Frame()) SendMessageA(Frame(), UM_END_CMD, 0, 0);
        return 1;
    case 1306: CmdInput().event = CMD_EV_SAVE_STATE; return 1;
    case 1307: return ServicePatternSaveToggle();
    case 1311: return ServiceDeleteMemo();
    case 1313: return ServiceChooseMemo();
    case 1314: return RedrawActiveView();
    case 1315: return SetDisplayMode(1);
    case 1316: return SetDisplayMode(2);
    case 1317: return SetDisplayMode(3);
    case 1318: return ServiceShowMemo();
    case 1320: return RotateActiveRaster();
    case 1332: return ServiceMidPoint();
    case 1333: return ServicePreviousView();
    case 1334: return ServiceZoomExtents();
    case 1335: return ToggleInputScale();
    case 1336: return ServiceDeleteWithLinkCheck();
    case 1350: return ServiceGridCentre();
    case 1351: SendToolPanelCommand(ID_PANEL_GRID); return 1;
    default: return 0;
    }
}
