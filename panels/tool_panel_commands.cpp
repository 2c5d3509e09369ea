// The tool panel's WM_COMMAND protocol: the selectors' choices, the snap
// and tool buttons, and the ids other parts of the system send it.
#include <cstring>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "command/command_ids.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/line_settings_dialog.h"
#include "panels/selector_classes.h"
#include "panels/rp_menu.h"
#include "panels/tool_panel.h"
#include "win/message_box.h"

namespace {

// The words the panel edits: the active view's, else the defaults; null
// when a drawing view is active without its record.
AttrWords* EditedWords() {
    if (ToolPanelHost().activeAttrWords)
        if (AttrWords* w = ToolPanelHost().activeAttrWords()) return w;
    const bool viewActive = HostHooks().activeView && HostHooks().activeView();
    return viewActive ? nullptr : &PanelAttrDefaults;
}

bool Checked(HWND b) { return b && ::GetWindowLongA(b, 4) != 0; }

void Check(HWND b, int on) {
    if (!b) return;
    ::SetWindowLongA(b, 4, on ? 1 : 0);
    ::InvalidateRect(b, nullptr, TRUE);
    ::UpdateWindow(b);
}

void PostFrame(int id) {
    if (HWND frame = CmdMainFrame()) ::PostMessageA(frame, WM_COMMAND, id, 0);
}

bool ViewActive() { return HostHooks().activeView && HostHooks().activeView(); }

}  // namespace

LRESULT CToolPanel::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    switch (id) {
    case 5000:
    case 5001:
    case 5002:
    case 5003:
    case 5004: OnAttributeChosen(id); break;
    case 3402:
    case 3404:
    case 3405:
    case 3410:
    case 3411:
    case 3412:
    case 3418: {
        long& flags = Running().snapModeFlags;
        const long m = ToggleSnapMode(flags, SnapBitOfButton(id));
        for (HWND owner : {m_hWnd, RPMenuWindow()}) {
            if (!owner) continue;
            for (int b : {3402, 3404, 3405, 3410, 3411, 3412, 3418})
                Check(::GetDlgItem(owner, b), (m & SnapBitOfButton(b)) != 0);
        }
        flags = m;
        break;
    }
    case 3406: OnKeyCursor(code); break;
    case 3408:
        if (control) {
            if (!Checked(control)) {
                Check(control, 1);
                PostFrame(1304);
            }
        } else {
            Check(GetDlgItem(3408), 0);
        }
        break;
    case 3409: OnTemporaryPoint(lParam); return 1;
    case 3516: OnGrid(control); break;
    case 3989: OnCoordinateEntry(control); break;
    case 3999: OnMidPoint(control); break;
    case 3313: OnLineSettings(); break;
    case 8003:
        if (!ViewActive())
            ZavMessageBox(m_hWnd, "座標表示オプション選択ダイアログを起動できません", "確認", MB_OK | MB_ICONWARNING);
        else if (ToolPanelHost().runCoordDispDialog)
            ToolPanelHost().runCoordDispDialog();
        break;
    case 3314: OnOverviewButton(control); break;
    case 100:
        if (code == 0 || code == 1) {
            Check(GetDlgItem(3314), code);
        } else if (code == 100) {
            // lParam: the view's record; its overview level is read through
            // the active view (the one that sent it).
            Check(GetDlgItem(3314), lParam && ToolPanelHost().activeOverviewLevel &&
                                        ToolPanelHost().activeOverviewLevel() != 0);
        }
        break;
    case 200:
        if (HWND f = GetDlgItem(3312)) {
            if (code == 1) ::InvalidateRect(f, nullptr, TRUE);
            if (code == 100) ::PostMessageA(f, WM_USER, 0, 0);
        }
        break;
    case 3312: OnLayerChosen(); break;
    case 3821:
        if (HWND f = GetDlgItem(3312)) {
            ::SendMessageA(f, WM_USER + 1, 0, 0);
            ::InvalidateRect(f, nullptr, TRUE);
        }
        break;
    case 3822: ResyncAttributes(); break;
    case 10:
        LayoutToolPanel();
        ResyncAttributes();
        break;
    case 3230: PostFrame(4021); break;
    case 3510:
    case 3511:
    case 3512: Running().mouseMode = id - 3510; break;
    case ID_PANEL_LAYER_MANAGER:
        if (HostHooks().runLayerManager) HostHooks().runLayerManager(::GetActiveWindow());
        break;
    case ID_PANEL_ADD_LAYER:
        if (HostHooks().runAddLayerDialog) HostHooks().runAddLayerDialog(::GetActiveWindow());
        break;
    case ID_PANEL_VIEW_REFRESH:  // the input-layer dialog: code 0 show, 1 refresh, 2 hide
        if (HostHooks().inputLayerDialog) HostHooks().inputLayerDialog(code);
        break;
    default: OnOtherCommand(id, code); break;
    }
    return 0;
}

