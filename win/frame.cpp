#include "win/frame.h"

namespace win {

const char* DefaultFrameClass() {
    static const char kName[] = "ZavFrame";
    if (!IsWindowClassRegistered(kName)) {
        WindowClassArgs a;
        a.name = kName;
        a.style = CS_DBLCLKS;
        a.background = (HBRUSH)(COLOR_APPWORKSPACE + 1);
        RegisterWindowClass(a);
    }
    return kName;
}

}  // namespace win

HWND CFrameWindow::Create(const CreateArgs& args) {
    CreateArgs a = args;
    if (a.className == nullptr) a.className = win::DefaultFrameClass();
    return CWindowBase::Create(a);
}

BOOL CFrameWindow::LoadAccelerators(UINT id, HINSTANCE instance) {
    HACCEL acc = ::LoadAcceleratorsA(instance ? instance : win::ModuleInstance(), MAKEINTRESOURCEA(id));
    if (acc == nullptr) return FALSE;
    m_hAccel = acc;
    return TRUE;
}

BOOL CFrameWindow::TranslateAccelerators(MSG* pMsg) {
    if (m_hWnd == nullptr || m_hAccel == nullptr) return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    return ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg) != 0;
}

bool CFrameWindow::BarShown(HWND bar) const {
    if (bar == nullptr) return false;
    return m_layOutHidden ? (::GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE) != 0 : ::IsWindowVisible(bar) != 0;
}

RECT CFrameWindow::GetClientAreaForView() const {
    RECT rc = GetClientRect();
    if (BarShown(m_hWndToolBar)) {
        RECT tb;
        ::GetWindowRect(m_hWndToolBar, &tb);
        rc.top += tb.bottom - tb.top;
    }
    if (BarShown(m_hWndStatusBar)) {
        RECT sb;
        ::GetWindowRect(m_hWndStatusBar, &sb);
        rc.bottom -= sb.bottom - sb.top;
    }
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

void CFrameWindow::UpdateLayout(BOOL resizeBars) {
    if (resizeBars) {
        // Toolbars, rebars and status bars place themselves on WM_SIZE.
        if (BarShown(m_hWndToolBar)) ::SendMessageA(m_hWndToolBar, WM_SIZE, 0, 0);
        if (BarShown(m_hWndStatusBar))
            ::SendMessageA(m_hWndStatusBar, WM_SIZE, 0, 0);
    }
    if (m_hWndClient != nullptr) {
        RECT rc = GetClientAreaForView();
        ::SetWindowPos(m_hWndClient, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CFrameWindow::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != SIZE_MINIMIZED) UpdateLayout();
    handled = FALSE;
    return 0;
}

LRESULT CFrameWindow::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_hWndClient != nullptr && ::IsWindow(m_hWndClient))
        ::SetFocus(m_hWndClient);
    else
        handled = FALSE;
    return 0;
}
