#include "docking/drag_tracker.h"
#include <algorithm>
#include "docking/docking_settings.h"

namespace zav {

bool TrackDragAndDrop(IDDTracker& t, HWND wnd) {
    t.Begin();
    ::SetCapture(wnd);
    bool result = true;
    MSG msg;
    while (::GetCapture() == wnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must see it too
            break;
        }
        if (got < 0) break;
        if (t.Filter(msg)) continue;
        const int x = static_cast<short>(LOWORD(msg.lParam));
        const int y = static_cast<short>(HIWORD(msg.lParam));
        switch (msg.message) {
        case WM_KEYDOWN:
            if (msg.wParam != VK_ESCAPE) break;  // other keys are dropped
            // fall through
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            ::ReleaseCapture();
            t.Cancel(x, y);
            result = false;
            break;
        case WM_SYSKEYDOWN:
            ::ReleaseCapture();
            t.Cancel(x, y);
            result = false;
            ::DispatchMessageA(&msg);
            break;
        case WM_MOUSEMOVE: t.MoveTo(x, y); break;
        case WM_LBUTTONUP:
            ::ReleaseCapture();
            result = t.DropLeft(x, y);
            break;
        case WM_RBUTTONUP:
            ::ReleaseCapture();
            result = t.DropRight(x, y);
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (::GetCapture() == wnd) ::ReleaseCapture();
    t.End(!result);
    return result;
}

namespace {

HBRUSH HalftoneBrush() {
    static HBRUSH brush = [] {
        WORD bits[8];
        for (int i = 0; i < 8; ++i)
            bits[i] = (i & 1) ? 0xAAAA : 0x5555;
        HBITMAP bmp = ::CreateBitmap(8, 8, 1, 1, bits);
        HBRUSH b = ::CreatePatternBrush(bmp);
        ::DeleteObject(bmp);
        return b;
    }();
    return brush;
}

void InvertOn(HDC dc, const RECT& r) { ::PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT); }

}  // namespace

void InvertScreenRect(const RECT& r) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, HalftoneBrush());
    InvertOn(dc, r);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

void InvertScreenFrame(const RECT& r, int t) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, HalftoneBrush());
    const int w = r.right - r.left, h = r.bottom - r.top;
    ::PatBlt(dc, r.left, r.top, w - t, t, PATINVERT);
    ::PatBlt(dc, r.right - t, r.top, t, h - t, PATINVERT);
    ::PatBlt(dc, r.left + t, r.bottom - t, w - t, t, PATINVERT);
    ::PatBlt(dc, r.left, r.top + t, t, h - t, PATINVERT);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

CSplitterMoveTrackerBase::CSplitterMoveTrackerBase(CWndFramesPackageBase& pkg, size_t index, POINT pt, HWND wnd)
    : m_pkg(pkg), m_index(index), m_wnd(wnd) {
    m_pkg.MoveRange(index, &m_lo, &m_hi);
    m_current = m_pkg.Position(index);
    m_offset = m_pkg.Axis(pt) - m_current;
}

void CSplitterMoveTrackerBase::MoveTo(int x, int y) {
    int v = (m_pkg.IsHorizontal() ? x : y) - m_offset;
    v = std::max(m_lo, std::min(m_hi, v));
    if (v != m_current) {
        m_current = v;
        Step();
    }
}

void CSplitterMoveTrackerBase::Step() {
    m_pkg.MoveSplitter(m_index, m_current);
    m_pkg.Arrange();
    RECT r = m_pkg.Rect();
    ::RedrawWindow(m_wnd, &r, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

RECT CSplitterMoveTrackerGhost::OutlineAt(int pos) const {
    RECT r = m_pkg.Splitter().At(pos, m_pkg.Rect());
    RectClientToScreen(m_wnd, r);
    return r;
}

void CSplitterMoveTrackerGhost::Begin() {
    m_drawn = m_current;
    InvertScreenRect(OutlineAt(m_drawn));
}

void CSplitterMoveTrackerGhost::Step() {
    InvertScreenRect(OutlineAt(m_drawn));
    m_drawn = m_current;
    InvertScreenRect(OutlineAt(m_drawn));
}

void CSplitterMoveTrackerGhost::End(bool cancelled) {
    InvertScreenRect(OutlineAt(m_drawn));
    if (!cancelled) CSplitterMoveTrackerFull::Step();
}

void DragPackageSplitter(CWndFramesPackageBase& pkg, size_t index, POINT pt, HWND wnd) {
    if (CDockingSettings::Instance().OutlineDrag()) {
        CSplitterMoveTrackerGhost t(pkg, index, pt, wnd);
        TrackDragAndDrop(t, wnd);
    } else {
        CSplitterMoveTrackerFull t(pkg, index, pt, wnd);
        TrackDragAndDrop(t, wnd);
    }
}

CSizeTrackerFull::CSizeTrackerFull(HWND pane, const RECT& rc, int side, const RECT& limits, POINT pt)
    : m_pane(pane), m_rc(rc), m_side(side & 3) {
    const bool columns = DockSideIsColumns(m_side);
    m_lo = (columns ? limits.left : limits.top) + DOCK_SPLITTER;
    m_hi = (columns ? limits.right : limits.bottom) - DOCK_SPLITTER;
    m_offset = (columns ? pt.x : pt.y) - Edge();
}

LONG& CSizeTrackerFull::Edge() {
    switch (m_side) {
    case DOCK_SIDE_RIGHT: return m_rc.left;
    case DOCK_SIDE_LEFT: return m_rc.right;
    case DOCK_SIDE_TOP: return m_rc.bottom;
    default: return m_rc.top;
    }
}

void CSizeTrackerFull::MoveTo(int x, int y) {
    int v = (DockSideIsColumns(m_side) ? x : y) - m_offset;
    v = std::max(m_lo, std::min(m_hi, v));
    if (v != Edge()) {
        Edge() = v;
        Step();
    }
}

void CSizeTrackerFull::Step() {
    ::SetWindowPos(m_pane, nullptr, m_rc.left, m_rc.top, m_rc.right - m_rc.left, m_rc.bottom - m_rc.top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
}

RECT CSizeTrackerGhost::Outline() const {
    RECT r = m_rc;
    switch (m_side) {
    case DOCK_SIDE_RIGHT: r.right = r.left + DOCK_SPLITTER; break;
    case DOCK_SIDE_LEFT: r.left = r.right - DOCK_SPLITTER; break;
    case DOCK_SIDE_TOP: r.top = r.bottom - DOCK_SPLITTER; break;
    default: r.bottom = r.top + DOCK_SPLITTER; break;
    }
    RectClientToScreen(::GetParent(m_pane), r);
    return r;
}

void CSizeTrackerGhost::Begin() {
    m_drawn = Outline();
    InvertScreenRect(m_drawn);
}

void CSizeTrackerGhost::Step() {
    InvertScreenRect(m_drawn);
    m_drawn = Outline();
    InvertScreenRect(m_drawn);
}

void CSizeTrackerGhost::End(bool cancelled) {
    InvertScreenRect(m_drawn);
    if (!cancelled) CSizeTrackerFull::Step();
}

}  // namespace zav
