#include "docking/dock_bar.h"
#include "docking/docking_settings.h"
#include "docking/docking_window.h"
#include "docking/drag_tracker.h"

namespace zav {

namespace {

const char* BarClass() {
    static const char* name = RegisterDockingClass("ZavDockBar");
    return name;
}

}  // namespace

void AttachDockedWindow(HWND w, HWND holder, WORD orientation) {
    ::ShowWindow(w, SW_HIDE);
    LONG_PTR style = ::GetWindowLongPtrA(w, GWL_STYLE);
    ::SetWindowLongPtrA(w, GWL_STYLE, (style & ~(WS_POPUP | WS_CHILD)) | WS_CHILD);
    ::SetParent(w, holder);
    ::SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
    ::SendMessageA(w, UM_DOCK_STATE_CHANGED, MAKELONG(1, orientation), reinterpret_cast<LPARAM>(holder));
}

void ReleaseDockedWindow(HWND w, DWORD popupStyle) {
    ::ShowWindow(w, SW_HIDE);
    HWND frame = ::GetAncestor(w, GA_ROOT);
    LONG_PTR style = ::GetWindowLongPtrA(w, GWL_STYLE);
    ::SetWindowLongPtrA(w, GWL_STYLE, (style & ~(WS_POPUP | WS_CHILD)) | popupStyle);
    ::SetParent(w, nullptr);
    // Kept owned by the frame so that a floating pane stays above it.
    if (frame && frame != w) ::SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(frame));
    ::SendMessageA(w, UM_DOCK_STATE_CHANGED, 0, 0);
}

CPackageWindowT* CPackageWindowT::CreateBar(HWND frame, bool horizontal) {
    CPackageWindowT* bar = new CPackageWindowT(horizontal);
    CreateArgs a;
    a.className = BarClass();
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    a.parent = frame;
    a.x = a.y = a.cx = a.cy = 0;
    if (!bar->Create(a)) {
        delete bar;
        return nullptr;
    }
    return bar;
}

LRESULT CPackageWindowImpl::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != SIZE_MINIMIZED) {
        RECT rc = GetClientRect();
        m_pkg.SetRect(rc);
    }
    handled = FALSE;
    return 0;
}

LRESULT CPackageWindowImpl::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    m_pkg.PaintSplitters(dc);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CPackageWindowImpl::OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT) {
        DWORD mp = ::GetMessagePos();
        POINT pt = {static_cast<short>(LOWORD(mp)), static_cast<short>(HIWORD(mp))};
        ::ScreenToClient(m_hWnd, &pt);
        if (m_pkg.HitSplitter(pt) >= 0) {
            ::SetCursor(m_pkg.Splitter().Cursor());
            return TRUE;
        }
    }
    handled = FALSE;
    return 0;
}

LRESULT CPackageWindowImpl::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    DefWindowProc(msg, wParam, lParam);
    MINMAXINFO* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
    MINMAXINFO own = {};
    m_pkg.QueryMinTrackSize(&own);
    mmi->ptMinTrackSize = own.ptMinTrackSize;
    mmi->ptMaxTrackSize.x = mmi->ptMaxTrackSize.y = 0;
    return 0;
}

LRESULT CPackageWindowImpl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int i = m_pkg.HitSplitter(pt);
    if (i < 0) {
        handled = FALSE;
        return 0;
    }
    DragPackageSplitter(m_pkg, static_cast<size_t>(i), pt, m_hWnd);
    return 0;
}

LRESULT CPackageWindowImpl::OnDockingRequest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    DockRequestHeader* h = reinterpret_cast<DockRequestHeader*>(lParam);
    if (!h) return 0;
    switch (h->code) {
    case DOCK_CODE_ACCEPT: return Accept(*reinterpret_cast<DockRect*>(h));
    case DOCK_CODE_DOCK: return DockAt(*reinterpret_cast<DockRect*>(h));
    case DOCK_CODE_UNDOCK: return Undock(h->window);
    case DOCK_CODE_GET_POSITION: return GetPosition(*reinterpret_cast<DockPosition*>(h));
    case DOCK_CODE_SET_POSITION: return SetPosition(*reinterpret_cast<DockPosition*>(h));
    case DOCK_CODE_MIN_DISTANCE: {
        MINMAXINFO mmi = WindowMinMax(h->window);
        return m_pkg.IsHorizontal() ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
    }
    default: return 0;
    }
}

