#include "setup/input_layer_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/monitor.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "panels/panel_windows.h"
#include "setup/layers.h"
#include "setup/setup_dialog_ids.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {
std::unique_ptr<CLayerSetCurrDlg> g_dialog;

RECT ChildRect(HWND dialog, int id) {
    RECT rc = {};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rc);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
}  // namespace

std::string InputLayerLine(int layer, const char* name) {
    char line[300];
    if (name && *name)
        std::snprintf(line, sizeof line, "%-4d %s", layer + 1, name);
    else
        std::snprintf(line, sizeof line, "%-4d レイヤ %d", layer + 1, layer + 1);
    return line;
}

std::string InputLayerCaption(int page, const char* title) {
    char text[300];
    if (title && *title)
        std::snprintf(text, sizeof text, "ﾍﾟｰｼﾞ:%s", title);
    else
        std::snprintf(text, sizeof text, "ﾍﾟｰｼﾞ:%d", page);
    return text;
}

CLayerSetCurrDlg::CLayerSetCurrDlg() : CDialogBase<CLayerSetCurrDlg>(IDD_INPUT_LAYER) {}

CLayerSetCurrDlg::~CLayerSetCurrDlg() {
    if (m_registered && win::GetMessageLoop()) {
        win::GetMessageLoop()->RemoveMessageFilter(this);
        win::GetMessageLoop()->RemoveIdleHandler(this);
    }
}

HWND CLayerSetCurrDlg::Create(HWND parent, LPARAM param) { return CDialog::Create(parent, param); }

BOOL CLayerSetCurrDlg::PreTranslateMessage(MSG* msg) { return m_hWnd && ::IsDialogMessageA(m_hWnd, msg); }

LRESULT CLayerSetCurrDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LAYER_DIALOG));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_listWindow = GetDlgItem(1136);
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    m_initialSize = {window.right - window.left, window.bottom - window.top};
    const RECT close = ChildRect(m_hWnd, IDCANCEL), list = ChildRect(m_hWnd, 1136), caption = ChildRect(m_hWnd, 1812);
    m_closeMargin = {client.right - close.left, client.bottom - close.top};
    m_listMargin = {client.right - list.right, client.bottom - list.bottom};
    m_captionRightMargin = client.right - caption.right;
    RefreshList();
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
        m_registered = true;
    }
    return TRUE;
}

LRESULT CLayerSetCurrDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    if (m_registered && win::GetMessageLoop()) {
        win::GetMessageLoop()->RemoveMessageFilter(this);
        win::GetMessageLoop()->RemoveIdleHandler(this);
    }
    m_registered = false;
    return 0;
}

void CLayerSetCurrDlg::RefreshList() {
    DbHeader* db = GetActiveViewDb();
    if (!db || !m_hWnd) return;
    const int page = db->pages.currentPage;
    DbInfo* info = DAriGetDbInfoPtr(page, db);
    if (!info) return;
    char title[257];
    std::memcpy(title, reinterpret_cast<const char*>(info) + kInfoTitle, 256);
    title[256] = '\0';
    SetItemText(1812, InputLayerCaption(page, title).c_str());
    unsigned char used[kLayerCount];
    if (HostHooks().collectUsedLayers)
        HostHooks().collectUsedLayers(0, used, page);
    else
        CollectUsedLayers(0, used, page);
    SendItemMessage(1136, LB_RESETCONTENT);
    int inputLine = -1;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const char* name = info->layers.names[layer];
        if (!name && !used[layer]) continue;
        const LRESULT line = SendItemMessage(1136, LB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(InputLayerLine(layer, name).c_str()));
        if (layer == info->layers.inputLayer) inputLine = static_cast<int>(line);
    }
    if (SendItemMessage(1136, LB_GETCOUNT) == 0) {
        SendItemMessage(1136, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(InputLayerLine(0, "").c_str()));
        inputLine = 0;
    }
    if (inputLine >= 0) SendItemMessage(1136, LB_SETCURSEL, inputLine);
}

LRESULT CLayerSetCurrDlg::OnListSelChange(WORD, WORD, HWND, BOOL&) {
    DbHeader* db = GetActiveViewDb();
    if (!db || !DAriGetDbInfoPtr(db->pages.currentPage, db)) return 0;
    const LRESULT sel = SendItemMessage(1136, LB_GETCURSEL);
    if (sel < 0) return 0;
    char line[300] = "";
    SendItemMessage(1136, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(line));
    line[4] = '\0';
    const int layer = std::atoi(line) - 1;
    if (layer >= 0 && HostHooks().setCurrentPageLayer) HostHooks().setCurrentPageLayer(db->pages.currentPage, layer);
    return 0;
}

LRESULT CLayerSetCurrDlg::OnClose(WORD, WORD, HWND, BOOL&) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    if (HWND panel = ToolPanelWindow()) {
        ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(200, 100), 0);
        ::SendMessageA(panel, WM_USER, 0, 0);
    }
    return 0;
}

LRESULT CLayerSetCurrDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (!m_listWindow) return 0;
    const int w = LOWORD(lParam), h = HIWORD(lParam);
    ::SetWindowPos(GetDlgItem(IDCANCEL), nullptr, w - m_closeMargin.x, h - m_closeMargin.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    const RECT list = ChildRect(m_hWnd, 1136);
    int height = h - m_listMargin.y - list.top;
    if (height < 100) height = 100;
    ::SetWindowPos(m_listWindow, nullptr, 0, 0, w - m_listMargin.x - list.left, height, SWP_NOMOVE | SWP_NOZORDER);
    const RECT caption = ChildRect(m_hWnd, 1812);
    ::SetWindowPos(GetDlgItem(1812), nullptr, 0, 0, w - m_captionRightMargin - caption.left,
                   caption.bottom - caption.top, SWP_NOMOVE | SWP_NOZORDER);
    ::InvalidateRect(GetDlgItem(1812), nullptr, TRUE);
    return 0;
}

LRESULT CLayerSetCurrDlg::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (m_initialSize.cx == 0) return 0;
    info->ptMinTrackSize = {m_initialSize.cx / 2, m_initialSize.cy / 2};
    RECT work;
    GetWindowMonitorRect(m_hWnd, &work);
    info->ptMaxTrackSize = {work.right - work.left, work.bottom - work.top};
    return 0;
}

void ShowInputLayerDialog(int code) {
    HWND view = GetActiveView();
    const bool usable = view && GetViewData(view);
    if (code == 2 || !usable) {
        if (g_dialog && g_dialog->m_hWnd) ::ShowWindow(g_dialog->m_hWnd, SW_HIDE);
        return;
    }
    if (code == 1) {
        if (g_dialog && g_dialog->m_hWnd) g_dialog->RefreshList();
        return;
    }
    ::ReleaseCapture();
    if (!g_dialog || !g_dialog->m_hWnd) {
        g_dialog.reset(new CLayerSetCurrDlg());
        if (!g_dialog->Create(CmdMainFrame())) {
            g_dialog.reset();
            ::SetLastError(ERROR_OUTOFMEMORY);
            return;
        }
    } else {
        g_dialog->RefreshList();
    }
    ::ShowWindow(g_dialog->m_hWnd, SW_SHOW);
}

HWND InputLayerDialogWindow() { return g_dialog ? g_dialog->m_hWnd : nullptr; }
