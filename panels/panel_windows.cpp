#include "panels/panel_windows.h"

#include "base/running_settings.h"
#include "command/command_ids.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/pbox.h"
#include "panels/rp_menu.h"

int ToolPanelNoViewSelection = 0;
int PanelFocusRedirect = 0;
HWND PanelInputWindow = nullptr;

namespace {
HWND g_toolPanel = nullptr;

// A visible child of `pane` filling its client area.
HWND CreateFilling(CWindowBase& w, HWND pane, const char* className, UINT id) {
    WindowClassArgs wc;
    wc.name = className;
    wc.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!win::RegisterWindowClass(wc)) return nullptr;
    CreateArgs a;
    a.className = className;
    a.parent = pane;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    a.id = id;
    RECT rc = {0, 0, 0, 0};
    if (pane) ::GetClientRect(pane, &rc);
    a.SetRect(rc);
    return w.Create(a);
}
}  // namespace

CToolPanel::~CToolPanel() { DestroyMembers(); }

void CToolPanel::DestroyMembers() {
    if (g_toolPanel && g_toolPanel == m_hWnd) g_toolPanel = nullptr;
}

HWND CToolPanel::Create(HWND pane) {
    if (!pane && m_pane) pane = m_pane->m_hWnd;
    return CreateFilling(*this, pane, "ZavToolPanel", 200);
}

LRESULT CToolPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    g_toolPanel = m_hWnd;
    handled = FALSE;
    return 0;
}

LRESULT CToolPanel::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    DestroyMembers();
    handled = FALSE;
    return 0;
}

LRESULT CToolPanel::OnResync(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT CToolPanel::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    switch (LOWORD(wParam)) {
    case ID_PANEL_KEY_CURSOR: m_keyCursor = !m_keyCursor; break;
    case ID_PANEL_MODE: m_modeFlag = !m_modeFlag; break;
    case ID_PANEL_GRID: m_gridOn = !m_gridOn; break;
    case ID_PANEL_MID_POINT: m_midPoint = !m_midPoint; break;
    case ID_PANEL_TEMPORARY_POINT:
        // The point entry dialog for the temporary point.
        if (HostHooks().inputTemporaryPoint) HostHooks().inputTemporaryPoint();
        break;
    default: break;  // the other panel commands wait for the panel's own controls
    }
    return 0;
}

HWND ToolPanelWindow() { return (g_toolPanel && ::IsWindow(g_toolPanel)) ? g_toolPanel : nullptr; }

void SyncSnapButtons(int lockFreePoint) {
    long& flags = Running().snapModeFlags;
    if (lockFreePoint) flags |= 0x08;
    if (flags & 0x01) flags = (flags & ~0x01L) | 0x60;
}

void RefreshToolPanel() {
    PostSettingsChangedEvent();
    if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, UM_TOOL_PANEL_RESYNC, 0, 0);
}

int PostSettingsChangedEvent() {
    // A pending event is never overwritten.
    if (CmdInput().event == 0) PostCmdEvent(CMD_EV_ATTR_CHANGED);
    return 1;
}

void UpdateToolPanelPaperActive() {}

int UpdateToolPanelDrawingInfo() {
    UpdateToolPanelPaperActive();
    return 1;
}

LRESULT ShowToolPanelCoordinates(const double* point) {
    HWND panel = ToolPanelWindow();
    return panel ? ::SendMessageA(panel, WM_APP, 0, reinterpret_cast<LPARAM>(point)) : 0;
}

int PickUpElementAttributes(const void*, int* takeLayer) {
    if (takeLayer) *takeLayer = 0;
    return 0;
}
