#include "docking/docking_frame.h"
#include "docking/dock_bar.h"
#include "docking/docking_hooks.h"
#include "docking/docking_settings.h"
#include "docking/drag_tracker.h"

namespace zav {

HWND CMDIDockingFrameImpl::CreateFrame(CreateArgs args) {
    if (args.style == CreateArgs().style) args.style = kDefaultStyle;
    if (args.exStyle == 0) args.exStyle = kDefaultExStyle;
    return Create(args);
}

void CDockingFrameImplBase::InitializeDockingFrame() {
    CDockingSettings& s = CDockingSettings::Instance();
    s.flags = 0;
    m_autoHide.CreateIn(m_hWnd);
    s.Update();
    m_autoHide.MeasureThickness();
    UpdateLayout(FALSE);
    m_tb.InsertCentre(new CFrameWrapper(&m_lr), m_tb.Start(), m_tb.Length());
    m_tb.Arrange();
    m_lr.InsertCentre(new CWindowPtrWrapper(&m_hWndMDIClient), m_lr.Start(), m_lr.Length());
    m_lr.Arrange();
}

void CDockingFrameImplBase::UpdateLayout(BOOL resizeBars) {
    if (!m_hWnd) return;
    if (resizeBars) {
        if (BarShown(m_hWndToolBar)) ::SendMessageA(m_hWndToolBar, WM_SIZE, 0, 0);
        if (BarShown(m_hWndStatusBar)) ::SendMessageA(m_hWndStatusBar, WM_SIZE, 0, 0);
    }
    RECT rc = GetClientAreaForView();
    if (m_autoHide.m_hWnd) m_autoHide.LayoutStrips(rc);
    m_tb.SetRect(rc);
    // The client may have been created since the last layout with the same rectangle.
    m_tb.Arrange();
    m_lr.Arrange();
    HDC dc = ::GetDC(m_hWnd);
    PaintDocking(dc);
    ::ReleaseDC(m_hWnd, dc);
}

void CDockingFrameImplBase::PaintDocking(HDC dc) {
    m_tb.PaintSplitters(dc);
    m_lr.PaintSplitters(dc);
    m_autoHide.PaintStrips(dc);
}

void CDockingFrameImplBase::RedrawFrame() {
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | (m_hWndMDIClient ? 0 : RDW_ERASE));
}

LRESULT CDockingFrameImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    InitializeDockingFrame();
    handled = FALSE;
    return 0;
}

LRESULT CDockingFrameImplBase::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    PaintDocking(dc);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CDockingFrameImplBase::OnSettingChange(UINT, WPARAM, LPARAM, BOOL&) {
    CDockingSettings::Instance().Update();
    m_autoHide.MeasureThickness();
    return 0;
}

CWndFramesPackageBase* CDockingFrameImplBase::SplitterAt(POINT pt, int* index) {
    const RECT lr = m_lr.Rect();
    CWndFramesPackageBase* pkg = ::PtInRect(&lr, pt) ? &m_lr : &m_tb;
    *index = pkg->HitSplitter(pt);
    return *index >= 0 ? pkg : nullptr;
}

LRESULT CDockingFrameImplBase::OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT && !DockLayoutLocked()) {
        DWORD mp = ::GetMessagePos();
        POINT pt = {static_cast<short>(LOWORD(mp)), static_cast<short>(HIWORD(mp))};
        ::ScreenToClient(m_hWnd, &pt);
        int i;
        if (CWndFramesPackageBase* pkg = SplitterAt(pt, &i)) {
            ::SetCursor(pkg->Splitter().Cursor());
            return TRUE;
        }
    }
    handled = FALSE;
    return 0;
}

LRESULT CDockingFrameImplBase::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    DefWindowProc(msg, wParam, lParam);
    MINMAXINFO* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
    MINMAXINFO own = {};
    m_tb.QueryMinTrackSize(&own);
    LONG cx = own.ptMinTrackSize.x, cy = own.ptMinTrackSize.y;
    RECT wr, pr = m_tb.Rect();
    ::GetWindowRect(m_hWnd, &wr);
    RectClientToScreen(m_hWnd, pr);
    RECT both;
    if (::IntersectRect(&both, &pr, &wr) && ::EqualRect(&both, &pr)) {
        cx += (wr.right - wr.left) - (pr.right - pr.left);
        cy += (wr.bottom - wr.top) - (pr.bottom - pr.top);
    }
    cx += m_autoHide.StripTaken(DOCK_SIDE_LEFT) + m_autoHide.StripTaken(DOCK_SIDE_RIGHT);
    cy += m_autoHide.StripTaken(DOCK_SIDE_TOP) + m_autoHide.StripTaken(DOCK_SIDE_BOTTOM);
    mmi->ptMinTrackSize.x = cx;
    mmi->ptMinTrackSize.y = cy;
    return 0;
}

