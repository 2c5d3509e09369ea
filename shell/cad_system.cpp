// The application object and its small services.
#include "shell/cad_system.h"

#include <cstring>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "command/command_system.h"
#include "command/command_ids.h"
#include "view/status_bar.h"
#include "shell/host_messages_shell.h"
#include "shell/main_accelerator.h"
#include "shell/shell_seams.h"
#include "shell/ui_library.h"
#include "view/view_popups.h"
#include "view/view_data.h"
#include "view/view_table.h"

int LaunchMode = -1;
int KeyboardScrollMode = 0;
HWND AppPanelListPopup = nullptr;
HWND AppPanelFocusItem = nullptr;
HWND AppPanelEditField = nullptr;

// The windows live in the command system's one home for them.
HWND MainFrameWindow() { return CmdMainFrame(); }
HWND StatusBarWindow() { return CmdStatusBar(); }
HWND MdiClientWindow() { return CmdMdiClient(); }
void SetMainFrameWindow(HWND w) { SetCmdMainFrame(w); }
void SetStatusBarWindow(HWND w) { SetCmdStatusBar(w); }
void SetMdiClientWindow(HWND w) { SetCmdMdiClient(w); }

int LaunchKind() {
    if (LaunchMode == 99 || LaunchMode == 0) return 1;
    if (LaunchMode >= 1 && LaunchMode <= 5) return 2;
    if (LaunchMode == 10) return 3;
    return 0;
}

CCadSystem& GetCadSystem() {
    static CCadSystem system;
    return system;
}

CCadSystem::CCadSystem() {}

int IsCmdPanelLowRes() { return GetCadSystem().m_cmdPanelLowRes; }

// The colours come from the system settings as loaded (ConfigDataColor), so
// that a reload of the settings shows at once.
COLORREF GetPanelColor() { return GetCadSystem().m_ConfigData.SystemColor.COLOR_PANEL.color; }

int ButtonColorRow(int kind) {
    switch (kind) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 3;
    case 4: return 0;
    default: return 19;
    }
}

ButtonColors ButtonColorsOfRow(int row) {
    const ColorBtnAttrEx& a = GetCadSystem().m_ConfigData.SystemColor.COLOR_BTN_ATTR[row];
    return ButtonColors{a.text, a.bkgnd, a.disabled};
}

COLORREF GetButtonBackColor(int kind) { return ButtonColorsOfRow(ButtonColorRow(kind)).background; }
COLORREF GetButtonTextColor(int kind) { return ButtonColorsOfRow(ButtonColorRow(kind)).text; }
COLORREF GetButtonDisabledColor(int kind) { return ButtonColorsOfRow(ButtonColorRow(kind)).disabled; }

