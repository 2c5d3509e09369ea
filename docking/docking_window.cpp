#include "docking/docking_window.h"
#include <string>
#include "docking/docking_hooks.h"
#include "docking/docking_settings.h"
#include "docking/drag_tracker.h"

namespace zav {

const char* RegisterDockingClass(const char* name) {
    WindowClassArgs a;
    a.name = name;
    a.style = CS_DBLCLKS;
    a.background = nullptr;
    win::RegisterWindowClass(a);  // an already registered class is accepted
    return name;
}

const char* DockingWindowClass() {
    static const char* name = RegisterDockingClass("ZavDockWin");
    return name;
}

HWND CDockingWindowBaseImpl::CreatePane(HWND frame, const char* title, const RECT& rc, DWORD style, DWORD exStyle) {
    m_hDockingFrame = frame;
    CreateArgs a;
    a.className = DockingWindowClass();
    a.title = title;
    a.style = style;
    a.exStyle = exStyle;
    a.parent = frame;
    a.SetRect(rc);
    return Create(a);
}

bool CDockingWindowBaseImpl::GetPosition(DockPosition& out) const {
    if (!m_hBar) return false;
    out = DockPosition();
    out.hdr.window = m_hWnd;
    out.hdr.bar = m_hBar;
    out.hdr.code = DOCK_CODE_GET_POSITION;
    return SendDockRequest(m_hDockingFrame, &out) != 0;
}

bool CDockingWindowBaseImpl::Undock() {
    m_lastPos.hdr.bar = m_hBar;
    if (!m_hBar) return false;
    DockPosition pos;
    if (GetPosition(pos)) m_lastPos = pos;
    m_lastPos.hdr.bar = m_hBar;
    DockRequestHeader h = {m_hWnd, m_hBar, DOCK_CODE_UNDOCK};
    return SendDockRequest(m_hBar, &h) != 0;
}

bool CDockingWindowBaseImpl::Dock(DockRect& request) {
    request.hdr.window = m_hWnd;
    request.hdr.code = DOCK_CODE_DOCK;
    return SendDockRequest(request.hdr.bar, &request) != 0;
}

bool CDockingWindowBaseImpl::Hide() {
    if (m_hBar) {
        HWND bar = m_hBar;
        DockPosition pos;
        if (!GetPosition(pos)) return false;
        m_lastPos = pos;
        m_lastPos.hdr.bar = bar;
        DockRequestHeader h = {m_hWnd, bar, DOCK_CODE_UNDOCK};
        SendDockRequest(bar, &h);
        ::SetWindowPos(m_hWnd, nullptr, m_rcFloat.left, m_rcFloat.top, m_rcFloat.right - m_rcFloat.left,
                       m_rcFloat.bottom - m_rcFloat.top, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    } else {
        m_lastPos.hdr.bar = nullptr;
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    return true;
}

bool CDockingWindowBaseImpl::Show() {
    if (m_lastPos.hdr.bar) {
        if (m_hBar) Undock();
        DockPosition pos = m_lastPos;
        pos.hdr.window = m_hWnd;
        pos.hdr.bar = m_hDockingFrame;
        pos.hdr.code = DOCK_CODE_SET_POSITION;
        return SendDockRequest(m_hDockingFrame, &pos) != 0;
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

bool CDockingWindowBaseImpl::IsPinned() const {
    if (!m_hBar) return false;
    DockRequestHeader h = {m_hWnd, m_hBar, DOCK_CODE_QUERY_PINNED};
    return SendDockRequest(m_hDockingFrame, &h) != 0;
}

bool CDockingWindowBaseImpl::IsVisible() const { return IsPinned() || (GetStyle() & WS_VISIBLE) != 0; }

void CDockingWindowBaseImpl::ToggleVisible() {
    if (IsVisible()) {
        Hide();
        if (HWND p = ::GetParent(m_hWnd)) ::SetFocus(p);
    } else {
        Show();
    }
}

bool CDockingWindowBaseImpl::PinUpAtCurrentSide() {
    DockPosition pos;
    if (!m_hBar || !GetPosition(pos)) return false;
    if (!Undock()) return false;
    DockPinRequest pin = {};
    pin.hdr.window = m_hWnd;
    pin.hdr.bar = m_hBar;
    pin.hdr.code = DOCK_CODE_PIN_UP;
    pin.side = pos.side;
    pin.thickness = pos.thickness;
    pin.show = 1;
    pin.count = 0;
    return SendDockRequest(m_hDockingFrame, &pin) != 0;
}

bool CDockingWindowBaseImpl::GetDockingWindowPlacement(DockWindowPlacement& out) {
    out.docked = m_hBar ? 1 : 0;
    if (m_hBar) {
        out.floatRect = m_rcFloat;
        return GetPosition(out.position);
    }
    if (GetStyle() & WS_VISIBLE)
        ::GetWindowRect(m_hWnd, &out.floatRect);
    else
        out.floatRect = m_rcFloat;
    return true;
}

bool CDockingWindowBaseImpl::SetDockingWindowPlacement(DockWindowPlacement& p) {
    p.position.hdr.window = m_hWnd;
    m_lastPos = p.position;
    if (p.visible) return DockAtPosition(p);
    if (m_hBar) Undock();
    m_lastPos = p.position;  // undocking rewrote it with where the window was
    m_rcFloat = p.floatRect;
    ::SetWindowPos(m_hWnd, nullptr, m_rcFloat.left, m_rcFloat.top, m_rcFloat.right - m_rcFloat.left,
                   m_rcFloat.bottom - m_rcFloat.top, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    return true;
}

bool CDockingWindowBaseImpl::DockAtPosition(DockWindowPlacement& p) {
    if (m_hBar) Undock();
    if (p.docked) {
        DockPosition pos = p.position;
        pos.hdr.window = m_hWnd;
        pos.hdr.bar = m_hDockingFrame;
        pos.hdr.code = DOCK_CODE_SET_POSITION;
        m_rcFloat = p.floatRect;
        return SendDockRequest(m_hDockingFrame, &pos) != 0;
    }
    const RECT& r = p.floatRect;
    return ::SetWindowPos(m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                          SWP_SHOWWINDOW | SWP_NOACTIVATE) != 0;
}

// The platform's drag detection, in screen coordinates throughout: the mouse
// leaving the drag square around `pt` starts a drag, a button release does not.
static bool DetectDrag(HWND hwnd, POINT pt) {
    const int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
    RECT square = {pt.x - cx, pt.y - cy, pt.x + cx + 1, pt.y + cy + 1};
    ::SetCapture(hwnd);
    MSG msg;
    for (;;) {
        while (::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP) {
                ::ReleaseCapture();
                return false;
            }
            if (msg.message == WM_MOUSEMOVE) {
                POINT p = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                ::ClientToScreen(msg.hwnd, &p);
                if (!::PtInRect(&square, p)) {
                    ::ReleaseCapture();
                    return true;
                }
            }
        }
        if (::GetCapture() != hwnd) return false;
        ::WaitMessage();
    }
}

// ---------------------------------------------------------------- titled window

CTitleDockingWindowBaseImpl::CTitleDockingWindowBaseImpl() : m_caption(1) { m_caption.UpdateMetrics(); }

LRESULT CTitleDockingWindowImpl::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    Hide();
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnNcLButtonDblClk(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != HTCAPTION) {
        handled = FALSE;
        return 0;
    }
    if (m_hBar) {
        if (!::IsRectEmpty(&m_rcFloat)) {
            Undock();
            ::SetWindowPos(m_hWnd, nullptr, m_rcFloat.left, m_rcFloat.top, m_rcFloat.right - m_rcFloat.left,
                           m_rcFloat.bottom - m_rcFloat.top, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        }
    } else if (m_lastPos.hdr.bar) {
        DockPosition pos = m_lastPos;
        pos.hdr.window = m_hWnd;
        pos.hdr.bar = m_hDockingFrame;
        pos.hdr.code = DOCK_CODE_SET_POSITION;
        SendDockRequest(m_hDockingFrame, &pos);
    }
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnSetTextOrIcon(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!m_hBar) {
        handled = FALSE;
        return 0;
    }
    // Without WS_CAPTION for the moment, so that the platform draws no caption of its own.
    const DWORD style = GetStyle();
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~WS_CAPTION);
    LRESULT r = DefWindowProc(msg, wParam, lParam);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return r;
}

LRESULT CTitleDockingWindowImpl::OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_hBar) handled = FALSE;
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (!m_hBar) {
        handled = FALSE;
        return 0;
    }
    RECT* r = reinterpret_cast<RECT*>(lParam);  // first rectangle of either form
    if (GetStyle() & WS_CAPTION) {
        RECT wr = {0, 0, r->right - r->left, r->bottom - r->top};
        m_caption.CalcLayout(wr);
        r->top += wr.top;
        if (r->top > r->bottom) r->top = r->bottom;
    } else {
        m_caption.SetEmpty();
    }
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (!m_hBar) {
        handled = FALSE;
        return 0;
    }
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    POINT pt = {static_cast<short>(LOWORD(lParam)) - wr.left, static_cast<short>(HIWORD(lParam)) - wr.top};
    LRESULT hit = m_caption.HitTest(pt);
    return hit == HTNOWHERE ? HTCLIENT : hit;
}

LRESULT CTitleDockingWindowImpl::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_hBar) {
        handled = FALSE;
        return 0;
    }
    HDC dc = ::GetWindowDC(m_hWnd);
    std::string text = GetWindowText();
    m_caption.Draw(dc, text.c_str());
    ::ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnNcActivate(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_hBar || !::IsWindowEnabled(m_hWnd)) {
        handled = FALSE;
        return 0;
    }
    return 1;
}

