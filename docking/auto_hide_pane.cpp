// The slid-out pane of the auto-hide manager: caption, edge splitter and the
// non-client messages that go with them.
#include "docking/auto_hide.h"
#include "docking/docking_hooks.h"

namespace zav {

namespace {
bool Columns(int side) { return DockSideIsColumns(static_cast<uint32_t>(side)); }
}  // namespace

LRESULT CAutoHidePaneImpl::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (!m_caption.OnTimer(m_hWnd, wParam)) handled = FALSE;
    return 0;
}

RECT CAutoHidePaneImpl::SplitterRect() const {
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    RECT r = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    switch (m_outSide) {
    case DOCK_SIDE_LEFT: r.left = r.right - DOCK_SPLITTER; break;
    case DOCK_SIDE_RIGHT: r.right = r.left + DOCK_SPLITTER; break;
    case DOCK_SIDE_TOP: r.top = r.bottom - DOCK_SPLITTER; break;
    default: r.bottom = r.top + DOCK_SPLITTER; break;
    }
    return r;
}

LRESULT CAutoHidePaneImpl::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    RECT* r = reinterpret_cast<RECT*>(lParam);
    switch (m_outSide) {
    case DOCK_SIDE_LEFT: r->right -= DOCK_SPLITTER; break;
    case DOCK_SIDE_RIGHT: r->left += DOCK_SPLITTER; break;
    case DOCK_SIDE_TOP: r->bottom -= DOCK_SPLITTER; break;
    default: r->top += DOCK_SPLITTER; break;
    }
    RECT band = {0, 0, r->right - r->left, r->bottom - r->top};
    m_caption.CalcLayout(band);
    // The caption sits at the top of what is left after the splitter.
    r->top += m_caption.Height();
    if (r->top > r->bottom) r->top = r->bottom;
    return 0;
}

LRESULT CAutoHidePaneImpl::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    POINT pt = {static_cast<short>(LOWORD(lParam)) - wr.left, static_cast<short>(HIWORD(lParam)) - wr.top};
    RECT sp = SplitterRect();
    if (::PtInRect(&sp, pt)) return Columns(m_outSide) ? HTLEFT : HTTOP;
    // The caption's rectangle was laid out relative to the area beside the splitter.
    POINT cp = pt;
    if (m_outSide == DOCK_SIDE_RIGHT) cp.x -= DOCK_SPLITTER;
    if (m_outSide == DOCK_SIDE_BOTTOM) cp.y -= DOCK_SPLITTER;
    if (m_caption.HitTest(cp) == HTOBJECT) return HTOBJECT;
    return HTCLIENT;
}

LRESULT CAutoHidePaneImpl::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) {
    HDC dc = ::GetWindowDC(m_hWnd);
    DrawNc(dc);
    ::ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CAutoHidePaneImpl::OnPrint(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (lParam & PRF_NONCLIENT) DrawNc(dc);
    return 0;
}

void CAutoHidePaneImpl::DrawNc(HDC dc) {
    const std::string text = GetWindowText();
    const int ox = m_outSide == DOCK_SIDE_RIGHT ? DOCK_SPLITTER : 0;
    const int oy = m_outSide == DOCK_SIDE_BOTTOM ? DOCK_SPLITTER : 0;
    POINT old;
    ::OffsetViewportOrgEx(dc, ox, oy, &old);
    m_caption.Draw(dc, text.c_str());
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    RECT sp = SplitterRect();
    ::FillRect(dc, &sp, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &sp, BDR_RAISEDINNER, Columns(m_outSide) ? (BF_LEFT | BF_RIGHT) : (BF_TOP | BF_BOTTOM));
}

LRESULT CAutoHidePaneImpl::OnNcMouseMove(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    m_caption.OnNcMouseMove(m_hWnd, wParam);
    handled = FALSE;
    return 0;
}

LRESULT CAutoHidePaneImpl::OnSetCursor(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const UINT hit = LOWORD(lParam);
    if (DockLayoutLocked() && (hit == HTLEFT || hit == HTRIGHT || hit == HTTOP || hit == HTBOTTOM)) return TRUE;
    handled = FALSE;
    return 0;
}

LRESULT CAutoHidePaneImpl::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    DefWindowProc(msg, wParam, lParam);
    MINMAXINFO* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
    mmi->ptMinTrackSize.x = mmi->ptMinTrackSize.y = 0;
    return 0;
}

LRESULT CAutoHidePaneImpl::OnSetTextOrIcon(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    const DWORD style = GetStyle();
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~WS_CAPTION);
    LRESULT r = DefWindowProc(msg, wParam, lParam);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return r;
}

LRESULT CAutoHidePaneImpl::OnSettingChange(UINT, WPARAM, LPARAM, BOOL&) {
    m_caption.UpdateMetrics();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 0;
}

}  // namespace zav