void CToolPanel::OnAttributeChosen(int id) {
    AttrWords* w = EditedWords();
    CLineAttrCombo* s = Selector(id);
    if (!w || !s) return;
    const int value = s->Model().index;
    switch (id) {
    case 5001:
        w->color = value + 1;
        LocalIni().iDrawColor = w->color;
        break;
    case 5002: w->lineType = value; break;
    case 5004: w->lineWidth = value; break;
    // The line-end words hold the symbol's type; the list's last "無し"
    // stands at position 14 but is type 0.
    case 5000:
    case 5003: {
        const AttrSelectorModel& m = s->Model();
        const int type = m.Contains(value) ? m.lineEnds[value].type : 0;
        (id == 5000 ? w->lineStart : w->lineEnd) = type;
        break;
    }
    }
    SendMessage(UM_TOOL_PANEL_RESYNC, 0, 1);
}

void CToolPanel::ResyncAttributes() {
    const AttrWords* w = EditedWords();
    if (!w) return;
    auto set = [&](int id, int value) {
        if (HWND f = GetDlgItem(id)) ::SendMessageA(f, UM_SEL_SETVALUE, 0, value);
    };
    if (HWND f = GetDlgItem(5001)) ::SendMessageA(f, UM_SEL_RELOAD, 0, 0);
    set(5001, w->color - 1);
    set(5002, w->lineType);
    set(5000, LineEndIndexFromType(w->lineStart));
    set(5003, LineEndIndexFromType(w->lineEnd));
    set(5004, w->lineWidth);
    if (HWND f = GetDlgItem(3312)) ::SendMessageA(f, WM_USER + 1, 0, 0);
    for (int id : {5001, 5002, 5000, 5003, 5004, 3312})
        if (HWND f = GetDlgItem(id)) ::InvalidateRect(f, nullptr, FALSE);
}

void CToolPanel::OnKeyCursor(int code) {
    if (!ViewActive() || !ToolPanelHost().toggleKeyCursorMode) return;
    const int keyboard = ToolPanelHost().toggleKeyCursorMode(code == 1);
    if (HWND b = GetDlgItem(3406)) {
        ::SetWindowTextA(b, keyboard ? "キー" : "マウス");
        Check(b, keyboard);
    }
}

void CToolPanel::OnTemporaryPoint(LPARAM button) {
    HWND b = GetDlgItem(3409);
    int on = 0;
    // Only a real click while a command runs switches the temporary point on.
    if (ViewActive() && IsAnyCmdRunning() && button != 0 && button != 1) on = !Checked(b);
    if (!on) CmdWaitState().tempPointFlag = 0;
    Check(b, on);
}

