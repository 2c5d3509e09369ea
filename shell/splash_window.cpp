#include "shell/splash_window.h"

namespace {
const UINT_PTR kTimerId = 1001;
int g_live = 0;
}  // namespace

CSplashWin* CSplashWin::Show(const char* bitmapFile, UINT milliseconds, HWND parent, int blocking) {
    HBITMAP bitmap = (HBITMAP)::LoadImageA(nullptr, bitmapFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap) return nullptr;
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof info, &info);
    auto* splash = new CSplashWin(bitmap, milliseconds, parent, blocking);
    ++g_live;
    CreateArgs args;
    args.style = WS_POPUP | WS_VISIBLE;
    args.exStyle = WS_EX_TOOLWINDOW;
    args.x = 0;
    args.y = 0;
    args.cx = info.bmWidth;
    args.cy = info.bmHeight;
    args.parent = parent;
    if (!splash->Create(args)) {
        delete splash;  // no window: nothing is left behind
        return nullptr;
    }
    ::UpdateWindow(splash->m_hWnd);
    return splash;
}

int CSplashWin::LiveCount() { return g_live; }

CSplashWin::~CSplashWin() {
    if (m_bitmap) ::DeleteObject(m_bitmap);
    --g_live;
}

LRESULT CSplashWin::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    RECT self, area;
    ::GetWindowRect(m_hWnd, &self);
    if (m_parent && ::IsWindow(m_parent))
        ::GetWindowRect(m_parent, &area);
    else
        area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const int w = self.right - self.left, h = self.bottom - self.top;
    ::SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - w) / 2,
                   area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!m_blocking) ::SetTimer(m_hWnd, kTimerId, m_time, nullptr);
    handled = FALSE;
    return 0;
}

LRESULT CSplashWin::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem, m_bitmap);
    BITMAP info = {};
    ::GetObjectA(m_bitmap, sizeof info, &info);
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::EndPaint(m_hWnd, &ps);
    if (m_blocking) {
        ::Sleep(m_time);
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    }
    return 0;
}

LRESULT CSplashWin::OnKeyDown(UINT, WPARAM key, LPARAM, BOOL&) {
    if (key == VK_ESCAPE) ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CSplashWin::OnTimer(UINT, WPARAM id, LPARAM, BOOL& handled) {
    if (id != kTimerId) {
        handled = FALSE;
        return 0;
    }
    ::KillTimer(m_hWnd, kTimerId);
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CSplashWin::OnClick(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}

void ShowStartSplash() { CSplashWin::Show("start.bmp", 1000, nullptr, 0); }
