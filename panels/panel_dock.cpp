#include "panels/panel_dock.h"

#include "base/local_settings_ini.h"

int& panedock::CaptionBits() { return LocalIni().iPanelCaption; }

bool CPanelDockWinBase::CreateDocked(HWND frame, const char* title, const RECT& rect,
                                     const panedock::FirstDocking& first) {
    // Made hidden: docking shows it in its place, with no pop-up drawn first
    // where it was made.
    if (!CreatePane(frame, title, rect, kPanelPaneStyle & ~WS_VISIBLE)) return false;
    zav::DockWindowPlacement pl = {};
    pl.position.side = (uint32_t)first.side;
    pl.position.barIndex = 0;
    pl.position.fraction = 0.0f;
    pl.position.thickness = first.thickness;
    pl.position.length = first.length;
    pl.docked = 1;
    pl.visible = 1;
    ::GetWindowRect(m_hWnd, &pl.floatRect);
    SetDockingWindowPlacement(pl);
    // A pane that could not dock floats where it was made.
    if (!m_hBar && !(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOW);
    if (frame) ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
    return true;
}

void CPanelDockWinBase::ApplyCaptionBit() {
    if (panedock::CaptionBits() & m_captionBit)
        ModifyStyle(0, WS_CAPTION);
    else
        ModifyStyle(WS_CAPTION, 0);
}

LRESULT CPanelDockWinBase::ToggleCaption() {
    int code = 1000;
    if (!IsPinned()) {
        if (ShowsCaption()) {
            panedock::CaptionBits() &= ~m_captionBit;
            ModifyStyle(WS_CAPTION, 0);
            code = 1001;
        } else {
            panedock::CaptionBits() |= m_captionBit;
            ModifyStyle(0, WS_CAPTION);
            code = 1002;
        }
        ::SendMessageA(m_hWnd, WM_SETTINGCHANGE, 0, 0);
    }
    NMHDR nm = {m_hWnd, (UINT_PTR)GetDlgCtrlID(), (UINT)code};
    if (HWND frame = m_hDockingFrame ? m_hDockingFrame : ::GetWindow(m_hWnd, GW_OWNER))
        ::SendMessageA(frame, WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
    return 1;
}

LRESULT CPanelDockWinBase::CaptionState() {
    if (!IsVisible()) return -1;
    if (IsPinned()) return 0;
    return ShowsCaption() ? 1 : 2;
}

void CPanelDockWinBase::ReleaseFixedSize() { m_fixedFlags = m_fixedWidth = m_fixedHeight = 0; }

void CPanelDockWinBase::FixCurrentSize() {
    ReleaseFixedSize();
    zav::DockWindowPlacement pl = {};
    zav::DockPosition pos = {};
    bool docked = false;
    if (GetDockingWindowPlacement(pl) && pl.docked && IsVisible()) {
        pos = pl.position;
        docked = true;
    } else if (LastDockedPosition().thickness > 0) {
        pos = LastDockedPosition();
        docked = true;
    }
    if (!docked) return;
    if (!zav::DockSideIsColumns(pos.side)) {
        m_fixedFlags |= 2;
        m_fixedHeight = pos.thickness;
    } else {
        m_fixedFlags |= 1;
        m_fixedWidth = pos.thickness;
    }
}

LRESULT CPanelDockWinBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    CreatePanel();
    ApplyCaptionBit();
    handled = FALSE;
    return 0;
}

LRESULT CPanelDockWinBase::OnSize(UINT, WPARAM type, LPARAM, BOOL& handled) {
    HWND panel = PanelWindow();
    if (type != SIZE_MINIMIZED && panel) {
        RECT rc = GetClientRect();
        ::SetWindowPos(panel, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    handled = FALSE;
    return 0;
}

LRESULT CPanelDockWinBase::OnPaint(UINT, WPARAM, LPARAM, BOOL& handled) {
    COLORREF colour = 0;
    if (!OwnBackground(&colour)) {
        handled = FALSE;
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc = GetClientRect();
    HBRUSH b = ::CreateSolidBrush(colour);
    ::FillRect(dc, &rc, b);
    ::DeleteObject(b);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CPanelDockWinBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (!m_fixedFlags) {
        handled = FALSE;
        return 0;
    }
    MINMAXINFO* info = (MINMAXINFO*)lParam;
    if (m_fixedFlags & 1) info->ptMinTrackSize.x = m_fixedWidth;
    if (m_fixedFlags & 2) info->ptMinTrackSize.y = m_fixedHeight;
    return 0;
}

LRESULT CPanelDockWinBase::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    switch (LOWORD(wParam)) {
    case 1000: return ToggleCaption();
    case 1001: return CaptionState();
    case 1010: ReleaseFixedSize(); return 1;
    case 1011: FixCurrentSize(); return 1;
    default: return 0;
    }
}