LRESULT CDockingFrameImplBase::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (wParam == 0 && ::GetActiveWindow()) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (m_autoHide.TrackHover(pt)) return 0;
    }
    handled = FALSE;
    return 0;
}

LRESULT CDockingFrameImplBase::OnMouseHover(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (wParam & (MK_CONTROL | MK_SHIFT)) {
        handled = FALSE;
        return 0;
    }
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    m_autoHide.OnHover(pt);
    return 0;
}

LRESULT CDockingFrameImplBase::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (DockLayoutLocked()) return 0;
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int i;
    CWndFramesPackageBase* pkg = SplitterAt(pt, &i);
    if (!pkg) {
        handled = FALSE;
        return 0;
    }
    DragPackageSplitter(*pkg, static_cast<size_t>(i), pt, m_hWnd);
    RedrawFrame();
    return 0;
}

LRESULT CDockingFrameImplBase::OnDockingRequest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    DockRequestHeader* h = reinterpret_cast<DockRequestHeader*>(lParam);
    if (!h) return 0;
    switch (h->code) {
    case DOCK_CODE_ACCEPT: {
        DockRect& r = *reinterpret_cast<DockRect*>(h);
        RectScreenToClient(m_hWnd, r.rect);
        r.hdr.bar = m_hWnd;
        r.flags = 0;
        bool ok = FramePackageAccept(m_lr, r);
        if (ok) {
            r.flags |= DOCK_RECT_COLUMNS;
        } else {
            r.hdr.bar = m_hWnd;
            ok = FramePackageAccept(m_tb, r);
        }
        if (!ok) r.hdr.bar = nullptr;
        RectClientToScreen(m_hWnd, r.rect);
        return ok && r.hdr.bar;
    }
    case DOCK_CODE_DOCK: {
        DockRect& r = *reinterpret_cast<DockRect*>(h);
        RectScreenToClient(m_hWnd, r.rect);
        CWndFramesPackageBase& pkg = (r.flags & DOCK_RECT_COLUMNS) ? m_lr : m_tb;
        r.flags &= ~DOCK_RECT_COLUMNS;
        bool ok = FramePackageDock(pkg, r, m_hWnd);
        RectClientToScreen(m_hWnd, r.rect);
        RedrawFrame();
        return ok;
    }
    case DOCK_CODE_UNDOCK: {
        bool ok = FramePackageRemoveBar(m_tb, h->window) || FramePackageRemoveBar(m_lr, h->window);
        RedrawFrame();
        return ok;
    }
    case DOCK_CODE_GET_POSITION: {
        DockPosition& p = *reinterpret_cast<DockPosition*>(h);
        if (m_autoHide.GetPosition(p)) return 1;
        p.side = 0;
        if (FramePackageGetPosition(m_tb, p)) return 1;
        p.side = 1;
        return FramePackageGetPosition(m_lr, p);
    }
    case DOCK_CODE_SET_POSITION: {
        DockPosition& p = *reinterpret_cast<DockPosition*>(h);
        bool ok = FramePackageSetPosition(DockSideIsColumns(p.side) ? m_lr : m_tb, p, m_hWnd);
        RedrawFrame();
        return ok;
    }
    case DOCK_CODE_ADJUST_DRAG_RECT: {
        DockRect& r = *reinterpret_cast<DockRect*>(h);
        RECT c = GetClientRect();
        LimitDragRect(r.rect, c.right - c.left, c.bottom - c.top);
        return 1;
    }
    case DOCK_CODE_QUERY_PINNED: return h->bar && h->bar == m_autoHide.m_hWnd;
    case DOCK_CODE_PIN_UP: {
        DockPinRequest& r = *reinterpret_cast<DockPinRequest*>(h);
        const bool wasEmpty = m_autoHide.StripTaken(static_cast<int>(r.side & 3)) == 0;
        bool ok = m_autoHide.PinUp(r);
        if (ok && wasEmpty) {
            UpdateLayout(FALSE);
            RedrawFrame();
        }
        return ok;
    }
    default: return 0;
    }
}

}  // namespace zav
