#include "docking/auto_hide.h"
#include <algorithm>
#include <set>
#include "docking/dock_bar.h"
#include "docking/docking_hooks.h"
#include "docking/docking_settings.h"
#include "docking/drag_tracker.h"

namespace zav {

// ---------------------------------------------------------------- label widths

int DesiredLabelWidth(int cx, size_t bytes, bool icon) {
    // A window without a title has no characters to space out.
    int w = cx + (bytes ? 4 * (cx / static_cast<int>(bytes)) : 0) + 6;
    if (icon) w += ::GetSystemMetrics(SM_CXSMICON) + 3;
    return w;
}

std::vector<int> PinnedLabelWidths(int L, const std::vector<int>& desired) {
    std::vector<int> widths = desired;
    if (widths.empty()) return widths;
    if (widths.size() == 1) {
        widths[0] = L - 6;
        return widths;
    }
    long sum = 0;
    for (int w : widths)
        sum += w + 5;
    if (sum <= L - 1) return widths;
    int n = static_cast<int>(widths.size());
    int share = (L - 1) / n, r = (L - 1) % n;
    std::multiset<int> rest;
    for (int w : widths)
        rest.insert(w + 5);
    while (!rest.empty() && n > 0) {
        const int smallest = *rest.begin();
        if (smallest < share) {
            r += share - smallest;
            rest.erase(rest.begin());
            --n;
        } else {
            if (r < n) break;
            share += r / n;
            r %= n;
        }
    }
    int cap = share - 5;
    if (cap < 5) cap = 0;
    for (int& w : widths)
        w = std::min(w, cap);
    return widths;
}

// ---------------------------------------------------------------- labels

namespace {

bool Columns(int side) { return DockSideIsColumns(static_cast<uint32_t>(side)); }

const char* ManagerClass() {
    static const char kName[] = "ZavAutoHide";
    static bool registered = [] {
        WindowClassArgs a;
        a.name = kName;
        a.style = CS_DBLCLKS;
        a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        return win::RegisterWindowClass(a) != 0;
    }();
    (void)registered;
    return kName;
}

}  // namespace

int CSinglePinnedLabel::DesiredWidth(HDC dc) const {
    SIZE sz = {0, 0};
    if (!m_rec.text.empty()) ::GetTextExtentPoint32A(dc, m_rec.text.c_str(), static_cast<int>(m_rec.text.size()), &sz);
    return DesiredLabelWidth(sz.cx, m_rec.text.size(), m_rec.icon != nullptr);
}

void CSinglePinnedLabel::Draw(HDC dc, const RECT& rc, int side, HFONT font) const {
    RECT r = rc;
    ::InflateRect(&r, -3, -3);
    const bool vertical = Columns(side);
    const int length = vertical ? r.bottom - r.top : r.right - r.left;
    const int icon = ::GetSystemMetrics(SM_CXSMICON);
    if (m_rec.icon && length > icon + 6) {
        if (vertical) {
            ::DrawIconEx(dc, r.left + (r.right - r.left - icon) / 2, r.top, m_rec.icon, icon, icon, 0, nullptr,
                         DI_NORMAL);
            r.top += icon + 3;
        } else {
            ::DrawIconEx(dc, r.left, r.top + (r.bottom - r.top - icon) / 2, m_rec.icon, icon, icon, 0, nullptr,
                         DI_NORMAL);
            r.left += icon + 3;
        }
    }
    if (r.right <= r.left || r.bottom <= r.top) return;
    const std::string text = "  " + m_rec.text;
    COLORREF fill = RGB(128, 128, 128), colour = RGB(255, 255, 255);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    if (DockPaneCaptionColors(1, side, m_rec.text.c_str(), &fill, &colour)) {
        HBRUSH b = ::CreateSolidBrush(fill);
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
        ::SetTextColor(dc, colour);
    } else {
        ::SetTextColor(dc, CDockingSettings::Instance().labelTextColour);
    }
    DrawEllipsisText(dc, text.c_str(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT, vertical);
    ::SelectObject(dc, oldFont);
}

// ---------------------------------------------------------------- manager

CAutoHideManager::CAutoHideManager() {
    for (int i = 0; i < 4; ++i)
        m_strips[i].side = i;
}

bool CAutoHideManager::CreateIn(HWND frame) {
    m_frame = frame;
    m_caption.UpdateMetrics();
    CreateArgs a;
    a.className = ManagerClass();
    a.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION;
    a.exStyle = WS_EX_TOOLWINDOW;
    a.parent = frame;
    a.x = a.y = a.cx = a.cy = 0;
    return Create(a) != nullptr;
}

HFONT CAutoHideManager::StripFont(int side) const {
    const CDockingSettings& s = CDockingSettings::Instance();
    HFONT f = Columns(side) ? s.hFontVertical : s.hFontHorizontal;
    return f ? f : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void CAutoHideManager::MeasureThickness() {
    int h = 0;
    HDC dc = ::GetDC(nullptr);
    for (int side : {0, 1}) {
        HGDIOBJ old = ::SelectObject(dc, StripFont(side));
        TEXTMETRICA tm;
        if (::GetTextMetricsA(dc, &tm)) h = std::max(h, static_cast<int>(tm.tmHeight));
        ::SelectObject(dc, old);
    }
    ::ReleaseDC(nullptr, dc);
    m_thickness = std::max(h, ::GetSystemMetrics(SM_CXSMICON)) + 8;
}

void CAutoHideManager::LayoutLabels(Strip& s) {
    if (s.labels.empty()) return;
    const int L = Columns(s.side) ? s.rc.bottom - s.rc.top : s.rc.right - s.rc.left;
    HDC dc = ::GetDC(m_frame);
    HGDIOBJ old = ::SelectObject(dc, StripFont(s.side));
    std::vector<int> desired;
    for (auto& l : s.labels)
        desired.push_back(l->DesiredWidth(dc));
    ::SelectObject(dc, old);
    ::ReleaseDC(m_frame, dc);
    std::vector<int> w = PinnedLabelWidths(L, desired);
    for (size_t i = 0; i < w.size(); ++i)
        s.labels[i]->SetWidth(w[i]);
}

void CAutoHideManager::LayoutStrips(RECT& rc) {
    const int t = m_thickness;
    for (int side : {DOCK_SIDE_TOP, DOCK_SIDE_BOTTOM, DOCK_SIDE_LEFT, DOCK_SIDE_RIGHT}) {
        Strip& s = m_strips[side];
        if (s.labels.empty()) {
            ::SetRectEmpty(&s.rc);
            continue;
        }
        switch (side) {
        case DOCK_SIDE_TOP:
            s.rc = {rc.left, rc.top, rc.right, rc.top + t};
            rc.top += t;
            break;
        case DOCK_SIDE_BOTTOM:
            s.rc = {rc.left, rc.bottom - t, rc.right, rc.bottom};
            rc.bottom -= t;
            break;
        case DOCK_SIDE_LEFT:
            s.rc = {rc.left, rc.top, rc.left + t, rc.bottom};
            rc.left += t;
            break;
        default:
            s.rc = {rc.right - t, rc.top, rc.right, rc.bottom};
            rc.right -= t;
            break;
        }
    }
    for (int side : {DOCK_SIDE_TOP, DOCK_SIDE_BOTTOM}) {
        Strip& s = m_strips[side];
        if (s.labels.empty()) continue;
        if (!m_strips[DOCK_SIDE_LEFT].labels.empty()) s.rc.left += t;
        if (!m_strips[DOCK_SIDE_RIGHT].labels.empty()) s.rc.right -= t;
    }
    m_rcLayout = rc;
    for (Strip& s : m_strips)
        LayoutLabels(s);
    if (m_out) {
        RECT r = OutRect(m_outSide, m_out->paneSize);
        ::SetWindowPos(m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    }
}

RECT CAutoHideManager::OutRect(int side, int paneSize) const {
    const RECT& L = m_rcLayout;
    const int extent = Columns(side) ? L.right - L.left : L.bottom - L.top;
    const int size = std::min(paneSize + DOCK_SPLITTER, extent <= 4 ? DOCK_SPLITTER : extent - DOCK_SPLITTER);
    RECT r = L;
    switch (side) {
    case DOCK_SIDE_LEFT: r.right = r.left + size; break;
    case DOCK_SIDE_RIGHT: r.left = r.right - size; break;
    case DOCK_SIDE_TOP: r.bottom = r.top + size; break;
    default: r.top = r.bottom - size; break;
    }
    return r;
}

void CAutoHideManager::PaintStrip(HDC dc, const Strip& s) {
    if (s.labels.empty()) return;
    const int side = s.side;
    RECT work = s.rc;
    switch (side) {
    case DOCK_SIDE_TOP:
        work.bottom -= 2;
        work.left += 3;
        work.right -= 3;
        break;
    case DOCK_SIDE_BOTTOM:
        work.top += 2;
        work.left += 3;
        work.right -= 3;
        break;
    case DOCK_SIDE_LEFT:
        work.right -= 2;
        work.top += 3;
        work.bottom -= 3;
        break;
    default:
        work.left += 2;
        work.top += 3;
        work.bottom -= 3;
        break;
    }
    const bool vertical = Columns(side);
    const int length = vertical ? work.bottom - work.top : work.right - work.left;
    if (length <= 5 * static_cast<int>(s.labels.size() - 1)) return;
    HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    HPEN face = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
    HGDIOBJ oldPen = ::SelectObject(dc, shadow);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetSysColorBrush(COLOR_BTNFACE));
    int pos = vertical ? work.top : work.left;
    for (const auto& l : s.labels) {
        RECT r = work;
        if (vertical) {
            r.top = pos;
            r.bottom = pos + l->Width();
        } else {
            r.left = pos;
            r.right = pos + l->Width();
        }
        ::SelectObject(dc, shadow);
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        l->Draw(dc, r, side, StripFont(side));
        // Open towards the frame's edge.
        ::SelectObject(dc, face);
        switch (side) {
        case DOCK_SIDE_TOP:
            ::MoveToEx(dc, r.left + 1, r.top, nullptr);
            ::LineTo(dc, r.right - 1, r.top);
            break;
        case DOCK_SIDE_BOTTOM:
            ::MoveToEx(dc, r.left + 1, r.bottom - 1, nullptr);
            ::LineTo(dc, r.right - 1, r.bottom - 1);
            break;
        case DOCK_SIDE_LEFT:
            ::MoveToEx(dc, r.left, r.top + 1, nullptr);
            ::LineTo(dc, r.left, r.bottom - 1);
            break;
        default:
            ::MoveToEx(dc, r.right - 1, r.top + 1, nullptr);
            ::LineTo(dc, r.right - 1, r.bottom - 1);
            break;
        }
        pos += l->Width() + 5;
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(shadow);
    ::DeleteObject(face);
}

void CAutoHideManager::PaintStrips(HDC dc) {
    HBRUSH b = ::CreateSolidBrush(CDockingSettings::Instance().stripColour);
    for (const Strip& s : m_strips)
        if (!s.labels.empty()) ::FillRect(dc, &s.rc, b);
    // Corner squares where a top or bottom strip meets a side strip.
    for (int tb : {DOCK_SIDE_TOP, DOCK_SIDE_BOTTOM}) {
        const Strip& s = m_strips[tb];
        if (s.labels.empty()) continue;
        if (!m_strips[DOCK_SIDE_LEFT].labels.empty()) {
            RECT c = {s.rc.left - m_thickness, s.rc.top, s.rc.left, s.rc.bottom};
            ::FillRect(dc, &c, b);
        }
        if (!m_strips[DOCK_SIDE_RIGHT].labels.empty()) {
            RECT c = {s.rc.right, s.rc.top, s.rc.right + m_thickness, s.rc.bottom};
            ::FillRect(dc, &c, b);
        }
    }
    ::DeleteObject(b);
    for (const Strip& s : m_strips)
        PaintStrip(dc, s);
}

void CAutoHideManager::RefreshStrip(Strip& s) {
    LayoutLabels(s);
    HDC dc = ::GetDC(m_frame);
    HBRUSH b = ::CreateSolidBrush(CDockingSettings::Instance().stripColour);
    ::FillRect(dc, &s.rc, b);
    ::DeleteObject(b);
    PaintStrip(dc, s);
    ::ReleaseDC(m_frame, dc);
}

bool CAutoHideManager::PinUp(DockPinRequest& r) {
    HWND w = r.hdr.window;
    if (!w || !m_hWnd) return false;
    r.hdr.bar = m_hWnd;
    PinnedRecord rec;
    rec.paneSize = r.thickness;
    rec.hwnd = w;
    rec.icon = reinterpret_cast<HICON>(::SendMessageA(w, WM_GETICON, ICON_SMALL, 0));
    if (!rec.icon) rec.icon = reinterpret_cast<HICON>(::GetClassLongPtrA(w, GCLP_HICONSM));
    rec.text = CWindow(w).GetWindowText();  // the whole title, however long
    const int side = static_cast<int>(r.side & 3);
    ::ShowWindow(w, SW_HIDE);
    LONG_PTR style = ::GetWindowLongPtrA(w, GWL_STYLE);
    ::SetWindowLongPtrA(w, GWL_STYLE, (style & ~(WS_CHILD | WS_POPUP | WS_CAPTION)) | WS_CHILD);
    ::SetParent(w, m_hWnd);
    ::SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
    ::SendMessageA(w, UM_DOCK_STATE_CHANGED, MAKELONG(1, Columns(side) ? 0 : 1), reinterpret_cast<LPARAM>(m_hWnd));
    Strip& s = m_strips[side];
    const bool hadLabels = !s.labels.empty();
    s.labels.emplace_back(new CSinglePinnedLabel(rec));
    if (r.show & 1) ShowPane(w, false);
    if (hadLabels) RefreshStrip(s);
    return true;
}

bool CAutoHideManager::GetPosition(DockPosition& p) {
    for (Strip& s : m_strips) {
        for (size_t i = 0; i < s.labels.size(); ++i) {
            PinnedRecord& rec = s.labels[i]->Record();
            if (rec.hwnd != p.hdr.window) continue;
            p.side = static_cast<uint32_t>(s.side) | DOCK_FLAG_PINNED | DOCK_FLAG_SINGLE;
            p.barIndex = static_cast<uint32_t>(i);
            p.fraction = 0.0f;
            p.thickness = rec.paneSize;
            p.length = 1;
            p.groupIndex = 0;
            return true;
        }
    }
    return false;
}

IPinnedLabel* CAutoHideManager::LabelAt(POINT pt, int* sideOut) {
    for (Strip& s : m_strips) {
        if (s.labels.empty() || !::PtInRect(&s.rc, pt)) continue;
        const bool vertical = Columns(s.side);
        const int c = vertical ? pt.y : pt.x;
        int pos = vertical ? s.rc.top : s.rc.left;
        for (auto& l : s.labels) {
            if (c < pos + l->Width()) {
                if (sideOut) *sideOut = s.side;
                return l.get();
            }
            pos += l->Width();
            if (c < pos + 5) return nullptr;
            pos += 5;
        }
        return nullptr;
    }
    return nullptr;
}

bool CAutoHideManager::TrackHover(POINT pt) {
    IPinnedLabel* l = LabelAt(pt);
    if (!l) return false;
    if (!m_out || &l->Record() != m_out) {
        m_hover = l;
        TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER, m_frame, 50};
        ::TrackMouseEvent(&tme);
    }
    return true;
}

void CAutoHideManager::OnHover(POINT pt) {
    int side = 0;
    IPinnedLabel* l = LabelAt(pt, &side);
    if (!l || l != m_hover || (m_out && &l->Record() == m_out)) return;
    RefreshStrip(m_strips[side]);
    ShowPane(l->Record().hwnd, true);
}

bool CAutoHideManager::ShowPane(HWND pinned, bool animate) {
    PinnedRecord* rec = nullptr;
    int side = 0;
    for (Strip& s : m_strips)
        for (auto& l : s.labels)
            if (l->Record().hwnd == pinned) {
                rec = &l->Record();
                side = s.side;
            }
    if (!rec) return false;
    HidePane();
    m_out = rec;
    m_outSide = side;
    ::SetWindowPos(pinned, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Placed against the strip's edge inside the layout rectangle.
    const RECT r = OutRect(side, rec->paneSize);
    const int size = Columns(side) ? r.right - r.left : r.bottom - r.top;
    ::SetWindowPos(m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    ::SetWindowTextA(m_hWnd, rec->text.c_str());
    if (animate && CDockingSettings::Instance().FullDrag()) {
        const int step = size / 10;
        RECT a = r;
        ::RedrawWindow(m_frame, &r, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        LONG* edge = side == DOCK_SIDE_LEFT    ? &a.right
                     : side == DOCK_SIDE_RIGHT ? &a.left
                     : side == DOCK_SIDE_TOP   ? &a.bottom
                                               : &a.top;
        const int dir = (side == DOCK_SIDE_LEFT || side == DOCK_SIDE_TOP) ? 1 : -1;
        *edge -= dir * 10 * step;
        ::SetWindowPos(m_hWnd, HWND_TOP, a.left, a.top, a.right - a.left, a.bottom - a.top,
                       SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        for (int i = 0; i < 10; ++i) {
            *edge += dir * step;
            ::SetWindowPos(m_hWnd, HWND_TOP, a.left, a.top, a.right - a.left, a.bottom - a.top, SWP_NOACTIVATE);
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
            ::Sleep(10);
        }
        ::SetWindowPos(m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    } else {
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    }
    RECT c;
    ::GetClientRect(m_hWnd, &c);
    ::SetWindowPos(pinned, nullptr, 0, 0, c.right, c.bottom, SWP_NOACTIVATE | SWP_NOZORDER);
    ::SetTimer(m_hWnd, 1, 1000, nullptr);
    return true;
}

void CAutoHideManager::HidePane() {
    if (!m_out) return;
    ::KillTimer(m_hWnd, 1);
    ::ShowWindow(m_out->hwnd, SW_HIDE);
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_out = nullptr;
}

bool CAutoHideManager::Unpin(HWND w, bool redock) {
    if (m_out && m_out->hwnd == w) HidePane();
    for (Strip& s : m_strips) {
        for (size_t i = 0; i < s.labels.size(); ++i) {
            PinnedRecord rec = s.labels[i]->Record();
            if (rec.hwnd != w) continue;
            ReleaseDockedWindow(w, WS_POPUP | WS_CAPTION);
            if (redock) {
                DockPosition p = {};
                p.hdr = {w, m_frame, DOCK_CODE_SET_POSITION};
                p.side = static_cast<uint32_t>(s.side) | DOCK_FLAG_PINNED | DOCK_FLAG_SINGLE;
                p.barIndex = 0;
                p.fraction = 0.0f;
                p.thickness = rec.paneSize;
                p.length = 1;
                SendDockRequest(m_frame, &p);
            }
            RemoveLabel(s, i);
            return true;
        }
    }
    return false;
}

void CAutoHideManager::RemoveLabel(Strip& s, size_t i) {
    if (m_hover == s.labels[i].get()) m_hover = nullptr;
    s.labels.erase(s.labels.begin() + i);
    if (!s.labels.empty()) {
        RefreshStrip(s);
        return;
    }
    ::SetRectEmpty(&s.rc);
    ::SendMessageA(m_frame, WM_SIZE, 0, 0);
    ::RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT CAutoHideManager::OnParentNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (LOWORD(wParam) != WM_DESTROY || m_destroying) return 0;
    // A pinned window destroyed on its own: its label goes, nothing is released.
    HWND w = reinterpret_cast<HWND>(lParam);
    if (m_out && m_out->hwnd == w) HidePane();
    for (Strip& s : m_strips)
        for (size_t i = 0; i < s.labels.size(); ++i)
            if (s.labels[i]->Record().hwnd == w) {
                RemoveLabel(s, i);
                return 0;
            }
    return 0;
}

// ---------------------------------------------------------------- messages

LRESULT CAutoHideManager::OnDockingRequest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    DockRequestHeader* h = reinterpret_cast<DockRequestHeader*>(lParam);
    if (!h) return 0;
    switch (h->code) {
    case DOCK_CODE_UNDOCK: return Unpin(h->window, false);
    case DOCK_CODE_GET_POSITION: return GetPosition(*reinterpret_cast<DockPosition*>(h));
    case DOCK_CODE_PIN_UP: return PinUp(*reinterpret_cast<DockPinRequest*>(h));
    default: return 0;
    }
}

LRESULT CAutoHideManager::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != 1) {
        handled = FALSE;  // the pin button's hover timer
        return 0;
    }
    if (!m_out) return 0;
    POINT pt;
    ::GetCursorPos(&pt);
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    if (::PtInRect(&wr, pt)) return 0;
    POINT cp = pt;
    ::ScreenToClient(m_frame, &cp);
    IPinnedLabel* l = LabelAt(cp);
    if (l && &l->Record() == m_out) return 0;
    HWND focus = ::GetFocus();
    if (focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus))) return 0;
    HidePane();
    return 0;
}

LRESULT CAutoHideManager::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    handled = FALSE;
    if (wParam == SIZE_MINIMIZED || !m_out) return 0;
    RECT c;
    ::GetClientRect(m_hWnd, &c);
    ::SetWindowPos(m_out->hwnd, nullptr, 0, 0, c.right, c.bottom, SWP_NOACTIVATE | SWP_NOZORDER);
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    const int extent = (Columns(m_outSide) ? wr.right - wr.left : wr.bottom - wr.top) - DOCK_SPLITTER;
    if (extent > m_caption.Height()) m_out->paneSize = extent;
    return 0;
}

LRESULT CAutoHideManager::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_destroying = true;
    HidePane();
    handled = FALSE;
    return 0;
}

LRESULT CAutoHideManager::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_out) ::PostMessageA(m_out->hwnd, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CAutoHideManager::OnNcLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (wParam == HTOBJECT) {
        if (m_caption.PressPin(m_hWnd) && m_out) Unpin(m_out->hwnd, true);
        return 0;
    }
    if ((wParam == HTLEFT || wParam == HTTOP) && m_out) {
        if (DockLayoutLocked()) return 0;
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        RectScreenToClient(m_frame, rc);
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(m_frame, &pt);
        if (CDockingSettings::Instance().OutlineDrag()) {
            CSizeTrackerGhost t(m_hWnd, rc, m_outSide, m_rcLayout, pt);
            TrackDragAndDrop(t, m_frame);
        } else {
            CSizeTrackerFull t(m_hWnd, rc, m_outSide, m_rcLayout, pt);
            TrackDragAndDrop(t, m_frame);
        }
        return 0;
    }
    handled = FALSE;
    return 0;
}

}  // namespace zav