void CToolPanel::OnGrid(HWND button) {
    const ToolPanelLinks& host = ToolPanelHost();
    HWND b = button ? button : GetDlgItem(3516);
    if (host.resetGridOrigin) host.resetGridOrigin();
    bool shown = false, centre = false;
    if (!Checked(b) && ViewActive() && host.runGridDialog && host.runGridDialog() == 0) {
        centre = host.takeGridCenterRequest && host.takeGridCenterRequest();
        // The grid shows once its centre has been pointed at.
        shown = !centre;
        const int displayOnly = host.gridDisplayOnly ? host.gridDisplayOnly() : 0;
        if (b) {
            ::SetWindowLongA(b, 8, displayOnly ? 1 : 2);
            ::SetWindowTextA(b, displayOnly ? "ｸﾞﾘ/表" : "ｸﾞﾘ/検");
        }
    } else {
        if (host.takeGridCenterRequest) host.takeGridCenterRequest();
        if (b) ::SetWindowTextA(b, "グリッド");
    }
    if (host.setGridShown) host.setGridShown(shown);
    Check(b, shown);
    if (!ViewActive()) return;
    if (host.invalidateActiveViews) host.invalidateActiveViews();
    if (centre) PostFrame(1350);
}

void CToolPanel::OnCoordinateEntry(HWND button) {
    if (button) Check(button, 1);
    if (HostHooks().inputTemporaryPoint) HostHooks().inputTemporaryPoint();
    if (button && ::IsWindow(button)) Check(button, 0);
}

void CToolPanel::OnMidPoint(HWND button) {
    if (!button) {
        Check(GetDlgItem(3999), 0);
        return;
    }
    if (LocalIni().iSnap2TenkanMode == 1)
        Check(button, !Checked(button));
    else if (Checked(button))
        return;  // already on: nothing more
    else
        Check(button, 1);
    PostFrame(1332);
}

void CToolPanel::OnLayerChosen() {
    HWND field = GetDlgItem(3312);
    if (field && ViewActive() && HostHooks().activeDb && HostHooks().activeDb()) {
        const int page = (int)::SendMessageA(field, WM_USER + 4, 0, 0);
        const int layer = (int)::SendMessageA(field, WM_USER + 3, 0, 0);
        if (ToolPanelHost().setCurrentPageLayer && page >= 0 && layer >= 0)
            ToolPanelHost().setCurrentPageLayer(page, layer);
    }
    SendMessage(UM_TOOL_PANEL_RESYNC, 0, 1);
}

void CToolPanel::OnOverviewButton(HWND button) {
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, WM_COMMAND, 1230, 0);
    if (button)
        Check(button, ToolPanelHost().activeOverviewLevel && ToolPanelHost().activeOverviewLevel() != 0);
}

void CToolPanel::OnLineSettings() {
    AttrWords* w = EditedWords();
    if (!w) return;
    CLineSettingsDlg dlg;
    dlg.m_width = w->lineWidth;
    dlg.m_start = w->lineStart;
    dlg.m_end = w->lineEnd;
    HWND owner = HostHooks().activeView && HostHooks().activeView() ? ::GetActiveWindow() : CmdMainFrame();
    if (dlg.Run(owner) != IDOK) return;
    w->lineWidth = dlg.m_width;
    w->lineStart = dlg.m_start;
    w->lineEnd = dlg.m_end;
    SendMessage(UM_TOOL_PANEL_RESYNC, 0, 1);
}

void CToolPanel::OnOtherCommand(int id, int) {
    CloseRPMenu();
    switch (id) {
    case 1306:
    case 1307:
    case 1308: PostFrame(id); break;
    case 3002: PostFrame(4022); break;
    case 3517:
        Check(GetDlgItem(3516), 0);
        if (ToolPanelHost().setGridShown) ToolPanelHost().setGridShown(0);
        if (ViewActive()) {
            if (ToolPanelHost().invalidateActiveViews) ToolPanelHost().invalidateActiveViews();
            PostFrame(1350);
        }
        break;
    case 3518: UpdateToolPanelPaperActive(); break;
    case 3001:
        ShowWindow(SW_HIDE);
        if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, WM_SIZE, 0, 0);
        break;
    default: break;
    }
}
