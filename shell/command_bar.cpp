#include "shell/command_bar.h"

namespace {
const int kIconBox = 20;  // room for the child's 16x16 icon at the left
const int kButtonW = 16;  // caption-sized buttons at the right
const int kButtonH = 14;

// A caption button drawn with lines, so that it looks the same whether or
// not the machine has the symbol font the platform draws them with.
void DrawCaptionButton(HDC dc, RECT rc, int which) {
    ::DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = ::SelectObject(dc, pen);
    int l = rc.left + 4, t = rc.top + 3, r = rc.right - 4, b = rc.bottom - 3;
    switch (which) {
    case 1:  // minimise: a bar along the bottom
        ::MoveToEx(dc, l, b - 1, nullptr);
        ::LineTo(dc, r, b - 1);
        ::MoveToEx(dc, l, b - 2, nullptr);
        ::LineTo(dc, r, b - 2);
        break;
    case 2: {  // restore: two overlapping windows
        RECT back = {l + 2, t, r, b - 3};
        RECT front = {l, t + 3, r - 2, b};
        ::FrameRect(dc, &back, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        ::FillRect(dc, &front, ::GetSysColorBrush(COLOR_BTNFACE));
        ::FrameRect(dc, &front, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        ::MoveToEx(dc, front.left, front.top + 1, nullptr);
        ::LineTo(dc, front.right, front.top + 1);
        break;
    }
    default:  // close: a cross
        for (int d = 0; d < 2; ++d) {
            ::MoveToEx(dc, l + d, t, nullptr);
            ::LineTo(dc, r + d - 1, b);
            ::MoveToEx(dc, r - 1 - d, t, nullptr);
            ::LineTo(dc, l - d, b);
        }
        break;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

HICON ChildIcon(HWND child) {
    HICON icon = (HICON)::SendMessageA(child, WM_GETICON, ICON_SMALL, 0);
    if (!icon) icon = (HICON)::GetClassLongPtrA(child, GCLP_HICONSM);
    if (!icon) icon = (HICON)::GetClassLongPtrA(child, GCLP_HICON);
    if (!icon) icon = ::LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    return icon;
}
}  // namespace

HWND CMDICommandBarCtrlEx::Create(HWND parent) {
    HWND h = CCommandBar::Create(parent);
    if (h) ::SetWindowPos(h, nullptr, 0, 0, 100, 22, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    return h;
}

LRESULT CMDICommandBarCtrlEx::OnInitMenu(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    HWND client = GetMDIClient();
    if (HWND child = client ? (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr)
        ::SendMessageA(child, msg, wParam, lParam);
    handled = FALSE;  // the bar forwards it on to the frame
    return 0;
}

void CMDICommandBarCtrlEx::UpdateMdiButtons() {
    if (!m_hWnd) return;
    HWND client = GetMDIClient();
    BOOL zoomed = FALSE;
    HWND child = client ? (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, (LPARAM)&zoomed) : nullptr;
    HWND want = (child && zoomed) ? child : nullptr;
    if (want == m_maxChild) return;
    m_maxChild = want;
    // The menu buttons move right to leave room for the icon.
    SendMessage(TB_SETINDENT, want ? kIconBox : 0);
    // The buttons are laid out again from the indent when they are added.
    CCommandBar::AttachMenu(GetMenu());
}

RECT CMDICommandBarCtrlEx::MdiButtonRect(int which) const {
    RECT rc = {0, 0, 0, 0};
    if (!m_maxChild || !m_hWnd) return rc;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    int top = (client.bottom - kButtonH) / 2;
    if (which == 0) {
        int iconTop = (client.bottom - 16) / 2;
        return RECT{2, iconTop, 18, iconTop + 16};
    }
    // From the right: close, a small gap, restore, minimise.
    int right = client.right - 2;
    if (which == 3) return RECT{right - kButtonW, top, right, top + kButtonH};
    right -= kButtonW + 2;
    if (which == 2) return RECT{right - kButtonW, top, right, top + kButtonH};
    right -= kButtonW;
    return RECT{right - kButtonW, top, right, top + kButtonH};
}

void CMDICommandBarCtrlEx::PaintMdiButtons(HDC dc) {
    if (!m_maxChild) return;
    RECT icon = MdiButtonRect(0);
    ::DrawIconEx(dc, icon.left, icon.top, ChildIcon(m_maxChild), 16, 16, 0, nullptr, DI_NORMAL);
    for (int which = 1; which <= 3; ++which)
        DrawCaptionButton(dc, MdiButtonRect(which), which);
}

LRESULT CMDICommandBarCtrlEx::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    // The toolbar paints the menu items; the child's buttons go on top.
    LRESULT r = DefWindowProc();
    if (m_maxChild) {
        HDC dc = ::GetDC(m_hWnd);
        PaintMdiButtons(dc);
        ::ReleaseDC(m_hWnd, dc);
    }
    return r;
}

LRESULT CMDICommandBarCtrlEx::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_maxChild) Invalidate();  // the right-hand buttons follow the edge
    handled = FALSE;
    return 0;
}

LRESULT CMDICommandBarCtrlEx::OnLButtonDown(UINT, POINT pt, BOOL& handled) {
    handled = FALSE;
    if (!m_maxChild || !::IsWindow(m_maxChild)) return 0;
    static const UINT kCommands[] = {0, SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    for (int which = 0; which <= 3; ++which) {
        RECT rc = MdiButtonRect(which);
        if (!::PtInRect(&rc, pt)) continue;
        handled = TRUE;
        HWND child = m_maxChild;
        UINT cmd = kCommands[which];
        if (which == 0) {
            // The icon opens the window's system menu, as its caption would.
            POINT at = {rc.left, rc.bottom};
            ::ClientToScreen(m_hWnd, &at);
            HMENU sys = ::GetSystemMenu(child, FALSE);
            cmd = sys ? (UINT)::TrackPopupMenu(sys, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON, at.x,
                                               at.y, 0, m_hWnd, nullptr)
                      : 0;
        }
        // Posted: closing may ask whether to save, which must not run inside
        // the bar's mouse message.
        if (cmd) ::PostMessageA(child, WM_SYSCOMMAND, cmd, 0);
        return 0;
    }
    return 0;
}