LRESULT CTitleDockingWindowImpl::OnNcMouseMove(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (!m_hBar) {
        handled = FALSE;
        return 0;
    }
    if (wParam == HTOBJECT) {
        m_caption.OnNcMouseMove(m_hWnd, wParam);
    } else if (m_caption.Pin().Hot() && !m_caption.Pin().Pressed()) {
        m_caption.Pin().state &= ~CVirtualButton::kHot;
        ::KillTimer(m_hWnd, reinterpret_cast<UINT_PTR>(&m_caption.Pin()));
        COutlookLikeExCaption::RedrawNc(m_hWnd);
    }
    handled = FALSE;
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnNcLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (m_hBar && wParam == HTOBJECT) {
        if (m_caption.PressPin(m_hWnd)) PinUpAtCurrentSide();
        return 0;
    }
    if (wParam != HTCAPTION) {
        handled = FALSE;
        return 0;
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (DetectDrag(m_hWnd, pt)) DragWindow(pt);
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (!m_caption.OnTimer(m_hWnd, wParam)) handled = FALSE;
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnSettingChange(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (!m_hBar) {
        CDockingSettings::Instance().Update();
        struct Pass {
            UINT msg;
            WPARAM w;
            LPARAM l;
            static BOOL CALLBACK Each(HWND h, LPARAM p) {
                const Pass* s = reinterpret_cast<const Pass*>(p);
                ::SendMessageA(h, s->msg, s->w, s->l);
                return TRUE;
            }
        } pass = {msg, wParam, lParam};
        ::EnumChildWindows(m_hWnd, &Pass::Each, reinterpret_cast<LPARAM>(&pass));
    }
    m_caption.UpdateMetrics();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    DefWindowProc(msg, wParam, lParam);
    MINMAXINFO* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
    if (mmi->ptMinTrackSize.x < m_caption.Height()) mmi->ptMinTrackSize.x = m_caption.Height();
    if (mmi->ptMinTrackSize.y < m_caption.Height()) mmi->ptMinTrackSize.y = m_caption.Height();
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    const WINDOWPOS* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (!m_hBar && (GetStyle() & WS_VISIBLE) &&
        ((wp->flags & SWP_SHOWWINDOW) || (wp->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)))
        ::GetWindowRect(m_hWnd, &m_rcFloat);
    return 0;
}

LRESULT CTitleDockingWindowImpl::OnDockStateChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_hBar = LOWORD(wParam) ? reinterpret_cast<HWND>(lParam) : nullptr;
    return 1;
}

// Rendering into any device context: the caption, then the client through WM_PRINTCLIENT.
LRESULT CTitleDockingWindowImpl::OnPrint(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!m_hBar) {
        handled = FALSE;
        return 0;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (lParam & PRF_NONCLIENT) {
        std::string text = GetWindowText();
        m_caption.Draw(dc, text.c_str());
    }
    if (lParam & PRF_CLIENT) {
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        POINT origin = {0, 0};
        ::ClientToScreen(m_hWnd, &origin);
        POINT old;
        ::OffsetViewportOrgEx(dc, origin.x - wr.left, origin.y - wr.top, &old);
        ::SendMessageA(m_hWnd, WM_PRINTCLIENT, wParam, lParam);
        ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    return 0;
}

// ---------------------------------------------------------------- caption drag

void CTitleDockingWindowImpl::DragWindow(POINT start) {
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    if (::IsRectEmpty(&m_rcFloat)) {
        DockRect lim = {};
        lim.hdr = {m_hWnd, m_hBar, DOCK_CODE_ADJUST_DRAG_RECT};
        lim.rect = wr;
        SendDockRequest(m_hDockingFrame, &lim);
        m_rcFloat = lim.rect;
    }
    const int fw = m_rcFloat.right - m_rcFloat.left, fh = m_rcFloat.bottom - m_rcFloat.top;
    const int ww = wr.right - wr.left > 0 ? wr.right - wr.left : 1;
    const int wh = wr.bottom - wr.top > 0 ? wr.bottom - wr.top : 1;
    const int dx = ::MulDiv(fw, start.x - wr.left, ww), dy = ::MulDiv(fh, start.y - wr.top, wh);
    RECT outline = {start.x - dx, start.y - dy, start.x - dx + fw, start.y - dy + fh};
    InvertScreenFrame(outline, 3);

    DockRect req = {};
    bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    bool cancelled = false, moved = false;
    POINT cur = start;
    auto update = [&]() {
        InvertScreenFrame(outline, 3);
        req = DockRect();
        req.hdr = {m_hWnd, m_hBar, DOCK_CODE_ADJUST_DRAG_RECT};
        req.rect = {cur.x, cur.y, cur.x + fw, cur.y + fh};
        SendDockRequest(m_hDockingFrame, &req);
        req.hdr.bar = nullptr;
        bool accepted = false;
        if (!ctrl) {
            req.hdr.code = DOCK_CODE_ACCEPT;
            accepted = SendDockRequest(m_hDockingFrame, &req) != 0 && req.hdr.bar;
        }
        if (accepted) {
            outline = req.rect;
        } else {
            req.hdr.bar = nullptr;
            outline = {cur.x - dx, cur.y - dy, cur.x - dx + fw, cur.y - dy + fh};
            if (DockFloatingMode()) {
                const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
                if (outline.right > sw) ::OffsetRect(&outline, sw - outline.right, 0);
                if (outline.bottom > sh) ::OffsetRect(&outline, 0, sh - outline.bottom);
                if (outline.left < 0) ::OffsetRect(&outline, -outline.left, 0);
                if (outline.top < 0) ::OffsetRect(&outline, 0, -outline.top);
            }
        }
        InvertScreenFrame(outline, 3);
    };

    ::SetCapture(m_hWnd);
    MSG msg;
    bool done = false;
    while (!done && ::GetCapture() == m_hWnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            cancelled = true;
            break;
        }
        if (got < 0) break;
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            POINT p = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            ::ClientToScreen(msg.hwnd, &p);
            cur = p;
            ctrl = (msg.wParam & MK_CONTROL) != 0;
            if (cur.x != start.x || cur.y != start.y) moved = true;
            update();
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.wParam == VK_CONTROL) {
                const bool now = msg.message == WM_KEYDOWN;
                if (now != ctrl) {
                    ctrl = now;
                    update();
                }
            } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                cancelled = done = true;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: cancelled = done = true; break;
        case WM_SYSKEYDOWN:
            cancelled = done = true;
            ::DispatchMessageA(&msg);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: done = true; break;
        case WM_CHAR:
        case WM_SYSCHAR: break;
        default: ::DispatchMessageA(&msg); break;
        }
    }
    if (!done && !cancelled) cancelled = true;  // the capture was taken away
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    InvertScreenFrame(outline, 3);
    if (cancelled || !(req.hdr.bar || moved)) return;
    if (m_hBar) Undock();
    if (req.hdr.bar) {
        Dock(req);
    } else {
        ::SetWindowPos(m_hWnd, nullptr, outline.left, outline.top, outline.right - outline.left,
                       outline.bottom - outline.top, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOZORDER);
    }
}

}  // namespace zav