static void PaintColorButton(const DRAWITEMSTRUCT* item, const ButtonColors& c) {
    // The UI library paints the panels' buttons, so that all of them look
    // alike (focus frame included); without it they are painted here.
    if (UiDrawColorButton(item, c.background, c.text, c.disabled)) return;
    RECT rc = item->rcItem;
    HBRUSH br = CreateSolidBrush(c.background);
    FillRect(item->hDC, &rc, br);
    DeleteObject(br);
    UINT edge = (item->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED;
    DrawEdge(item->hDC, &rc, edge, BF_RECT);
    char text[256] = {};
    GetWindowTextA(item->hwndItem, text, sizeof text);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, (item->itemState & ODS_DISABLED) ? c.disabled : c.text);
    DrawTextA(item->hDC, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawColorButton(const DRAWITEMSTRUCT* item) { PaintColorButton(item, ButtonColorsOfRow(0)); }

void DrawColorButtonByKind(const DRAWITEMSTRUCT* item, int kind) {
    PaintColorButton(item, ButtonColorsOfRow(ButtonColorRow(kind)));
}

void CCadSystem::EnableCmdPanelTips(int on) {
    HWND panel = (HWND)SendMessageA(MainFrameWindow(), UM_GET_CMDPANEL, 0, 0);
    if (panel) SendMessageA(panel, WM_COMMAND, MAKEWPARAM(100, on), 0);
}

void CCadSystem::SetCurrentPageLayer(int page, int layer) {
    HWND view = GetActiveView();
    if (!view) return;
    // The drawing's own current page, and the layer new elements of that page
    // go to, so that the database agrees with what the panels show.
    ViewData* data = GetViewData(view);
    if (data && data->db) {
        data->db->pages.currentPage = page;
        if (DbInfo* info = DAriGetDbInfoPtr(page, data->db)) info->layers.inputLayer = layer;
    }
    m_currentPage = page;
    m_currentLayer = layer;
}

// --- Keys ---------------------------------------------------------------------------
int CCadSystem::PreTranslateKeys(HWND frame, MSG* msg, CMainAccelerator* accel) {
    if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR) return 0;
    if (msg->hwnd && (msg->hwnd == AppPanelListPopup || msg->hwnd == AppPanelFocusItem)) return -1;
    if (msg->hwnd && msg->hwnd == AppPanelEditField) return 0;
    // Whatever is typed into an edit box (of a pane, or of a dialog that is
    // not registered as modeless) is the box's own, digits included.
    if (msg->hwnd && (SendMessageA(msg->hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) return 0;
    // Number-entry keys are virtual keys: a character code would be taken
    // for an unrelated key ('.' is VK_DELETE).
    if (msg->message == WM_KEYDOWN && accel && HasStatusBarInput() &&
        accel->FireNumberKey(frame, msg, FVIRTKEY | ACCEL_NUM)) {
        TypeStatusChar(StatusBarWindow(), 0);
        return 1;
    }
    return msg->message == WM_KEYDOWN ? PreTranslateKeyDown(frame, msg) : PreTranslateChar(frame, msg);
}

int CCadSystem::PreTranslateKeyDown(HWND frame, MSG* msg) {
    if ((GetAsyncKeyState(VK_SHIFT) | GetAsyncKeyState(VK_CONTROL) | GetAsyncKeyState(VK_MENU)) & 0x8000) return 0;
    if (m_keyCursorMode || KeyboardScrollMode) {
        int cmd = 0;
        switch (msg->wParam) {
        case VK_LEFT: cmd = ID_PANEL_ARROW_LEFT; break;
        case VK_UP: cmd = ID_PANEL_ARROW_UP; break;
        case VK_RIGHT: cmd = ID_PANEL_ARROW_RIGHT; break;
        case VK_DOWN: cmd = ID_PANEL_ARROW_DOWN; break;
        }
        if (cmd) {
            SendMessageA(frame, WM_COMMAND, cmd, 0);
            return 1;
        }
    }
    if (msg->wParam == VK_DECIMAL || msg->wParam == VK_OEM_PERIOD) {
        MSG ch = *msg;
        ch.message = WM_CHAR;
        ch.wParam = '.';
        return PreTranslateChar(frame, &ch);
    }
    return 0;
}

int CCadSystem::PreTranslateChar(HWND, MSG* msg) {
    char c = (char)msg->wParam;
    if (c == '.') {
        if (!HasStatusBarInput()) return 0;
        TypeStatusChar(StatusBarWindow(), '.');
        return 1;
    }
    if ((c >= '0' && c <= '9') || c == '-') {
        TypeStatusChar(StatusBarWindow(), (unsigned char)c);
        return 1;
    }
    return 0;
}

int CCadSystem::TranslateAccel(HWND window, HACCEL accel, MSG* msg) {
    if (msg->hwnd && msg->hwnd == AppPanelEditField) return 0;
    return TranslateAcceleratorA(window, accel, msg);
}

// --- Window classes of the layer, layout-view and loupe windows -----------------------
int CCadSystem::RegisterViewClasses(HINSTANCE instance) { return RegisterViewPopupClasses(instance); }

void CCadSystem::UnregisterViewClasses(HINSTANCE instance) { UnregisterViewPopupClasses(instance); }