bool CPackageWindowImpl::Accept(DockRect& r) {
    if (m_pkg.Count() == 1 && m_pkg.Frame(0)->WindowHandle() == r.hdr.window) {
        r.hdr.bar = nullptr;
        return false;
    }
    MINMAXINFO mmi = WindowMinMax(r.hdr.window);
    RECT rc = GetClientRect();
    POINT pt = {r.rect.left, r.rect.top};
    ::ScreenToClient(m_hWnd, &pt);
    const int along = m_pkg.IsHorizontal() ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
    const bool fits = ::PtInRect(&rc, pt) && rc.right - rc.left >= mmi.ptMinTrackSize.x &&
                      rc.bottom - rc.top >= mmi.ptMinTrackSize.y && along + m_pkg.MinTotal() < m_pkg.Length();
    if (!fits) {
        r.hdr.bar = nullptr;
        return false;
    }
    RECT out = r.rect;
    RectScreenToClient(m_hWnd, out);
    if (m_pkg.IsHorizontal()) {
        out.top = rc.top;
        out.bottom = rc.bottom;
    } else {
        out.left = rc.left;
        out.right = rc.right;
    }
    RectClientToScreen(m_hWnd, out);
    r.rect = out;
    r.hdr.bar = m_hWnd;
    return true;
}

void CPackageWindowImpl::TakeWindow(HWND w) { AttachDockedWindow(w, m_hWnd, m_pkg.IsHorizontal() ? 1 : 0); }

void CPackageWindowImpl::ShowDocked(HWND w) {
    ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

bool CPackageWindowImpl::DockAt(DockRect& r) {
    HWND w = r.hdr.window;
    TakeWindow(w);
    RECT out = r.rect;
    RectScreenToClient(m_hWnd, out);
    const int s = m_pkg.Near(out);
    size_t at = m_pkg.Count();
    for (size_t i = 0; i < m_pkg.Count(); ++i) {
        const int p = m_pkg.Position(i), e = m_pkg.SpanEnd(i);
        if (s >= p && s < e) {
            at = s > p + (e - p) / 3 ? i + 1 : i;
            break;
        }
        if (s < p) {
            at = i;
            break;
        }
    }
    m_pkg.Insert(at, new CWndFrame(w, m_pkg.IsHorizontal()), s, m_pkg.Far(out) - s);
    m_pkg.Arrange();
    ShowDocked(w);
    return true;
}

bool CPackageWindowImpl::Undock(HWND w) {
    int i = m_pkg.FindWindow(w);
    if (i < 0) return false;
    m_pkg.Remove(static_cast<size_t>(i));
    m_pkg.Arrange();
    ReleaseDockedWindow(w);
    DropIfEmpty();
    return true;
}

void CPackageWindowImpl::DropIfEmpty() {
    if (m_pkg.Count() != 0) return;
    DockRequestHeader h = {m_hWnd, nullptr, DOCK_CODE_UNDOCK};
    SendDockRequest(::GetParent(m_hWnd), &h);
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

LRESULT CPackageWindowImpl::OnParentNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (LOWORD(wParam) != WM_DESTROY || m_destroying) return 0;
    const int i = m_pkg.FindWindow(reinterpret_cast<HWND>(lParam));
    if (i < 0) return 0;
    m_pkg.Remove(static_cast<size_t>(i));
    m_pkg.Arrange();
    DropIfEmpty();
    return 0;
}

bool CPackageWindowImpl::GetPosition(DockPosition& p) {
    int i = m_pkg.FindWindow(p.hdr.window);
    if (i < 0) return false;
    const int len = m_pkg.Length();
    p.fraction = len > 0 ? static_cast<float>(m_pkg.Position(i) - m_pkg.Start()) / static_cast<float>(len) : 0.0f;
    p.length = m_pkg.SpanEnd(i) - m_pkg.Position(i) - DOCK_SPLITTER;
    if (m_pkg.Count() == 1) p.side |= DOCK_FLAG_SINGLE;
    return true;
}

bool CPackageWindowImpl::SetPosition(DockPosition& p) {
    HWND w = p.hdr.window;
    TakeWindow(w);
    const int wanted = static_cast<int>(m_pkg.Start() + static_cast<double>(m_pkg.Length()) * p.fraction);
    size_t at = 0;
    while (at < m_pkg.Count() && m_pkg.Position(at) < wanted)
        ++at;
    m_pkg.Insert(at, new CWndFrame(w, m_pkg.IsHorizontal()), wanted, p.length);
    m_pkg.Arrange();
    ShowDocked(w);
    return true;
}

// ---------------------------------------------------------------- frame entry

bool CPackageWindowFrame::AcceptDrop(DockRect* r) {
    HWND frame = ::GetParent(m_bar);
    RectClientToScreen(frame, r->rect);
    bool ok = SendDockRequest(m_bar, r) != 0;
    RectScreenToClient(frame, r->rect);
    return ok;
}

int CPackageWindowFrame::MinExtent() {
    MINMAXINFO mmi = WindowMinMax(m_bar);
    return m_outerHorizontal ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
}

void CPackageWindowFrame::QueryMinTrackSize(MINMAXINFO* mmi) { *mmi = WindowMinMax(m_bar); }

}  // namespace zav
