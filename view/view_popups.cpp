#include "view/view_popups.h"

#include "view/key_cursor.h"
#include "view/layout_loupe.h"
#include "view/view_coords.h"
#include "view/view_table.h"

int PopupFullRepaintRequest = 0;
int PopupLightRepaintRequest = 1;  // the first tick repaints
int PopupRefreshFlag = 0;

void RequestPopupRefresh() {
    PopupRefreshFlag = 1;
    MarkPopupPicturesStale();
}
int ViewClosingFlag = 0;

namespace {
constexpr const char* kLayoutClass = "#LAYOUTVIEW#";
constexpr const char* kLoupeClass = "#ROUPEVIEW#";
HWND g_layout = nullptr;
HWND g_loupe = nullptr;
POINT g_lastCursor = {-1, -1};

bool Register(HINSTANCE instance, const char* name, WNDPROC proc) {
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, name, &existing)) return true;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)::GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0;
}

HWND MakePopup(const char* cls, const char* title, HWND owner) {
    return ::CreateWindowExA(WS_EX_TOOLWINDOW, cls, title, WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 80, 40,
                             300, 270, owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK Forget(HWND h) {
    if (h == g_layout) g_layout = nullptr;
    if (h == g_loupe) g_loupe = nullptr;
    return 0;
}

LRESULT CALLBACK LayoutProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCDESTROY) Forget(h);
    return LayoutViewProc(h, m, w, l);
}
LRESULT CALLBACK LoupeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCDESTROY) Forget(h);
    return LoupeViewProc(h, m, w, l);
}
}  // namespace

int RegisterViewPopupClasses(HINSTANCE instance) {
    bool ok = RegisterOverviewCellClass(instance) != 0;
    ok = Register(instance, kLayoutClass, LayoutProc) && ok;
    ok = Register(instance, kLoupeClass, LoupeProc) && ok;
    return ok ? 1 : 0;
}

void UnregisterViewPopupClasses(HINSTANCE instance) {
    ::UnregisterClassA("LAY_WND", instance);
    ::UnregisterClassA(kLayoutClass, instance);
    ::UnregisterClassA(kLoupeClass, instance);
}

int CreateViewPopups(HWND owner) {
    if (!RegisterViewPopupClasses(::GetModuleHandleA(nullptr))) return 0;
    if (!g_layout) g_layout = MakePopup(kLayoutClass, "レイアウト", owner);
    if (!g_loupe) g_loupe = MakePopup(kLoupeClass, "ルーペ", owner);
    return (g_layout && g_loupe) ? 1 : 0;
}

void DestroyViewPopups() {
    if (g_layout) ::DestroyWindow(g_layout);
    if (g_loupe) ::DestroyWindow(g_loupe);
    g_layout = g_loupe = nullptr;
}

HWND LayoutViewWindow() { return g_layout; }
HWND LoupeWindow() { return g_loupe; }

void ShowLoupe(int mode) {
    if (!g_loupe) return;
    if (!mode) {
        ::ShowWindow(g_loupe, SW_HIDE);
        return;
    }
    ::SendMessageA(g_loupe, WM_COMMAND, 2222, 0);
    LoupePicture.stale = 1;
    ::ShowWindow(g_loupe, SW_SHOWNOACTIVATE);
    ::InvalidateRect(g_loupe, nullptr, FALSE);
}

void ShowLayoutView(int mode) {
    if (!g_layout) return;
    const bool show = mode < 0 ? !::IsWindowVisible(g_layout) : mode != 0;
    if (show) {
        LayoutPicture.stale = 1;
        ::ShowWindow(g_layout, SW_SHOWNOACTIVATE);
        ::InvalidateRect(g_layout, nullptr, FALSE);
    } else {
        ::ShowWindow(g_layout, SW_HIDE);
    }
}

void ServePopupTimer() {
    if (DocumentChangedFlag || PopupRefreshFlag) {
        MarkPopupPicturesStale();
        PopupRefreshFlag = 0;
        PopupLightRepaintRequest = 1;
    }
    if (g_loupe && ::IsWindowVisible(g_loupe) && !IsKeyCursorActive()) {
        POINT now;
        RECT wr;
        ::GetCursorPos(&now);
        ::GetWindowRect(g_loupe, &wr);
        const bool overLoupe = ::PtInRect(&wr, now) != 0;
        if (!overLoupe && (now.x != g_lastCursor.x || now.y != g_lastCursor.y) && GetActiveView()) {
            ::SendMessageA(g_loupe, WM_COMMAND, 2222, 0);
            LoupePicture.stale = 1;
            ::InvalidateRect(g_loupe, nullptr, FALSE);
        }
        g_lastCursor = now;
    }
}
