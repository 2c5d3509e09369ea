#include "panels/panel_check_button.h"

#include "base/dbcs.h"

#include <cstdio>

#include "win/message_box.h"
#include "command/command_system.h"
#include "panels/button_faces.h"

CPanelCheckButton::CPanelCheckButton() = default;

HWND CPanelCheckButton::Create(HWND parent, const RECT& rect, int id, const char* text) {
    WindowClassArgs wc;
    wc.name = kPanelCheckButtonClass;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.windowExtra = 12;
    wc.background = (HBRUSH)(COLOR_WINDOW + 1);
    win::RegisterWindowClass(wc);
    CreateArgs a;
    a.className = kPanelCheckButtonClass;
    a.parent = parent;
    a.title = text ? text : "";
    a.style = WS_CHILD | WS_VISIBLE;
    a.id = (UINT)id;
    a.menu = (HMENU)(INT_PTR)id;
    a.SetRect(rect);
    return CWindowBase::Create(a);
}

int CPanelCheckButton::SetLocked(int flag) {
    const int old = m_locked;
    m_locked = flag ? 1 : 0;
    if (m_hWnd) Invalidate();
    return old;
}

int CPanelCheckButton::FontHeight(int h) {
    if (h <= 13) return h - 2;
    if (h <= 18) return 12;
    return 14;
}

LRESULT CPanelCheckButton::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::SetWindowLongA(m_hWnd, 0, 0);
    ::SetWindowLongA(m_hWnd, 4, 0);
    m_notifyMessage = WM_USER + 39;
    handled = FALSE;
    return 0;
}

void CPanelCheckButton::SetPressed(int s) {
    ::SetWindowLongA(m_hWnd, 0, s);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CPanelCheckButton::Click() {
    ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), (LPARAM)m_hWnd);
}

LRESULT CPanelCheckButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT r = GetClientRect();
    PaintParentBackground(m_hWnd, dc);
    if (State() != 0 || ::GetWindowLongA(m_hWnd, 4) != 0)
        PaintButtonFaceYellow(dc, r);
    else
        PaintButtonFaceNormal(dc, r);
    LOGFONTA lf = {};
    lf.lfHeight = FontHeight(r.bottom);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, m_faceName, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    char text[256] = {};
    int n = ::GetWindowTextA(m_hWnd, text, sizeof text);
    // The caption is measured as drawn: a face that the system replaces by
    // a wider one would otherwise be cut although it fits. A cut never
    // splits a double-byte character.
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text, n, &extent);
    if (extent.cx > r.right && n > r.right / avg) {
        n = (int)DbcsBoundary(text, (size_t)(r.right / avg));
        ::GetTextExtentPoint32A(dc, text, n, &extent);
    }
    ::SetBkMode(dc, TRANSPARENT);
    const bool grey = m_locked || !::IsWindowEnabled(m_hWnd);
    ::SetTextColor(dc, grey ? ::GetSysColor(COLOR_GRAYTEXT) : RGB(50, 50, 50));
    ::TextOutA(dc, (r.right - extent.cx) / 2 + 2, r.bottom / 2 - tm.tmHeight / 2, text, n);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    if (::GetFocus() == m_hWnd) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(127, 127, 127));
        HGDIOBJ op = ::SelectObject(dc, pen);
        HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, 5, 5, r.right - 5, r.bottom - 5);
        ::SelectObject(dc, ob);
        ::SelectObject(dc, op);
        ::DeleteObject(pen);
    }
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CPanelCheckButton::OnMouseMove(UINT, WPARAM, LPARAM l, BOOL&) {
    POINT pt = {(short)LOWORD(l), (short)HIWORD(l)};
    ::ClientToScreen(m_hWnd, &pt);
    const bool over = ::WindowFromPoint(pt) == m_hWnd;
    const int s = State();
    if (over) {
        if (s == 2) {
            SetPressed(1);
        } else if (s == 0 && ::GetCapture() != m_hWnd) {
            ::SetCapture(m_hWnd);
            ::SendMessageA(GetParent(), m_notifyMessage, GetDlgCtrlID(), 0);
        }
    } else {
        if (s == 1) {
            SetPressed(2);
        } else if (s == 0 && ::GetCapture() == m_hWnd) {
            ::ReleaseCapture();
            ::SendMessageA(GetParent(), m_notifyMessage, GetDlgCtrlID(), 1);
        }
    }
    return 0;
}

LRESULT CPanelCheckButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_locked) {
        char text[256] = {}, msg[320];
        ::GetWindowTextA(m_hWnd, text, sizeof text);
        snprintf(msg, sizeof msg, "[%s] は、ロックされています", text);
        ZavMessageBox(m_hWnd, msg, "基本操作", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    ::SetCapture(m_hWnd);
    SetPressed(1);
    return 0;
}

LRESULT CPanelCheckButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_locked) return 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    const int s = State();
    SetPressed(0);
    ::SendMessageA(GetParent(), m_notifyMessage, GetDlgCtrlID(), 1);
    if (s == 1) Click();
    return 0;
}

LRESULT CPanelCheckButton::OnKeyDown(UINT, WPARAM w, LPARAM, BOOL& handled) {
    if (w != VK_SPACE) {
        handled = FALSE;
        return 0;
    }
    if (!m_locked) SetPressed(1);
    return 0;
}

LRESULT CPanelCheckButton::OnKeyUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_locked || State() != 1) return 0;
    SetPressed(0);
    Click();
    return 0;
}

LRESULT CPanelCheckButton::OnFocus(UINT, WPARAM w, LPARAM, BOOL&) {
    if ((HWND)w == m_hWnd && State() != 0) ::SetWindowLongA(m_hWnd, 0, 0);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
    return 0;
}

LRESULT CPanelCheckButton::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    HWND f = CmdMainFrame();
    if (!m_locked && (!f || ::IsWindowEnabled(f))) ::SendMessageA(GetParent(), WM_RBUTTONDOWN, 0, 0);
    return 0;
}

LRESULT CPanelCheckButton::OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    ::SendMessageA(GetParent(), m_notifyMessage, GetDlgCtrlID(), 1);
    return 0;
}
