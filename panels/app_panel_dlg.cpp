#include "panels/app_panel_dlg.h"

#include "base/message_table.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "panels/panel_dialog_ids.h"

CAppPanelDlg::CAppPanelDlg() : CDialog(IDD_APP_PANEL_FORM, ::GetModuleHandleA(nullptr)) {}

CAppPanelDlg::~CAppPanelDlg() = default;

HWND CAppPanelDlg::CreateForm(HWND frame) {
    HINSTANCE exe = ::GetModuleHandleA(nullptr);
    if (::FindResourceA(exe, MAKEINTRESOURCEA(IDD_APP_PANEL_FORM), RT_DIALOG)) return Create(frame, 0);
    // The resource's twin: see IDD_APP_PANEL_FORM in the program's resources.
    static const std::vector<WORD> form =
        win::EmptyDialogTemplate(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 30, 239, 14, 16, "System");
    return CreateIndirect(frame, reinterpret_cast<const DLGTEMPLATE*>(form.data()), 0);
}

BOOL CAppPanelDlg::PreTranslateMessage(MSG* msg) {
    // Keys of the form's own edit fields stay with them: the dialog manager
    // would turn their Enter and Esc into commands the form swallows.
    (void)msg;
    return FALSE;
}

LRESULT CAppPanelDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    HICON big = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(247), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                    ::GetSystemMetrics(SM_CYICON), 0);
    HICON small = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(247), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                      ::GetSystemMetrics(SM_CYSMICON), 0);
    if (big) SendMessage(WM_SETICON, ICON_BIG, (LPARAM)big);
    if (small) SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)small);
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    return 1;
}

LRESULT CAppPanelDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelDlg::OnEraseBkgnd(UINT, WPARAM w, LPARAM, BOOL&) {
    RECT rc = GetClientRect();
    HBRUSH b = ::CreateSolidBrush(Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE));
    ::FillRect((HDC)w, &rc, b);
    ::DeleteObject(b);
    return 1;
}

LRESULT CAppPanelDlg::OnCommand(UINT, WPARAM w, LPARAM, BOOL&) {
    // Only the end command leaves the form; the items' own commands (1 and
    // 2 among them) are swallowed so that the form never closes itself.
    if (LOWORD(w) == kFormEndCommand)
        if (HWND f = CmdMainFrame()) ::SendMessageA(f, UM_END_CMD, 0, 0);
    return 0;
}

LRESULT CAppPanelDlg::OnRButtonDown(UINT, WPARAM, LPARAM l, BOOL&) {
    if (!::IsWindowEnabled(m_hWnd)) return 0;
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, kFormEndCommand, GetMessageText(5180));
    POINT pt = {(short)LOWORD(l), (short)HIWORD(l)};
    ::ClientToScreen(m_hWnd, &pt);
    ::TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
    return 0;
}

RECT CAppPanelDlg::DragStep(const RECT& prev, POINT cursor, int grabX, int grabY, const RECT& b) {
    RECT r = prev;
    const int w = prev.right - prev.left, h = prev.bottom - prev.top;
    r.left = cursor.x - grabX;
    r.top = cursor.y - grabY;
    r.right = r.left + w;
    r.bottom = r.top + h;
    if (r.right > b.right + 5 || r.left < b.left - 5 || r.top < b.top || r.bottom > b.bottom) return prev;
    return r;
}

void CAppPanelDlg::DrawDragFrame() {
    HDC dc = ::GetDC(nullptr);
    const RECT& f = m_frameRect;
    RECT bands[4] = {{f.left - 2, f.top - 2, f.right + 2, f.top - 1},
                     {f.left - 2, f.bottom + 1, f.right + 2, f.bottom + 2},
                     {f.left - 2, f.top, f.left - 1, f.bottom},
                     {f.right + 1, f.top, f.right + 2, f.bottom}};
    for (RECT& b : bands)
        ::InvertRect(dc, &b);
    ::ReleaseDC(nullptr, dc);
}

LRESULT CAppPanelDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    HWND frame = CmdMainFrame();
    if ((frame && !::IsWindowEnabled(frame)) || m_dragging) return 0;
    m_dragging = 1;
    ::SetCapture(m_hWnd);
    ::GetCursorPos(&m_cursor);
    ::GetWindowRect(m_hWnd, &m_frameRect);
    m_grabX = m_cursor.x - m_frameRect.left;
    m_grabY = m_cursor.y - m_frameRect.top;
    DrawDragFrame();
    return 0;
}

LRESULT CAppPanelDlg::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    if (!m_dragging) return 0;
    RECT bounds = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (HWND frame = CmdMainFrame()) ::GetWindowRect(frame, &bounds);
    ::GetCursorPos(&m_cursor);
    DrawDragFrame();
    m_frameRect = DragStep(m_frameRect, m_cursor, m_grabX, m_grabY, bounds);
    DrawDragFrame();
    return 0;
}

LRESULT CAppPanelDlg::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    HWND frame = CmdMainFrame();
    if (!m_dragging || (frame && !::IsWindowEnabled(frame))) return 0;
    m_dragging = 0;
    ::ReleaseCapture();
    DrawDragFrame();
    POINT corner = {m_frameRect.left, m_frameRect.top};
    if (frame) ::ScreenToClient(frame, &corner);
    ::SetWindowPos(m_hWnd, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (frame) ::SendMessageA(frame, WM_SIZE, 0, 0);
    return 0;
}
